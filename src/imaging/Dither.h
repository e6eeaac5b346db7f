// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// How a picture is reduced to the phone's colours: each pixel to its nearest
// colour (None, exact and the default), or with error diffusion, which
// carries what each pixel lost to its neighbours so that photographs and
// gradients keep their tones instead of breaking into flat bands.
//
// Diffusion is Floyd-Steinberg's (7/16 ahead, 3/16, 5/16 and 1/16 on the
// next row), along the rows in alternating directions. Pixels of the
// transparent colour are set apart: they become the transparent colour's
// reduction and neither take nor pass any error, and no other pixel lands on
// that colour. A picture already in the phone's colours comes out unchanged.
// Parsed once where a name comes in (the tool's option, a setting).
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "imaging/Image.h"

namespace corvane {

enum class Dither { None, Diffusion };

inline constexpr std::array<Dither, 2> kDithers{Dither::None, Dither::Diffusion};

// "none", "diffusion": the tool's option values and the settings' words.
std::string_view DitherName(Dither dither);
std::optional<Dither> DitherNamed(std::string_view name);

// The diffusion loops of ReduceImageToDepth (Reduce.h), which hands them the
// transparent colour as it came in. At 8 bits every opaque pixel takes a
// palette entry other than `transparentIndex`; at 16 bits the nearest 5-6-5
// colour other than the transparent colour's.
void DiffuseToPalette(Image& image, Colour transparent, int transparentIndex);
void DiffuseTo565(Image& image, Colour transparent);

}  // namespace corvane
