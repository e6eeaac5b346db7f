// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What every front end of the splash editor now shares: the both-pictures
// rule, the name shown against the path written, and the questions on leaving.
#include "model/SplashSession.h"

#include <gtest/gtest.h>

#include "support/ScriptedUser.h"
#include "support/SplashTestUtil.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using splash_testing::Fixture;
using testing::ScriptedUser;
using testing::TempDir;

struct Editing {
    TempDir dir;
    ScriptedUser user;
    SplashSession session{user};

    void Load(std::uint16_t id) {
        ASSERT_EQ(session.LoadPicture(id, Fixture("baseline-320x320.jpg")), SplashLoadOutcome::Loaded);
    }
};

TEST(SplashSession, SavingNeedsBothPicturesAndSaysSo) {
    const struct {
        bool welcome;
        bool goodbye;
    } rows[] = {{false, false}, {true, false}, {false, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.welcome) + std::to_string(row.goodbye));
        for (const bool saveAs : {false, true}) {
            Editing s;
            if (row.welcome) s.Load(SplashDocument::WelcomeId);
            if (row.goodbye) s.Load(SplashDocument::GoodbyeId);
            EXPECT_FALSE(s.session.CanSave());
            EXPECT_EQ(saveAs ? s.session.SaveAs() : s.session.Save(), SplashSaveOutcome::ImageMissing);
            EXPECT_EQ(s.user.MessageTexts(),
                      std::vector<std::string>{"You need to select both a welcome and a goodbye image prior to saving."});
            EXPECT_TRUE(s.user.FileCalls().empty());
        }
    }
}

TEST(SplashSession, SavingAPictureThatIsNotThereSaysWhich) {
    const struct {
        std::uint16_t id;
        const char* text;
    } rows[] = {
        {SplashDocument::WelcomeId, "You need to select a welcome image prior to saving."},
        {SplashDocument::GoodbyeId, "You need to select a goodbye image prior to saving."},
    };
    for (const auto& row : rows) {
        Editing s;
        EXPECT_EQ(s.session.SavePicture(row.id), SplashImageSaveOutcome::ImageMissing);
        EXPECT_EQ(s.user.MessageTexts(), std::vector<std::string>{row.text});
        EXPECT_EQ(s.session.SavePicture(0), SplashImageSaveOutcome::UnknownId);
    }
}

// The fault this mends: the page built its output path from the shown name,
// which for an opened splash file was the whole path.
TEST(SplashSession, AnOpenedFileShowsItsNameAndSavesToItsPathWithoutAsking) {
    Editing s;
    s.Load(SplashDocument::WelcomeId);
    s.Load(SplashDocument::GoodbyeId);
    EXPECT_TRUE(s.session.SaveNeedsName());
    s.user.ChoosesFile(s.dir.File("Mine.pdb"));
    ASSERT_EQ(s.session.Save(), SplashSaveOutcome::Saved);
    EXPECT_FALSE(s.session.Document().IsModified());

    ScriptedUser other;
    SplashSession opened(other);
    ASSERT_EQ(opened.Open(s.dir.File("Mine.pdb")), SplashReadOutcome::Opened);
    EXPECT_EQ(opened.ShownName(), "Mine.pdb");
    EXPECT_EQ(opened.FilePath(), s.dir.File("Mine.pdb"));
    EXPECT_EQ(opened.Title(), "Mine.pdb - Corvane Desktop for Treo 650/700p");
    EXPECT_FALSE(opened.SaveNeedsName());
    EXPECT_FALSE(opened.CanUndo());
    ASSERT_EQ(opened.Save(), SplashSaveOutcome::Saved);
    EXPECT_TRUE(other.FileCalls().empty());
}

TEST(SplashSession, EachWayOfLeavingAsksItsOwnQuestion) {
    const struct {
        Leaving why;
        Answer answer;
        bool leaves;
        const char* question;
    } rows[] = {
        {Leaving::ToOtherEditor, Answer::No, true,
         "You changed the current splash. Do you want to save your changes before exiting?"},
        {Leaving::Program, Answer::Cancel, false,
         "You changed the current splash file. Do you want to save your changes before exiting?"},
        // Yes saves first, and one picture is not enough to save: the editor stays.
        {Leaving::Program, Answer::Yes, false,
         "You changed the current splash file. Do you want to save your changes before exiting?"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.question);
        Editing s;
        s.Load(SplashDocument::WelcomeId);
        s.user.Answers(row.answer);
        EXPECT_EQ(s.session.MayLeave(row.why), row.leaves);
        ASSERT_FALSE(s.user.Messages().empty());
        EXPECT_EQ(s.user.Messages()[0].text, row.question);
        if (row.answer == Answer::Yes) {
            EXPECT_EQ(s.user.MessageTexts().back(),
                      "You need to select both a welcome and a goodbye image prior to saving.");
        }
    }
}

TEST(SplashSession, LoadingIsOneUndoStepNamedAfterThePicture) {
    Editing s;
    s.Load(SplashDocument::GoodbyeId);
    EXPECT_EQ(s.session.UndoText(), "Load Goodbye Image");
    ASSERT_TRUE(s.session.Undo());
    EXPECT_FALSE(s.session.Document().HasImage(SplashDocument::GoodbyeId));
    EXPECT_EQ(s.session.LoadPicture(7, Fixture("baseline-320x320.jpg")), SplashLoadOutcome::UnknownId);
    EXPECT_FALSE(s.session.CanUndo());
}

}  // namespace
}  // namespace corvane
