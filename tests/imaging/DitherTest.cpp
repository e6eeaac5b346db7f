// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Properties of the diffused reduction that hold for any picture, checked on
// pictures built so that the answer is known without reducing them.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "imaging/Dither.h"
#include "imaging/ImagingTestUtil.h"
#include "imaging/PalmColour.h"
#include "imaging/Reduce.h"

namespace corvane {
namespace {

// Whether the phone can show the colour exactly at the depth: a 5-6-5 colour
// by its cleared low bits, a palette colour by the plain search finding it.
bool IsPhoneColour(Colour c, Depth depth) {
    if (depth == Depth::Sixteen) return (c.r & 7) == 0 && (c.g & 3) == 0 && (c.b & 7) == 0;
    return c == PaletteColour(NearestPaletteIndexBySearch(c, -1));
}

// A busy picture of phone colours only: random 5-6-5 colours, or random
// palette entries (the cube, the greys, the dark four).
Image PhoneColoursOnly(Depth depth, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> any(0, 255), entry(0, 229);
    Image image(61, 37);
    for (Colour& c : image.Pixels()) {
        if (depth == Depth::Eight) {
            c = kPalmPalette[static_cast<std::size_t>(entry(random))];
        } else {
            c = Colour{static_cast<std::uint8_t>(any(random) & 0xF8), static_cast<std::uint8_t>(any(random) & 0xFC),
                       static_cast<std::uint8_t>(any(random) & 0xF8)};
        }
    }
    return image;
}

// A photograph-like picture with see-through blobs of `transparent` and,
// around them, opaque pixels a step or two from it and exactly on its
// reduction, the colours most likely to be pushed onto the see-through one.
Image WithBlobs(Colour transparent, Colour reduced) {
    Image image = testing::PhotoLike(80, 50, 3);
    const auto near = [](std::uint8_t v, int d) { return static_cast<std::uint8_t>(std::clamp(v + d, 0, 255)); };
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            if ((x / 10 + y / 10) % 3 == 0) image.Set(x, y, transparent);
            else if ((x / 10 + y / 10) % 3 == 1 && x % 4 == 0) image.Set(x, y, reduced);
            else if ((x / 10 + y / 10) % 3 == 1) image.Set(x, y, Colour{near(transparent.r, x % 3 - 1), near(transparent.g, y % 5 - 2), transparent.b});
        }
    return image;
}

TEST(Dither, PicturesAlreadyInPhoneColoursComeOutUnchanged) {
    const struct {
        Depth depth;
        unsigned seed;
        Colour transparentInPicture;  // overwrites a few pixels, so the see-through path is taken too
    } rows[] = {
        {Depth::Eight, 1, kPureGreen},           {Depth::Eight, 2, Colour{0xCC, 0xCC, 0xCC}},
        {Depth::Eight, 3, Colour{0x88, 0, 0x88}}, {Depth::Sixteen, 4, Colour{0, 252, 0}},
        {Depth::Sixteen, 5, Colour{248, 0, 248}}, {Depth::Sixteen, 6, kBlack},
    };
    for (const auto& row : rows) {
        Image image = PhoneColoursOnly(row.depth, row.seed);
        for (int x = 0; x < image.Width(); x += 7) image.Set(x, x % image.Height(), row.transparentInPicture);
        const Image before = image;
        Colour transparent = row.transparentInPicture;
        ReduceImageToDepth(image, transparent, row.depth, Dither::Diffusion);
        EXPECT_EQ(image, before) << row.depth << " bits, seed " << row.seed;
        EXPECT_EQ(transparent, row.transparentInPicture) << row.depth;
    }
}

// Each row: a transparent colour and what the phone shows for it, worked out
// by hand from the palette's levels and the 5-6-5 steps.
TEST(Dither, TheTransparentColourStaysWhereItWasAndNowhereElse) {
    const struct {
        Depth depth;
        Colour transparent;
        Colour reduced;
    } rows[] = {
        {Depth::Eight, kPureGreen, kPureGreen},
        {Depth::Eight, Colour{0, 254, 0}, kPureGreen},
        {Depth::Eight, Colour{255, 0, 255}, Colour{255, 0, 255}},
        {Depth::Eight, Colour{120, 60, 200}, Colour{102, 51, 204}},
        {Depth::Sixteen, kPureGreen, Colour{0, 252, 0}},
        {Depth::Sixteen, Colour{255, 0, 255}, Colour{248, 0, 248}},
        {Depth::Sixteen, Colour{120, 60, 200}, Colour{120, 60, 200}},
        {Depth::Sixteen, Colour{0, 1, 0}, kBlack},
    };
    for (const auto& row : rows) {
        const Image original = WithBlobs(row.transparent, row.reduced);
        Image image = original;
        Colour transparent = row.transparent;
        ReduceImageToDepth(image, transparent, row.depth, Dither::Diffusion);
        EXPECT_EQ(transparent, row.reduced) << row.depth;
        int seeThrough = 0;
        for (std::size_t i = 0; i < image.Pixels().size(); ++i) {
            const bool wasTransparent = original.Pixels()[i] == row.transparent;
            seeThrough += wasTransparent;
            // Where it was ...
            ASSERT_EQ(image.Pixels()[i] == row.reduced, wasTransparent)
                << row.depth << " bits, transparent " << int{row.transparent.r} << "," << int{row.transparent.g} << ","
                << int{row.transparent.b} << ", pixel " << i;
            // ... and every other pixel on a colour the phone shows.
            ASSERT_TRUE(IsPhoneColour(image.Pixels()[i], row.depth)) << row.depth << " bits, pixel " << i;
        }
        EXPECT_GT(seeThrough, 1000) << "the picture must hold the colour for the test to say anything";
    }
}

// No opaque pixel takes the transparent entry: read back as indexes, as the
// 8-bit encoder does, only the see-through pixels are on it.
TEST(Dither, NoOpaquePixelTakesTheTransparentIndex) {
    for (const Colour start : {kPureGreen, Colour{0, 254, 0}, Colour{255, 0, 255}, Colour{130, 130, 130}}) {
        const Image original = WithBlobs(start, PaletteColour(NearestPaletteIndexBySearch(start, -1)));
        Image image = original;
        Colour transparent = start;
        ReduceImageToDepth(image, transparent, Depth::Eight, Dither::Diffusion);
        std::vector<std::uint8_t> indexes(image.Pixels().size());
        const int t = PaletteIndexesOfPixels(image.Pixels(), transparent, true, indexes);
        for (std::size_t i = 0; i < indexes.size(); ++i)
            ASSERT_EQ(indexes[i] == t, original.Pixels()[i] == start) << "pixel " << i;
    }
}

// The error is passed on, not lost: over a large flat area the mean of the
// diffused pixels is the colour asked for, where the nearest colour alone is
// a whole step away (each row's colour is chosen between the phone's levels).
TEST(Dither, AFlatAreaKeepsItsMeanColour) {
    const struct {
        Depth depth;
        Colour colour;
        double tolerance;  // per channel, in 0..255 units
    } rows[] = {
        {Depth::Eight, Colour{100, 150, 200}, 1.5}, {Depth::Eight, Colour{37, 37, 37}, 1.5},
        {Depth::Eight, Colour{230, 120, 20}, 1.5},  {Depth::Eight, Colour{25, 76, 127}, 1.5},
        {Depth::Sixteen, Colour{101, 153, 205}, 0.5}, {Depth::Sixteen, Colour{5, 2, 244}, 0.5},
        {Depth::Sixteen, Colour{132, 1, 60}, 0.5},
    };
    for (const auto& row : rows) {
        for (const Dither dither : kDithers) {
            Image image(96, 96, row.colour);
            Colour transparent = kPureGreen;
            ReduceImageToDepth(image, transparent, row.depth, dither);
            double sum[3] = {0, 0, 0};
            for (const Colour c : image.Pixels()) {
                sum[0] += c.r;
                sum[1] += c.g;
                sum[2] += c.b;
            }
            const double n = static_cast<double>(image.Pixels().size());
            const double off = std::max({std::abs(sum[0] / n - row.colour.r), std::abs(sum[1] / n - row.colour.g),
                                         std::abs(sum[2] / n - row.colour.b)});
            if (dither == Dither::Diffusion)
                EXPECT_LE(off, row.tolerance) << row.depth << " bits, colour " << int{row.colour.r};
            else  // the nearest colour alone misses: the row tests something
                EXPECT_GT(off, row.tolerance) << row.depth << " bits, colour " << int{row.colour.r};
        }
    }
}

// Off is today's reduction (ReduceTest pins its values), and the default.
TEST(Dither, OffIsTheDefaultAndOnChangesAGradient) {
    for (const Depth depth : kDepths) {
        const Image photo = testing::PhotoLike(70, 40, 9);
        Image byDefault = photo, off = photo, on = photo;
        Colour t1 = kPureGreen, t2 = kPureGreen, t3 = kPureGreen;
        ReduceImageToDepth(byDefault, t1, depth);
        ReduceImageToDepth(off, t2, depth, Dither::None);
        ReduceImageToDepth(on, t3, depth, Dither::Diffusion);
        EXPECT_EQ(off, byDefault) << depth;
        EXPECT_EQ(t2, t1) << depth;
        EXPECT_EQ(t3, t1) << depth;
        EXPECT_NE(on, off) << depth;
    }
}

TEST(Dither, PicturesOfAnyShapeAreReduced) {
    for (const Depth depth : kDepths)
        for (const auto& [w, h] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{1, 9}, std::pair{9, 1}, std::pair{2, 3}}) {
            Image image(w, h, Colour{77, 77, 77});
            Colour transparent = kWhite;
            ReduceImageToDepth(image, transparent, depth, Dither::Diffusion);
            EXPECT_EQ(image.Width(), w);
            for (const Colour c : image.Pixels()) EXPECT_TRUE(IsPhoneColour(c, depth)) << depth << " " << w << "x" << h;
        }
}

TEST(Dither, NamesAreTheToolsWords) {
    const struct {
        std::string_view name;
        std::optional<Dither> dither;
    } rows[] = {{"none", Dither::None}, {"diffusion", Dither::Diffusion}, {"Diffusion", {}}, {"floyd", {}}, {"", {}},
                {"none ", {}}};
    for (const auto& row : rows) EXPECT_EQ(DitherNamed(row.name), row.dither) << row.name;
    for (const Dither dither : kDithers) EXPECT_EQ(DitherNamed(DitherName(dither)), dither);
}

}  // namespace
}  // namespace corvane
