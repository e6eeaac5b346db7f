// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/ElementEditing.h"

#include "model/SkinDocument.h"
#include "model/UserInterface.h"
#include "pdb/SkinCatalogue.h"

namespace corvane {

ElementLoadOutcome LoadElementImage(SkinDocument& document, UserInterface& user, Element element) {
    const std::string path = ChooseImageFile(user, ElementInfo(element).label);
    if (path.empty()) return ElementLoadOutcome::Cancelled;
    return LoadElementImageFile(document, user, element, path);
}

ElementLoadOutcome LoadElementImageFile(SkinDocument& document, UserInterface& user, Element element,
                                        const std::string& path) {
    // Both depths are always attempted: a file that only one of them takes
    // still changes that slot, as the user will see after switching depth.
    const ElementLoad load = LoadElementFromFile(document.Slot(Depth::Eight, element), document.Slot(Depth::Sixteen, element),
                                                 path, document.Dithering());
    if (load.Both()) {
        document.MarkModified();
        return ElementLoadOutcome::Loaded;
    }
    TellWithDetails(user, std::string(kErrorLoadingBitmap), path + ": " + ElementLoadProblemText(load),
                    MessageIcon::Warning);
    return ElementLoadOutcome::Failed;
}

void ShareTransparentColour(SkinDocument& document, Element from, std::span<const Element> to) {
    const Colour colour = document.Slot(document.TargetDepth(), from).Transparent();
    for (const Element element : to) document.Slot(document.TargetDepth(), element).SetTransparent(colour);
}

const char* Name(ElementLoadOutcome outcome) {
    switch (outcome) {
        case ElementLoadOutcome::Cancelled: return "Cancelled";
        case ElementLoadOutcome::Loaded: return "Loaded";
        case ElementLoadOutcome::Failed: return "Failed";
    }
    return "";
}

}  // namespace corvane
