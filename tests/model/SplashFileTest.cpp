// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/SplashFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>

#include "io/ByteOrder.h"
#include "io/FileAccess.h"
#include "support/FailingWrites.h"
#include "support/SplashTestUtil.h"
#include "support/ScriptedUser.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using namespace splash_testing;
using testing::FileSizeLimit;
using testing::MakeReadOnly;
using testing::OrdinaryUser;
using testing::ReadBytes;
using testing::ScriptedUser;
using testing::TempDir;
using testing::WriteBytes;

constexpr std::uint32_t kDate = 0xC0FFEE00;

TEST(SplashFile, ExtractedNamesDropTheLastFourCharacters) {
    EXPECT_EQ(ExtractedImageName("untitled.pdb", SplashDocument::WelcomeId), "untitled-welcome.jpg");
    EXPECT_EQ(ExtractedImageName("C:\\x\\Summer.pdb", SplashDocument::GoodbyeId), "C:\\x\\Summer-goodbye.jpg");
    EXPECT_EQ(ExtractedImageName("/x/Summer.PDB", SplashDocument::WelcomeId), "/x/Summer-welcome.jpg");
    EXPECT_EQ(ExtractedImageName("abc", SplashDocument::WelcomeId), "-welcome.jpg");
}

class SplashCommands : public ::testing::Test {
protected:
    // The one message shown since the last call, checked whole.
    void ExpectMessage(const std::string& text, std::optional<std::string> caption, MessageIcon icon) {
        ASSERT_EQ(user.Messages().size(), seenMessages + 1) << "expected: " << text;
        const Message& m = user.Messages().back();
        EXPECT_EQ(m.text, text);
        EXPECT_EQ(m.caption, caption);
        EXPECT_EQ(m.icon, icon);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
        EXPECT_FALSE(m.ownedByWindow);
        seenMessages = user.Messages().size();
    }
    void ExpectNoMessage() { EXPECT_EQ(user.Messages().size(), seenMessages); }

    void LoadBoth() {
        ASSERT_EQ(LoadSplashImage(splash, user, SplashDocument::WelcomeId, welcomePath), SplashLoadOutcome::Loaded);
        ASSERT_EQ(LoadSplashImage(splash, user, SplashDocument::GoodbyeId, goodbyePath), SplashLoadOutcome::Loaded);
    }

    TempDir dir;
    ScriptedUser user;
    SplashDocument splash;
    std::size_t seenMessages = 0;
    const std::string welcomePath = Fixture("baseline-320x320.jpg");
    const std::string goodbyePath = Fixture("progressive-320x320.jpg");
    const std::string kDesktop = "Corvane Desktop";
    const std::string jpegFilter = "Jpeg Image (*.jpg *.jpeg)|*.jpg;*.jpeg|All files (*.*)|*.*||";
    const std::string splashFilter = "Splash File (*.pdb)|*.pdb|All files (*.*)|*.*||";
};

TEST_F(SplashCommands, StartsEmptyAndUntitled) {
    EXPECT_EQ(splash.FileName(), "untitled.pdb");
    EXPECT_FALSE(splash.IsModified());
    EXPECT_FALSE(splash.HasImage(SplashDocument::WelcomeId));
    EXPECT_FALSE(splash.HasImage(SplashDocument::GoodbyeId));
    EXPECT_EQ(splash.WelcomeSource(), "");
    EXPECT_EQ(splash.Name(), "");
}

TEST_F(SplashCommands, ChoosingAJpegAsksForAnExistingFileAndKeepsItsBytes) {
    user.ChoosesFile(goodbyePath);
    EXPECT_EQ(ChooseSplashImage(splash, user, SplashDocument::GoodbyeId), SplashLoadOutcome::Loaded);
    ASSERT_EQ(user.FileCalls().size(), 1u);
    const auto& call = user.FileCalls()[0];
    EXPECT_FALSE(call.save);
    EXPECT_EQ(call.prompt.filter, jpegFilter);
    EXPECT_EQ(call.prompt.defaultExtension, "");
    EXPECT_EQ(call.prompt.proposedName, "");
    EXPECT_TRUE(call.prompt.mustExist);
    EXPECT_FALSE(call.prompt.ownedByWindow);
    EXPECT_EQ(splash.GoodbyeBytes(), FixtureBytes("progressive-320x320.jpg"));
    EXPECT_EQ(splash.GoodbyeSource(), goodbyePath);
    EXPECT_EQ(splash.Source(SplashDocument::GoodbyeId), goodbyePath);
    EXPECT_FALSE(splash.HasImage(SplashDocument::WelcomeId));
    EXPECT_TRUE(splash.IsModified());
    ExpectNoMessage();

    user.ChoosesFile(std::nullopt);
    EXPECT_EQ(ChooseSplashImage(splash, user, SplashDocument::WelcomeId), SplashLoadOutcome::Cancelled);
    EXPECT_FALSE(splash.HasImage(SplashDocument::WelcomeId));
    ExpectNoMessage();
}

TEST_F(SplashCommands, RefusedLoadsSayWhyAndKeepWhatWasHeld) {
    LoadBoth();
    user.ChoosesFile(dir.File("saved.pdb"));
    ASSERT_EQ(SaveSplash(splash, user, kDate), SplashSaveOutcome::Saved);
    seenMessages = user.Messages().size();
    ASSERT_FALSE(splash.IsModified());

    const std::string missing = dir.File("missing.jpg");
    EXPECT_EQ(LoadSplashImage(splash, user, SplashDocument::WelcomeId, missing), SplashLoadOutcome::CouldNotOpen);
    ExpectMessage("Could not open file " + missing + " for reading.", std::nullopt, MessageIcon::Warning);
    EXPECT_EQ(user.Messages().back().details,
              missing + ": cannot open the file for reading: No such file or directory");

    // A sparse file: its size is refused before a byte is read.
    const std::string huge = dir.File("huge.jpg");
    WriteBytes(huge, {0xFF, 0xD8});
    std::filesystem::resize_file(huge, kDatabaseFileLimit + 1);
    EXPECT_EQ(LoadSplashImage(splash, user, SplashDocument::WelcomeId, huge), SplashLoadOutcome::CouldNotOpen);
    ExpectMessage("Could not open file " + huge + " for reading.", std::nullopt, MessageIcon::Warning);
    EXPECT_EQ(user.Messages().back().details, huge + ": larger than 64 MiB, the limit for splash files and their images");

    const std::string png = Fixture("flat-320x320.png");
    EXPECT_EQ(LoadSplashImage(splash, user, SplashDocument::WelcomeId, png), SplashLoadOutcome::NotJpeg);
    ExpectMessage("File " + png + " is not a Jpeg image.", std::nullopt, MessageIcon::Warning);

    const std::string noFrame = dir.File("no-frame.jpg");
    WriteBytes(noFrame, JpegBuilder().Segment(0xE0, 16, 14).Raw({0xFF, 0xD9}).Take());
    EXPECT_EQ(LoadSplashImage(splash, user, SplashDocument::GoodbyeId, noFrame), SplashLoadOutcome::NotJpeg);
    ExpectMessage("File " + noFrame + " is not a Jpeg image.", std::nullopt, MessageIcon::Warning);

    const std::string landscape = Fixture("baseline-320x240.jpg");
    EXPECT_EQ(LoadSplashImage(splash, user, SplashDocument::GoodbyeId, landscape), SplashLoadOutcome::WrongSize);
    ExpectMessage("File " + landscape + " does not have dimension 320x320 (it has 320x240).", std::nullopt,
                  MessageIcon::Warning);
    const std::string portrait = Fixture("grey-240x320.jpg");
    EXPECT_EQ(LoadSplashImage(splash, user, SplashDocument::GoodbyeId, portrait), SplashLoadOutcome::WrongSize);
    ExpectMessage("File " + portrait + " does not have dimension 320x320 (it has 240x320).", std::nullopt,
                  MessageIcon::Warning);

    EXPECT_EQ(LoadSplashImage(splash, user, 4711, welcomePath), SplashLoadOutcome::UnknownId);
    ExpectNoMessage();

    EXPECT_EQ(splash.WelcomeBytes(), FixtureBytes("baseline-320x320.jpg"));
    EXPECT_EQ(splash.GoodbyeBytes(), FixtureBytes("progressive-320x320.jpg"));
    EXPECT_EQ(splash.WelcomeSource(), welcomePath);
    EXPECT_FALSE(splash.IsModified());
}

TEST_F(SplashCommands, SavingUntitledAsksForANameThenWritesAndSaysSo) {
    LoadBoth();
    const std::string path = dir.File("Summer.pdb");
    user.ChoosesFile(path);
    EXPECT_EQ(SaveSplash(splash, user, kDate), SplashSaveOutcome::Saved);
    ASSERT_EQ(user.FileCalls().size(), 1u);
    const auto& call = user.FileCalls()[0];
    EXPECT_TRUE(call.save);
    EXPECT_EQ(call.prompt.filter, splashFilter);
    EXPECT_EQ(call.prompt.defaultExtension, "pdb");
    EXPECT_EQ(call.prompt.proposedName, "untitled.pdb");
    EXPECT_TRUE(call.prompt.confirmOverwrite);
    EXPECT_FALSE(call.prompt.ownedByWindow);
    ExpectMessage("Splash saved successfully.", kDesktop, MessageIcon::Information);
    EXPECT_EQ(splash.FileName(), path);
    EXPECT_EQ(splash.Name(), "Summer");
    EXPECT_FALSE(splash.IsModified());
    EXPECT_EQ(ReadBytes(path), *BuildSplashFile("Summer", splash.WelcomeBytes(), splash.GoodbyeBytes(), kDate));

    // Named now: saving again writes without asking.
    ASSERT_EQ(LoadSplashImage(splash, user, SplashDocument::GoodbyeId, welcomePath), SplashLoadOutcome::Loaded);
    EXPECT_EQ(SaveSplash(splash, user, kDate), SplashSaveOutcome::Saved);
    EXPECT_EQ(user.FileCalls().size(), 1u);
    ExpectMessage("Splash saved successfully.", kDesktop, MessageIcon::Information);
    EXPECT_TRUE(SameBytes(ParseSplashFile(ReadBytes(path))->goodbye, FixtureBytes("baseline-320x320.jpg")));

    // Save as proposes the current full path.
    user.ChoosesFile(std::nullopt);
    EXPECT_EQ(SaveSplashAs(splash, user, kDate), SplashSaveOutcome::Cancelled);
    EXPECT_EQ(user.FileCalls().back().prompt.proposedName, path);
    EXPECT_EQ(splash.FileName(), path);
    ExpectNoMessage();
}

TEST_F(SplashCommands, WritingNeedsBothImages) {
    ASSERT_EQ(LoadSplashImage(splash, user, SplashDocument::WelcomeId, welcomePath), SplashLoadOutcome::Loaded);
    user.ChoosesFile(dir.File("half.pdb"));
    EXPECT_EQ(SaveSplashAs(splash, user, kDate), SplashSaveOutcome::ImageMissing);
    EXPECT_FALSE(FileExists(dir.File("half.pdb")));
    EXPECT_TRUE(splash.IsModified());
    ExpectNoMessage();
    EXPECT_EQ(SaveSplashImage(splash, user, SplashDocument::GoodbyeId, dir.File("g.jpg")), SplashImageSaveOutcome::ImageMissing);
    EXPECT_FALSE(FileExists(dir.File("g.jpg")));
    ExpectNoMessage();
}

TEST_F(SplashCommands, OpeningWhatWasSavedNamesTheSourcesAfterTheFile) {
    LoadBoth();
    // Typed the Windows way: the database name is what follows the last backslash.
    const std::string path = dir.File("C:\\x\\Summer.pdb");
    user.ChoosesFile(path);
    ASSERT_EQ(SaveSplashAs(splash, user, kDate), SplashSaveOutcome::Saved);

    ScriptedUser other;
    SplashDocument reopened;
    other.ChoosesFile(path);
    EXPECT_EQ(ReadSplash(reopened, other), SplashReadOutcome::Opened);
    ASSERT_EQ(other.FileCalls().size(), 1u);
    const auto& call = other.FileCalls()[0];
    EXPECT_FALSE(call.save);
    EXPECT_EQ(call.prompt.filter, splashFilter);
    EXPECT_EQ(call.prompt.defaultExtension, "");
    EXPECT_EQ(call.prompt.proposedName, "");
    EXPECT_TRUE(call.prompt.mustExist);
    EXPECT_FALSE(call.prompt.ownedByWindow);
    EXPECT_TRUE(other.Messages().empty());

    EXPECT_EQ(reopened.WelcomeSource(), "(welcome image from Summer splash file)");
    EXPECT_EQ(reopened.GoodbyeSource(), "(goodbye image from Summer splash file)");
    EXPECT_EQ(reopened.Name(), "Summer");
    EXPECT_EQ(reopened.FileName(), path);
    EXPECT_EQ(reopened.WelcomeBytes(), splash.WelcomeBytes());
    EXPECT_EQ(reopened.GoodbyeBytes(), splash.GoodbyeBytes());
    EXPECT_FALSE(reopened.IsModified());

    other.ChoosesFile(std::nullopt);
    EXPECT_EQ(ReadSplash(reopened, other), SplashReadOutcome::Cancelled);
    EXPECT_EQ(reopened.FileName(), path);
}

TEST_F(SplashCommands, UnsavedChangesAreAskedAboutAndOnlyYesOpens) {
    const std::string path = dir.File("Caf\u00e9.pdb");
    WriteBytes(path, *BuildSplashFile("Caf\xE9", Pattern(20, 1), Pattern(30, 2), kDate));
    LoadBoth();
    for (const Answer answer : {Answer::No, Answer::Cancel, Answer::Yes}) {
        user.Answers(answer);
        if (answer == Answer::Yes) user.ChoosesFile(path);
        EXPECT_EQ(ReadSplash(splash, user), answer == Answer::Yes ? SplashReadOutcome::Opened : SplashReadOutcome::Cancelled);
        const Message& question = user.Messages().back();
        EXPECT_EQ(question.text,
                  "You changed the current splash file and did not save your changes. Open another splash file anyway?");
        EXPECT_EQ(question.icon, MessageIcon::Question);
        EXPECT_EQ(question.buttons, MessageButtons::YesNo);
        EXPECT_EQ(question.defaultButton, Answer::No);
        EXPECT_EQ(question.caption, user.ApplicationName());
        EXPECT_EQ(user.FileCalls().size(), answer == Answer::Yes ? 1u : 0u);
        EXPECT_EQ(splash.IsModified(), answer != Answer::Yes);
        EXPECT_EQ(splash.WelcomeSource(), answer == Answer::Yes ? "(welcome image from Caf\u00e9 splash file)" : welcomePath);
    }
    // The name is kept as stored; only the sources show it decoded.
    EXPECT_EQ(splash.Name(), "Caf\xE9");
}

TEST_F(SplashCommands, BothDatesAreTheTimeOfTheSave) {
    SplashDocument clocked;
    ASSERT_EQ(LoadSplashImage(clocked, user, SplashDocument::WelcomeId, welcomePath), SplashLoadOutcome::Loaded);
    ASSERT_EQ(LoadSplashImage(clocked, user, SplashDocument::GoodbyeId, goodbyePath), SplashLoadOutcome::Loaded);
    user.ChoosesFile(dir.File("Dated.pdb"));
    const std::uint32_t before = PalmNow();
    ASSERT_EQ(SaveSplashAs(clocked, user), SplashSaveOutcome::Saved);
    const std::uint32_t after = PalmNow();
    const Bytes bytes = ReadBytes(dir.File("Dated.pdb"));
    BigEndianReader in(bytes);
    in.Skip(36);
    for (const char* date : {"created", "modified"}) {
        const std::uint32_t value = in.U32();
        EXPECT_GE(value, before) << date;
        EXPECT_LE(value, after) << date;
    }
}

TEST_F(SplashCommands, RefusedOpenChangesNothing) {
    LoadBoth();
    const std::string damaged = dir.File("damaged.pdb");
    Bytes bytes = *BuildSplashFile("Winter", Pattern(20, 1), Pattern(30, 2), kDate);
    PutU32(bytes, 94, 500);  // past the end
    WriteBytes(damaged, bytes);
    EXPECT_EQ(ReadSplashFile(splash, user, damaged), SplashReadOutcome::NotSplashFile);
    ExpectMessage("This is not a splash image file.", std::nullopt, MessageIcon::Warning);

    const std::string missing = dir.File("nowhere.pdb");
    user.Answers(Answer::Yes).ChoosesFile(missing);
    EXPECT_EQ(ReadSplash(splash, user), SplashReadOutcome::CouldNotOpen);
    ++seenMessages;  // the question about the unsaved changes
    ExpectMessage("Could not open file " + missing + " for reading.", std::nullopt, MessageIcon::Warning);

    EXPECT_EQ(splash.WelcomeBytes(), FixtureBytes("baseline-320x320.jpg"));
    EXPECT_EQ(splash.GoodbyeSource(), goodbyePath);
    EXPECT_EQ(splash.FileName(), "untitled.pdb");
    EXPECT_EQ(splash.Name(), "");
    EXPECT_TRUE(splash.IsModified());
}

TEST_F(SplashCommands, ExtractingProposesANameBesideTheSplashFile) {
    CORVANE_SKIP_IN_WEBASSEMBLY("no file size limits in WebAssembly");
    LoadBoth();
    const std::string out = dir.File("w.jpg");
    user.ChoosesFile(out);
    EXPECT_EQ(ExtractSplashImage(splash, user, SplashDocument::WelcomeId), SplashImageSaveOutcome::Saved);
    const auto& call = user.FileCalls().back();
    EXPECT_TRUE(call.save);
    EXPECT_EQ(call.prompt.filter, jpegFilter);
    EXPECT_EQ(call.prompt.defaultExtension, "jpg");
    EXPECT_EQ(call.prompt.proposedName, "untitled-welcome.jpg");
    EXPECT_TRUE(call.prompt.confirmOverwrite);
    EXPECT_FALSE(call.prompt.ownedByWindow);
    ExpectMessage("Jpeg image saved successfully.", kDesktop, MessageIcon::Information);
    EXPECT_EQ(ReadBytes(out), FixtureBytes("baseline-320x320.jpg"));
    EXPECT_TRUE(splash.IsModified());  // extracting saves no splash

    // The name is kept from the save-as dialog even though the write fails.
    user.ChoosesFile(dir.File("C:\\x\\Summer.pdb"));
    SplashSaveOutcome outcome;
    {
        const FileSizeLimit full;
        outcome = SaveSplashAs(splash, user, kDate);
    }
    EXPECT_EQ(outcome, SplashSaveOutcome::WriteFailed);
    ExpectMessage("Error writing splash file.", kDesktop, MessageIcon::Warning);
    user.ChoosesFile(std::nullopt);
    EXPECT_EQ(ExtractSplashImage(splash, user, SplashDocument::GoodbyeId), SplashImageSaveOutcome::Cancelled);
    EXPECT_EQ(user.FileCalls().back().prompt.proposedName, dir.File("C:\\x\\Summer-goodbye.jpg"));
    ExpectNoMessage();

    const std::size_t prompts = user.FileCalls().size();
    EXPECT_EQ(ExtractSplashImage(splash, user, 4711), SplashImageSaveOutcome::UnknownId);
    EXPECT_EQ(user.FileCalls().size(), prompts);
}

TEST_F(SplashCommands, AnUnknownImageLeavesTheTargetFileAlone) {
    LoadBoth();
    const std::string path = dir.File("keep.jpg");
    WriteBytes(path, {1, 2, 3});
    EXPECT_EQ(SaveSplashImage(splash, user, 4711, path), SplashImageSaveOutcome::UnknownId);
    EXPECT_EQ(ReadBytes(path), (Bytes{1, 2, 3}));
    ExpectNoMessage();
}

TEST_F(SplashCommands, FailedSplashWritesKeepThePreviousFileAndTheModifiedFlag) {
    CORVANE_SKIP_IN_WEBASSEMBLY("no file size limits in WebAssembly");
    LoadBoth();
    const std::string path = dir.File("Summer.pdb");
    WriteBytes(path, {9, 9, 9});
    user.ChoosesFile(path);
    SplashSaveOutcome outcome;
    {
        const FileSizeLimit full;
        outcome = SaveSplash(splash, user, kDate);
    }
    EXPECT_EQ(outcome, SplashSaveOutcome::WriteFailed);
    ExpectMessage("Error writing splash file.", kDesktop, MessageIcon::Warning);
    EXPECT_EQ(ReadBytes(path), (Bytes{9, 9, 9}));
    EXPECT_TRUE(splash.IsModified());
    EXPECT_EQ(splash.Name(), "");

    // The user made the file read-only; root may write it anyway, so the save runs as someone else.
    MakeReadOnly(path);
    {
        const OrdinaryUser ordinary;
        if (!ordinary.Active()) GTEST_SKIP() << "this process cannot act as an ordinary user";
        outcome = WriteSplash(splash, user, kDate);
    }
    EXPECT_EQ(outcome, SplashSaveOutcome::CouldNotOpen);
    ExpectMessage("Could not open file for writing.", kDesktop, MessageIcon::Warning);
    EXPECT_EQ(ReadBytes(path), (Bytes{9, 9, 9}));
    EXPECT_TRUE(splash.IsModified());
}

TEST_F(SplashCommands, SplashSavedIntoAMissingFolderIsCouldNotOpen) {
    LoadBoth();
    user.ChoosesFile(dir.File("no-such-folder/Summer.pdb"));
    EXPECT_EQ(SaveSplashAs(splash, user, kDate), SplashSaveOutcome::CouldNotOpen);
    ExpectMessage("Could not open file for writing.", kDesktop, MessageIcon::Warning);
    EXPECT_TRUE(splash.IsModified());
}

TEST_F(SplashCommands, FailedImageWritesKeepThePreviousFile) {
    CORVANE_SKIP_IN_WEBASSEMBLY("no file size limits in WebAssembly");
    LoadBoth();
    const std::string path = dir.File("goodbye.jpg");
    WriteBytes(path, {7, 7});
    SplashImageSaveOutcome outcome;
    {
        const FileSizeLimit full;
        outcome = SaveSplashImage(splash, user, SplashDocument::GoodbyeId, path);
    }
    EXPECT_EQ(outcome, SplashImageSaveOutcome::WriteFailed);
    ExpectMessage("Error writing Jpeg image.", kDesktop, MessageIcon::Warning);
    EXPECT_EQ(ReadBytes(path), (Bytes{7, 7}));

    MakeReadOnly(path);
    {
        const OrdinaryUser ordinary;
        if (!ordinary.Active()) GTEST_SKIP() << "this process cannot act as an ordinary user";
        outcome = SaveSplashImage(splash, user, SplashDocument::GoodbyeId, path);
    }
    EXPECT_EQ(outcome, SplashImageSaveOutcome::CouldNotOpen);
    ExpectMessage("Could not open file for writing.", kDesktop, MessageIcon::Warning);
    EXPECT_EQ(ReadBytes(path), (Bytes{7, 7}));
}

}  // namespace
}  // namespace corvane
