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
    // Neighbouring pixels often share a colour: remember the last answer.
    Colour last{};
    Colour lastReduced = NearestPaletteColourExcluding(last, t);
    for (Colour& c : image.Pixels()) {
        if (c == transparent) {
            c = transparentOnPhone;
        } else {
            if (!(c == last)) {
                last = c;
                lastReduced = NearestPaletteColourExcluding(c, t);
            }
            c = lastReduced;
        }
    }
    transparent = transparentOnPhone;
    return true;
}

}  // namespace corvane
