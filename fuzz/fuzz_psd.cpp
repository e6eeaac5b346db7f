// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Bytes -> DecodePsd: whatever the bytes, a refusal or a layered picture,
// never a read outside the input nor more than the limits allow; a picture
// read is written and read again to the same layers (and read as import
// reads it, to the same layers too), and the last bytes,
// taken as a packed row, unpack to at most the row or are refused.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "imaging/Psd.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    std::vector<std::uint8_t> row(size > 0 ? data[0] : 0);
    if (corvane::UnpackBits(bytes.subspan(size > 0 ? 1 : 0), row) &&
        corvane::PackBits(row).size() > row.size() + row.size() / 128 + 1)
        __builtin_trap();

    const auto picture = corvane::DecodePsd(bytes);
    // Read as import reads it, taking one name's layer and leaving the merged
    // image unread, a picture read whole gives the same layers.
    corvane::LayeredRead import(corvane::MergedImage::Skipped);
    import.onlyLayers = std::vector<std::string_view>{"0"};
    const auto imported = corvane::DecodePsd(bytes, import);
    if (picture && (!imported || imported->layers != picture->layers)) __builtin_trap();
    if (!picture) return 0;
    // The merged image is the canvas's size, or left out with a notice.
    const bool hasMerged = picture->merged.Width() == picture->width && picture->merged.Height() == picture->height;
    if (!hasMerged && (picture->notices.empty() || !picture->merged.Empty())) __builtin_trap();
    // (The writer makes a merged image of the canvas's size when there is none.)
    const auto canvas = static_cast<std::uint64_t>(picture->width) * static_cast<std::uint64_t>(picture->height);
    if (corvane::PixelCount(picture->layers) + picture->merged.Pixels().size() + canvas > (1u << 17)) return 0;
    const auto again = corvane::EncodePsd(*picture);
    if (!again) return 0;
    const auto back = corvane::DecodePsd(*again);
    if (!back || back->layers != picture->layers || (hasMerged && back->merged != picture->merged)) __builtin_trap();
    return 0;
}
