// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One splash file being edited, whichever program shows it: the document,
// its undo history and every decision a window or a page would otherwise
// make for itself (what Open does, the both-pictures rule before saving, the
// questions on leaving, the title). Front ends run commands through it and
// show what it holds.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "model/ChangeHistory.h"
#include "model/SplashChange.h"
#include "model/SplashDocument.h"
#include "model/SplashFile.h"
#include "model/Undoable.h"

namespace corvane {

class UserInterface;

// Why the splash editor closes: for the skin editor, or to end the program.
enum class Leaving { ToOtherEditor, Program };

class SplashSession : public Undoable {
public:
    explicit SplashSession(UserInterface& user) : user_(user) {}
    SplashSession(const SplashSession&) = delete;
    SplashSession& operator=(const SplashSession&) = delete;

    const SplashDocument& Document() const { return document_; }
    UserInterface& User() { return user_; }
    ChangeHistory<SplashDocument, SplashChange>& History() { return history_; }
    const ChangeHistory<SplashDocument, SplashChange>& History() const { return history_; }

    // "NAME[*] - Corvane Desktop for Treo 650/700p".
    std::string Title() const;
    // The name to show the user: the file's last path component.
    std::string ShownName() const;
    // The path Save writes to.
    const std::string& FilePath() const { return document_.FileName(); }
    // Save will ask for a name first.
    bool SaveNeedsName() const { return document_.IsUntitled(); }
    // Save and Save as are offered only with both pictures.
    bool CanSave() const { return document_.HasBothImages(); }

    // Asks for a JPEG for the picture named by id (a path given takes the
    // prompt's place), recorded as one undo step.
    SplashLoadOutcome LoadPicture(std::uint16_t id, const std::optional<std::string>& chosen = std::nullopt);
    // Asks where to write the picture named by id; warns when there is none.
    SplashImageSaveOutcome SavePicture(std::uint16_t id);
    // The Open command; a path given takes the file prompt's place. An
    // opened file starts a new history.
    SplashReadOutcome Open(const std::optional<std::string>& chosen = std::nullopt);
    // Both warn and write nothing until both pictures are there.
    SplashSaveOutcome Save();
    SplashSaveOutcome SaveAs();
    // Before the editor closes: asks when the splash has unsaved changes, and
    // Yes saves first (`saved` then hears how it went). True when it may close.
    bool MayLeave(Leaving why, const std::function<void(SplashSaveOutcome)>& saved = {});

    bool CanUndo() const override { return history_.CanUndo(); }
    bool CanRedo() const override { return history_.CanRedo(); }
    std::string UndoText() const override { return history_.UndoText(); }
    std::string RedoText() const override { return history_.RedoText(); }
    void OnStepsChanged(std::function<void()> listener) override { history_.OnChange(std::move(listener)); }
    bool Undo() override { return history_.Undo(); }
    bool Redo() override { return history_.Redo(); }

private:
    template <class Command>
    SplashSaveOutcome WithBothPictures(Command save);

    UserInterface& user_;
    SplashDocument document_;
    ChangeHistory<SplashDocument, SplashChange> history_{document_};
};

// The picture a front end names by its place: 0 the welcome picture, 1 the goodbye picture.
std::optional<std::uint16_t> SplashPictureId(int which);

}  // namespace corvane
