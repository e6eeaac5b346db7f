// Bytes -> DecodeBitFieldBmp: whatever the bytes, a refusal or a picture, never
// a read outside the input.
#include <cstddef>
#include <cstdint>
#include <span>

#include "exchange/BmpFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto result = corvane::DecodeBitFieldBmp(std::span<const std::uint8_t>(data, size));
    if (result.outcome == corvane::BitFieldBmp::Decoded && result.image.Empty()) __builtin_trap();
    return 0;
}
