// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "imaging/ImagingTestUtil.h"
#include "imaging/Palm.h"
#include "imaging/PalmColour.h"
#include "imaging/Reduce.h"
#include "imaging/ScanLine.h"

namespace corvane {
namespace {

using testing::Hex;
using testing::PalmPixelBlock;

// The resource's bytes; the header the encoder gives back is the one a reader finds in them.
std::vector<std::uint8_t> Encode(const Image& image, Colour transparent, int depth, bool hasTransparency = true) {
    const Result<EncodedPalmBitmap> bitmap = EncodePalmBitmap(image, transparent, hasTransparency, depth);
    EXPECT_TRUE(bitmap.Ok());
    if (!bitmap) return {};
    const Result<PalmBitmap> read = ReadPalmBitmap(bitmap->bytes);
    EXPECT_TRUE(read.Ok());
    if (read) {
        EXPECT_EQ(*read, bitmap->bitmap);
    }
    return bitmap->bytes;
}

PalmBitmap HeaderOf(const std::vector<std::uint8_t>& resource) {
    const Result<PalmBitmap> read = ReadPalmBitmap(resource);
    EXPECT_TRUE(read.Ok());
    return read ? *read : PalmBitmap{};
}

TEST(PalmBitmapEncode, TwoByOneAtEightBitsIsTheFortySixByteResource) {
    Image image(2, 1);
    image.Set(0, 0, kPureGreen);
    EXPECT_EQ(Encode(image, kPureGreen, 8),
              Hex("00 01 00 00 00 02 80 00 01 02 00 05 00 00 00 00"
                  "00 04 00 00"
                  "00 02 00 01 00 02 20 00 08 03 18 00 00 FF 00 90 00 00 00 D2 00 00 00 00"
                  "D2 00"));
}

TEST(PalmBitmapEncode, FourByTwoAtSixteenBitsStaysRawWhenCompressionGainsNothing) {
    Image image(4, 2);
    image.Set(2, 1, kPureGreen);
    const std::vector<std::uint8_t> out = Encode(image, kPureGreen, 16);
    EXPECT_EQ(out.size(), 16u + 8u + 24u + 16u);
    EXPECT_FALSE(HeaderOf(out).compressed);
    // The placeholder is 2 x 1, half of 4 x 2.
    EXPECT_EQ(out, Hex("00 02 00 01 00 02 80 00 01 02 00 06 00 00 00 00"
                       "00 08 C0 00 00 00 00 00"
                       "00 04 00 02 00 08 24 00 10 03 18 01 00 FF 00 90 00 00 07 E0 00 00 00 00"
                       "FF FF FF FF FF FF FF FF FF FF FF FF 07 E0 FF FF"));
}

TEST(PalmBitmapEncode, WhiteHundredAndTwoByFortySixIsCompressedToSevenHundredAndEightyBytes) {
    const auto out = Encode(Image(102, 46), kPureGreen, 8);
    ASSERT_EQ(out.size(), 780u);
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + 16),
              Hex("00 33 00 17 00 08 80 00 01 02 00 0D 00 00 00 00"));
    const std::size_t p = 16 + 36;
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin() + p, out.begin() + p + 28),
              Hex("00 66 00 2E 00 66 A0 00 08 03 18 00 00 00 00 90 00 00 00 D2 00 00 00 00 00 00 02 C0"));
    // First row: every flag bit set (13 groups, the last of 6 bytes); later rows: clear flags.
    EXPECT_EQ(out[p + 28], 0xFF);
    EXPECT_EQ(out[p + 28 + 12 * 9], 0xFC);
    EXPECT_EQ(out[p + 28 + 13 + 102], 0x00);
}

TEST(PalmBitmapEncode, PlaceholderOfAOnePixelSideHasNoRows) {
    for (const auto& [w, h] : {std::pair{1, 7}, std::pair{7, 1}, std::pair{1, 1}, std::pair{0, 0}}) {
        const PlaceholderBitmap p = PlaceholderBitmap::ForSize(w, h);
        EXPECT_EQ(p.compressed, Hex("00 04 00 00")) << w << "x" << h;
        EXPECT_EQ(p.nextDepthOffset, 5);
    }
}

TEST(PalmBitmapEncode, OpaquePixelsNeverTakeTheTransparentIndexAtEightBits) {
    Image image(3, 1);
    image.Set(0, 0, kPureGreen);
    image.Set(1, 0, Colour{0, 254, 0});
    image.Set(2, 0, kPureGreen);
    EXPECT_EQ(PalmPixelBlock(Encode(image, kPureGreen, 8)), Hex("D2 D3 D2 00"));
    // Without the flag nothing is written as transparent, and still nothing lands on its index.
    const auto without = Encode(image, kPureGreen, 8, false);
    EXPECT_EQ(PalmPixelBlock(without), Hex("C0 D3 C0 00"));
    EXPECT_EQ(HeaderOf(without).transparentValue, 210u);
    // A near-black transparent colour: reduced opaque black and the transparent
    // colour are the same black, and both are written as the transparent index.
    Image dark(2, 1, kBlack);
    dark.Set(0, 0, Colour{1, 1, 1});
    Colour transparent{1, 1, 1};
    ReduceImageToDepth(dark, transparent, Depth::Eight);
    EXPECT_EQ(dark.At(0, 0), kBlack);
    EXPECT_EQ(dark.At(1, 0), kBlack);
    EXPECT_EQ(PalmPixelBlock(Encode(dark, transparent, 8)), Hex("E6 E6"));
    EXPECT_EQ(PalmPixelBlock(Encode(Image(1, 1, kBlack), Colour{1, 1, 1}, 8)), Hex("E7 00"));
}

TEST(PalmBitmapEncode, SixteenBitsGivesTheTransparentColourNoSpecialTreatment) {
    Image image(2, 1, Colour{0, 0xFE, 3});
    image.Set(1, 0, kPureGreen);
    const auto bytes = Encode(image, kPureGreen, 16);
    EXPECT_EQ(PalmPixelBlock(bytes), Hex("07 E0 07 E0"));
    const PalmBitmap bitmap = HeaderOf(bytes);
    EXPECT_EQ(bitmap.transparentValue, 0x07E0u);
    EXPECT_TRUE(bitmap.directColour);
    EXPECT_EQ(bitmap.rowBytes, 4);
}

TEST(PalmBitmapEncode, OddWidthZeroBytesTakePartInTheRowComparison) {
    Image image(3, 2, kWhite);
    const auto bytes = Encode(image, kPureGreen, 8);
    EXPECT_EQ(HeaderOf(bytes).rowBytes, 4);
    const auto block = PalmPixelBlock(bytes);
    EXPECT_EQ(block, Hex("00 00 00 00 00 00 00 00"));
    EXPECT_EQ(ScanLineCompress(block, 4, 2, 4), Hex("00 00 00 0C F0 00 00 00 00 00 00 00"));
}

// The smaller storage is chosen as the pixels are written, and the header says which.
TEST(PalmBitmapEncode, CompressionIsChosenWhenEncoding) {
    const struct {
        Image image;
        int depth;
        bool compressed;
        std::size_t dataLength;
    } cases[] = {
        // 40 x 20 white at 16 bits: 80-byte rows, the first all written, the others only their 10 flag bytes.
        {Image(40, 20), 16, true, 4 + 10 + 80 + 19 * 10 + 0},
        // 4 x 1 at 8 bits: 4 raw bytes against 4 + 1 + 4 compressed, padded to 12.
        {Image(4, 1), 8, false, 4},
        // 8 x 2 at 8 bits: 16 raw bytes against 4 + 9 + 1, padded to 16: equal sizes stay raw.
        {Image(8, 2), 8, false, 16},
        // 8 x 3 at 8 bits: 24 raw bytes against 4 + 9 + 1 + 1, padded to 16.
        {Image(8, 3), 8, true, 16},
    };
    for (const auto& c : cases) {
        const Result<EncodedPalmBitmap> bitmap = EncodePalmBitmap(c.image, kPureGreen, true, c.depth);
        ASSERT_TRUE(bitmap.Ok());
        EXPECT_EQ(bitmap->bitmap.compressed, c.compressed) << c.image.Width();
        EXPECT_EQ(bitmap->bitmap.compressionType, c.compressed ? 0 : 0xFF) << c.image.Width();
        EXPECT_EQ(bitmap->bitmap.dataLength, c.dataLength) << c.image.Width();
        EXPECT_EQ(bitmap->bytes.size(), bitmap->bitmap.dataStart + c.dataLength) << c.image.Width();
        EXPECT_EQ(HeaderOf(bitmap->bytes), bitmap->bitmap) << c.image.Width();
    }
}

TEST(PalmBitmapEncode, RefusesDepthsAndSizesTheFormatCannotHold) {
    EXPECT_FALSE(EncodePalmBitmap(Image(4, 4), kPureGreen, true, 1).Ok());
    EXPECT_FALSE(EncodePalmBitmap(Image(4, 4), kPureGreen, true, 24).Ok());
    const auto wide = EncodePalmBitmap(Image(32768, 1), kPureGreen, true, 16);  // rowBytes 65536
    ASSERT_FALSE(wide.Ok());
    EXPECT_NE(wide.Reason().find("32768 x 1"), std::string::npos) << wide.Reason();
    EXPECT_TRUE(EncodePalmBitmap(Image(32767, 1), kPureGreen, true, 16).Ok());
}

TEST(PalmBitmapEncode, FitsAgreesWithThePlaceholderItWouldBuild) {
    // 65534 wide: a placeholder row of 4096 bytes in 512 groups; the 2-byte
    // size field holds 119 such rows but not 120.
    EXPECT_TRUE(FitsPalmBitmap(65534, 239, 8));
    EXPECT_FALSE(FitsPalmBitmap(65534, 240, 8));
    EXPECT_FALSE(PlaceholderBitmap::ForSize(65534, 239).compressed.empty());
    EXPECT_TRUE(PlaceholderBitmap::ForSize(65534, 240).compressed.empty());
    EXPECT_TRUE(FitsPalmBitmap(320, 320, 16));
    EXPECT_FALSE(FitsPalmBitmap(-1, 3, 8));
    EXPECT_FALSE(FitsPalmBitmap(65536, 1, 1));
    EXPECT_FALSE(FitsPalmBitmap(3, 3, 4));
}

// Encoding what the editor holds, a picture already reduced to the depth, and
// decoding it again gives that picture back pixel for pixel.
TEST(PalmBitmapRoundTrip, ReducedPicturesComeBackUnchanged) {
    const std::pair<int, int> sizes[] = {{1, 1}, {3, 5}, {47, 33}, {2, 1}, {1, 9}, {9, 1}, {101, 46}, {320, 30}, {0, 0}};
    for (const int depth : {8, 16}) {
        for (const auto& [w, h] : sizes) {
            for (const bool photo : {true, false}) {
                Image image = photo ? testing::PhotoLike(w, h, static_cast<unsigned>(w * 31 + h))
                                    : Image(w, h, Colour{0x33, 0x66, 0x99});
                if (w > 2 && h > 2) image.Set(w / 2, h / 2, kPureGreen);
                Colour transparent = kPureGreen;
                ReduceImageToDepth(image, transparent, *DepthOfBits(depth));

                const std::vector<std::uint8_t> bytes = Encode(image, transparent, depth);
                const Result<PalmPicture> decoded = DecodePalmBitmap(bytes);
                ASSERT_TRUE(decoded.Ok()) << w << "x" << h << " at " << depth;
                ASSERT_TRUE(decoded->hasTransparency);
                const Image& back = decoded->image;
                EXPECT_EQ(decoded->transparent, transparent);
                ASSERT_EQ(back, image) << w << "x" << h << " at " << depth;  // size and every pixel
                // Written back, a decoded picture gives the same bytes.
                EXPECT_EQ(Encode(back, decoded->transparent, depth), bytes);
            }
        }
    }
}

}  // namespace
}  // namespace corvane
