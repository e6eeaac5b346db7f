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

void SkinDocument::ResetToDefaults() {
    for (const SkinElement& e : kSkinElements) {
        Image picture = DefaultElementImage(e.element);
        Slot(Depth::Eight, e.element).LoadDefault(picture, Depth::Eight);
        Slot(Depth::Sixteen, e.element).LoadDefault(std::move(picture), Depth::Sixteen);
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
