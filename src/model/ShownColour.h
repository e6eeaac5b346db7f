// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How the editor names a colour to the user: one notation, "#RRGGBB", of the
// colour as a skin file at the depth stores it, so that a colour shows as
// the phone will show it (#F8FCF8 for white at 16 bits), whatever its way
// into the slot.
#pragma once

#include <string>
#include <string_view>

#include "imaging/Depth.h"
#include "imaging/Image.h"

namespace corvane {

// The colour as the skin file stores it: the nearest palette colour at
// depth 8, the 5-6-5 colour at 16 (any other depth).
Colour StoredColour(Colour colour, Depth depth);

// "#RRGGBB" of the colour as it is, upper-case hexadecimal.
std::string ColourHex(Colour colour);

// ColourHex of the stored colour.
inline std::string ShownColour(Colour colour, Depth depth) { return ColourHex(StoredColour(colour, depth)); }

// What the status bar says of the pixel under the pointer, such as
// "5 (102x46): 37, 12 #F8FCF8"; nothing outside the image.
std::string PixelDescription(std::string_view name, const Image& image, int x, int y, Depth depth);

}  // namespace corvane
