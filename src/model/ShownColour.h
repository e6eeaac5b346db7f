// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How the editor names a colour to the user: one notation, "#RRGGBB", of the
// colour as a skin file at the depth stores it. A default picture enters
// unreduced and a loaded one reduced, so the same white could otherwise show
// as #FFFFFF beside #F8FCF8.
#pragma once

#include <string>
#include <string_view>

#include "imaging/Image.h"

namespace corvane {

// The colour as the skin file stores it: the nearest palette colour at
// depth 8, the 5-6-5 colour at 16 (any other depth).
Colour StoredColour(Colour colour, int depth);

// "#RRGGBB" of the colour as it is, upper-case hexadecimal.
std::string ColourHex(Colour colour);

// ColourHex of the stored colour.
inline std::string ShownColour(Colour colour, int depth) { return ColourHex(StoredColour(colour, depth)); }

// What the status bar says of the pixel under the pointer, such as
// "5 (102x46): 37, 12 #F8FCF8"; nothing outside the image.
std::string PixelDescription(std::string_view name, const Image& image, int x, int y, int depth);

}  // namespace corvane
