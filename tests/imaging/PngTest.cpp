// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/Png.h"

#include <gtest/gtest.h>

#include <string>

#include "imaging/ImagingTestUtil.h"
#include "imaging/PictureCheckCases.h"
#include "io/ByteOrder.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::Crc32;
using testing::Hex;

// One chunk: length, type, data and the CRC of type and data.
void Chunk(BigEndianWriter& w, std::string_view type, const Bytes& body) {
    w.U32(static_cast<std::uint32_t>(body.size()));
    Bytes typed(type.begin(), type.end());
    typed.insert(typed.end(), body.begin(), body.end());
    w.Bytes(typed);
    w.U32(Crc32(typed));
}

// A PNG of the given IHDR size, with one IDAT of `data` and IEND, every CRC right.
Bytes Png(std::uint32_t width, std::uint32_t height, const Bytes& data) {
    BigEndianWriter w;
    w.Bytes(Hex("89 50 4E 47 0D 0A 1A 0A"));
    const auto chunk = [&w](std::string_view type, const Bytes& body) { Chunk(w, type, body); };
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

TEST(PngCheck, Crc32IsThePngChecksum) {
    const std::string check = "123456789";
    EXPECT_EQ(Crc32(Bytes(check.begin(), check.end())), 0xCBF43926u);
    EXPECT_EQ(Crc32(Hex("49 45 4E 44")), 0xAE426082u);  // every PNG's IEND
}

TEST(PngCheck, NamedFilesAreJudgedBeforeDecoding) {
    const Bytes png = Png(3, 2, Hex("78 9C 63 60 00 00 00 02 00 01"));
    const testing::PictureCheckCase cases[] = {
        {"png-whole", png, PictureCheck::Whole},
        {"png-without-iend", Cut(png, 12), PictureCheck::CutShort},
        {"png-cut-in-idat", Cut(png, 20), PictureCheck::CutShort},
        {"png-9000x9000", Png(9000, 9000, {}), PictureCheck::TooManyPixels},
        {"png-signature-only", Hex("89 50 4E 47 0D 0A 1A 0A"), PictureCheck::CutShort},
        {"png-without-ihdr-first", [] {
             BigEndianWriter w;
             w.Bytes(Hex("89 50 4E 47 0D 0A 1A 0A"));
             Chunk(w, "IDAT", Hex("00"));
             return w.Take();
         }(),
         PictureCheck::NotChecked},
    };
    testing::ExpectPictureChecks(cases, CheckPng);
}

// The checksums are libspng's to check: a damaged chunk anywhere, before the
// pixels, among them or behind them, refuses the file, also when only its
// first row is kept.
TEST(PngDecode, AChunkThatFailsItsChecksumRefusesTheFile) {
    const Image picture = testing::PhotoLike(40, 30, 7);
    const Bytes png = EncodePng(picture);
    ASSERT_EQ(DecodePng(png).image, picture);
    const auto withText = [&png](bool damaged) {
        BigEndianWriter w;
        w.Bytes(std::span(png).first(png.size() - 12));  // all but IEND
        Chunk(w, "tEXt", Hex("41 00 42"));
        Bytes bytes = w.Take();
        if (damaged) bytes.back() ^= 1;
        bytes.insert(bytes.end(), png.end() - 12, png.end());
        return bytes;
    };
    ASSERT_EQ(DecodePng(withText(false)).image, picture);
    const auto flipped = [&png](std::size_t at) {
        Bytes bytes = png;
        bytes[at] ^= 1;
        return bytes;
    };
    const std::pair<const char*, Bytes> damaged[] = {
        {"ihdr-crc", flipped(8 + 8 + 13)},
        {"idat-crc", flipped(png.size() - 12 - 1)},
        {"iend-crc", flipped(png.size() - 1)},
        {"ancillary-crc-behind-the-pixels", withText(true)},
    };
    for (const auto& [name, bytes] : damaged)
        for (const int rows : {1, 30}) {
            const ImageFileResult result = DecodePng(bytes, 40, rows);
            EXPECT_FALSE(result.image) << name << ", " << rows;
            EXPECT_EQ(result.problem, ImageFileProblem::BadChecksum) << name << ", " << rows;
        }
}

}  // namespace
}  // namespace corvane
