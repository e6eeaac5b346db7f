// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <string>

#include "imaging/ImagingTestUtil.h"
#include "imaging/Palm.h"
#include "imaging/PalmColour.h"
#include "io/ByteOrder.h"

namespace corvane {
namespace {

using testing::Hex;

const std::vector<std::uint8_t> kTwoByOne = Hex(
    "00 01 00 00 00 02 80 00 01 02 00 05 00 00 00 00"
    "00 04 00 00"
    "00 02 00 01 00 02 20 00 08 03 18 00 00 FF 00 90 00 00 00 D2 00 00 00 00"
    "D2 00");

struct Header {
    std::uint16_t width = 2, height = 1, rowBytes = 2;
    std::uint8_t flags = 0x20, pixelSize = 8, version = 3, pixelFormat = 0, compressionType = 0xFF;
    std::uint32_t transparentValue = 0xD2;
};

// A version-3 bitmap on its own, as other tools write it, followed by `data`.
std::vector<std::uint8_t> Version3(const Header& h, const std::vector<std::uint8_t>& data) {
    BigEndianWriter w;
    w.U16(h.width);
    w.U16(h.height);
    w.U16(h.rowBytes);
    w.U8(h.flags);
    w.U8(0);
    w.U8(h.pixelSize);
    w.U8(h.version);
    w.U8(24);
    w.U8(h.pixelFormat);
    w.U8(0);
    w.U8(h.compressionType);
    w.U16(144);
    w.U32(h.transparentValue);
    w.U32(0);
    w.Bytes(data);
    return w.Take();
}

// 8 bits, 3 x 2, scan-line compressed, rows padded to 4 bytes.
Header Compressed3x2() {
    Header h;
    h.flags = 0xA0;
    h.compressionType = 0;
    h.width = 3;
    h.height = 2;
    h.rowBytes = 4;
    return h;
}

// A version-2 bitmap header whose next bitmap starts `nextDepthOffset` x 4 bytes on.
std::vector<std::uint8_t> Version2(std::uint16_t nextDepthOffset, std::uint8_t version = 2) {
    BigEndianWriter w;
    w.U16(0);
    w.U16(0);
    w.U16(0);
    w.U16(0x8000);
    w.U8(1);
    w.U8(version);
    w.U16(nextDepthOffset);
    w.Zeros(4);
    return w.Take();
}

std::vector<std::uint8_t> Join(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// What a resource shows: refused, or a picture with or without transparency.
enum class Outcome { Refused, Transparent, Opaque };

struct Decoded {
    Outcome result;
    Image image;
    Colour transparent;
};

Decoded Decode(const std::vector<std::uint8_t>& bytes) {
    const Result<PalmPicture> picture = DecodePalmBitmap(bytes);
    if (!picture) return {Outcome::Refused, Image(), Colour{1, 2, 3}};
    return {picture->hasTransparency ? Outcome::Transparent : Outcome::Opaque, picture->image, picture->transparent};
}

TEST(PalmBitmapDecode, FortySixByteResourceGivesGreenAndWhite) {
    const Result<PalmBitmap> bitmap = ReadPalmBitmap(kTwoByOne);
    ASSERT_TRUE(bitmap.Ok());
    // The placeholder's nextDepthOffset of 5 leads to the header at 20, its pixels at 44.
    EXPECT_EQ(bitmap->dataStart, 44u);
    EXPECT_EQ(bitmap->dataLength, 2u);
    const Decoded d = Decode(kTwoByOne);
    ASSERT_EQ(d.result, Outcome::Transparent);
    const Image& image = d.image;
    EXPECT_EQ(d.transparent, kPureGreen);
    ASSERT_EQ(image.Width(), 2);
    ASSERT_EQ(image.Height(), 1);
    EXPECT_EQ(image.At(0, 0), kPureGreen);
    EXPECT_EQ(image.At(1, 0), kWhite);
}

TEST(PalmBitmapDecode, WithoutTransparencyTheResultIsOpaqueButTheColourIsStillGiven) {
    Header h;
    h.flags = 0;
    const Decoded d = Decode(Version3(h, Hex("D2 00")));
    EXPECT_EQ(d.result, Outcome::Opaque);
    EXPECT_EQ(d.transparent, kPureGreen);
}

TEST(PalmBitmapDecode, SixteenBitsUnpacksWithoutFillingLowBitsWhateverThePixelFormat) {
    Header h;
    h.pixelSize = 16;
    h.rowBytes = 4;
    h.flags = 0x24;
    h.transparentValue = 0xABCD07E0;  // only the low 16 bits count
    for (const int format : {0, 1, 2}) {
        h.pixelFormat = static_cast<std::uint8_t>(format);
        const Decoded d = Decode(Version3(h, Hex("FF FF F8 1F")));
        ASSERT_EQ(d.result, Outcome::Transparent);
        EXPECT_EQ(d.image.At(0, 0), (Colour{0xF8, 0xFC, 0xF8}));
        EXPECT_EQ(d.image.At(1, 0), (Colour{0xF8, 0x00, 0xF8}));
        EXPECT_EQ(d.transparent, (Colour{0, 0xFC, 0}));
    }
}

TEST(PalmBitmapDecode, OneBitSetIsBlackAndRowsTakeTwoBytesPerSixteenPixels) {
    Header h;
    h.pixelSize = 1;
    h.width = 17;
    h.height = 2;
    h.rowBytes = 4;
    h.transparentValue = 0x1FF;  // low 8 bits: index 255, black
    const Decoded d = Decode(Version3(h, Hex("80 01 80 00 / 00 00 00 00")));
    ASSERT_EQ(d.result, Outcome::Transparent);
    EXPECT_EQ(d.image.At(0, 0), kBlack);
    EXPECT_EQ(d.image.At(1, 0), kWhite);
    EXPECT_EQ(d.image.At(15, 0), kBlack);
    EXPECT_EQ(d.image.At(16, 0), kBlack);
    EXPECT_EQ(d.image.At(16, 1), kWhite);
    EXPECT_EQ(d.transparent, kBlack);
}

TEST(PalmBitmapDecode, CompressedFirstRowClearBitGivesZeroAndPaddingIsOptional) {
    // Unpadded n of 9: row 1 sets only its second byte, row 2 changes the first two.
    const Decoded d = Decode(Version3(Compressed3x2(), Hex("00 00 00 09 40 D2 C0 05 06")));
    ASSERT_EQ(d.result, Outcome::Transparent);
    EXPECT_EQ(d.image.At(0, 0), kWhite);  // 0
    EXPECT_EQ(d.image.At(1, 0), kPureGreen);
    EXPECT_EQ(d.image.At(0, 1), PaletteColour(5));
    EXPECT_EQ(d.image.At(1, 1), PaletteColour(6));
    EXPECT_EQ(d.image.At(2, 1), kWhite);
}

TEST(PalmBitmapDecode, AnyCompressionTypeIsAcceptedWhenNotCompressed) {
    for (const int type : {0, 1, 2, 0x7F, 0xFF}) {
        Header h;
        h.compressionType = static_cast<std::uint8_t>(type);
        EXPECT_EQ(Decode(Version3(h, Hex("D2 00"))).result, Outcome::Transparent) << type;
    }
}

TEST(PalmBitmapDecode, FollowsAChainOfVersionTwoBitmapsWhateverTheirDepth) {
    Header h;
    // Two 16-byte version-2 headers, the second with 8 bytes of its own data.
    auto bytes = Join(Version2(4), Join(Version2(6), Hex("11 22 33 44 55 66 77 88")));
    bytes = Join(bytes, Version3(h, Hex("D2 00")));
    EXPECT_EQ(Decode(bytes).result, Outcome::Transparent);
}

TEST(PalmBitmapDecode, OnlyTheFirstVersionThreeBitmapCountsAndTrailingBytesAreIgnored) {
    Header first;
    Header second;
    second.width = 1;
    second.rowBytes = 2;
    const Decoded d = Decode(Join(Join(Version3(first, Hex("D2 00")), Version3(second, Hex("00 00"))), Hex("FF FF")));
    ASSERT_EQ(d.result, Outcome::Transparent);
    EXPECT_EQ(d.image.Width(), 2);
}

TEST(PalmBitmapDecode, WiderRowsThanTheWalkNeedsAreSteppedByRowBytes) {
    Header h;
    h.width = 1;
    h.height = 2;
    h.rowBytes = 4;
    const Decoded d = Decode(Version3(h, Hex("D2 00 00 00 / 05 00 00 00")));
    ASSERT_EQ(d.result, Outcome::Transparent);
    EXPECT_EQ(d.image.At(0, 0), kPureGreen);
    EXPECT_EQ(d.image.At(0, 1), PaletteColour(5));
}

// What netpbm's pnmtopalm writes: no placeholder, and at 8 bits a compressed
// size that counts only the bytes used (13, not 16). Made from a 3 x 2 picture
// (green, white, red / blue, green, white) with
// pnmtopalm -depth 8 -scanline_compression -density 144 -transparent '#00ff00'
// after pnmremap to its palette, and with -depth 16.
TEST(PalmBitmapDecode, ReadsWhatNetpbmWrites) {
    const Colour expected[2][3] = {{kPureGreen, kWhite, Colour{0xFF, 0, 0}}, {Colour{0, 0, 0xFF}, kPureGreen, kWhite}};
    const Decoded d8 = Decode(Hex("0003 0002 0004 a000 0803 1800 0000 0090 0000 00d2 0000 0000"
                                  "0000 000d f0d2 007d 00e0 5fd2 00"));
    ASSERT_EQ(d8.result, Outcome::Transparent);
    EXPECT_EQ(d8.transparent, kPureGreen);
    const Decoded d16 = Decode(Hex("0003 0002 0006 2400 1003 1801 0000 0090 0000 ff00 0000 0000"
                                   "07e0 ffff f800 001f 07e0 ffff"));
    ASSERT_EQ(d16.result, Outcome::Transparent);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(d8.image.At(x, y), expected[y][x]) << x << "," << y;
            EXPECT_EQ(d16.image.At(x, y), Quantise565(expected[y][x])) << x << "," << y;
        }
    // netpbm stores a 16-bit transparent colour as 00 RR GG BB, not as a 5-6-5
    // value; read by the 5-6-5 rule its low 16 bits (FF 00) are F8 E0 00.
    EXPECT_EQ(d16.transparent, (Colour{0xF8, 0xE0, 0x00}));
}

// Malformed resources, each named after its defect. Every one is refused,
// by the header read and by the whole decode.
struct Fixture {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

std::vector<Fixture> MalformedFixtures() {
    auto with = [](auto change) {
        Header h;
        change(h);
        return h;
    };
    const Header compressed3x2 = Compressed3x2();
    std::vector<Fixture> f;
    f.push_back({"empty", {}});
    f.push_back({"truncated-placeholder-header", std::vector<std::uint8_t>(kTwoByOne.begin(), kTwoByOne.begin() + 12)});
    f.push_back({"truncated-header", std::vector<std::uint8_t>(kTwoByOne.begin(), kTwoByOne.begin() + 30)});
    f.push_back({"truncated-pixels", std::vector<std::uint8_t>(kTwoByOne.begin(), kTwoByOne.end() - 1)});
    f.push_back({"truncated-compressed-data", Version3(compressed3x2, Hex("00 00 00 0D F0 D2 00 7D 00 E0 5F D2"))});
    f.push_back({"truncated-compressed-length", Version3(compressed3x2, Hex("00 00 00"))});
    f.push_back({"compressed-length-below-4", Version3(compressed3x2, Hex("00 00 00 03 F0 D2 00 7D 00 E0 5F D2 00"))});
    f.push_back({"compressed-length-zero", Version3(compressed3x2, Hex("00 00 00 00 F0 D2 00 7D 00 E0 5F D2 00"))});
    f.push_back({"flags-overrun", Version3(compressed3x2, Hex("00 00 00 0C F0 D2 00 7D 00 E0 5F D2 00 00 00 00"))});
    f.push_back({"flags-missing-for-second-row", Version3(compressed3x2, Hex("00 00 00 09 F0 D2 00 7D 00 E0 5F D2"))});
    f.push_back({"compressed-length-past-end", Version3(compressed3x2, Hex("FF FF FF FF F0 D2 00 7D 00 E0 5F D2 00"))});
    f.push_back({"v2-chain-end", Version2(0)});
    f.push_back({"v2-chain-end-after-v2", Join(Version2(4), Version2(0))});
    f.push_back({"v2-offset-into-own-header", Join(Version2(3), Version3(Header{}, Hex("D2 00")))});
    f.push_back({"v2-offset-past-end", Join(Version2(200), Version3(Header{}, Hex("D2 00")))});
    f.push_back({"v2-nothing-after", Version2(4)});
    f.push_back({"version-1-first", Join(Version2(4, 1), Version3(Header{}, Hex("D2 00")))});
    f.push_back({"version-0-first", Join(Version2(4, 0), Version3(Header{}, Hex("D2 00")))});
    f.push_back({"version-4", Version3(with([](Header& h) { h.version = 4; }), Hex("D2 00"))});
    f.push_back({"colour-table", Version3(with([](Header& h) { h.flags = 0x60; }), Hex("D2 00"))});
    f.push_back({"depth-2", Version3(with([](Header& h) { h.pixelSize = 2; }), Hex("D2 00"))});
    f.push_back({"depth-4", Version3(with([](Header& h) { h.pixelSize = 4; }), Hex("D2 00"))});
    f.push_back({"depth-24", Version3(with([](Header& h) { h.pixelSize = 24; h.rowBytes = 6; }), Hex("00 00 00 00 00 00"))});
    f.push_back({"compression-type-1", Version3(with([](Header& h) { h.flags = 0xA0; h.compressionType = 1; }),
                                                Hex("00 00 00 06 C0 D2 00 00"))});
    f.push_back({"compression-type-2", Version3(with([](Header& h) { h.flags = 0xA0; h.compressionType = 2; }),
                                                Hex("00 00 00 06 C0 D2 00 00"))});
    f.push_back({"row-bytes-short-8bit", Version3(with([](Header& h) { h.width = 3; h.rowBytes = 3; }), Hex("D2 00 00"))});
    f.push_back({"row-bytes-short-16bit", Version3(with([](Header& h) { h.pixelSize = 16; h.rowBytes = 3; }),
                                                   Hex("07 E0 FF"))});
    f.push_back({"row-bytes-short-1bit", Version3(with([](Header& h) { h.pixelSize = 1; h.width = 17; h.rowBytes = 2; }),
                                                  Hex("80 00"))});
    f.push_back({"absurd-size-raw", Version3(with([](Header& h) { h.width = 0xFFFF; h.height = 0xFFFF; h.rowBytes = 0xFFFF; }),
                                             Hex("D2 00"))});
    f.push_back({"absurd-size-compressed",
                 Version3(with([](Header& h) { h.width = 1000; h.height = 0xFFFF; h.rowBytes = 1000; h.flags = 0xA0; h.compressionType = 0; }),
                          Hex("00 00 00 08 00 00 00 00"))});
    f.push_back({"wider-than-readable", Version3(with([](Header& h) { h.width = 4097; h.rowBytes = 4098; }),
                                                 std::vector<std::uint8_t>(4098))});
    f.push_back({"taller-than-readable",
                 Version3(with([](Header& h) { h.width = 1; h.height = 4097; h.flags = 0xA0; h.compressionType = 0; }),
                          Join(Hex("00 00 10 06 80 D2"), std::vector<std::uint8_t>(4096)))});
    f.push_back({"too-big-for-its-placeholder", Version3(with([](Header& h) { h.pixelSize = 1; h.width = 0xFFFF; h.height = 0xFFFF; h.rowBytes = 8192; }),
                                                         Hex("00"))});
    return f;
}

TEST(PalmBitmapDecode, SidesUpToTheReadableLimitAndNotOneMore) {
    const struct {
        std::uint16_t width, height;
        bool read;
    } cases[] = {{1, 4096, true}, {1, 4097, false}, {4096, 1, true}, {4097, 1, false}};
    for (const auto& c : cases) {
        const auto rowBytes = static_cast<std::uint16_t>((c.width + 1) / 2 * 2);
        const Header h{c.width, c.height, rowBytes};
        const auto d = Decode(Version3(h, std::vector<std::uint8_t>(std::size_t{rowBytes} * c.height)));
        EXPECT_EQ(d.result != Outcome::Refused, c.read) << c.width << " x " << c.height;
        EXPECT_EQ(d.image.Height(), c.read ? c.height : 0);
    }
}

TEST(PalmBitmapDecode, MalformedResourcesAreRefusedCleanly) {
    for (const Fixture& fixture : MalformedFixtures()) {
        const Result<PalmBitmap> header = ReadPalmBitmap(fixture.bytes);
        ASSERT_FALSE(header.Ok()) << fixture.name;
        EXPECT_FALSE(header.Reason().empty()) << fixture.name;
        EXPECT_FALSE(DecodePalmBitmap(fixture.bytes).Ok()) << fixture.name;
    }
}

// The two-step read sees what the whole read sees: the same header, and the
// top-left part of the same picture, from decoding only the rows it needs.
// Every prefix is refused by each read, never read past.
TEST(PalmBitmapDecode, HeaderThenTopLeftMatchesTheWholeRead) {
    const auto compressed = Join(Version2(4), Version3(Compressed3x2(), Hex("00 00 00 0D F0 D2 00 7D 00 E0 5F D2 00")));
    for (const auto* resource : {&kTwoByOne, &compressed}) {
        const Result<PalmPicture> whole = DecodePalmBitmap(*resource);
        const Result<PalmBitmap> header = ReadPalmBitmap(*resource);
        ASSERT_TRUE(whole.Ok());
        ASSERT_TRUE(header.Ok());
        const Result<PalmPicture> part = DecodePalmBitmap(*resource, *header, 2, 1);
        ASSERT_TRUE(part.Ok());
        EXPECT_EQ(part->transparent, whole->transparent);
        EXPECT_EQ(part->hasTransparency, whole->hasTransparency);
        ASSERT_EQ(part->image.Width(), std::min(2, whole->image.Width()));
        ASSERT_EQ(part->image.Height(), 1);
        for (int x = 0; x < part->image.Width(); ++x) EXPECT_EQ(part->image.At(x, 0), whole->image.At(x, 0));
        for (std::size_t n = 0; n < resource->size(); ++n) {
            // Every prefix is refused by the header read, and a header kept
            // from the whole resource never reads past the prefix's end.
            const auto prefix = std::span(*resource).first(n);
            EXPECT_FALSE(ReadPalmBitmap(prefix).Ok()) << n;
            EXPECT_FALSE(DecodePalmBitmap(prefix).Ok()) << n;
            if (n < header->dataStart + header->dataLength) {
                EXPECT_FALSE(DecodePalmBitmap(prefix, *header, 2, 1).Ok()) << n;
            }
        }
    }
}

// A header filled by hand is checked before its pixels are walked or written.
TEST(PalmBitmapDecode, HandFilledHeadersAreCheckedBeforeUse) {
    const Result<EncodedPalmBitmap> good = EncodePalmBitmap(Image(4, 4), kPureGreen, true, 8);
    ASSERT_TRUE(good.Ok());
    const std::vector<std::uint8_t> block = testing::PalmPixelBlock(good->bytes);
    ASSERT_EQ(block.size(), 16u);
    const auto with = [&good](auto change) {
        PalmBitmap bitmap = good->bitmap;
        change(bitmap);
        return bitmap;
    };
    const struct {
        const char* defect;
        PalmBitmap bitmap;
    } cases[] = {
        {"rows shorter than the walk", with([](PalmBitmap& b) { b.rowBytes = 3; })},
        {"colour table", with([](PalmBitmap& b) { b.hasColourTable = true; })},
        {"depth 4", with([](PalmBitmap& b) { b.pixelSize = 4; })},
        {"data past the bytes", with([](PalmBitmap& b) { b.dataLength += 1; })},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(DecodePalmBitmap(good->bytes, c.bitmap).Ok()) << c.defect;
        if (c.bitmap.dataLength == good->bitmap.dataLength) {
            EXPECT_FALSE(EncodePalmPixels(c.bitmap, block).Ok()) << c.defect;
        }
    }
    EXPECT_FALSE(EncodePalmPixels(good->bitmap, std::span(block).first(15)).Ok()) << "block shorter than its rows";

    EXPECT_TRUE(DecodePalmBitmap(good->bytes, good->bitmap).Ok());
    const Result<EncodedPalmBitmap> again = EncodePalmPixels(good->bitmap, block);
    ASSERT_TRUE(again.Ok());
    EXPECT_EQ(again->bytes, good->bytes);
    // A 2 x 2 placeholder of 8 bytes; 4 rows of 4 whites compress to 12 bytes.
    EXPECT_EQ(good->bytes.size(), 16u + 8u + 24u + 12u);
}

}  // namespace
}  // namespace corvane
