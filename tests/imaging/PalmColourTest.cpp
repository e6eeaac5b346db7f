// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <random>

#include "imaging/PalmColour.h"

namespace corvane {
namespace {

TEST(PalmPalette, CubeIsOrderedBlueHalvesThenRedThenBlueThenGreen) {
    EXPECT_EQ(PaletteColour(0), (Colour{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(PaletteColour(1), (Colour{0xFF, 0xCC, 0xFF}));
    EXPECT_EQ(PaletteColour(6), (Colour{0xFF, 0xFF, 0xCC}));
    EXPECT_EQ(PaletteColour(18), (Colour{0xCC, 0xFF, 0xFF}));
    EXPECT_EQ(PaletteColour(108), (Colour{0xFF, 0xFF, 0x66}));
    EXPECT_EQ(PaletteColour(209), (Colour{0x00, 0x00, 0x33}));
    EXPECT_EQ(PaletteColour(210), (Colour{0x00, 0xFF, 0x00}));
    EXPECT_EQ(PaletteColour(214), (Colour{0x00, 0x33, 0x00}));
}

TEST(PalmPalette, GreysExtrasAndBlackFillerFollowTheCube) {
    const std::uint8_t greys[] = {0x11, 0x22, 0x44, 0x55, 0x77, 0x88, 0xAA, 0xBB, 0xDD, 0xEE};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(PaletteColour(215 + i), (Colour{greys[i], greys[i], greys[i]})) << i;
    EXPECT_EQ(PaletteColour(225), (Colour{0xCC, 0xCC, 0xCC}));
    EXPECT_EQ(PaletteColour(226), (Colour{0x88, 0x00, 0x00}));
    EXPECT_EQ(PaletteColour(227), (Colour{0x88, 0x00, 0x88}));
    EXPECT_EQ(PaletteColour(228), (Colour{0x00, 0x88, 0x00}));
    EXPECT_EQ(PaletteColour(229), (Colour{0x00, 0x88, 0x88}));
    int blacks = 0;
    for (const Colour c : PalmPalette()) blacks += c == kBlack;
    EXPECT_EQ(blacks, 26);
    for (int i = 230; i < 256; ++i) EXPECT_EQ(PaletteColour(i), kBlack);
    EXPECT_EQ(PaletteColour(25), PaletteColour(225));
}

TEST(PalmPalette, NearestIndexEdgeCases) {
    EXPECT_EQ(NearestPaletteIndex(kPureGreen), 210);
    EXPECT_EQ(NearestPaletteIndex(kWhite), 0);
    EXPECT_EQ(NearestPaletteIndex(kBlack), 230);
    EXPECT_EQ(NearestPaletteIndex(Colour{0xCC, 0xCC, 0xCC}), 25);
    EXPECT_EQ(NearestPaletteIndex(Colour{0x01, 0x01, 0x01}), 230);
    EXPECT_EQ(NearestPaletteIndex(Colour{0xC0, 0xC0, 0xC0}), 222);
    EXPECT_EQ(NearestPaletteIndex(Colour{0x80, 0x80, 0x80}), 220);
    // Equally far (585) from 209 (00 00 33) and 215 (11 11 11): the lower index wins.
    EXPECT_EQ(NearestPaletteIndex(Colour{0x00, 0x03, 0x1B}), 209);
}

TEST(PalmPalette, ExcludingStillFindsDuplicatesAndNextNearest) {
    EXPECT_EQ(NearestPaletteIndexExcluding(kBlack, 230), 231);
    EXPECT_EQ(NearestPaletteIndexExcluding(kBlack, 231), 230);
    EXPECT_EQ(NearestPaletteIndexExcluding(Colour{0xCC, 0xCC, 0xCC}, 25), 225);
    EXPECT_EQ(NearestPaletteIndexExcluding(kWhite, 0), 224);
    EXPECT_EQ(NearestPaletteIndexExcluding(kPureGreen, 210), 192);
    EXPECT_EQ(NearestPaletteColourExcluding(kPureGreen, 210), (Colour{0x33, 0xFF, 0x00}));
    EXPECT_EQ(NearestPaletteIndexExcluding(Colour{0x00, 0x03, 0x1B}, 209), 215);
    EXPECT_EQ(NearestPaletteIndexExcluding(kWhite, -1), 0);
    EXPECT_EQ(NearestPaletteIndexExcluding(kWhite, 300), 0);
}

// The lookup table must give the plain search's answer for every colour and
// every excluded index. Every palette colour and its close neighbours (where
// ties and duplicates live) and a spread of random colours, against every
// exclusion; plus a dense sweep without exclusion.
TEST(PalmPalette, LookupAgreesWithFullSearch) {
    std::vector<Colour> colours;
    for (const Colour p : PalmPalette())
        for (int d : {-9, -4, -1, 0, 1, 4, 9})
            colours.push_back(Colour{static_cast<std::uint8_t>(std::clamp(p.r + d, 0, 255)), p.g,
                                     static_cast<std::uint8_t>(std::clamp(p.b - d, 0, 255))});
    std::mt19937 random(2650);
    std::uniform_int_distribution<int> channel(0, 255);
    for (int i = 0; i < 3000; ++i)
        colours.push_back(Colour{static_cast<std::uint8_t>(channel(random)), static_cast<std::uint8_t>(channel(random)),
                                 static_cast<std::uint8_t>(channel(random))});
    int mismatches = 0;
    for (int excluded = -1; excluded < 256; ++excluded)
        for (const Colour c : colours)
            if (NearestPaletteIndexExcluding(c, excluded) != NearestPaletteIndexBySearch(c, excluded) && ++mismatches < 5)
                ADD_FAILURE() << int{c.r} << "," << int{c.g} << "," << int{c.b} << " excluding " << excluded;
    EXPECT_EQ(mismatches, 0);

    for (int r = 0; r < 256; r += 3)
        for (int g = 0; g < 256; g += 3)
            for (int b = 0; b < 256; b += 3) {
                const Colour c{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
                ASSERT_EQ(NearestPaletteIndex(c), NearestPaletteIndexBySearch(c, -1)) << r << "," << g << "," << b;
            }
}

// Most answers are worked out from the palette's structure; where a grey or
// a dark colour competes with the cube is where that could go wrong: along
// the grey diagonal and around each dark colour, excluding nothing and
// excluding the answer itself.
TEST(PalmPalette, LookupAgreesWithFullSearchWhereGreysAndDarkColoursCompete) {
    const auto channel = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); };
    std::vector<Colour> colours;
    for (int v = 0; v < 256; ++v)
        for (const int dg : {-4, -1, 0, 2})
            for (const int db : {-3, 0, 1, 5}) colours.push_back(Colour{channel(v), channel(v + dg), channel(v + db)});
    for (int i = 226; i < 230; ++i)
        for (int dr = -46; dr <= 46; dr += 4)
            for (int dg = -46; dg <= 46; dg += 4)
                for (int db = -46; db <= 46; db += 4) {
                    const Colour p = PaletteColour(i);
                    colours.push_back(Colour{channel(p.r + dr), channel(p.g + dg), channel(p.b + db)});
                }
    int mismatches = 0;
    for (const Colour c : colours)
        for (const int excluded : {-1, NearestPaletteIndexBySearch(c, -1)})
            if (NearestPaletteIndexExcluding(c, excluded) != NearestPaletteIndexBySearch(c, excluded) && ++mismatches < 5)
                ADD_FAILURE() << int{c.r} << "," << int{c.g} << "," << int{c.b} << " excluding " << excluded;
    EXPECT_EQ(mismatches, 0);
}

TEST(Rgb565, PackingDropsLowBitsAndUnpackingLeavesThemZero) {
    EXPECT_EQ(ToRgb565(Colour{0xFF, 0x00, 0xFF}), 0xF81F);
    EXPECT_EQ(ToRgb565(Colour{0x07, 0x03, 0x07}), 0x0000);
    EXPECT_EQ(ToRgb565(kPureGreen), 0x07E0);
    EXPECT_EQ(FromRgb565(0xF81F), (Colour{0xF8, 0x00, 0xF8}));
    EXPECT_EQ(FromRgb565(0xFFFF), (Colour{0xF8, 0xFC, 0xF8}));
    EXPECT_EQ(Quantise565(Colour{0x0A, 0x14, 0x1E}), (Colour{0x08, 0x14, 0x18}));
    EXPECT_EQ(Quantise565(Colour{200, 100, 50}), (Colour{200, 100, 48}));
    std::mt19937 random(565);
    std::uniform_int_distribution<int> channel(0, 255);
    for (int i = 0; i < 1000; ++i) {
        const Colour c{static_cast<std::uint8_t>(channel(random)), static_cast<std::uint8_t>(channel(random)),
                       static_cast<std::uint8_t>(channel(random))};
        ASSERT_EQ(Quantise565(c), FromRgb565(ToRgb565(c)));
        ASSERT_EQ(ToRgb565(FromRgb565(ToRgb565(c))), ToRgb565(c));
    }
}

}  // namespace
}  // namespace corvane
