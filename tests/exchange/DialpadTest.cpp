// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "exchange/Dialpad.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/Bmp.h"
#include "imaging/ImageFile.h"
#include "imaging/PalmColour.h"
#include "model/PreviewComposition.h"
#include "model/SkinDocument.h"
#include "support/ScriptedUser.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using testing::ScriptedUser;
using testing::TempDir;
using testing::WriteBytes;

constexpr int kKey1 = 1, kKey5 = 5, kKey9 = 9, kDialButton = 24, kDialButtonPressed = 25;
constexpr Colour kBlue{0, 0, 200};
// White as a 16-bit slot holds it: 5-6-5 keeps the top 5, 6 and 5 bits.
constexpr Colour kWhiteAt16{248, 252, 248};

bool SameSlots(const SkinDocument& a, const SkinDocument& b) {
    for (const Depth depth : kDepths)
        for (int i = 0; i < kElementCount; ++i)
            if (a.Slot(depth, i).Picture() != b.Slot(depth, i).Picture() ||
                a.Slot(depth, i).Transparent() != b.Slot(depth, i).Transparent())
                return false;
    return true;
}

Image Cell(const Image& picture, int x, int y) {
    Image cell(102, 46);
    for (int j = 0; j < 46; ++j)
        for (int i = 0; i < 102; ++i) cell.Set(i, j, picture.At(x + i, y + j));
    return cell;
}

TEST(ExportDialpad, UntitledSkinWritesThePreviewAndBothDialpadsAsComposed) {
    TempDir dir;
    SkinDocument document;
    ComposePreviews(document, Depth::Sixteen);
    ScriptedUser user;
    user.ChoosesFolder(dir.Path().string()).ChoosesFolder(dir.Path().string());
    EXPECT_EQ(ExportPreview(document, user), ExportOutcome::Exported);
    EXPECT_EQ(ExportDialpadBitmaps(document, user), ExportOutcome::Exported);
    EXPECT_EQ(user.FolderTitles()[1], "Select a destination directory for the exported bitmaps:");

    EXPECT_EQ(ReadImageFile(dir.File("untitled-preview.bmp")).image, document.ReleasedPreview());
    const std::pair<const char*, const Image*> pads[] = {{"untitled-dial-unpressed.bmp", &document.ReleasedPreview()},
                                                         {"untitled-dial-pressed.bmp", &document.PressedPreview()}};
    for (const auto& [name, canvas] : pads) {
        const auto pad = ReadImageFile(dir.File(name)).image;
        ASSERT_TRUE(pad && pad->Width() == 306 && pad->Height() == 184) << name;
        for (int y = 0; y < 184; ++y)
            for (int x = 0; x < 306; ++x) ASSERT_EQ(pad->At(x, y), canvas->At(6 + x, 90 + y)) << name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 3);
}

// The released keys sit on the released button face, the pressed keys on the pressed one.
TEST(ComposeDialpad, EachPadOnItsOwnButtonFace) {
    SkinDocument document;
    for (int key = 0; key < 24; ++key) document.Slot(Depth::Sixteen, key).CopyFrom(Image(102, 46, kPureGreen), 0, 0, Depth::Sixteen);
    document.Slot(Depth::Sixteen, kDialButton).CopyFrom(Image(102, 46, Colour{248, 0, 0}), 0, 0, Depth::Sixteen);
    document.Slot(Depth::Sixteen, kDialButtonPressed).CopyFrom(Image(102, 46, kBlue), 0, 0, Depth::Sixteen);
    Image released(306, 184, kWhite), pressed(306, 184, kWhite);
    ComposeDialpad(released, pressed, document);
    EXPECT_EQ(released.At(150, 100), (Colour{248, 0, 0}));
    EXPECT_EQ(pressed.At(150, 100), document.Slot(Depth::Sixteen, kDialButtonPressed).Picture().At(0, 0));
}

TEST(ImportDialpad, ExportedDialpadComesBackIntoTheSameKeys) {
    TempDir dir;
    // A skin as loaded from files: every picture already at 16-bit colours.
    SkinDocument source;
    for (auto& slot : source.Set(Depth::Sixteen)) slot.ReduceToDepth(Depth::Sixteen);
    ComposePreviews(source, Depth::Sixteen);
    for (const auto& [name, picture] : DialpadPictures(source)) ASSERT_TRUE(WriteBmpFile(picture, dir.File(name + ".bmp")));

    SkinDocument document;
    ScriptedUser user;
    user.Answers(Answer::Ok)
        .ChoosesFile(dir.File("untitled-dial-unpressed.bmp"))
        .ChoosesFile(dir.File("untitled-dial-pressed.bmp"));
    ASSERT_EQ(ImportDialpadBitmaps(document, user), DialpadOutcome::Changed);
    ASSERT_EQ(user.Messages().size(), std::size_t{1});
    const Message& warning = user.Messages()[0];
    EXPECT_EQ(warning.text, "This function will modify all of the loaded images. Please make sure to have a backup "
                            "available. For details and instructions on this functionality, please refer to the manual.");
    EXPECT_EQ(warning.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(warning.icon, MessageIcon::Information);
    EXPECT_EQ(user.FileCalls()[0].prompt.title, "Select image for 'background with unpressed buttons'");
    EXPECT_EQ(user.FileCalls()[1].prompt.title, "Select image for 'background with pressed buttons'");
    EXPECT_TRUE(document.IsModified());

    // "5" sits in the middle cell of the second row; "5pressed" likewise in the pressed picture.
    const auto pads = DialpadPictures(source);
    EXPECT_EQ(document.Slot(Depth::Sixteen, kKey5).Picture(), Cell(pads[0].picture, 102, 46));
    EXPECT_EQ(document.Slot(Depth::Sixteen, kKey5 + 12).Picture(), Cell(pads[1].picture, 102, 46));
    EXPECT_EQ(document.Slot(Depth::Sixteen, kKey1).Transparent(), source.Slot(Depth::Sixteen, kKey1).Transparent());
    // The phone shows the same dial pad as before.
    EXPECT_EQ(DialpadPictures(document)[0].picture, pads[0].picture);
    EXPECT_EQ(DialpadPictures(document)[1].picture, pads[1].picture);
}

TEST(InsertBackground, PlainBackgroundShowsAroundTheButtonsAndClearsTheDialButtons) {
    TempDir dir;
    ASSERT_TRUE(WriteBmpFile(Image(306, 184, kBlue), dir.File("blue.bmp")));
    SkinDocument document;
    document.SetTargetDepth(Depth::Eight);
    // As a user would before inserting: the buttons' white corners made
    // see-through, with the white the 16-bit slots hold.
    document.Slot(Depth::Sixteen, kDialButton).SetTransparent(kWhiteAt16);
    document.Slot(Depth::Sixteen, kDialButtonPressed).SetTransparent(kWhiteAt16);
    const Colour face = document.Slot(Depth::Sixteen, kDialButton).Picture().At(50, 2);
    ScriptedUser user;
    user.Answers(Answer::Ok).ChoosesFile(dir.File("blue.bmp"));
    ASSERT_EQ(InsertBackground(document, user), DialpadOutcome::Changed);
    EXPECT_EQ(user.FileCalls()[0].prompt.title, "Select image for 'background to be inserted'");

    for (const Depth depth : kDepths)
        for (const int button : {kDialButton, kDialButtonPressed}) {
            EXPECT_EQ(document.Slot(depth, button).Picture(), Image(102, 46, kWhite));
            EXPECT_EQ(document.Slot(depth, button).Transparent(), kWhite);
        }
    const Image& key = document.Slot(Depth::Sixteen, kKey9).Picture();
    EXPECT_EQ(key.At(0, 0), kBlue);   // background in the corner
    EXPECT_EQ(key.At(50, 2), face);   // button face where the label is see-through
    EXPECT_TRUE(document.IsModified());
    // Composed from the 16-bit set although the target is 8 bits.
    SkinDocument expected = document;
    ComposePreviews(expected, Depth::Sixteen);
    EXPECT_EQ(document.ReleasedPreview(), expected.ReleasedPreview());
    EXPECT_EQ(document.PressedPreview(), expected.PressedPreview());
}

TEST(InsertBackground, PixelsBeyondTheGridAreIgnored) {
    Image a(400, 300, kBlue), b(400, 300, kBlue);
    for (int y = 0; y < 300; ++y)
        for (int x = 306; x < 400; ++x) b.Set(x, y, Colour{200, 0, 0});
    for (int y = 184; y < 300; ++y)
        for (int x = 0; x < 306; ++x) b.Set(x, y, Colour{200, 0, 0});
    SkinDocument first, second;
    InsertBackgroundPicture(first, a);
    InsertBackgroundPicture(second, b);
    EXPECT_TRUE(SameSlots(first, second));
}

TEST(InsertBackground, PictureSmallerThanTheGridIsAccepted) {
    TempDir dir;
    ASSERT_TRUE(WriteBmpFile(Image(150, 60, kBlue), dir.File("small.bmp")));
    SkinDocument document;
    document.Slot(Depth::Sixteen, kDialButton).SetTransparent(kWhiteAt16);
    const Image button = document.Slot(Depth::Sixteen, kDialButton).Picture();
    ScriptedUser user;
    user.Answers(Answer::Ok).ChoosesFile(dir.File("small.bmp"));
    ASSERT_EQ(InsertBackground(document, user), DialpadOutcome::Changed);
    EXPECT_EQ(user.Messages().size(), std::size_t{1});
    EXPECT_EQ(document.Slot(Depth::Sixteen, kKey1).Picture().At(0, 0), kBlue);
    // Where the picture does not reach the keys keep their look on the white screen.
    const Image& nine = document.Slot(Depth::Sixteen, kKey9).Picture();
    EXPECT_EQ(nine.At(0, 0), Quantise565(kWhite));
    EXPECT_EQ(nine.At(50, 2), Quantise565(button.At(50, 2)));

    // An imported picture leaves the keys it does not reach as they were, reduced.
    SkinDocument imported;
    ApplyDialpadPictures(imported, Image(150, 60, kBlue), Image(150, 60, kBlue));
    ImageSlot before = SkinDocument().Slot(Depth::Sixteen, kKey9);
    before.ReduceToDepth(Depth::Sixteen);
    EXPECT_EQ(imported.Slot(Depth::Sixteen, kKey9).Picture(), before.Picture());
}

TEST(DialpadCommands, CancelOrUnreadablePictureChangesNothing) {
    TempDir dir;
    ASSERT_TRUE(WriteBmpFile(Image(306, 184, kBlue), dir.File("good.bmp")));
    WriteBytes(dir.File("bad.bmp"), {'B', 'M', 1, 2, 3});
    const std::string bad = dir.File("bad.bmp");
    struct Case {
        const char* what;
        bool import;
        std::vector<std::optional<std::string>> files;
        Answer warning;
        DialpadOutcome outcome;
        std::vector<std::string> messages;
    };
    const std::string backup(kBackupWarning);
    const std::string badText = "Could not open file " + bad + " for reading.";
    const Case cases[] = {
        {"insert: warning cancelled", false, {}, Answer::Cancel, DialpadOutcome::Cancelled, {backup}},
        {"insert: unreadable", false, {bad}, Answer::Ok, DialpadOutcome::CouldNotOpen, {backup, badText}},
        {"import: second prompt cancelled", true, {dir.File("good.bmp"), std::nullopt}, Answer::Ok,
         DialpadOutcome::Cancelled, {backup}},
        {"import: second unreadable", true, {dir.File("good.bmp"), bad}, Answer::Ok, DialpadOutcome::CouldNotOpen,
         {backup, badText}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SkinDocument document;
        ScriptedUser user;
        user.Answers(c.warning);
        for (const auto& file : c.files) user.ChoosesFile(file);
        EXPECT_EQ(c.import ? ImportDialpadBitmaps(document, user) : InsertBackground(document, user), c.outcome);
        EXPECT_EQ(user.MessageTexts(), c.messages);
        if (c.messages.size() > 1) {
            EXPECT_EQ(user.Messages()[1].icon, MessageIcon::Warning);
            EXPECT_EQ(user.Messages()[1].details, bad + ": the picture file is cut short: its pixel data are incomplete");
        }
        EXPECT_TRUE(user.ScriptUsedUp());
        EXPECT_FALSE(document.IsModified());
        EXPECT_TRUE(SameSlots(document, SkinDocument()));
    }
}

}  // namespace
}  // namespace corvane
