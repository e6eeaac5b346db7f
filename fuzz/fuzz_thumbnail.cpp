// File managers hand the thumbnailer whatever they list. On arbitrary bytes
// it must end, stay inside them, and give either nothing or a picture that
// fits the box it was asked for.
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/Thumbnail.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const int box = 1 + static_cast<int>(size % 320);
    const auto thumbnail = corvane::MakeThumbnail(bytes, box);
    if (thumbnail && (thumbnail->Empty() || thumbnail->Width() > box || thumbnail->Height() > box)) __builtin_trap();
    return 0;
}
