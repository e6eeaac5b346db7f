// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Bytes -> DecodeOra: whatever the archive, a refusal or a layered picture,
// never a read outside the input nor more than the limits allow; a picture
// read is written and read again to the same layers, and read as import
// reads it to the same layers too.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "imaging/Ora.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto picture = corvane::DecodeOra(std::span<const std::uint8_t>(data, size));
    // Read as import reads it, taking one name's layer and leaving the merged
    // image unread, a picture read whole gives the same layers.
    corvane::LayeredRead import(corvane::MergedImage::Skipped);
    import.onlyLayers = std::vector<std::string_view>{"0"};
    const auto imported = corvane::DecodeOra(std::span<const std::uint8_t>(data, size), import);
    if (picture && (!imported || imported->layers != picture->layers)) __builtin_trap();
    if (!picture) return 0;
    if (picture->width <= 0 || picture->height <= 0) __builtin_trap();
    // Writing again is for small pictures: the reader's limits are tried above.
    // (The writer makes a merged image of the canvas's size when there is none.)
    const auto canvas = static_cast<std::uint64_t>(picture->width) * static_cast<std::uint64_t>(picture->height);
    if (corvane::PixelCount(picture->layers) + picture->merged.Pixels().size() + canvas > (1u << 17)) return 0;
    const auto again = corvane::EncodeOra(*picture);
    if (!again) return 0;  // a name pugixml cannot write, say
    const auto back = corvane::DecodeOra(*again);
    if (!back || back->layers != picture->layers) __builtin_trap();
    return 0;
}
