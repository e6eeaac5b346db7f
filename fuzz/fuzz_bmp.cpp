// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Bytes -> DecodeBitFieldBmp: whatever the bytes, a refusal or a picture, never
// a read outside the input; asked for a top-left part, the same answer and
// the same pixels as the whole picture there.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/Bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto result = corvane::DecodeBitFieldBmp(bytes);
    if (result && result->image && result->image->Empty()) __builtin_trap();
    const int width = size > 0 ? data[size - 1] % 8 + 1 : 1;
    const int height = size > 1 ? data[size - 2] % 8 + 1 : 1;
    const auto part = corvane::DecodeBitFieldBmp(bytes, width, height);
    if (part.has_value() != result.has_value()) __builtin_trap();
    if (!result) return 0;
    if (part->image.has_value() != result->image.has_value()) __builtin_trap();
    if (!result->image) return 0;
    const corvane::Image& whole = *result->image;
    const corvane::Image& top = *part->image;
    if (top.Width() != std::min(width, whole.Width()) || top.Height() != std::min(height, whole.Height()))
        __builtin_trap();
    for (int y = 0; y < top.Height(); ++y)
        for (int x = 0; x < top.Width(); ++x)
            if (!(top.At(x, y) == whole.At(x, y))) __builtin_trap();
    return 0;
}
