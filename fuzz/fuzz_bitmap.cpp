// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Bytes as a bitmap resource: the whole decode must agree with the two-step
// one (header, then a top-left part), and whatever is accepted at 8 or 16
// bits, encoded again, must decode to the same picture.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "imaging/Palm.h"

using namespace corvane;

namespace {

bool SamePicture(const PalmPicture& a, const PalmPicture& b) {
    return a.image == b.image && a.transparent == b.transparent && a.hasTransparency == b.hasTransparency;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const Result<PalmBitmap> header = ReadPalmBitmap(bytes);
    const Result<PalmPicture> whole = DecodePalmBitmap(bytes);
    // The two-step read accepts exactly what the whole read accepts.
    if (header.Ok() != whole.Ok()) std::abort();
    if (!whole) return 0;
    const Image& image = whole->image;

    // Its top-left part is the whole picture's top-left part.
    const int w = image.Width() / 2 + 1;
    const int h = image.Height() / 3 + 1;
    const Result<PalmPicture> part = DecodePalmBitmap(bytes, *header, w, h);
    if (!part || !(part->transparent == whole->transparent) || part->image.Width() != std::min(w, image.Width()) ||
        part->image.Height() != std::min(h, image.Height()))
        std::abort();
    for (int y = 0; y < part->image.Height(); ++y)
        for (int x = 0; x < part->image.Width(); ++x)
            if (!(part->image.At(x, y) == image.At(x, y))) std::abort();

    // 1-bit bitmaps are read but never written.
    const int depth = header->pixelSize;
    if (depth != 8 && depth != 16) return 0;
    const Result<EncodedPalmBitmap> written = EncodePalmBitmap(image, whole->transparent, whole->hasTransparency, depth);
    if (!written) std::abort();
    const Result<PalmPicture> again = DecodePalmBitmap(written->bytes);
    // Without transparency an 8-bit pixel of the transparent colour moves to its nearest other entry.
    if (!again || (whole->hasTransparency && !SamePicture(*again, *whole))) std::abort();
    return 0;
}
