// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/Thumbnail.h"

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/AreaScale.h"
#include "imaging/ImageFile.h"
#include "io/ByteOrder.h"
#include "model/PreviewComposition.h"
#include "model/SkinDocument.h"
#include "model/SkinFile.h"
#include "pdb/PalmDate.h"
#include "pdb/ResourceDatabase.h"
#include "pdb/SkinCodec.h"
#include "pdb/SplashCodec.h"
#include "support/SplashTestUtil.h"

namespace corvane {
namespace {

using splash_testing::Bytes;
using splash_testing::FixtureBytes;

constexpr int kTitleBar = 33;                // element "titlebar", resource 9064, drawn across rows 27 to 56
constexpr std::uint16_t kTitleBarId = 9064;

Bytes SkinWithTitleBar(Colour fill, int depth, std::uint16_t id = kTitleBarId) {
    ResourceDatabase db;
    EXPECT_TRUE(db.AddBitmap(Image(320, 30, fill), id, kPureGreen, true, depth));
    return db.WriteDatabase(PalmNow()).value();
}

// A greyscale baseline JPEG of any size whose data cost two bits a block:
// Huffman tables of one one-bit code each, for "DC unchanged" and "end of
// block", so the entropy-coded data are all zero bytes and the picture is
// flat grey. Large sizes stay small files.
Bytes FlatGreyJpeg(std::uint16_t width, std::uint16_t height) {
    BigEndianWriter out;
    out.U16(0xFFD8);
    out.U16(0xFFDB), out.U16(67), out.U8(0);  // quantisation table 0: every step 1
    for (int i = 0; i < 64; ++i) out.U8(1);
    out.U16(0xFFC0), out.U16(11), out.U8(8), out.U16(height), out.U16(width), out.U8(1), out.U8(1), out.U8(0x11),
        out.U8(0);
    for (const int table : {0x00, 0x10}) {  // DC 0, AC 0: one code of length 1, for symbol 0
        out.U16(0xFFC4), out.U16(20), out.U8(static_cast<std::uint8_t>(table)), out.U8(1), out.Zeros(15), out.U8(0);
    }
    out.U16(0xFFDA), out.U16(8), out.U8(1), out.U8(1), out.U8(0x00), out.U8(0), out.U8(63), out.U8(0);
    const std::size_t blocks = std::size_t{(width + 7u) / 8u} * ((height + 7u) / 8u);
    out.Zeros((blocks * 2 + 7) / 8);
    out.U16(0xFFD9);
    return out.Take();
}

Bytes SplashWith(const Bytes& welcome) {
    return BuildSplashFile("s", welcome, FixtureBytes("baseline-320x320.jpg"), PalmNow()).value();
}

TEST(AreaScaleTest, FitsTheLongerSideAndNeverEnlarges) {
    const struct { int width, height, box; PictureSize fitted; } cases[] = {
        {320, 320, 128, {128, 128}}, {320, 240, 128, {128, 96}}, {240, 320, 100, {75, 100}},
        {100, 50, 512, {100, 50}},   {4000, 1, 10, {10, 1}},
    };
    for (const auto& c : cases) EXPECT_EQ(FitWithin(c.width, c.height, c.box), c.fitted) << c.width << "x" << c.height;
}

TEST(AreaScaleTest, EachNewPixelIsTheMeanOfTheAreaItCovers) {
    // 0, 91, 182 into two pixels: each takes one old pixel whole and half of the middle one.
    Image row(3, 1);
    for (int x = 0; x < 3; ++x) row.Set(x, 0, Colour{std::uint8_t(91 * x), 0, 255});
    const Image two = ShrinkByArea(row, 2, 1);
    EXPECT_EQ(two.At(0, 0), (Colour{30, 0, 255}));  // 30.3
    EXPECT_EQ(two.At(1, 0), (Colour{152, 0, 255}));  // 151.7, rounded
    // A one-pixel line in a 5x5 square shrunk to 2x2 weighs half in both new pixels it falls under.
    Image square(5, 5, kBlack);
    for (int x = 0; x < 5; ++x) square.Set(x, 2, kWhite);
    const Image shrunk = ShrinkByArea(square, 2, 2);
    for (int x = 0; x < 2; ++x)
        for (int y = 0; y < 2; ++y) EXPECT_EQ(shrunk.At(x, y), (Colour{51, 51, 51})) << x << "," << y;
}

// The area mean worked out the long way: every old pixel under a new one,
// weighed by the area they share, in units of 1/(new size) of an old pixel.
Colour AreaMean(const Image& old, int width, int height, int newX, int newY) {
    const auto Overlap = [](long oldIndex, long newIndex, long oldSize, long newSize) {
        return std::max(0L, std::min((oldIndex + 1) * newSize, (newIndex + 1) * oldSize) -
                                std::max(oldIndex * newSize, newIndex * oldSize));
    };
    const long whole = long{old.Width()} * old.Height();
    long sums[3] = {};
    for (int y = newY * old.Height() / height; y < old.Height() && y * height < (newY + 1) * old.Height(); ++y)
        for (int x = newX * old.Width() / width; x < old.Width() && x * width < (newX + 1) * old.Width(); ++x) {
            const long weight = Overlap(x, newX, old.Width(), width) * Overlap(y, newY, old.Height(), height);
            const Colour c = old.At(x, y);
            sums[0] += weight * c.r, sums[1] += weight * c.g, sums[2] += weight * c.b;
        }
    const auto Mean = [whole](long sum) { return static_cast<std::uint8_t>((sum + whole / 2) / whole); };
    return Colour{Mean(sums[0]), Mean(sums[1]), Mean(sums[2])};
}

TEST(AreaScaleTest, EveryNewPixelIsTheAreaMeanOfNoisyPictures) {
    const struct { int width, height, newWidth, newHeight; } cases[] = {
        {320, 320, 1, 1},   {320, 320, 7, 7},  {320, 320, 100, 100}, {320, 320, 159, 159}, {320, 320, 213, 213},
        {320, 320, 319, 319}, {5, 3, 2, 1},    {1000, 3, 7, 2},      {3, 700, 2, 9},       {64, 48, 63, 47},
        {1, 1, 1, 1},         {2, 1, 1, 1},
    };
    for (const auto& c : cases) {
        Image old(c.width, c.height);
        std::uint32_t state = 12345;
        for (Colour& p : old.Pixels()) {
            state = state * 1103515245u + 12345u;
            p = Colour{std::uint8_t(state >> 24), std::uint8_t(state >> 16), std::uint8_t(state >> 8)};
        }
        const Image shrunk = ShrinkByArea(old, c.newWidth, c.newHeight);
        ASSERT_EQ(shrunk.Width(), c.newWidth);
        ASSERT_EQ(shrunk.Height(), c.newHeight);
        int wrong = 0;
        for (int y = 0; y < c.newHeight; ++y)
            for (int x = 0; x < c.newWidth; ++x) wrong += !(shrunk.At(x, y) == AreaMean(old, c.newWidth, c.newHeight, x, y));
        EXPECT_EQ(wrong, 0) << c.width << "x" << c.height << " to " << c.newWidth << "x" << c.newHeight;
    }
}

TEST(AreaScaleTest, ColumnsTallerThanThirtyTwoBitSumsHoldStillAverageRight) {
    // 255 times 16,843,010 rows is more than 32 bits hold.
    const Image tall(1, 16'843'010, Colour{255, 128, 1});
    EXPECT_EQ(ShrinkByArea(tall, 1, 1).At(0, 0), (Colour{255, 128, 1}));
}

TEST(ThumbnailTest, ASkinShowsItsOwnPicturesAtTheDepthItStoresThem) {
    for (const int depth : {8, 16}) {
        const Bytes file = SkinWithTitleBar(Colour{0x12, 0x9A, 0xE0}, depth);
        const Colour stored = DecodeSkinFile(file).pictures[kTitleBar]->image.At(0, 0);
        const auto thumbnail = MakeThumbnail(file, 320);
        ASSERT_TRUE(thumbnail) << depth;
        EXPECT_EQ(thumbnail->Width(), 320);
        EXPECT_EQ(thumbnail->At(160, 40), stored) << depth;
    }
}

TEST(ThumbnailTest, ASplashShowsItsWelcomePictureInProportion) {
    const auto thumbnail = MakeThumbnail(SplashWith(FixtureBytes("grey-240x320.jpg")), 128);
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ((PictureSize{thumbnail->Width(), thumbnail->Height()}), (PictureSize{96, 128}));
}

TEST(ThumbnailTest, ASkinShowsTheReleasedScreenTheEditorComposesAfterOpen) {
    // Pictures smaller than their elements (the rest of the element keeps its
    // default), one with a transparent colour of its own, one only in the
    // pressed screen, and every element not in the file at its default. The
    // depth is the file's even where only a picture the released screen does
    // not show is stored at 16 bits, and a skin whose only picture is not on
    // that screen shows the defaults.
    struct Stored { Element element; Image picture; Colour transparent; int depth; };
    const auto Skin = [](int depth, int pressedDepth) {
        return std::vector<Stored>{
            {Element::TitleBar, Image(200, 20, Colour{0x12, 0x9A, 0xE0}), kPureGreen, depth},
            {Element::DialButton, Image(40, 12, kWhite), kWhite, depth},
            {Element::DialButtonPressed, Image(60, 30, kBlack), kPureGreen, pressedDepth},
            {Element::SpeedDialNormal, Image(150, 8, Colour{0xFF, 0x33, 0x00}), kPureGreen, depth},
        };
    };
    const struct { const char* name; std::vector<Stored> stored; } cases[] = {
        {"8-bit", Skin(8, 8)},
        {"16-bit", Skin(16, 16)},
        {"8-bit, the pressed button at 16", Skin(8, 16)},
        {"16-bit, the pressed button at 8", Skin(16, 8)},
        {"only the pressed button", {{Element::DialButtonPressed, Image(60, 30, kBlack), kPureGreen, 8}}},
    };
    for (const auto& c : cases) {
        ResourceDatabase db;
        for (const auto& e : c.stored)
            ASSERT_TRUE(db.AddBitmap(e.picture, ResourceIdOf(e.element), e.transparent, true, e.depth)) << c.name;
        const Bytes file = db.WriteDatabase(PalmNow()).value();

        SkinDocument document;
        const DecodedSkin skin = DecodeSkinFile(file);
        ApplyDecodedSkin(skin, document);
        ComposePreviews(document, DecodedSkinDepth(skin));
        const auto thumbnail = MakeThumbnail(file, 320);
        ASSERT_TRUE(thumbnail) << c.name;
        EXPECT_TRUE(*thumbnail == document.ReleasedPreview()) << c.name;
    }
}

TEST(ThumbnailTest, ASplashAtAnEighthAQuarterOrAHalfIsTheLibrarysReducedDecode) {
    // A zone plate (fine rings), so that decoding whole and averaging differs
    // from the library's scaled decode; the expected pictures are
    // `djpeg -scale 1/N zone-plate-320x320.jpg | pnmtopng`.
    const Bytes file = SplashWith(FixtureBytes("zone-plate-320x320.jpg"));
    for (const int denominator : {2, 4, 8}) {
        const std::string expected = "zone-plate-320x320-djpeg-scale-1-" + std::to_string(denominator) + ".png";
        const ImageFileResult oracle = DecodeImageBytes(FixtureBytes(expected));
        ASSERT_TRUE(oracle.image) << expected;
        const auto thumbnail = MakeThumbnail(file, 320 / denominator);
        ASSERT_TRUE(thumbnail) << denominator;
        EXPECT_TRUE(*thumbnail == *oracle.image) << "1/" << denominator;
    }
}

TEST(ThumbnailTest, AWelcomePictureOverTwoThousandAndFortyEightSquaredIsRefused) {
    const struct { std::uint16_t width, height; bool shown; } cases[] = {
        {2048, 2048, true}, {2049, 2048, false}, {1024, 4097, false}, {4096, 4096, false},
    };
    for (const auto& c : cases) {
        const auto thumbnail = MakeThumbnail(SplashWith(FlatGreyJpeg(c.width, c.height)), 128);
        EXPECT_EQ(thumbnail.has_value(), c.shown) << c.width << "x" << c.height;
        if (thumbnail) {
            EXPECT_EQ(thumbnail->At(64, 64), (Colour{128, 128, 128}));
        }
    }
}

TEST(ThumbnailTest, FilesThatAreNeitherGiveNone) {
    Bytes otherDatabase = SkinWithTitleBar(kWhite, 16, 1);
    splash_testing::PutText(otherDatabase, 60, "DATAaddr");
    Bytes skinHeaderOnly = SkinWithTitleBar(kWhite, 16);
    skinHeaderOnly.resize(100);
    Bytes welcome = FixtureBytes("baseline-320x320.jpg");
    welcome.resize(welcome.size() / 2);
    const struct { const char* name; Bytes file; } cases[] = {
        {"empty", {}},
        {"skin-cut-after-its-entries", skinHeaderOnly},
        {"database-of-another-kind", otherDatabase},
        {"splash-welcome-cut-short", SplashWith(welcome)},
        {"splash-welcome-no-jpeg", SplashWith(splash_testing::JpegBuilder().Frame(0xC0, 320, 320).Take())},
    };
    for (const auto& c : cases) EXPECT_FALSE(MakeThumbnail(c.file, 128)) << c.name;
}

}  // namespace
}  // namespace corvane
