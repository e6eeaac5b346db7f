// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/ShownColour.h"

#include <cstdio>

#include "imaging/PalmColour.h"

namespace corvane {

Colour StoredColour(Colour colour, Depth depth) {
    return depth == Depth::Eight ? PaletteColour(NearestPaletteIndex(colour)) : Quantise565(colour);
}

std::string ColourHex(Colour colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour.r, colour.g, colour.b);
    return text;
}

std::string PixelDescription(std::string_view name, const Image& image, int x, int y, Depth depth) {
    if (!image.Contains(x, y)) return {};
    return std::string(name) + " (" + std::to_string(image.Width()) + "x" + std::to_string(image.Height()) +
           "): " + std::to_string(x) + ", " + std::to_string(y) + " " + ShownColour(image.At(x, y), depth);
}

}  // namespace corvane
