// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/ChangeHistory.h"

#include <gtest/gtest.h>

#include "model/SplashChange.h"
#include "model/SplashDocument.h"

namespace corvane {
namespace {

using History = ChangeHistory<SplashDocument, SplashChange>;

void Name(SplashDocument& splash, const char* name) { splash.SetName(name); }

// After each step: what undo and redo would take back and do again, and the "*".
TEST(ChangeHistory, StepsKeepTheirTextsAndTheFlagFollowsTheContent) {
    SplashDocument splash;
    History history(splash);
    struct Step {
        const char* action;  // "run A", "run same", "undo", "redo", "save"
        std::string undoText;
        std::string redoText;
        bool modified;
        std::string name;
    };
    const Step steps[] = {
        {"run A", "A", "", true, "A"},
        {"run same", "A", "", true, "A"},  // changes nothing: no step
        {"run B", "B", "", true, "B"},
        {"undo", "A", "B", true, "A"},
        {"undo", "", "A", false, ""},      // back as the file holds it
        {"undo", "", "A", false, ""},      // nothing left to undo
        {"redo", "A", "B", true, "A"},
        {"save", "A", "B", false, "A"},
        {"redo", "B", "", true, "B"},
        {"undo", "A", "B", false, "A"},    // back as last saved
        {"run C", "C", "", true, "C"},     // a new step drops the undone one
        {"redo", "C", "", true, "C"},
        {"undo", "A", "C", false, "A"},    // B is gone from the steps
    };
    for (const Step& step : steps) {
        const std::string action = step.action;
        if (action == "run same") history.Run("same", [&] { Name(splash, splash.Name().c_str()); });
        else if (action.starts_with("run ")) history.Run(action.substr(4), [&] { Name(splash, action.substr(4).c_str()); });
        else if (action == "undo") history.Undo();
        else if (action == "redo") history.Redo();
        else history.MarkSaved();
        SCOPED_TRACE(action + " then " + step.name);
        EXPECT_EQ(history.UndoText(), step.undoText);
        EXPECT_EQ(history.RedoText(), step.redoText);
        EXPECT_EQ(history.CanUndo(), !step.undoText.empty());
        EXPECT_EQ(history.CanRedo(), !step.redoText.empty());
        EXPECT_EQ(splash.IsModified(), step.modified);
        EXPECT_EQ(splash.Name(), step.name);
    }
}

TEST(ChangeHistory, AResetStateCountsAsUnmodifiedUntilTheNextSave) {
    SplashDocument splash;
    History history(splash);
    history.Run("A", [&] { Name(splash, "A"); });
    history.MarkReset();
    EXPECT_FALSE(splash.IsModified());
    history.Run("B", [&] { Name(splash, "B"); });
    EXPECT_TRUE(splash.IsModified());
    history.Undo();
    EXPECT_FALSE(splash.IsModified());  // as the reset left it
    history.Undo();
    EXPECT_FALSE(splash.IsModified());  // as the file holds it
    history.Redo();
    history.Redo();
    EXPECT_TRUE(splash.IsModified());
    history.MarkSaved();
    EXPECT_FALSE(splash.IsModified());
    history.Undo();
    EXPECT_TRUE(splash.IsModified());  // "A" was the reset state before the save, no longer
    history.Forget();
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
}

}  // namespace
}  // namespace corvane
