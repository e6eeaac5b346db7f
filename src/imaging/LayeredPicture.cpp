// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/LayeredPicture.h"

namespace corvane {

const Layer* FindLayer(const std::vector<Layer>& layers, std::string_view name) {
    for (const Layer& layer : layers) {
        if (!layer.group && layer.name == name) return &layer;
        if (const Layer* found = FindLayer(layer.children, name)) return found;
    }
    return nullptr;
}

std::uint64_t PixelCount(const std::vector<Layer>& layers) {
    std::uint64_t n = 0;
    for (const Layer& layer : layers) n += layer.pixels.Pixels().size() + PixelCount(layer.children);
    return n;
}

}  // namespace corvane
