#include "imaging/PictureFile.h"

#include <gtest/gtest.h>

#include <string>

#include "imaging/BmpFile.h"
#include "imaging/ImagingTestUtil.h"
#include "io/ByteOrder.h"

namespace corvane {
namespace {

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

// A PNG of the given IHDR size, with one IDAT of `data` and IEND, every CRC right.
Bytes Png(std::uint32_t width, std::uint32_t height, const Bytes& data) {
    BigEndianWriter w;
    w.Bytes(Hex("89 50 4E 47 0D 0A 1A 0A"));
    const auto chunk = [&w](std::string_view type, const Bytes& body) {
        w.U32(static_cast<std::uint32_t>(body.size()));
        Bytes typed(type.begin(), type.end());
        typed.insert(typed.end(), body.begin(), body.end());
        w.Bytes(typed);
        w.U32(Crc32(typed));
    };
    BigEndianWriter ihdr;
    ihdr.U32(width);
    ihdr.U32(height);
    ihdr.Bytes(Hex("08 02 00 00 00"));
    chunk("IHDR", ihdr.Take());
    chunk("IDAT", data);
    chunk("IEND", {});
    return w.Take();
}

Bytes Cut(Bytes bytes, std::size_t n) {
    bytes.resize(bytes.size() - n);
    return bytes;
}

TEST(PictureFile, Crc32IsThePngChecksum) {
    const std::string check = "123456789";
    EXPECT_EQ(Crc32(Bytes(check.begin(), check.end())), 0xCBF43926u);
    EXPECT_EQ(Crc32(Hex("49 45 4E 44")), 0xAE426082u);  // every PNG's IEND
}

TEST(PictureFile, NamedFilesAreJudgedBeforeDecoding) {
    const Bytes rows24 = Bytes(21, 0x40);  // 3 x 2 at 24 bits: a 12-byte row, then 9 bytes
    const Bytes png = Png(3, 2, Hex("78 9C 63 60 00 00 00 02 00 01"));
    Bytes badCrc = png;
    badCrc[45] ^= 1;  // inside the IDAT data
    struct Case {
        const char* name;
        Bytes file;
        PictureCheck expected;
    };
    const Case cases[] = {
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
        {"png-whole", png, PictureCheck::Whole},
        {"png-without-iend", Cut(png, 12), PictureCheck::CutShort},
        {"png-cut-in-idat", Cut(png, 20), PictureCheck::CutShort},
        {"png-bad-idat-crc", badCrc, PictureCheck::BadChecksum},
        {"png-9000x9000", Png(9000, 9000, {}), PictureCheck::TooManyPixels},
        {"png-signature-only", Hex("89 50 4E 47 0D 0A 1A 0A"), PictureCheck::CutShort},
        {"gif", Hex("47 49 46 38 39 61 01 00 01 00"), PictureCheck::NotChecked},
    };
    for (const Case& c : cases) {
        const PictureHeader header = CheckPictureFile(c.file);
        EXPECT_EQ(header.check, c.expected) << c.name;
        if (c.expected == PictureCheck::TooManyPixels) {
            EXPECT_EQ(header.width, 9000u) << c.name;
            EXPECT_EQ(header.height, 9000u) << c.name;
        }
    }
}

}  // namespace
}  // namespace corvane
