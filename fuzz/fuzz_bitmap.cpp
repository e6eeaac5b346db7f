// Bytes as a bitmap resource: ReadFrom, ToImage, and for whatever is accepted
// a write and a second read that must give the same picture back; the
// two-step read (header, then a top-left part) must agree with the whole one.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <span>
#include <vector>

#include "imaging/PalmBitmap.h"

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    PalmBitmap bitmap;
    PalmBitmap header;
    const bool read = bitmap.ReadFrom(bytes);
    // The two-step read accepts exactly what the whole read accepts.
    if (header.ReadHeaderFrom(bytes) != read) std::abort();
    if (!read) return 0;
    Image image;
    Colour transparent;
    const ToImageResult result = bitmap.ToImage(image, transparent);
    if (result == ToImageResult::Rejected) return 0;

    // Its top-left part is the whole picture's top-left part.
    Image part;
    Colour partTransparent;
    const int w = image.Width() / 2 + 1;
    const int h = image.Height() / 3 + 1;
    if (header.DecodeTopLeft(bytes, w, h, part, partTransparent) != result || !(partTransparent == transparent) ||
        part.Width() != std::min(w, image.Width()) || part.Height() != std::min(h, image.Height()))
        std::abort();
    for (int y = 0; y < part.Height(); ++y)
        for (int x = 0; x < part.Width(); ++x)
            if (!(part.At(x, y) == image.At(x, y))) std::abort();

    std::vector<std::uint8_t> written;
    bitmap.WriteTo(written);
    if (written.size() != bitmap.EncodedSize()) std::abort();
    PalmBitmap again;
    if (!again.ReadFrom(written)) std::abort();
    Image image2;
    Colour transparent2;
    if (again.ToImage(image2, transparent2) != result || !(image2 == image) || !(transparent2 == transparent))
        std::abort();
    return 0;
}
