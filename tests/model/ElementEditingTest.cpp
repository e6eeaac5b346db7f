// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/ElementEditing.h"

#include <gtest/gtest.h>

#include "imaging/Bmp.h"
#include "model/SkinDocument.h"
#include "support/ScriptedUser.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using testing::ScriptedUser;
using testing::TempDir;
using testing::WriteBytes;

constexpr Element kKey5 = Element::Key5;
constexpr Colour kOdd{250, 3, 7};  // reduced differently at each depth

std::string WriteOddPicture(const TempDir& dir) {
    const std::string path = dir.File("odd.bmp");
    EXPECT_TRUE(WriteBmpFile(Image(102, 46, kOdd), path));
    return path;
}

TEST(LoadElementImage, AsksWithTheLabelAndLoadsBothDepths) {
    TempDir dir;
    ScriptedUser user;
    user.ChoosesFile(WriteOddPicture(dir));
    SkinDocument doc;
    EXPECT_EQ(LoadElementImage(doc, user, Element::SpeedDialHighlighted), ElementLoadOutcome::Loaded);  // "schighlighted"
    ASSERT_EQ(user.FileCalls().size(), 1u);
    EXPECT_EQ(user.FileCalls()[0].prompt.title, "Select image for 'Button highlighted'");
    EXPECT_EQ(user.FileCalls()[0].prompt.filter, "Pictures (*.bmp *.png *.jpg *.jpeg *.pbm *.pgm *.ppm *.pam)|*.bmp;*.png;*.jpg;*.jpeg;*.pbm;*.pgm;*.ppm;*.pam|"
              "Windows Bitmap (*.bmp)|*.bmp|All files (*.*)|*.*||");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(user.Messages().empty());
    // Each slot holds the picture reduced for its own depth: the palette's
    // nearest red at 8 bits, the 5-6-5 truncation at 16.
    EXPECT_EQ(doc.Slot(Depth::Eight, 28).Picture().At(101, 31), (Colour{255, 0, 0}));
    EXPECT_EQ(doc.Slot(Depth::Sixteen, 28).Picture().At(101, 31), (Colour{248, 0, 0}));
}

TEST(LoadElementImage, CancelledPromptChangesNothing) {
    ScriptedUser user;
    user.ChoosesFile(std::nullopt);
    SkinDocument doc;
    const SkinDocument before = doc;
    EXPECT_EQ(LoadElementImage(doc, user, Element::EventBar), ElementLoadOutcome::Cancelled);
    EXPECT_EQ(user.FileCalls()[0].prompt.title, "Select image for 'Event Bar'");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Slot(Depth::Eight, 34).Picture(), before.Slot(Depth::Eight, 34).Picture());
    EXPECT_TRUE(user.Messages().empty());
}

// A slot without a picture refuses every load: that makes one depth fail alone.
TEST(LoadElementImage, FailureAtOneDepthWarnsOnceKeepsTheOtherAndLeavesTheFlag) {
    for (const Depth failing : kDepths) {
        SCOPED_TRACE(Bits(failing));
        TempDir dir;
        ScriptedUser user;
        SkinDocument doc;
        doc.Slot(failing, kKey5) = ImageSlot{};
        const Depth other = failing == Depth::Eight ? Depth::Sixteen : Depth::Eight;
        EXPECT_EQ(LoadElementImageFile(doc, user, kKey5, WriteOddPicture(dir)), ElementLoadOutcome::Failed);
        EXPECT_FALSE(doc.IsModified());
        ASSERT_EQ(user.Messages().size(), 1u);
        const Message& m = user.Messages()[0];
        EXPECT_EQ(m.text, "Error loading bitmap.");
        EXPECT_EQ(m.icon, MessageIcon::Warning);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
        EXPECT_EQ(m.caption, std::optional<std::string>("corvane-desktop"));
        EXPECT_NE(doc.Slot(other, kKey5).Picture().At(3, 3), SkinDocument().Slot(other, kKey5).Picture().At(3, 3));
    }
}

TEST(LoadElementImage, UnreadableFileWarnsAndChangesNothing) {
    TempDir dir;
    WriteBytes(dir.File("bad.bmp"), {'B', 'M', 0, 0});
    ScriptedUser user;
    SkinDocument doc;
    EXPECT_EQ(LoadElementImageFile(doc, user, Element::TitleBar, dir.File("bad.bmp")), ElementLoadOutcome::Failed);
    EXPECT_EQ(user.MessageTexts(), std::vector<std::string>{"Error loading bitmap."});
    // The file and why, below the message's own text.
    EXPECT_EQ(user.Messages()[0].details, dir.File("bad.bmp") + ": the picture file is cut short: its pixel data are incomplete");
    EXPECT_EQ(doc.Slot(Depth::Sixteen, 33).Picture(), SkinDocument().Slot(Depth::Sixteen, 33).Picture());
    EXPECT_FALSE(doc.IsModified());
}

TEST(ShareTransparentColour, TouchesOnlyTheTargetsAtTheCurrentDepth) {
    SkinDocument doc;
    doc.SetTargetDepth(Depth::Eight);
    doc.Slot(Depth::Eight, 29).SetTransparent(kOdd);
    const Element targets[] = {Element::SpeedDialPressed, Element::SpeedDialEdge};
    ShareTransparentColour(doc, Element::SpeedDialNormal, targets);
    EXPECT_EQ(doc.Slot(Depth::Eight, 30).Transparent(), kOdd);
    EXPECT_EQ(doc.Slot(Depth::Eight, 31).Transparent(), kOdd);
    EXPECT_EQ(doc.Slot(Depth::Eight, 26).Transparent(), kPureGreen);   // not listed
    EXPECT_EQ(doc.Slot(Depth::Sixteen, 30).Transparent(), SkinDocument().Slot(Depth::Sixteen, 30).Transparent());  // other depth
    EXPECT_EQ(doc.Slot(Depth::Eight, 30).Picture(), SkinDocument().Slot(Depth::Eight, 30).Picture());
    EXPECT_FALSE(doc.IsModified());
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// Hands out one picture for a format the core leaves to the installed reader,
// and counts the reads; puts the previous reader back afterwards.
class CountingReader : public PictureReader {
public:
    CountingReader() : previous_(SetPictureReader(this)) {}
    ~CountingReader() override { SetPictureReader(previous_); }
    ImageFileResult Read(const std::string&, int, int) const override {
        ++reads;
        return {Image(4, 4, Colour{250, 3, 7}), ImageFileProblem::None, 0, 0, {}};
    }
    mutable int reads = 0;

private:
    const PictureReader* previous_;
};

TEST(LoadElementImage, ReadsTheFileOnceForBothDepths) {
    CountingReader reader;
    ScriptedUser user;
    SkinDocument doc;
    testing::TempDir dir;
    testing::WriteBytes(dir.File("any.gif"), {'G', 'I', 'F', '8', '9', 'a'});
    EXPECT_EQ(LoadElementImageFile(doc, user, Element::Key5, dir.File("any.gif")), ElementLoadOutcome::Loaded);
    EXPECT_EQ(reader.reads, 1);
    EXPECT_EQ(doc.Slot(Depth::Eight, 5).Picture().At(3, 3), (Colour{255, 0, 0}));
    EXPECT_EQ(doc.Slot(Depth::Sixteen, 5).Picture().At(3, 3), (Colour{248, 0, 0}));
}

}  // namespace
}  // namespace corvane
