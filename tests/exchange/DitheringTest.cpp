// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The document's dithering reaches every command that brings a picture into
// a slot, and nothing else: a default picture and a skin file's pictures
// stay exact whatever the setting.
#include <gtest/gtest.h>

#include <functional>

#include "exchange/BitmapSet.h"
#include "exchange/Dialpad.h"
#include "exchange/LayeredImage.h"
#include "imaging/Bmp.h"
#include "imaging/ImagingTestUtil.h"
#include "imaging/PalmColour.h"
#include "imaging/Reduce.h"
#include "model/ElementEditing.h"
#include "model/SkinFile.h"
#include "support/ScriptedUser.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using testing::ScriptedUser;
using testing::TempDir;

// Gradients with a little noise, off both grids nearly everywhere: what
// bands without dithering.
Image Gradient(int width, int height) { return testing::PhotoLike(width, height, 5); }

bool AllPhoneColours(const Image& picture, Depth depth) {
    for (const Colour c : picture.Pixels()) {
        const Colour shown = depth == Depth::Eight ? PaletteColour(NearestPaletteIndexBySearch(c, -1)) : Quantise565(c);
        if (shown != c) return false;
    }
    return true;
}

struct Entry {
    const char* name;
    Element element;  // a slot the command fills from the picture
    std::function<void(SkinDocument&, const TempDir&)> run;
};

TEST(Dithering, EveryCommandThatBringsInAPictureUsesTheDocumentsSetting) {
    const Entry entries[] = {
        {"Load Image", Element::TitleBar,
         [](SkinDocument& document, const TempDir& dir) {
             ASSERT_TRUE(WriteBmpFile(Gradient(320, 30), dir.File("title.bmp")));
             ScriptedUser user;
             ASSERT_EQ(LoadElementImageFile(document, user, Element::TitleBar, dir.File("title.bmp")),
                       ElementLoadOutcome::Loaded);
         }},
        {"Import Bitmaps", Element::TitleBar,
         [](SkinDocument& document, const TempDir& dir) {
             ASSERT_TRUE(WriteBmpFile(Gradient(320, 30), dir.File("titlebar.bmp")));
             ImportBitmapSet(document, dir.Path().string());  // only the title bar's file is there
         }},
        {"Import Layered Image", Element::TitleBar,
         [](SkinDocument& document, const TempDir&) {
             SlotSet painted = document.Set(Depth::Sixteen);
             painted[Index(Element::TitleBar)] = ImageSlot(Gradient(320, 30), kPureGreen);
             ApplyLayers(document, SkinLayers(painted, document.PreviewBackground()));
         }},
        {"Insert Background Image", Element::Key5,
         [](SkinDocument& document, const TempDir&) {
             // See-through dial buttons, so that the background shows behind the labels.
             for (const Depth depth : kDepths) document.Slot(depth, Element::DialButton).FillWhite();
             InsertBackgroundPicture(document, Gradient(306, 184));
         }},
        {"Import Dialpad Bitmaps", Element::Key5Pressed,
         [](SkinDocument& document, const TempDir&) {
             ApplyDialpadPictures(document, Gradient(306, 184), Gradient(306, 184));
         }},
    };
    for (const Entry& entry : entries) {
        SkinDocument exact, diffused;
        diffused.SetDithering(Dither::Diffusion);
        TempDir dir;
        entry.run(exact, dir);
        entry.run(diffused, dir);
        EXPECT_EQ(diffused.Dithering(), Dither::Diffusion) << entry.name;
        for (const Depth depth : kDepths) {
            const Image& off = exact.Slot(depth, entry.element).Picture();
            const Image& on = diffused.Slot(depth, entry.element).Picture();
            EXPECT_NE(on, off) << entry.name << " at " << depth;
            EXPECT_TRUE(AllPhoneColours(on, depth)) << entry.name << " at " << depth;
            // Without the setting, the nearest colour: a second reduction changes nothing
            // and the picture holds few colours, in bands.
            Image again = off;
            Colour transparent = exact.Slot(depth, entry.element).Transparent();
            ReduceImageToDepth(again, transparent, depth);
            EXPECT_EQ(again, off) << entry.name;
        }
    }
}

// The diffused load is what the imaging layer's diffusion makes of the file's picture.
TEST(Dithering, LoadImageGivesTheDiffusedPictureAtBothDepths) {
    TempDir dir;
    const Image picture = Gradient(320, 30);
    ASSERT_TRUE(WriteBmpFile(picture, dir.File("title.bmp")));
    SkinDocument document;
    document.SetDithering(Dither::Diffusion);
    ScriptedUser user;
    ASSERT_EQ(LoadElementImageFile(document, user, Element::TitleBar, dir.File("title.bmp")), ElementLoadOutcome::Loaded);
    for (const Depth depth : kDepths) {
        Image expected = picture;
        Colour transparent = kPureGreen;
        ReduceImageToDepth(expected, transparent, depth, Dither::Diffusion);
        EXPECT_EQ(document.Slot(depth, Element::TitleBar).Picture(), expected) << depth;
    }
}

// Pictures that come from no outside picture are exact whatever the setting:
// the defaults (a new skin, Reset) and a skin file's own pictures.
TEST(Dithering, DefaultsAndOpenedSkinsStayExact) {
    TempDir dir;
    SkinDocument source;
    source.Slot(Depth::Sixteen, Element::TitleBar).CopyFrom(Gradient(320, 30), 0, 0, Depth::Sixteen);
    const auto bytes = EncodeSkinFile(source.Set(Depth::Sixteen), Depth::Sixteen, "G", 0);
    ASSERT_TRUE(bytes);
    const std::string path = dir.File("g.pdb");
    testing::WriteBytes(path, *bytes);

    SkinDocument exact, diffused;
    diffused.SetDithering(Dither::Diffusion);
    diffused.ResetToDefaults();
    for (const Depth depth : kDepths) EXPECT_TRUE(diffused.Set(depth) == exact.Set(depth)) << depth;
    ASSERT_TRUE(LoadSkinFile(path, exact).Loaded());
    ASSERT_TRUE(LoadSkinFile(path, diffused).Loaded());
    for (const Depth depth : kDepths) EXPECT_TRUE(diffused.Set(depth) == exact.Set(depth)) << depth;
    EXPECT_EQ(diffused.Dithering(), Dither::Diffusion);
}

}  // namespace
}  // namespace corvane
