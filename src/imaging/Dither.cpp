// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/Dither.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "imaging/PalmColour.h"

namespace corvane {
namespace {

// A channel's wanted value once the carried error is added, kept within the
// channel so that the error a pixel passes on stays within one step.
std::uint8_t Wanted(std::uint8_t value, int carriedSixteenths) {
    return static_cast<std::uint8_t>(std::clamp(value + ((carriedSixteenths + 8) >> 4), 0, 255));
}

// Errors are carried in sixteenths, the weights' unit, on two rows (the one
// being reduced and the next), three channels a pixel and a pixel of margin
// on either side, so that the spread needs no test at the picture's edges.
// The serpentine order keeps the error from drifting one way across the
// picture, which would smear slanted edges.
template <class Choose>
void Diffuse(Image& image, Colour transparent, Colour reducedTransparent, Choose choose) {
    const std::size_t width = static_cast<std::size_t>(image.Width());
    if (width == 0) return;
    std::vector<int> current(3 * (width + 2)), next(3 * (width + 2));
    for (int y = 0; y < image.Height(); ++y) {
        const bool leftward = y % 2 == 1;
        Colour* row = image.Row(y);
        std::fill(next.begin(), next.end(), 0);
        for (std::size_t i = 0; i < width; ++i) {
            const std::size_t x = leftward ? width - 1 - i : i;
            Colour& pixel = row[x];
            // Whatever error reached it is dropped here: the see-through
            // pixels are exact, and no error crosses them.
            if (pixel == transparent) {
                Put(pixel, reducedTransparent);
                continue;
            }
            const std::size_t at = 3 * (x + 1);
            const std::size_t ahead = leftward ? at - 3 : at + 3;
            const std::size_t behind = leftward ? at + 3 : at - 3;
            const Colour want{Wanted(pixel.r, current[at]), Wanted(pixel.g, current[at + 1]),
                              Wanted(pixel.b, current[at + 2])};
            const Colour chosen = choose(want);
            const int error[3] = {int{want.r} - chosen.r, int{want.g} - chosen.g, int{want.b} - chosen.b};
            for (std::size_t c = 0; c < 3; ++c) {
                current[ahead + c] += 7 * error[c];
                next[behind + c] += 3 * error[c];
                next[at + c] += 5 * error[c];
                next[ahead + c] += error[c];
            }
            Put(pixel, chosen);
        }
        std::swap(current, next);
    }
}

// The nearest level of a channel kept to `bits` bits: the low bits cleared,
// as the phone stores it, rounding to the nearer level and never past the top one.
std::uint8_t NearestLevel(std::uint8_t value, int bits) {
    const int step = 1 << (8 - bits);
    const int top = 256 - step;
    return static_cast<std::uint8_t>(std::min(top, (value + step / 2) & ~(step - 1)));
}

}  // namespace

std::string_view DitherName(Dither dither) { return dither == Dither::Diffusion ? "diffusion" : "none"; }

std::optional<Dither> DitherNamed(std::string_view name) {
    for (const Dither dither : kDithers)
        if (DitherName(dither) == name) return dither;
    return std::nullopt;
}

void DiffuseToPalette(Image& image, Colour transparent, int transparentIndex) {
    const std::array<Colour, 256>& palette = PalmPalette();
    Diffuse(image, transparent, PaletteColour(transparentIndex), [&](Colour want) {
        return palette[static_cast<std::size_t>(NearestPaletteIndexExcluding(want, transparentIndex))];
    });
}

void DiffuseTo565(Image& image, Colour transparent) {
    const Colour reducedTransparent = Quantise565(transparent);
    Diffuse(image, transparent, reducedTransparent, [&](Colour want) {
        Colour chosen{NearestLevel(want.r, 5), NearestLevel(want.g, 6), NearestLevel(want.b, 5)};
        // Green has the finest steps: one of them off the see-through colour
        // is the smallest move that keeps an opaque pixel opaque.
        if (chosen == reducedTransparent) {
            const bool up = want.g > chosen.g ? chosen.g < 252 : chosen.g == 0;
            chosen.g = static_cast<std::uint8_t>(up ? chosen.g + 4 : chosen.g - 4);
        }
        return chosen;
    });
}

}  // namespace corvane
