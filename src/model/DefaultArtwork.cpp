// The built-in pictures are drawn once, by hand, with tools/artwork, and kept
// here as data: the command-line tool and the tests need them without a
// display, and fonts differ between machines.
//
// Packed picture, one per file in model/artwork/:
//
//   palette   0xRRGGBB colours, in order of first appearance
//   runs      (length, palette index) pairs, row by row from the top;
//             a run never crosses the end of a row
//
// The artwork has few colours and long flat stretches, so this stays small
// and a redrawn picture shows in a diff as the rows it changed.
#include "model/DefaultArtwork.h"

#include "pdb/SkinCatalogue.h"

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>

namespace corvane {
namespace {

struct PackedPicture {
    int width;
    int height;
    std::span<const std::uint32_t> palette;
    std::span<const std::uint16_t> runs;
};

#include "model/artwork/DialButton.inc"
#include "model/artwork/DialButtonPressed.inc"
#include "model/artwork/Key0.inc"
#include "model/artwork/Key1.inc"
#include "model/artwork/Key2.inc"
#include "model/artwork/Key3.inc"
#include "model/artwork/Key4.inc"
#include "model/artwork/Key5.inc"
#include "model/artwork/Key6.inc"
#include "model/artwork/Key7.inc"
#include "model/artwork/Key8.inc"
#include "model/artwork/Key9.inc"
#include "model/artwork/KeyHash.inc"
#include "model/artwork/KeyStar.inc"
#include "model/artwork/Logo.inc"
#include "model/artwork/PreviewBackground.inc"
#include "model/artwork/SpeedDialArrow.inc"
#include "model/artwork/SpeedDialDark.inc"
#include "model/artwork/SpeedDialEdge.inc"
#include "model/artwork/SpeedDialLight.inc"
#include "model/artwork/SpeedDialMiddle.inc"

// Binding colours of the two bars: plain fills, nothing to draw.
constexpr Colour kTitleBarBlue{153, 204, 255};
constexpr Colour kEventBarBlue{184, 216, 255};

// Key labels in index order: "0".."9", "#", star. A pressed label starts out
// as its released one.
constexpr const PackedPicture* kKeyLabels[12] = {
    &kKey0, &kKey1, &kKey2, &kKey3, &kKey4, &kKey5, &kKey6, &kKey7, &kKey8, &kKey9, &kKeyHash, &kKeyStar,
};

Colour FromRgb(std::uint32_t rgb) {
    return Colour{static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                  static_cast<std::uint8_t>(rgb)};
}

Image Unpack(const PackedPicture& packed) {
    Image image(packed.width, packed.height);
    auto& pixels = image.Pixels();
    std::size_t at = 0;
    for (std::size_t i = 0; i + 1 < packed.runs.size(); i += 2) {
        const std::size_t length = packed.runs[i];
        const std::size_t index = packed.runs[i + 1];
        assert(index < packed.palette.size() && length <= pixels.size() - at);
        if (index >= packed.palette.size() || length > pixels.size() - at) break;
        std::fill_n(pixels.begin() + static_cast<std::ptrdiff_t>(at), length, FromRgb(packed.palette[index]));
        at += length;
    }
    assert(at == pixels.size());
    return image;
}

const PackedPicture* PackedElement(int index) {
    if (index >= 0 && index < 24) return kKeyLabels[index % 12];
    switch (index) {
        case 24: return &kDialButton;
        case 25: return &kDialButtonPressed;
        case 26:  // "scempty"
        case 29:  // "scnormal"
            return &kSpeedDialLight;
        case 27:  // "scemptypressed"
        case 30:  // "scpressed"
            return &kSpeedDialDark;
        case 28: return &kSpeedDialMiddle;
        case 31: return &kSpeedDialEdge;
        case 32: return &kSpeedDialArrow;
        default: return nullptr;
    }
}

}  // namespace

Image DefaultElementImage(int index) {
    const SkinElement* element = ElementByIndex(index);
    if (element == nullptr) return {};
    if (element->name == "titlebar") return Image(element->width, element->height, kTitleBarBlue);
    if (element->name == "eventbar") return Image(element->width, element->height, kEventBarBlue);
    const PackedPicture* packed = PackedElement(index);
    assert(packed != nullptr && packed->width == element->width && packed->height == element->height);
    return packed != nullptr ? Unpack(*packed) : Image(element->width, element->height);
}

Image PreviewBackgroundImage() { return Unpack(kPreviewBackground); }

Image LogoPictureImage() { return Unpack(kLogo); }

}  // namespace corvane
