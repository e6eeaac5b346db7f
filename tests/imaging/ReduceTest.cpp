// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "imaging/ImagingTestUtil.h"
#include "imaging/PalmColour.h"
#include "imaging/Reduce.h"

namespace corvane {
namespace {

Image Row(std::initializer_list<Colour> colours) {
    Image image(static_cast<int>(colours.size()), 1);
    int x = 0;
    for (const Colour c : colours) image.Set(x++, 0, c);
    return image;
}

TEST(Reduce, EightBitsKeepsOpaquePixelsOffTheTransparentEntry) {
    Image image = Row({kPureGreen, Colour{0, 254, 0}, Colour{10, 20, 30}, Colour{200, 100, 50}, kWhite});
    Colour transparent = kPureGreen;
    ReduceImageToDepth(image, transparent, Depth::Eight);
    EXPECT_EQ(image, Row({kPureGreen, Colour{0, 204, 0}, Colour{17, 17, 17}, Colour{204, 102, 51}, kWhite}));
    EXPECT_EQ(transparent, kPureGreen);
}

TEST(Reduce, EightBitsMovesTheTransparentColourOntoItsPaletteEntry) {
    Image image = Row({Colour{1, 1, 1}, kBlack, Colour{0, 250, 0}});
    Colour transparent{1, 1, 1};
    ReduceImageToDepth(image, transparent, Depth::Eight);
    EXPECT_EQ(transparent, kBlack);
    EXPECT_EQ(image, Row({kBlack, kBlack, kPureGreen}));
}

// (0, 254, 0) is no palette colour; its nearest entry is pure green. Pixels
// of exactly that colour are transparent and must land on pure green, while
// a pure green pixel, not being the transparent colour, must stay off it.
TEST(Reduce, EightBitsTransparentColourOutsideThePaletteTakesItsPixelsAlong) {
    Image image = Row({Colour{0, 254, 0}, Colour{10, 20, 30}, Colour{0, 254, 0}, kPureGreen});
    Colour transparent{0, 254, 0};
    ReduceImageToDepth(image, transparent, Depth::Eight);
    EXPECT_EQ(transparent, kPureGreen);
    EXPECT_EQ(image.At(0, 0), kPureGreen);
    EXPECT_EQ(image.At(1, 0), (Colour{17, 17, 17}));
    EXPECT_EQ(image.At(2, 0), kPureGreen);
    EXPECT_NE(image.At(3, 0), kPureGreen);
}

TEST(Reduce, SixteenBitsQuantisesPixelsAndTransparentColourAlike) {
    Image image = Row({kPureGreen, Colour{0, 254, 0}, Colour{10, 20, 30}, Colour{200, 100, 50}, kWhite});
    Colour transparent = kPureGreen;
    ReduceImageToDepth(image, transparent, Depth::Sixteen);
    EXPECT_EQ(image, Row({Colour{0, 252, 0}, Colour{0, 252, 0}, Colour{8, 20, 24}, Colour{200, 100, 48},
                          Colour{248, 252, 248}}));
    EXPECT_EQ(transparent, (Colour{0, 252, 0}));
}

// The depth is parsed where a number comes in; nothing below sees another.
TEST(Depth, OnlyEightAndSixteenBitsAreDepths) {
    const struct {
        int bits;
        std::optional<Depth> depth;
    } rows[] = {{8, Depth::Eight}, {16, Depth::Sixteen}, {0, {}}, {1, {}}, {4, {}}, {15, {}}, {24, {}}, {-8, {}}};
    for (const auto& row : rows) EXPECT_EQ(DepthOfBits(row.bits), row.depth) << row.bits;
}

TEST(Reduce, ReducingTwiceChangesNothingMore) {
    for (const Depth depth : kDepths) {
        for (const Colour start : {kPureGreen, Colour{1, 1, 1}, Colour{0xCC, 0xCC, 0xCC}, Colour{77, 0, 200}}) {
            Image image = testing::PhotoLike(40, 30, 7);
            image.Set(3, 3, start);
            Colour transparent = start;
            ReduceImageToDepth(image, transparent, depth);
            Image again = image;
            Colour transparentAgain = transparent;
            ReduceImageToDepth(again, transparentAgain, depth);
            EXPECT_EQ(again, image);
            EXPECT_EQ(transparentAgain, transparent);
        }
    }
}

TEST(Reduce, EightBitsMatchesThePlainSearchPixelForPixel) {
    const Image photo = testing::PhotoLike(60, 40, 11);
    for (const Colour start : {kPureGreen, kWhite, Colour{0xCC, 0xCC, 0xCC}, Colour{40, 40, 40}}) {
        Image image = photo;
        Colour transparent = start;
        ReduceImageToDepth(image, transparent, Depth::Eight);
        const int t = NearestPaletteIndexBySearch(start, -1);
        for (int y = 0; y < photo.Height(); ++y)
            for (int x = 0; x < photo.Width(); ++x) {
                const Colour p = photo.At(x, y);
                const Colour want = p == start ? PaletteColour(t) : PaletteColour(NearestPaletteIndexBySearch(p, t));
                ASSERT_EQ(image.At(x, y), want) << x << "," << y;
            }
    }
}

}  // namespace
}  // namespace corvane
