// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reset is the one command that changes a skin's name and flags besides its
// pictures; undoing it must bring each part back, and redoing it take each away.
#include "model/SkinChange.h"

#include <gtest/gtest.h>

#include <string>

#include "support/ScriptedUser.h"

namespace corvane {
namespace {

TEST(SkinChange, ResetIsRecordedWhateverItChangesAndUndoesEachPart) {
    const struct {
        const char* name;
        std::string path;
        bool unsupported;
        bool mustSaveAs;
        bool pictureChanged;
    } kSkins[] = {
        {"opened, with unknown resources and a changed picture", "/skins/Summer.pdb", true, false, true},
        {"only its name differs from the default skin", "/skins/Summer.pdb", false, false, false},
        {"only the unknown resources differ", std::string(kUntitledPath), true, false, false},
        {"a file that gave no picture", "/skins/notes.txt", false, true, false},
    };
    for (const auto& skin : kSkins) {
        SCOPED_TRACE(skin.name);
        SkinDocument document;
        document.SetFilePath(skin.path);
        document.SetHasUnsupportedResources(skin.unsupported);
        document.SetMustSaveAs(skin.mustSaveAs);
        if (skin.pictureChanged) document.Slot(Depth::Eight, Element::Key5).SetTransparent(Colour{1, 2, 3});
        const SkinState before = CaptureSkin(document);
        testing::ScriptedUser user;
        ASSERT_TRUE(ResetSkin(document, user));
        const SkinState after = CaptureSkin(document);
        ASSERT_FALSE(before == after);

        const SkinChange change = SkinChange::Between(before, after);
        EXPECT_FALSE(change.Empty());
        change.Undo(document);
        EXPECT_EQ(document.FilePath(), skin.path);
        EXPECT_EQ(document.HasUnsupportedResources(), skin.unsupported);
        EXPECT_EQ(document.MustSaveAs(), skin.mustSaveAs);
        EXPECT_TRUE(CaptureSkin(document) == before);
        change.Redo(document);
        EXPECT_EQ(document.FilePath(), kUntitledPath);
        EXPECT_FALSE(document.HasUnsupportedResources());
        EXPECT_TRUE(CaptureSkin(document) == after);
    }
}

}  // namespace
}  // namespace corvane
