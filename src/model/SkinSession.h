// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One skin being edited, whichever program shows it: the document, its undo
// history, and every decision a window or a page would otherwise make for
// itself (what Open does and says, when Save asks for a name, the question
// on leaving, the title). Front ends run commands through it and show what
// it holds; they keep no policy of their own.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "model/ChangeHistory.h"
#include "model/SkinChange.h"
#include "model/SkinDocument.h"
#include "imaging/Depth.h"
#include "model/SkinFile.h"
#include "model/Undoable.h"

namespace corvane {

class UserInterface;

class SkinSession : public Undoable {
public:
    // A new skin at 16 bits, its previews composed.
    explicit SkinSession(UserInterface& user);
    SkinSession(const SkinSession&) = delete;
    SkinSession& operator=(const SkinSession&) = delete;

    const SkinDocument& Document() const { return document_; }
    // For commands run through Record, and element editors that show slots.
    SkinDocument& Document() { return document_; }
    UserInterface& User() { return user_; }
    ChangeHistory<SkinDocument, SkinChange>& History() { return history_; }
    const ChangeHistory<SkinDocument, SkinChange>& History() const { return history_; }

    // "NAME[*] - Corvane Desktop for Treo 650/700p".
    std::string Title() const;
    // The name to show the user: the file's last path component.
    std::string ShownName() const;
    // The path Save writes to.
    const std::string& FilePath() const { return document_.FilePath(); }
    // Save will ask for a name first: the skin is untitled, or its file gave no picture.
    bool SaveNeedsName() const { return document_.IsUntitled() || document_.MustSaveAs(); }

    // Runs any command that changes the skin as one undo step under `text`.
    // The previews are the caller's to recompose: the dial-pad commands
    // compose them their own way.
    void Record(const std::string& text, const std::function<void()>& command);

    // The "&Reset" command; false when the user kept their changes.
    bool Reset();
    // The Open command; a path given (a dropped file, a recent one) takes the
    // file prompt's place. An opened skin starts a new history and takes the
    // depth its pictures are stored at.
    OpenSkinOutcome Open(const std::optional<std::string>& chosen = std::nullopt);
    SaveSkinOutcome Save();
    SaveSkinOutcome SaveAs();
    // The target depth, recorded like any change.
    void SetDepth(Depth depth);
    // How pictures entering a slot from now on are reduced (SkinDocument.h):
    // a setting, so no undo step, and kept across Open and Reset.
    Dither Dithering() const { return document_.Dithering(); }
    void SetDithering(Dither dither) { document_.SetDithering(dither); }
    // Before the editor closes (exit, or the other editor): asks when the skin
    // has unsaved changes, and Yes saves first (`saved` then hears how it
    // went). True when the editor may close.
    bool MayLeave(const std::function<void(SaveSkinOutcome)>& saved = {});

    bool CanUndo() const override { return history_.CanUndo(); }
    bool CanRedo() const override { return history_.CanRedo(); }
    std::string UndoText() const override { return history_.UndoText(); }
    std::string RedoText() const override { return history_.RedoText(); }
    void OnStepsChanged(std::function<void()> listener) override { history_.OnChange(std::move(listener)); }
    // Both recompose the previews.
    bool Undo() override;
    bool Redo() override;

    // Both previews at the current depth.
    void RecomposePreviews();

private:
    UserInterface& user_;
    SkinDocument document_;
    ChangeHistory<SkinDocument, SkinChange> history_{document_};
};

}  // namespace corvane
