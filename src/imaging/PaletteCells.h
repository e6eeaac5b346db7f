// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The slow half of the nearest-entry search (PalmColour.cpp): the colours
// whose nearest entry is the excluded one, which the palette's arithmetic
// cannot settle, search the few entries that can win in their cell of colour
// space. Internal to the imaging layer.
#pragma once

#include "imaging/Image.h"

namespace corvane {

// The nearest palette entry to the colour other than `excluded` (outside
// 0..255: none excluded), with the plain search's tie rule.
int NearestPaletteIndexFromCells(Colour colour, int excluded);

}  // namespace corvane
