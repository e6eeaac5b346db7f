#include "model/ElementEditing.h"

#include "model/SkinDocument.h"
#include "model/UserInterface.h"
#include "pdb/SkinCatalogue.h"

namespace corvane {

ElementLoadOutcome LoadElementImage(SkinDocument& document, UserInterface& user, int element) {
    const SkinElement* e = ElementByIndex(element);
    if (!e) return ElementLoadOutcome::Cancelled;
    const std::string path = ChooseImageFile(user, e->label);
    if (path.empty()) return ElementLoadOutcome::Cancelled;
    return LoadElementImageFile(document, user, element, path);
}

ElementLoadOutcome LoadElementImageFile(SkinDocument& document, UserInterface& user, int element, const std::string& path) {
    if (!ElementByIndex(element)) return ElementLoadOutcome::Failed;
    // Both depths are always attempted: a file that only one of them takes
    // still changes that slot, as the user will see after switching depth.
    const ElementLoad load = LoadElementFromFile(document.Slot(8, element), document.Slot(16, element), path);
    if (load.Both()) {
        document.MarkModified();
        return ElementLoadOutcome::Loaded;
    }
    TellWithDetails(user, std::string(kErrorLoadingBitmap), path + ": " + ElementLoadProblemText(load),
                    MessageIcon::Warning);
    return ElementLoadOutcome::Failed;
}

void ShareTransparentColour(SkinDocument& document, int from, std::span<const int> to) {
    if (!ElementByIndex(from)) return;
    const Colour colour = document.Slot(document.TargetDepth(), from).Transparent();
    for (int element : to)
        if (ElementByIndex(element)) document.Slot(document.TargetDepth(), element).SetTransparent(colour);
}

}  // namespace corvane
