// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Writing BMP files: 32 bits a pixel, bottom-up, no compression.
#include "imaging/Bmp.h"
#include "imaging/BmpFormat.h"
#include "io/ByteOrder.h"
#include "io/FileAccess.h"
#include "io/Result.h"

namespace corvane {

using namespace bmp;

std::vector<std::uint8_t> EncodeBmp(const Image& image) {
    if (image.Empty()) return {};
    const auto width = static_cast<std::uint32_t>(image.Width());
    const auto height = static_cast<std::uint32_t>(image.Height());
    // The file size field has 32 bits.
    if (std::uint64_t{4} * width * height > 0xFFFFFFFFu - kPixelDataOffset) return {};
    const std::uint32_t imageSize = 4 * width * height;

    std::vector<std::uint8_t> out;
    out.reserve(kPixelDataOffset + imageSize);
    LittleEndianWriter w(out);
    w.U8('B');
    w.U8('M');
    w.U32(kPixelDataOffset + imageSize);
    w.U32(0);  // reserved
    w.U32(kPixelDataOffset);

    w.U32(kInfoHeaderSize);
    w.U32(width);
    w.U32(height);
    w.U16(1);   // planes
    w.U16(32);  // bits per pixel
    w.U32(kRgb);
    w.U32(imageSize);
    w.Zeros(16);  // resolutions, colours used, important colours

    for (int y = image.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.Width(); ++x) {
            const Colour c = image.At(x, y);
            w.U8(c.b);
            w.U8(c.g);
            w.U8(c.r);
            w.U8(0);
        }
    }
    return out;
}

Status WriteBmpFile(const Image& image, const std::string& path) {
    const auto bytes = EncodeBmp(image);
    if (bytes.empty()) return Fail("a picture with no pixels, or too large for a BMP file");
    if (const WriteResult written = WriteFileWithReason(path, bytes); !written.Ok()) return Fail(written.Reason());
    return {};
}

}  // namespace corvane
