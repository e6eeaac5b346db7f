// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/PreviewComposition.h"

#include <gtest/gtest.h>

#include <vector>

namespace corvane {
namespace {

constexpr Colour kRed{255, 0, 0};
constexpr Colour kBlue{0, 0, 255};
constexpr Colour kGrey{128, 128, 128};

TEST(DrawTransparent, KeepsCanvasUnderTransparentPixelsOnly) {
    Image canvas(4, 3, kWhite);
    Image image(2, 2, kRed);
    image.Set(1, 0, kPureGreen);
    DrawTransparent(canvas, image, 1, 1, kPureGreen);
    EXPECT_EQ(canvas.At(1, 1), kRed);
    EXPECT_EQ(canvas.At(2, 1), kWhite);  // transparent pixel
    EXPECT_EQ(canvas.At(1, 2), kRed);
    EXPECT_EQ(canvas.At(2, 2), kRed);
    EXPECT_EQ(canvas.At(0, 0), kWhite);
    EXPECT_EQ(image.At(1, 0), kPureGreen);  // the image itself is untouched
}

TEST(DrawTransparent, ComparesColoursExactly) {
    Image canvas(1, 1, kWhite);
    Image image(1, 1, Colour{0, 254, 0});
    DrawTransparent(canvas, image, 0, 0, kPureGreen);
    EXPECT_EQ(canvas.At(0, 0), (Colour{0, 254, 0}));
}

TEST(DrawTransparent, ClipsAtEveryCanvasEdge) {
    Image canvas(3, 3, kWhite);
    const Image image(2, 2, kBlue);
    DrawTransparent(canvas, image, -1, -1, kPureGreen);
    DrawTransparent(canvas, image, 2, 2, kPureGreen);
    DrawTransparent(canvas, image, 5, 0, kPureGreen);
    DrawTransparent(canvas, image, 0, -7, kPureGreen);
    std::vector<Colour> expected{kBlue, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite, kBlue};
    EXPECT_EQ(canvas.Pixels(), expected);
}

// One flat picture per element, each in its own colour, sized as the catalogue says.
struct FlatSet {
    std::vector<Image> images;
    ElementPictures pictures{};

    FlatSet() {
        images.reserve(kElementCount);
        for (const auto& e : kSkinElements) {
            const auto i = static_cast<std::uint8_t>(e.element);
            images.emplace_back(e.width, e.height, Colour{i, static_cast<std::uint8_t>(100 + i), 7});
        }
        for (std::size_t i = 0; i < images.size(); ++i) pictures[i] = {&images[i], kPureGreen};
    }
    Colour ColourOf(int index) const { return images[static_cast<std::size_t>(index)].At(0, 0); }
};

class ComposePreviewTest : public ::testing::Test {
protected:
    Image background{320, 320, kWhite};
    Image canvas;
    FlatSet set;
};

TEST_F(ComposePreviewTest, LabelsCoverButtonsAtTheirKeypadCells) {
    ComposePreview(canvas, background, set.pictures, false);
    ASSERT_EQ(canvas.Width(), 320);
    ASSERT_EQ(canvas.Height(), 320);
    EXPECT_EQ(canvas.At(6, 90), set.ColourOf(1));      // "1" top left
    EXPECT_EQ(canvas.At(110, 140), set.ColourOf(5));   // "5" centre
    EXPECT_EQ(canvas.At(6, 228), set.ColourOf(11));    // star bottom left
    EXPECT_EQ(canvas.At(108, 228), set.ColourOf(0));   // "0"
    EXPECT_EQ(canvas.At(311, 273), set.ColourOf(10));  // "#" bottom right corner
    EXPECT_EQ(canvas.At(5, 100), kWhite);              // left of the grid
    EXPECT_EQ(canvas.At(312, 100), kWhite);            // right of the grid
}

TEST_F(ComposePreviewTest, BarsSpeedDialEdgeAndArrowReleased) {
    ComposePreview(canvas, background, set.pictures, false);
    EXPECT_EQ(canvas.At(0, 26), kWhite);
    EXPECT_EQ(canvas.At(0, 27), set.ColourOf(33));
    EXPECT_EQ(canvas.At(319, 56), set.ColourOf(33));
    EXPECT_EQ(canvas.At(0, 57), set.ColourOf(34));
    EXPECT_EQ(canvas.At(319, 86), set.ColourOf(34));
    EXPECT_EQ(canvas.At(0, 87), kWhite);
    EXPECT_EQ(canvas.At(0, 280), set.ColourOf(31));
    EXPECT_EQ(canvas.At(2, 288), set.ColourOf(29));    // scnormal left
    EXPECT_EQ(canvas.At(316, 319), set.ColourOf(29));  // scnormal right
    EXPECT_EQ(canvas.At(1, 288), kWhite);
    EXPECT_EQ(canvas.At(158, 288), kWhite);             // gap between the buttons
    EXPECT_EQ(canvas.At(150, 310), set.ColourOf(32));   // arrow over the buttons
    EXPECT_EQ(canvas.At(167, 319), set.ColourOf(32));
}

TEST_F(ComposePreviewTest, PressedUsesPressedElementsAndNeverTheEmptyOrHighlightedOnes) {
    ComposePreview(canvas, background, set.pictures, true);
    EXPECT_EQ(canvas.At(6, 90), set.ColourOf(13));     // "1pressed"
    EXPECT_EQ(canvas.At(6, 228), set.ColourOf(23));    // "starpressed"
    EXPECT_EQ(canvas.At(210, 228), set.ColourOf(22));  // "#pressed"
    EXPECT_EQ(canvas.At(2, 288), set.ColourOf(30));    // scpressed
    EXPECT_EQ(canvas.At(0, 27), set.ColourOf(33));     // bars unchanged
    for (const Colour c : canvas.Pixels()) {
        EXPECT_NE(c, set.ColourOf(26));
        EXPECT_NE(c, set.ColourOf(27));
        EXPECT_NE(c, set.ColourOf(28));
    }
}

TEST_F(ComposePreviewTest, ElementOfOnlyItsTransparentColourLeavesCanvasAlone) {
    for (auto& p : set.pictures) p.transparent = p.image->At(0, 0);
    ComposePreview(canvas, background, set.pictures, false);
    EXPECT_EQ(canvas, background);
}

TEST_F(ComposePreviewTest, TransparentButtonShowsBackgroundNotLabel) {
    // The label is transparent where the button is too: the screen shows through.
    set.images[24].Set(0, 0, kRed);
    set.pictures[24].transparent = kRed;
    set.images[1].Set(0, 0, kBlue);
    set.pictures[1].transparent = kBlue;
    background.Set(6, 90, kGrey);
    ComposePreview(canvas, background, set.pictures, false);
    EXPECT_EQ(canvas.At(6, 90), kGrey);
    // Each element keys with its own colour: the same red in another element is drawn.
    set.images[34].Set(0, 0, kRed);
    ComposePreview(canvas, background, set.pictures, false);
    EXPECT_EQ(canvas.At(0, 57), kRed);
}

TEST_F(ComposePreviewTest, StartsFromTheBackgroundEachTime) {
    ComposePreview(canvas, background, set.pictures, false);
    set.images[1] = Image(102, 46, kPureGreen);
    background.Set(50, 100, kGrey);
    ComposePreview(canvas, background, set.pictures, false);
    EXPECT_EQ(canvas.At(50, 100), set.ColourOf(24));  // the button, not the old label
}

}  // namespace
}  // namespace corvane
