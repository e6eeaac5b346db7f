// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/SkinSession.h"

#include "model/PreviewComposition.h"
#include "model/ProgramText.h"
#include "model/UserInterface.h"

namespace corvane {

SkinSession::SkinSession(UserInterface& user) : user_(user) { RecomposePreviews(); }

std::string SkinSession::Title() const { return WindowTitle(document_.FilePath(), document_.IsModified()); }

std::string SkinSession::ShownName() const { return LastPathComponent(document_.FilePath()); }

void SkinSession::Record(const std::string& text, const std::function<void()>& command) { history_.Run(text, command); }

void SkinSession::RecomposePreviews() { ComposePreviews(document_, document_.TargetDepth()); }

bool SkinSession::Reset() {
    bool reset = false;
    history_.Run("Reset", [&] { reset = ResetSkin(document_, user_); });
    if (!reset) return false;
    history_.MarkReset();
    RecomposePreviews();
    return true;
}

OpenSkinOutcome SkinSession::Open(const std::optional<std::string>& chosen) {
    const OpenSkinOutcome outcome = OpenSkin(document_, user_, chosen);
    if (outcome != OpenSkinOutcome::Opened) return outcome;
    // Another file: nothing of the previous one can be undone into it.
    history_.Forget();
    history_.MarkSaved();
    RecomposePreviews();
    return outcome;
}

SaveSkinOutcome SkinSession::Save() {
    const SaveSkinOutcome outcome = SaveSkin(document_, user_);
    if (outcome == SaveSkinOutcome::Saved) history_.MarkSaved();
    return outcome;
}

SaveSkinOutcome SkinSession::SaveAs() {
    const SaveSkinOutcome outcome = SaveSkinAs(document_, user_);
    if (outcome == SaveSkinOutcome::Saved) history_.MarkSaved();
    return outcome;
}

void SkinSession::SetDepth(Depth depth) {
    // A change like any other: marked, asked about and undone.
    history_.Run("Color Depth", [&] { document_.SetTargetDepth(depth); });
    RecomposePreviews();
}

bool SkinSession::MayLeave(const std::function<void(SaveSkinOutcome)>& saved) {
    return corvane::MayLeave(user_, document_.IsModified(), kLeaveSkinQuestion, [&] {
        const SaveSkinOutcome outcome = Save();
        if (saved) saved(outcome);
        return outcome == SaveSkinOutcome::Saved;
    });
}

bool SkinSession::Undo() {
    if (!history_.Undo()) return false;
    RecomposePreviews();
    return true;
}

bool SkinSession::Redo() {
    if (!history_.Redo()) return false;
    RecomposePreviews();
    return true;
}

}  // namespace corvane
