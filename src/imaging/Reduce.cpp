#include "imaging/Reduce.h"

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/PalmColour.h"

namespace corvane {

bool ReduceImageToDepth(Image& image, Colour& transparent, int depth) {
    if (depth == 16) {
        for (Colour& c : image.Pixels()) c = Quantise565(c);
        transparent = Quantise565(transparent);
        return true;
    }
    if (depth != 8) return false;

    std::vector<Colour>& pixels = image.Pixels();
    std::vector<std::uint8_t> nearest(pixels.size());
    const int t = PaletteIndexesOfPixels(pixels, transparent, true, nearest);
    const std::array<Colour, 256>& palette = PalmPalette();
    // Channel by channel: a whole-colour store is a checked call a pixel
    // under the address sanitizer, and skins reduce whole screens.
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const Colour& c = palette[nearest[i]];
        pixels[i].r = c.r;
        pixels[i].g = c.g;
        pixels[i].b = c.b;
    }
    transparent = PaletteColour(t);
    return true;
}

}  // namespace corvane
