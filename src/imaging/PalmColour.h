// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The phone's colours: the fixed 256-entry palette of 8-bit bitmaps and the
// 5-6-5 packing of 16-bit bitmaps.
//
// Palette layout (index: colour):
//   0..214   6x6x6 cube over the levels FF CC 99 66 33 00 without its last
//            entry (black); index h*108 + r*18 + b*6 + g has red L[r],
//            green L[g], blue L[3h + b].
//   215..224 greys 11 22 44 55 77 88 AA BB DD EE
//   225 CCCCCC, 226 880000, 227 880088, 228 008800, 229 008888
//   230..255 black
// Black (26 times) and CCCCCC (25 and 225) are duplicated on purpose: the
// nearest-colour rules below depend on the duplicates.
//
// Distance is the plain sum of squared channel differences, no weighting.
//
// 16-bit value: red in bits 15..11, green 10..5, blue 4..0. Packing drops the
// low bits; unpacking leaves them zero (0xFFFF is F8 FC F8, not white).
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "imaging/Image.h"

namespace corvane {

inline constexpr std::array<std::uint8_t, 6> kPalmCubeLevels{0xFF, 0xCC, 0x99, 0x66, 0x33, 0x00};
inline constexpr std::array<std::uint8_t, 10> kPalmGreys{0x11, 0x22, 0x44, 0x55, 0x77, 0x88, 0xAA, 0xBB, 0xDD, 0xEE};

// The palette as laid out above, at compile time.
inline constexpr std::array<Colour, 256> kPalmPalette = [] {
    const auto level = [](int i) { return kPalmCubeLevels[static_cast<std::size_t>(i)]; };
    std::array<Colour, 256> palette{};  // 230..255 stay black
    for (int index = 0; index < 215; ++index) {
        const int h = index / 108, r = index % 108 / 18, b = index % 18 / 6, g = index % 6;
        palette[static_cast<std::size_t>(index)] = Colour{level(r), level(g), level(3 * h + b)};
    }
    for (std::size_t i = 0; i < kPalmGreys.size(); ++i)
        palette[215 + i] = Colour{kPalmGreys[i], kPalmGreys[i], kPalmGreys[i]};
    palette[225] = Colour{0xCC, 0xCC, 0xCC};
    palette[226] = Colour{0x88, 0x00, 0x00};
    palette[227] = Colour{0x88, 0x00, 0x88};
    palette[228] = Colour{0x00, 0x88, 0x00};
    palette[229] = Colour{0x00, 0x88, 0x88};
    return palette;
}();

const std::array<Colour, 256>& PalmPalette();

// The distance of the searches: the plain sum of squared channel differences.
constexpr int SquaredDistance(Colour a, Colour b) {
    const int dr = int{a.r} - int{b.r};
    const int dg = int{a.g} - int{b.g};
    const int db = int{a.b} - int{b.b};
    return dr * dr + dg * dg + db * db;
}

// Smallest squared RGB distance over all 256 entries; the lowest index wins a tie.
int NearestPaletteIndex(Colour colour);
// The same without the excluded index; an exact match elsewhere (a duplicate)
// still wins. An excluded value outside 0..255 excludes nothing.
int NearestPaletteIndexExcluding(Colour colour, int excluded);
// Black for an index outside 0..255 (the palette's own filler colour).
Colour PaletteColour(int index);
Colour NearestPaletteColourExcluding(Colour colour, int excluded);

// The two searches above work out most answers from the palette's structure
// and the rest from a table, filled a cell at a time as colours are looked
// up, which narrows the 256 entries to the few that can win near the colour.
// This is the plain search over every entry that both must always agree with;
// tests and benchmarks compare against it.
int NearestPaletteIndexBySearch(Colour colour, int excluded);

// The 8-bit indexes of a run of pixels (a picture's), into `indexes`, which
// holds at least as many: t = NearestPaletteIndex(transparent) for the
// transparent colour where it is kept, NearestPaletteIndexExcluding(pixel, t)
// for every other pixel. Gives t.
int PaletteIndexesOfPixels(std::span<const Colour> pixels, Colour transparent, bool keepTransparent,
                           std::span<std::uint8_t> indexes);

constexpr std::uint16_t ToRgb565(Colour colour) {
    return static_cast<std::uint16_t>(((colour.r >> 3) << 11) | ((colour.g >> 2) << 5) | (colour.b >> 3));
}
constexpr Colour FromRgb565(std::uint16_t value) {
    return Colour{static_cast<std::uint8_t>((value >> 11) << 3), static_cast<std::uint8_t>(((value >> 5) & 0x3F) << 2),
                  static_cast<std::uint8_t>((value & 0x1F) << 3)};
}
constexpr Colour Quantise565(Colour colour) {
    return Colour{static_cast<std::uint8_t>(colour.r & 0xF8), static_cast<std::uint8_t>(colour.g & 0xFC),
                  static_cast<std::uint8_t>(colour.b & 0xF8)};
}

}  // namespace corvane
