// Bytes -> DecodeBitFieldBmp: whatever the bytes, a refusal or a picture, never
// a read outside the input; asked for a top-left part, the same answer and
// the same pixels as the whole picture there.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/BmpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto result = corvane::DecodeBitFieldBmp(bytes);
    if (result.outcome == corvane::BitFieldBmp::Decoded && result.image.Empty()) __builtin_trap();
    const int width = size > 0 ? data[size - 1] % 8 + 1 : 1;
    const int height = size > 1 ? data[size - 2] % 8 + 1 : 1;
    const auto part = corvane::DecodeBitFieldBmp(bytes, width, height);
    if (part.outcome != result.outcome) __builtin_trap();
    if (result.outcome != corvane::BitFieldBmp::Decoded) return 0;
    if (part.image.Width() != std::min(width, result.image.Width()) ||
        part.image.Height() != std::min(height, result.image.Height()))
        __builtin_trap();
    for (int y = 0; y < part.image.Height(); ++y)
        for (int x = 0; x < part.image.Width(); ++x)
            if (!(part.image.At(x, y) == result.image.At(x, y))) __builtin_trap();
    return 0;
}
