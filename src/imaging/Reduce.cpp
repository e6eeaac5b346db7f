// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/Reduce.h"

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/PalmColour.h"

namespace corvane {

void ReduceImageToDepth(Image& image, Colour& transparent, Depth depth, Dither dither) {
    if (dither == Dither::Diffusion) {
        if (depth == Depth::Sixteen) {
            DiffuseTo565(image, transparent);
            transparent = Quantise565(transparent);
        } else {
            const int t = NearestPaletteIndex(transparent);
            DiffuseToPalette(image, transparent, t);
            transparent = PaletteColour(t);
        }
        return;
    }
    if (depth == Depth::Sixteen) {
        for (Colour& c : image.Pixels()) Put(c, Quantise565(c));
        transparent = Quantise565(transparent);
        return;
    }

    std::vector<Colour>& pixels = image.Pixels();
    std::vector<std::uint8_t> nearest(pixels.size());
    const int t = PaletteIndexesOfPixels(pixels, transparent, true, nearest);
    const std::array<Colour, 256>& palette = PalmPalette();
    for (std::size_t i = 0; i < pixels.size(); ++i) Put(pixels[i], palette[nearest[i]]);
    transparent = PaletteColour(t);
}

}  // namespace corvane
