// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// File managers hand the thumbnailer whatever they list. On arbitrary bytes
// it must end, stay inside them, and give either nothing or a picture that
// fits the box it was asked for.
//
// The welcome picture is limited to the phone's 320 x 320, not the
// command's 2048 x 2048: decoding costs time in proportion to the pixels,
// and a fuzzer is worth the inputs it tries a second. Inputs larger than a
// full skin of 16-bit pictures say nothing the smaller ones do not.
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/Thumbnail.h"

namespace {

constexpr std::uint64_t kWelcomePixels = 320 * 320;
constexpr std::size_t kLargestInput = std::size_t{256} << 10;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kLargestInput) return 0;
    const std::span<const std::uint8_t> bytes(data, size);
    const int box = 1 + static_cast<int>(size % 320);
    const auto thumbnail = corvane::MakeThumbnail(bytes, box, kWelcomePixels);
    if (thumbnail && (thumbnail->Empty() || thumbnail->Width() > box || thumbnail->Height() > box)) __builtin_trap();
    return 0;
}
