// Bytes as a bitmap resource: ReadFrom, ToImage, and for whatever is accepted
// a write and a second read that must give the same picture back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "imaging/PalmBitmap.h"

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PalmBitmap bitmap;
    if (!bitmap.ReadFrom(std::span<const std::uint8_t>(data, size))) return 0;
    Image image;
    Colour transparent;
    const ToImageResult result = bitmap.ToImage(image, transparent);
    if (result == ToImageResult::Rejected) return 0;

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
