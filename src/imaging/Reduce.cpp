#include "imaging/Reduce.h"

#include "imaging/PalmColour.h"

namespace corvane {

bool ReduceImageToDepth(Image& image, Colour& transparent, int depth) {
    if (depth == 16) {
        for (Colour& c : image.Pixels()) c = Quantise565(c);
        transparent = Quantise565(transparent);
        return true;
    }
    if (depth != 8) return false;

    const int t = NearestPaletteIndex(transparent);
    const Colour transparentOnPhone = PaletteColour(t);
    PaletteMatcher nearest(t);
    for (Colour& c : image.Pixels()) c = c == transparent ? transparentOnPhone : nearest.NearestColour(c);
    transparent = transparentOnPhone;
    return true;
}

}  // namespace corvane
