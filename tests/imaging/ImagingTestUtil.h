// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Small helpers shared by the imaging tests.
#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <utility>
#include <string_view>
#include <vector>

#include "imaging/Image.h"
#include "imaging/Palm.h"
#include "imaging/ScanLine.h"
#include "io/ByteOrder.h"
#include "io/ZipArchive.h"

namespace corvane::testing {

// "00 01 ff" (any whitespace or '/' between bytes) to bytes.
inline std::vector<std::uint8_t> Hex(std::string_view text) {
    std::vector<std::uint8_t> out;
    int high = -1;
    for (char ch : text) {
        int v = -1;
        if (ch >= '0' && ch <= '9') v = ch - '0';
        else if (ch >= 'a' && ch <= 'f') v = ch - 'a' + 10;
        else if (ch >= 'A' && ch <= 'F') v = ch - 'A' + 10;
        if (v < 0) continue;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<std::uint8_t>(high * 16 + v));
            high = -1;
        }
    }
    return out;
}

// The CRC-32 of PNG and zlib (polynomial 0xEDB88320, inverted in and out),
// for tests that build or mend PNG chunks.
inline std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    static constexpr std::array<std::uint32_t, 256> kTable = [] {
        std::array<std::uint32_t, 256> table{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        return table;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const std::uint8_t b : bytes) c = kTable[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

// Appends a PNG chunk of the type and data, with its length and CRC.
inline void AppendChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
    BigEndianWriter w(out);
    w.U32(static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    w.U32(Crc32(typed));
}

inline const std::vector<std::uint8_t> kPngSignature = Hex("89 50 4e 47 0d 0a 1a 0a");

// A PNG of only a header of the given size, a zlib stream of one byte and
// IEND: what a file costs that declares a size and holds nothing.
inline std::vector<std::uint8_t> PngHeaderOnly(std::uint32_t width, std::uint32_t height, std::uint8_t depth,
                                               std::uint8_t colourType, std::uint8_t interlace) {
    std::vector<std::uint8_t> out = kPngSignature, ihdr;
    BigEndianWriter w(ihdr);
    w.U32(width);
    w.U32(height);
    for (const std::uint8_t b : {depth, colourType, std::uint8_t{0}, std::uint8_t{0}, interlace}) w.U8(b);
    AppendChunk(out, "IHDR", ihdr);
    AppendChunk(out, "IDAT", Hex("78 9c 63 00 00 00 01 00 01"));
    AppendChunk(out, "IEND", {});
    return out;
}

// A zip of the entries in order, each stored, as an OpenRaster file's are.
inline std::vector<std::uint8_t> StoredZip(const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& entries) {
    std::vector<ZipFileToWrite> files;
    for (const auto& entry : entries) files.push_back({entry.first, entry.second, true});
    return *WriteZip(files);
}

// A small file and the first two pixels it decodes to, a row of a decoder's table.
template <class Pixel>
struct TwoPixelCase {
    const char* name;
    std::vector<std::uint8_t> file;
    Pixel first, second;
};

// The pixel block of a bitmap resource, as stored before compression: for
// 8 bits, the palette indexes. Empty when the resource is refused.
inline std::vector<std::uint8_t> PalmPixelBlock(std::span<const std::uint8_t> resource) {
    const auto bitmap = ReadPalmBitmap(resource);
    if (!bitmap) return {};
    const auto data = resource.subspan(bitmap->dataStart, bitmap->dataLength);
    if (!bitmap->compressed) return {data.begin(), data.end()};
    return ScanLineDecompress(data, bitmap->rowBytes, bitmap->height, 4).value_or(std::vector<std::uint8_t>{});
}

// A picture with smooth gradients and noise, like a photo: many distinct colours.
inline Image PhotoLike(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-12, 12);
    Image image(width, height);
    auto clamp = [](int v) { return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
    const int phase = static_cast<int>(seed % 97);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set(x, y,
                      Colour{clamp((x * 255) / (width > 1 ? width - 1 : 1) + noise(random)),
                             clamp((y * 255) / (height > 1 ? height - 1 : 1) + noise(random)),
                             clamp(((x + y + phase) * 7) % 256 + noise(random))});
    return image;
}

}  // namespace corvane::testing
