// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

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

// An element's default: a packed picture, or a flat fill for the two bars.
struct Artwork {
    const PackedPicture* packed = nullptr;
    Colour flat{};
};

// A switch without default, so the compiler names a new element that has no artwork.
Artwork ArtworkOf(Element element) {
    switch (element) {
        // A pressed label starts out as its released one.
        case Element::Key0: case Element::Key0Pressed: return {&kKey0};
        case Element::Key1: case Element::Key1Pressed: return {&kKey1};
        case Element::Key2: case Element::Key2Pressed: return {&kKey2};
        case Element::Key3: case Element::Key3Pressed: return {&kKey3};
        case Element::Key4: case Element::Key4Pressed: return {&kKey4};
        case Element::Key5: case Element::Key5Pressed: return {&kKey5};
        case Element::Key6: case Element::Key6Pressed: return {&kKey6};
        case Element::Key7: case Element::Key7Pressed: return {&kKey7};
        case Element::Key8: case Element::Key8Pressed: return {&kKey8};
        case Element::Key9: case Element::Key9Pressed: return {&kKey9};
        case Element::KeyHash: case Element::KeyHashPressed: return {&kKeyHash};
        case Element::KeyStar: case Element::KeyStarPressed: return {&kKeyStar};
        case Element::DialButton: return {&kDialButton};
        case Element::DialButtonPressed: return {&kDialButtonPressed};
        case Element::SpeedDialEmpty: case Element::SpeedDialNormal: return {&kSpeedDialLight};
        case Element::SpeedDialEmptyPressed: case Element::SpeedDialPressed: return {&kSpeedDialDark};
        case Element::SpeedDialHighlighted: return {&kSpeedDialMiddle};
        case Element::SpeedDialEdge: return {&kSpeedDialEdge};
        case Element::SpeedDialArrow: return {&kSpeedDialArrow};
        case Element::TitleBar: return {nullptr, kTitleBarBlue};
        case Element::EventBar: return {nullptr, kEventBarBlue};
        case Element::Count: break;
    }
    return {};
}

}  // namespace

Image DefaultElementImage(Element element) {
    if (Index(element) >= kSkinElements.size()) return {};
    const SkinElement& info = ElementInfo(element);
    const Artwork artwork = ArtworkOf(element);
    if (artwork.packed == nullptr) return Image(info.width, info.height, artwork.flat);
    assert(artwork.packed->width == info.width && artwork.packed->height == info.height);
    return Unpack(*artwork.packed);
}

Image PreviewBackgroundImage() { return Unpack(kPreviewBackground); }

Image LogoPictureImage() { return Unpack(kLogo); }

}  // namespace corvane
