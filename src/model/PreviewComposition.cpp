// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/PreviewComposition.h"

#include <algorithm>

#include "model/DialScreen.h"
#include "model/SkinDocument.h"

namespace corvane {

void DrawTransparent(Image& canvas, const Image& image, int x, int y, Colour transparent) {
    const int firstRow = std::max(0, -y), lastRow = std::min(image.Height(), canvas.Height() - y);
    const int firstCol = std::max(0, -x), lastCol = std::min(image.Width(), canvas.Width() - x);
    // Row by row, compared and stored a channel at a time: every thumbnail
    // and preview draws a whole screen of pixels, and a call or a struct copy
    // a pixel was most of the cost.
    for (int j = firstRow; j < lastRow; ++j) {
        const Colour* from = image.Row(j);
        Colour* to = canvas.Row(y + j);
        for (int i = firstCol; i < lastCol; ++i) {
            const Colour& c = from[i];
            if (c.r != transparent.r || c.g != transparent.g || c.b != transparent.b) Put(to[x + i], c);
        }
    }
}

std::vector<Placement> DialScreenPlacements(bool pressed) {
    const Element dialButton = pressed ? Element::DialButtonPressed : Element::DialButton;
    const Element speedDial = pressed ? Element::SpeedDialPressed : Element::SpeedDialNormal;
    std::vector<Placement> placements{{Element::TitleBar, 0, 27}, {Element::EventBar, 0, 57}};
    ForEachKeyCell(
        [&](int, int, int x, int y) { placements.push_back({dialButton, kKeypadLeft + x, kKeypadTop + y}); });
    placements.push_back({Element::SpeedDialEdge, 0, 280});
    placements.push_back({speedDial, 2, 288});
    placements.push_back({speedDial, 161, 288});
    placements.push_back({Element::SpeedDialArrow, 150, 310});
    ForEachKeyCell([&](int row, int column, int x, int y) {
        placements.push_back({KeyLabel(row, column, pressed), kKeypadLeft + x, kKeypadTop + y});
    });
    return placements;
}

void ComposePreview(Image& canvas, const Image& background, const ElementPictures& elements, bool pressed) {
    canvas = background;
    for (const Placement& p : DialScreenPlacements(pressed)) {
        const ElementPicture& e = elements[Index(p.element)];
        if (e.image) DrawTransparent(canvas, *e.image, p.x, p.y, e.transparent);
    }
}

namespace {

ElementPictures PicturesOf(const SkinDocument& document, Depth depth) {
    const SlotSet& set = document.Set(depth);
    ElementPictures elements{};
    for (std::size_t i = 0; i < elements.size(); ++i) elements[i] = {&set[i].Picture(), set[i].Transparent()};
    return elements;
}

}  // namespace

std::vector<bool> SeeThroughPixels(const SkinDocument& document, Depth depth, bool pressed) {
    // Composed over black and over white: a pixel that follows the screen
    // behind in both is one no element covers.
    const Image& size = document.PreviewBackground();
    const ElementPictures elements = PicturesOf(document, depth);
    Image overBlack, overWhite;
    ComposePreview(overBlack, Image(size.Width(), size.Height(), kBlack), elements, pressed);
    ComposePreview(overWhite, Image(size.Width(), size.Height(), kWhite), elements, pressed);
    std::vector<bool> seeThrough(overBlack.Pixels().size());
    for (std::size_t i = 0; i < seeThrough.size(); ++i)
        seeThrough[i] = overBlack.Pixels()[i] == kBlack && overWhite.Pixels()[i] == kWhite;
    return seeThrough;
}

void ComposePreviews(SkinDocument& document, Depth depth) {
    const ElementPictures elements = PicturesOf(document, depth);
    ComposePreview(document.ReleasedPreview(), document.PreviewBackground(), elements, false);
    ComposePreview(document.PressedPreview(), document.PreviewBackground(), elements, true);
}

}  // namespace corvane
