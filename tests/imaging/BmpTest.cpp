// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/Bmp.h"

#include <gtest/gtest.h>

#include <limits>

#include "imaging/ImagingTestUtil.h"
#include "imaging/PictureCheckCases.h"
#include "io/ByteOrder.h"
#include "io/FileAccess.h"
#include "support/FailingWrites.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using testing::FileSizeLimit;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    LittleEndianReader in(bytes);
    in.Seek(offset);
    return in.U32();
}
std::uint16_t U16At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    LittleEndianReader in(bytes);
    in.Seek(offset);
    return in.U16();
}

// ---- writer -------------------------------------------------------------------

TEST(BmpWriter, HeaderFieldsFollowTheLayout) {
    const auto bytes = EncodeBmp(Image(3, 2));
    const std::uint32_t imageSize = 3 * 2 * 4;
    ASSERT_EQ(bytes.size(), 54 + imageSize);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(U32At(bytes, 2), 54 + imageSize);
    EXPECT_EQ(U32At(bytes, 6), 0u);   // both reserved fields
    EXPECT_EQ(U32At(bytes, 10), 54u);
    EXPECT_EQ(U32At(bytes, 14), 40u);
    EXPECT_EQ(U32At(bytes, 18), 3u);
    EXPECT_EQ(U32At(bytes, 22), 2u);  // positive: bottom-up
    EXPECT_EQ(U16At(bytes, 26), 1u);
    EXPECT_EQ(U16At(bytes, 28), 32u);
    EXPECT_EQ(U32At(bytes, 30), 0u);
    EXPECT_EQ(U32At(bytes, 34), imageSize);
    for (std::size_t offset : {38u, 42u, 46u, 50u}) EXPECT_EQ(U32At(bytes, offset), 0u) << offset;
}

TEST(BmpWriter, PixelsAreBlueGreenRedZeroBottomRowFirst) {
    Image image(2, 2);
    image.Set(0, 0, Colour{1, 2, 3});
    image.Set(1, 0, Colour{4, 5, 6});
    image.Set(0, 1, Colour{7, 8, 9});
    image.Set(1, 1, Colour{10, 11, 12});
    const auto bytes = EncodeBmp(image);
    const std::vector<std::uint8_t> pixels(bytes.begin() + 54, bytes.end());
    EXPECT_EQ(pixels, (std::vector<std::uint8_t>{9, 8, 7, 0, 12, 11, 10, 0, 3, 2, 1, 0, 6, 5, 4, 0}));
}

TEST(BmpWriter, OddWidthRowsNeedNoPadding) {
    // 4-byte pixels: rows of any width are a multiple of 4 bytes.
    for (int width : {1, 3, 5, 47}) {
        const auto bytes = EncodeBmp(Image(width, 3));
        EXPECT_EQ(bytes.size(), 54u + 4u * static_cast<unsigned>(width) * 3u);
        EXPECT_EQ(U32At(bytes, 34), 4u * static_cast<unsigned>(width) * 3u);
    }
}

TEST(BmpWriter, EmptyPictureIsNotWritten) {
    TempDir dir;
    EXPECT_TRUE(EncodeBmp(Image()).empty());
    const Status written = WriteBmpFile(Image(), dir.File("e.bmp"));
    ASSERT_FALSE(written.Ok());
    EXPECT_EQ(written.Reason(), "a picture with no pixels, or too large for a BMP file");
    EXPECT_FALSE(FileExists(dir.File("e.bmp")));
}

TEST(BmpWriter, WritesTheEncodedBytesAndKeepsTheOldFileOnFailure) {
    CORVANE_SKIP_IN_WEBASSEMBLY("no file size limits in WebAssembly");
    TempDir dir;
    const auto path = dir.File("a.bmp");
    const Image picture(4, 4, Colour{9, 99, 199});
    ASSERT_TRUE(WriteBmpFile(picture, path));
    EXPECT_EQ(ReadBytes(path), EncodeBmp(picture));

    // The reasons are the system's, from a disk that takes no more bytes and a folder that is not there.
    const struct {
        std::string path;
        std::uint64_t sizeLimit;
        const char* reason;
    } kFailures[] = {{path, 0, "File too large"}, {dir.File("no/such/folder.bmp"), 1 << 20, "No such file or directory"}};
    for (const auto& [target, sizeLimit, reason] : kFailures) {
        Status written;
        {
            const FileSizeLimit limit(sizeLimit);
            written = WriteBmpFile(Image(2, 2), target);
        }
        ASSERT_FALSE(written.Ok()) << target;
        EXPECT_EQ(written.Reason(), reason);
    }
    EXPECT_EQ(ReadBytes(path), EncodeBmp(picture));
}

// ---- the check before decoding ------------------------------------------------

using Bytes = std::vector<std::uint8_t>;
using testing::Hex;

// A BMP with a 40-byte header (or the 12-byte OS/2 one) and the data right behind it.
Bytes Bmp(std::int32_t width, std::int32_t height, std::uint16_t bits, std::uint32_t compression, const Bytes& data,
          bool os2 = false) {
    Bytes out;
    LittleEndianWriter w(out);
    w.U8('B');
    w.U8('M');
    w.U32(0);
    w.U32(0);
    w.U32(os2 ? 26 : 54);
    w.U32(os2 ? 12 : 40);
    if (os2) {
        w.U16(static_cast<std::uint16_t>(width));
        w.U16(static_cast<std::uint16_t>(height));
    } else {
        w.I32(width);
        w.I32(height);
    }
    w.U16(1);
    w.U16(bits);
    if (!os2) {
        w.U32(compression);
        for (int i = 0; i < 5; ++i) w.U32(0);
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Bytes Cut(Bytes bytes, std::size_t n) {
    bytes.resize(bytes.size() - n);
    return bytes;
}

TEST(BmpCheck, NamedFilesAreJudgedBeforeDecoding) {
    const Bytes rows24 = Bytes(21, 0x40);  // 3 x 2 at 24 bits: a 12-byte row, then 9 bytes
    const testing::PictureCheckCase cases[] = {
        {"bmp-32bit-whole", EncodeBmp(Image(3, 2)), PictureCheck::Whole},
        {"bmp-32bit-one-byte-short", Cut(EncodeBmp(Image(3, 2)), 1), PictureCheck::CutShort},
        {"bmp-24bit-last-padding-missing", Bmp(3, 2, 24, 0, rows24), PictureCheck::Whole},
        {"bmp-24bit-last-pixel-missing", Bmp(3, 2, 24, 0, Cut(rows24, 1)), PictureCheck::CutShort},
        {"bmp-24bit-top-down", Bmp(3, -2, 24, 0, rows24), PictureCheck::Whole},
        {"bmp-1bit-whole", Bmp(9, 3, 1, 0, Bytes(10, 0)), PictureCheck::Whole},
        {"bmp-1bit-short", Bmp(9, 3, 1, 0, Bytes(9, 0)), PictureCheck::CutShort},
        {"bmp-os2-whole", Bmp(2, 2, 24, 0, Bytes(14, 0), true), PictureCheck::Whole},
        {"bmp-os2-short", Bmp(2, 2, 24, 0, Bytes(13, 0), true), PictureCheck::CutShort},
        {"bmp-header-cut", Cut(Bmp(2, 2, 24, 0, {}), 30), PictureCheck::CutShort},
        {"bmp-rle8-whole", Bmp(2, 2, 8, 1, Hex("02 05 00 00 02 06 00 01")), PictureCheck::Whole},
        {"bmp-rle8-without-end-marker", Bmp(2, 2, 8, 1, Hex("02 05 00 00 02 06")), PictureCheck::Whole},
        {"bmp-rle8-second-row-missing", Bmp(2, 2, 8, 1, Hex("02 05 00 00")), PictureCheck::CutShort},
        {"bmp-rle8-literal-past-end", Bmp(4, 1, 8, 1, Hex("00 04 01 02")), PictureCheck::CutShort},
        {"bmp-rle4-delta-to-the-end", Bmp(4, 4, 4, 2, Hex("00 02 00 04")), PictureCheck::Whole},
        {"bmp-jpeg-compression", Bmp(2, 2, 24, 4, {}), PictureCheck::NotChecked},
        {"bmp-9000x9000", Bmp(9000, 9000, 24, 0, {}), PictureCheck::TooManyPixels},
        {"bmp-8192x8192", Bmp(8192, 8192, 24, 0, {}), PictureCheck::CutShort},
        {"gif", Hex("47 49 46 38 39 61 01 00 01 00"), PictureCheck::NotChecked},
    };
    testing::ExpectPictureChecks(cases, CheckBmp);
}

// ---- bit-field reader ---------------------------------------------------------

struct BitFieldFile {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bitsPerPixel = 16;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> masks;  // after the 40-byte header, or inside a larger one
    std::vector<std::uint32_t> pixels;  // row by row as stored, each row padded here
    std::int64_t pixelOffset = -1;      // -1: right after the headers

    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> out;
        LittleEndianWriter w(out);
        const std::uint32_t maskBytes = headerSize == 40 ? 4 * static_cast<std::uint32_t>(masks.size()) : 0;
        const std::uint32_t offset =
            pixelOffset >= 0 ? static_cast<std::uint32_t>(pixelOffset) : 14 + headerSize + maskBytes;
        w.U8('B');
        w.U8('M');
        w.U32(0);  // file size: readers ignore it
        w.U32(0);
        w.U32(offset);
        w.U32(headerSize);
        w.I32(width);
        w.I32(height);
        w.U16(1);
        w.U16(bitsPerPixel);
        w.U32(compression);
        w.Zeros(20);
        for (const auto m : masks) w.U32(m);
        if (out.size() < 14 + headerSize) w.Zeros(14 + headerSize - out.size());
        if (out.size() < offset && offset < 4096) w.Zeros(offset - out.size());
        const std::size_t perRow = static_cast<std::size_t>(width < 1 ? 1 : width);
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            if (bitsPerPixel == 16)
                w.U16(static_cast<std::uint16_t>(pixels[i]));
            else
                w.U32(pixels[i]);
            if ((i + 1) % perRow == 0)
                while (out.size() % 4 != offset % 4) w.U8(0);
        }
        return out;
    }
};

// What the bit-field reader made of a file: none of its business, a picture or a refusal.
enum class BitFieldBmp { NotBitFields, Decoded, Refused };

BitFieldBmp KindOf(const std::optional<ImageFileResult>& result) {
    if (!result) return BitFieldBmp::NotBitFields;
    return result->image ? BitFieldBmp::Decoded : BitFieldBmp::Refused;
}

Image Decoded(const BitFieldFile& file) {
    const auto result = DecodeBitFieldBmp(file.Bytes());
    EXPECT_EQ(KindOf(result), BitFieldBmp::Decoded);
    return result && result->image ? *result->image : Image();
}

// Channels are scaled, not shifted: level v of an n-bit channel is round(v x 255 / (2^n - 1)).
TEST(BitFieldBmp, ChannelsAreScaledFromTheirMasks) {
    const std::vector<std::uint32_t> blueOnTop = {0x001F, 0x07E0, 0xF800};
    const struct {
        const char* name;
        BitFieldFile file;
        std::vector<Colour> row;
    } cases[] = {
        // White, the levels 3 (round(24.68)) and 16 (round(131.61)) of every channel, and black.
        {"5-5-5", {.width = 4, .masks = {}, .pixels = {0x7FFF, 0x0C63, 0x4210, 0x0000}},
         {kWhite, {25, 25, 25}, {132, 132, 132}, kBlack}},
        // White, green level 32 (round(129.52)), red level 1 (round(8.23)).
        {"5-6-5", {.width = 3, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}, .pixels = {0xFFFF, 32u << 5, 1u << 11}},
         {kWhite, {0, 130, 0}, {8, 0, 0}}},
        // The top two bits unused: 1023 is 255, 512 is round(127.62), 1 is round(0.25).
        {"10-10-10", {.width = 2, .bitsPerPixel = 32, .compression = 3, .masks = {0x3FF00000, 0x000FFC00, 0x000003FF},
                      .pixels = {0xFFFFFFFF, (512u << 20) | (1u << 10) | 1023u}},
         {kWhite, {128, 0, 255}}},
        // A channel without a mask is 0; a 1-bit channel is 0 or 255.
        {"1-bit-and-absent", {.width = 2, .bitsPerPixel = 32, .compression = 3, .masks = {0x1, 0x0, 0x80000000},
                              .pixels = {0x80000001, 0x7FFFFFFE}},
         {{255, 0, 255}, kBlack}},
        // Masks inside larger headers.
        {"header-52", {.headerSize = 52, .compression = 3, .masks = blueOnTop, .pixels = {0x001F}}, {{255, 0, 0}}},
        {"header-56", {.headerSize = 56, .compression = 3, .masks = blueOnTop, .pixels = {0x001F}}, {{255, 0, 0}}},
        {"header-108", {.headerSize = 108, .compression = 3, .masks = blueOnTop, .pixels = {0x001F}}, {{255, 0, 0}}},
        {"header-124", {.headerSize = 124, .compression = 3, .masks = blueOnTop, .pixels = {0x001F}}, {{255, 0, 0}}},
        {"alpha-ignored", {.bitsPerPixel = 32, .compression = 6, .masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
                           .pixels = {0x00102030}},
         {{0x10, 0x20, 0x30}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Image image = Decoded(c.file);
        ASSERT_EQ(image.Width(), static_cast<int>(c.row.size()));
        for (std::size_t x = 0; x < c.row.size(); ++x) EXPECT_EQ(image.At(static_cast<int>(x), 0), c.row[x]) << x;
    }
}

TEST(BitFieldBmp, RowOrderFollowsTheSignOfTheHeight) {
    BitFieldFile file;
    file.width = 3;  // 6-byte rows, padded to 8
    file.height = 2;
    file.pixels = {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x0000, 0x7FFF};
    const Image bottomUp = Decoded(file);
    ASSERT_EQ(bottomUp.Height(), 2);
    EXPECT_EQ(bottomUp.At(0, 1), (Colour{255, 0, 0}));
    EXPECT_EQ(bottomUp.At(2, 1), (Colour{0, 0, 255}));
    EXPECT_EQ(bottomUp.At(1, 0), kBlack);

    file.height = -2;
    const Image topDown = Decoded(file);
    ASSERT_EQ(topDown.Height(), 2);
    EXPECT_EQ(topDown.At(0, 0), (Colour{255, 0, 0}));
    EXPECT_EQ(topDown.At(1, 1), kBlack);
}

// Asking for the top-left part decodes the top rows, whichever way they are stored.
TEST(BitFieldBmp, TopLeftPartIsTheTopRowsInEitherOrder) {
    BitFieldFile file;
    file.width = 3;
    file.height = 2;
    file.pixels = {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x0000, 0x7FFF};
    for (const std::int32_t height : {2, -2}) {
        file.height = height;
        const Image whole = Decoded(file);
        const auto part = DecodeBitFieldBmp(file.Bytes(), 2, 1);
        ASSERT_EQ(KindOf(part), BitFieldBmp::Decoded);
        ASSERT_EQ(part->image->Width(), 2);
        ASSERT_EQ(part->image->Height(), 1);
        EXPECT_EQ(part->image->At(0, 0), whole.At(0, 0)) << height;
        EXPECT_EQ(part->image->At(1, 0), whole.At(1, 0)) << height;
    }
    // The part is no excuse for a file cut short.
    auto cut = file.Bytes();
    cut.resize(cut.size() - 4);
    EXPECT_EQ(KindOf(DecodeBitFieldBmp(cut, 1, 1)), BitFieldBmp::Refused);
}

TEST(BitFieldBmp, LastRowMayLackItsPadding) {
    BitFieldFile file;
    file.width = 1;
    file.pixels = {0x7FFF};
    auto bytes = file.Bytes();
    bytes.resize(bytes.size() - 2);
    const auto result = DecodeBitFieldBmp(bytes);
    ASSERT_EQ(KindOf(result), BitFieldBmp::Decoded);
    EXPECT_EQ(result->image->At(0, 0), kWhite);
}

TEST(BitFieldBmp, OtherFilesAreLeftToTheGeneralReader) {
    BitFieldFile rgb24;
    rgb24.bitsPerPixel = 24;
    BitFieldFile rgb32;
    rgb32.bitsPerPixel = 32;
    BitFieldFile os2;  // OS/2 2.x numbers compression 3 as Huffman coding
    os2.headerSize = 64;
    os2.compression = 3;
    BitFieldFile rle8;
    rle8.bitsPerPixel = 8;
    rle8.compression = 1;
    const std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    for (const auto& bytes : {rgb24.Bytes(), rgb32.Bytes(), os2.Bytes(), rle8.Bytes(), png, EncodeBmp(Image(2, 2)),
                              std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{'B'}})
        EXPECT_EQ(KindOf(DecodeBitFieldBmp(bytes)), BitFieldBmp::NotBitFields);
}

// Each fixture is named after its defect and must be refused.
TEST(BitFieldBmp, MalformedFilesAreRefused) {
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> fixtures;
    const auto add = [&](const std::string& name, BitFieldFile file) { fixtures.emplace_back(name, file.Bytes()); };
    BitFieldFile good;
    good.width = 2;
    good.height = 2;
    good.pixels = {1, 2, 3, 4};
    ASSERT_EQ(KindOf(DecodeBitFieldBmp(good.Bytes())), BitFieldBmp::Decoded);

    fixtures.emplace_back("cut-in-file-header", std::vector<std::uint8_t>{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54});
    {
        auto bytes = good.Bytes();
        bytes.resize(30);
        fixtures.emplace_back("cut-in-info-header", bytes);
        bytes = good.Bytes();
        bytes.resize(bytes.size() - 3);
        fixtures.emplace_back("pixels-cut-short", bytes);
    }
    {
        BitFieldFile f = good;
        f.compression = 3;
        auto bytes = f.Bytes();
        bytes.resize(60);
        fixtures.emplace_back("cut-in-masks", bytes);
    }
    {
        BitFieldFile f = good;
        f.pixels.clear();
        add("no-pixels", f);
        f = good;
        f.pixelOffset = 40;
        add("offset-inside-header", f);
        f = good;
        f.pixelOffset = 0xFFFFFFF0;
        add("offset-past-end", f);
        f = good;
        f.width = 0;
        add("zero-width", f);
        f = good;
        f.width = -2;
        add("negative-width", f);
        f = good;
        f.height = 0;
        add("zero-height", f);
        f = good;
        f.height = std::numeric_limits<std::int32_t>::min();
        add("most-negative-height", f);
        f = good;
        f.width = 0x7FFFFFFF;
        f.height = 0x7FFFFFFF;
        add("absurd-size", f);
        f = good;
        f.width = 40000;
        f.height = 40000;
        add("too-many-pixels", f);
        f = good;
        f.compression = 3;
        f.masks = {0xF00F, 0x0F00, 0x00F0};
        add("mask-with-holes", f);
        f.masks = {0x1F0000, 0x07E0, 0x001F};
        add("mask-beyond-16-bits", f);
        f = good;
        f.bitsPerPixel = 24;
        f.compression = 3;
        f.masks = {0xFF0000, 0xFF00, 0xFF};
        add("bit-fields-at-24-bits", f);
        f.bitsPerPixel = 8;
        add("bit-fields-at-8-bits", f);
        f = good;
        f.compression = 6;
        f.masks = {0x7C00, 0x03E0, 0x001F, 0x8000};
        f.pixelOffset = 14 + 40 + 12;
        add("offset-inside-alpha-mask", f);
    }
    for (const auto& [name, bytes] : fixtures)
        EXPECT_EQ(KindOf(DecodeBitFieldBmp(bytes)), BitFieldBmp::Refused) << name;
}

TEST(BmpDecode, PixelsThatWouldStartInsideTheHeadersAreRefused) {
    struct Case {
        const char* name;
        std::uint32_t offset;
        bool decoded;
    };
    const Case cases[] = {
        {"bmp-pixel-offset-zero", 0, false},
        {"bmp-pixel-offset-in-file-header", 10, false},
        {"bmp-pixel-offset-in-info-header", 40, false},
        {"bmp-pixel-offset-after-headers", 54, true},
    };
    for (const Case& c : cases) {
        // One red and one green pixel at 24 bits, then the row's padding.
        Bytes file = Bmp(2, 1, 24, 0, Hex("0000ff 00ff00 0000"));
        for (int i = 0; i < 4; ++i) file[10 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c.offset >> (8 * i));
        const ImageFileResult result = DecodeBmp(file);
        EXPECT_EQ(result.image.has_value(), c.decoded) << c.name;
        if (!c.decoded) {
            EXPECT_EQ(result.problem, ImageFileProblem::NotAPicture) << c.name;
            continue;
        }
        ASSERT_TRUE(result.image) << c.name;
        EXPECT_EQ(result.image->At(0, 0), (Colour{255, 0, 0})) << c.name;
        EXPECT_EQ(result.image->At(1, 0), (Colour{0, 255, 0})) << c.name;
    }
}

}  // namespace
}  // namespace corvane
