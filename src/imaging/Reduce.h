// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reducing a picture to what the phone can show at a depth, as every picture
// entering an image slot is reduced.
//
// Depth 8: t = NearestPaletteIndex(transparent); pixels equal to the
// transparent colour become PaletteColour(t), every other pixel
// NearestPaletteColourExcluding(pixel, t); then the transparent colour
// becomes PaletteColour(t).
// Depth 16: every pixel and then the transparent colour become Quantise565.
// With Dither::Diffusion the opaque pixels are diffused instead (Dither.h);
// the transparent colour and its pixels are reduced as above.
#pragma once

#include "imaging/Depth.h"
#include "imaging/Dither.h"
#include "imaging/Image.h"

namespace corvane {

void ReduceImageToDepth(Image& image, Colour& transparent, Depth depth, Dither dither = Dither::None);

}  // namespace corvane
