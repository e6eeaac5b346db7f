// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/SkinDocument.h"

#include <gtest/gtest.h>

#include "imaging/Reduce.h"
#include "model/DefaultArtwork.h"
#include "support/ScriptedUser.h"

namespace corvane {
namespace {

using testing::ScriptedUser;

void ExpectAllDefaults(const SkinDocument& doc) {
    for (const Depth depth : kDepths)
        for (int i = 0; i < kElementCount; ++i) {
            SCOPED_TRACE(std::string(kSkinElements[std::size_t(i)].name) + " at " + std::to_string(Bits(depth)));
            const ImageSlot& slot = doc.Slot(depth, i);
            ASSERT_EQ(slot.Width(), kSkinElements[std::size_t(i)].width);
            ASSERT_EQ(slot.Height(), kSkinElements[std::size_t(i)].height);
            // Built-in pictures enter reduced, as every picture does.
            Image expected = DefaultElementImage(kSkinElements[std::size_t(i)].element);
            Colour transparent = kPureGreen;
            ReduceImageToDepth(expected, transparent, depth);
            EXPECT_EQ(slot.Picture(), expected);
            EXPECT_EQ(slot.Transparent(), transparent);
        }
}

// Changes a slot at each depth the way an element dialog and the colour chooser do.
void EditSkin(SkinDocument& doc) {
    doc.Slot(Depth::Eight, 5).CopyFrom(Image(102, 46, Colour{255, 0, 0}), 0, 0, Depth::Eight);
    doc.Slot(Depth::Sixteen, 5).CopyFrom(Image(102, 46, Colour{255, 0, 0}), 0, 0, Depth::Sixteen);
    doc.Slot(Depth::Sixteen, 33).SetTransparent(Colour{1, 2, 3});
    doc.Slot(Depth::Eight, 34).SetTransparent(Colour{4, 5, 6});
    doc.MarkModified();
    doc.SetHasUnsupportedResources(true);
    doc.SetFilePath("/skins/Red.pdb");
}

TEST(SkinDocument, StartsWithDefaultsUntitledAndSixteenBits) {
    const SkinDocument doc;
    ExpectAllDefaults(doc);
    EXPECT_EQ(doc.PreviewBackground(), PreviewBackgroundImage());
    EXPECT_EQ(doc.ReleasedPreview(), PreviewBackgroundImage());
    EXPECT_EQ(doc.PressedPreview(), PreviewBackgroundImage());
    EXPECT_EQ(doc.PreviewBackground().Width(), 320);
    EXPECT_EQ(doc.PreviewBackground().Height(), 320);
    EXPECT_EQ(doc.FilePath(), "untitled.pdb");
    EXPECT_TRUE(doc.IsUntitled());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.HasUnsupportedResources());
    EXPECT_EQ(doc.TargetDepth(), Depth::Sixteen);
    EXPECT_EQ(&doc.CurrentSet(), &doc.Set(Depth::Sixteen));
}

TEST(SkinDocument, TargetDepthSelectsTheSetAndLeavesTheModifiedFlag) {
    SkinDocument doc;
    doc.SetTargetDepth(Depth::Eight);
    EXPECT_EQ(&doc.CurrentSet(), &doc.Set(Depth::Eight));
    EXPECT_FALSE(doc.IsModified());
    doc.MarkModified();
    doc.SetTargetDepth(Depth::Sixteen);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(&doc.CurrentSet(), &doc.Set(Depth::Sixteen));
    EXPECT_NE(&doc.Set(Depth::Eight), &doc.Set(Depth::Sixteen));
}

TEST(SkinDocument, TransparentColourChosenAtOneDepthStaysThere) {
    SkinDocument doc;
    doc.CurrentSet()[33].SetTransparent(Colour{153, 204, 255});
    doc.SetTargetDepth(Depth::Eight);
    EXPECT_EQ(doc.CurrentSet()[33].Transparent(), kPureGreen);
}

TEST(SkinDocument, ResetToDefaultsTouchesOnlyTheSlots) {
    SkinDocument doc;
    EditSkin(doc);
    doc.SetTargetDepth(Depth::Eight);
    doc.ResetToDefaults();
    ExpectAllDefaults(doc);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.HasUnsupportedResources());
    EXPECT_EQ(doc.FilePath(), "/skins/Red.pdb");
    EXPECT_EQ(doc.TargetDepth(), Depth::Eight);
}

TEST(ResetSkin, UnmodifiedSkinIsResetWithoutAQuestion) {
    SkinDocument doc;
    EditSkin(doc);
    doc.ClearModified();
    ScriptedUser user;
    EXPECT_TRUE(ResetSkin(doc, user));
    EXPECT_TRUE(user.Messages().empty());
    ExpectAllDefaults(doc);
    EXPECT_EQ(doc.FilePath(), "untitled.pdb");
    EXPECT_FALSE(doc.HasUnsupportedResources());
    EXPECT_FALSE(doc.IsModified());
}

TEST(ResetSkin, ModifiedSkinAsksAndNoKeepsEverything) {
    SkinDocument doc;
    EditSkin(doc);
    const Image five8 = doc.Slot(Depth::Eight, 5).Picture();
    ScriptedUser user;
    user.Answers(Answer::No);
    EXPECT_FALSE(ResetSkin(doc, user));

    ASSERT_EQ(user.Messages().size(), 1u);
    const Message& question = user.Messages()[0];
    EXPECT_EQ(question.text, "You changed the current skin and did not save your changes. Reset all bitmaps anyway?");
    EXPECT_EQ(question.caption, user.ApplicationName());
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    EXPECT_EQ(question.defaultButton, Answer::No);

    EXPECT_EQ(doc.Slot(Depth::Eight, 5).Picture(), five8);
    EXPECT_EQ(doc.Slot(Depth::Sixteen, 33).Transparent(), (Colour{1, 2, 3}));
    EXPECT_EQ(doc.Slot(Depth::Eight, 34).Transparent(), (Colour{4, 5, 6}));
    EXPECT_EQ(doc.FilePath(), "/skins/Red.pdb");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.HasUnsupportedResources());
}

TEST(ResetSkin, YesRestoresEveryColourAndKeepsTheDepth) {
    SkinDocument doc;
    EditSkin(doc);
    doc.SetTargetDepth(Depth::Eight);
    ScriptedUser user;
    user.Answers(Answer::Yes);
    EXPECT_TRUE(ResetSkin(doc, user));
    ExpectAllDefaults(doc);  // including the colours chosen at one depth only
    EXPECT_EQ(doc.TargetDepth(), Depth::Eight);
    EXPECT_EQ(doc.FilePath(), "untitled.pdb");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.HasUnsupportedResources());
}

}  // namespace
}  // namespace corvane
