// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/SplashChange.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

SplashPicture PictureOf(std::uint8_t byte, std::string source) { return {{0xFF, 0xD8, byte}, std::move(source)}; }

void Put(SplashDocument& splash, std::uint16_t id, SplashPicture picture) { *splash.Picture(id) = std::move(picture); }

struct ChangeCase {
    const char* name;
    void (*command)(SplashDocument&);
};

// Each command changes one part of a splash that already holds both pictures.
const ChangeCase kChanges[] = {
    {"welcome", [](SplashDocument& s) { Put(s, SplashDocument::WelcomeId, PictureOf(9, "new.jpg")); }},
    {"goodbye", [](SplashDocument& s) { Put(s, SplashDocument::GoodbyeId, PictureOf(9, "new.jpg")); }},
    {"source only", [](SplashDocument& s) { s.Picture(SplashDocument::WelcomeId)->source = "elsewhere.jpg"; }},
    {"file and name",
     [](SplashDocument& s) {
         s.SetFileName("/x/Summer.pdb");
         s.SetName("Summer");
     }},
};

TEST(SplashChange, UndoAndRedoRestoreExactlyWhatTheCommandChanged) {
    for (const ChangeCase& c : kChanges) {
        SCOPED_TRACE(c.name);
        SplashDocument splash;
        Put(splash, SplashDocument::WelcomeId, PictureOf(1, "w.jpg"));
        Put(splash, SplashDocument::GoodbyeId, PictureOf(2, "g.jpg"));
        const SplashState before = SplashChange::Capture(splash);
        c.command(splash);
        const SplashState after = SplashChange::Capture(splash);
        const SplashChange change = SplashChange::Between(before, after);
        ASSERT_FALSE(change.Empty());

        // Whole states compared: both pictures with their sources, the file name and the name.
        change.Undo(splash);
        EXPECT_TRUE(SplashChange::Capture(splash) == before);
        change.Redo(splash);
        EXPECT_TRUE(SplashChange::Capture(splash) == after);
    }
}

TEST(SplashChange, KeepsNothingOfWhatItDidNotChange) {
    SplashDocument splash;
    Put(splash, SplashDocument::WelcomeId, PictureOf(1, "w.jpg"));
    EXPECT_TRUE(SplashChange::Between(SplashChange::Capture(splash), SplashChange::Capture(splash)).Empty());

    // A change to the welcome picture, undone after the goodbye picture changed
    // too, leaves the goodbye picture alone.
    const SplashState before = SplashChange::Capture(splash);
    Put(splash, SplashDocument::WelcomeId, PictureOf(3, "w2.jpg"));
    const SplashChange change = SplashChange::Between(before, SplashChange::Capture(splash));
    Put(splash, SplashDocument::GoodbyeId, PictureOf(4, "g.jpg"));
    change.Undo(splash);
    EXPECT_EQ(*splash.Picture(SplashDocument::WelcomeId), PictureOf(1, "w.jpg"));
    EXPECT_EQ(*splash.Picture(SplashDocument::GoodbyeId), PictureOf(4, "g.jpg"));
}

}  // namespace
}  // namespace corvane
