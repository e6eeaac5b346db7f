// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/SkinDocument.h"

#include "model/DefaultArtwork.h"
#include "model/UserInterface.h"

namespace corvane {

SkinDocument::SkinDocument()
    : releasedPreview_(PreviewBackgroundImage()),
      pressedPreview_(releasedPreview_),
      previewBackground_(releasedPreview_) {
    ResetToDefaults();
}

bool SkinDocument::SetTargetDepth(int depth) {
    if (depth != 8 && depth != 16) return false;
    targetDepth_ = depth;
    return true;
}

void SkinDocument::ResetToDefaults() {
    for (const SkinElement& e : kSkinElements) {
        Image picture = DefaultElementImage(e.element);
        Slot(8, e.element).LoadDefault(picture);
        Slot(16, e.element).LoadDefault(std::move(picture));
    }
}

bool ResetSkin(SkinDocument& document, UserInterface& user) {
    if (document.IsModified()) {
        if (Tell(user, std::string(kResetQuestion), MessageIcon::Question, MessageButtons::YesNo, Answer::No) !=
            Answer::Yes)
            return false;
    }
    document.ResetToDefaults();
    document.ClearModified();
    document.SetHasUnsupportedResources(false);
    document.SetMustSaveAs(false);
    document.SetFilePath(std::string(kUntitledPath));
    return true;
}

}  // namespace corvane
