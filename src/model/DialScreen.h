// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Where the keys sit on the phone's 320x320 dial screen: a grid of 3 x 4
// cells of 102 x 46 pixels whose top-left corner is at (6, 90). Each cell
// shows a dial button with a key label over it:
//
//            x 6    x 108   x 210
//   y  90    "1"    "2"     "3"
//   y 136    "4"    "5"     "6"
//   y 182    "7"    "8"     "9"
//   y 228    star   "0"     "#"
//
// With the keys pressed, each label's pressed element ("1pressed" for "1")
// stands in its place. The previews draw the keys from this grid and the
// dial-pad pictures are cut along it.
#pragma once

#include <array>

#include "pdb/SkinCatalogue.h"

namespace corvane {

inline constexpr int kKeyColumns = 3;
inline constexpr int kKeyRows = 4;
inline constexpr int kKeyCellWidth = 102;
inline constexpr int kKeyCellHeight = 46;
inline constexpr int kKeypadLeft = 6;
inline constexpr int kKeypadTop = 90;

struct KeyLabels {
    Element released;
    Element pressed;
};

// Key labels by row, then column.
inline constexpr std::array<std::array<KeyLabels, kKeyColumns>, kKeyRows> kKeypadLabels{{
    {{{Element::Key1, Element::Key1Pressed}, {Element::Key2, Element::Key2Pressed}, {Element::Key3, Element::Key3Pressed}}},
    {{{Element::Key4, Element::Key4Pressed}, {Element::Key5, Element::Key5Pressed}, {Element::Key6, Element::Key6Pressed}}},
    {{{Element::Key7, Element::Key7Pressed}, {Element::Key8, Element::Key8Pressed}, {Element::Key9, Element::Key9Pressed}}},
    {{{Element::KeyStar, Element::KeyStarPressed}, {Element::Key0, Element::Key0Pressed},
      {Element::KeyHash, Element::KeyHashPressed}}},
}};

constexpr Element KeyLabel(int row, int column, bool pressed) {
    const KeyLabels& key = kKeypadLabels[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    return pressed ? key.pressed : key.released;
}

// Calls visit(row, column, x, y) for every cell, row by row, with the cell's
// top-left corner relative to the keypad's.
template <typename Visit>
constexpr void ForEachKeyCell(Visit visit) {
    for (int row = 0; row < kKeyRows; ++row)
        for (int column = 0; column < kKeyColumns; ++column)
            visit(row, column, column * kKeyCellWidth, row * kKeyCellHeight);
}

}  // namespace corvane
