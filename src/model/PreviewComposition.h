// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The two 320x320 pictures of the dial screen as the phone draws the skin:
// every button released, and every button pressed at once.
//
// Drawing order and positions (x, y) on the empty screen:
//   titlebar (0,27)  eventbar (0,57)
//   dial button at the 12 key cells of the keypad grid (see DialScreen.h)
//   scedge (0,280)  scnormal / scpressed at (2,288) and (161,288)  scarrow (150,310)
//   key labels over their buttons, in the grid's order
// Pressed: dialbuttonpressed, scpressed and the "...pressed" labels instead.
#pragma once

#include <array>
#include <vector>

#include "imaging/Depth.h"
#include "imaging/Image.h"
#include "pdb/SkinCatalogue.h"

namespace corvane {

// Draws image onto canvas with its top-left corner at (x, y), clipped at the
// canvas edges; canvas pixels under image pixels equal to the transparent
// colour keep their values.
void DrawTransparent(Image& canvas, const Image& image, int x, int y, Colour transparent);

struct ElementPicture {
    const Image* image = nullptr;
    Colour transparent = kPureGreen;
};
using ElementPictures = std::array<ElementPicture, kElementCount>;  // in catalogue index order

// One element drawn at one place; an element may be drawn at several.
struct Placement {
    Element element;
    int x;
    int y;
};

// Every drawing of the released or the pressed screen, in drawing order.
std::vector<Placement> DialScreenPlacements(bool pressed);

// Rebuilds canvas from the empty screen and the elements of one set.
void ComposePreview(Image& canvas, const Image& background, const ElementPictures& elements, bool pressed);

}  // namespace corvane

namespace corvane {

class SkinDocument;

// Rebuilds both canvases of the document from its set of the depth (the 8-bit
// set for 8, the 16-bit set for anything else).
void ComposePreviews(SkinDocument& document, Depth depth);

// Which pixels of a preview show the screen behind the skin: those no element
// covers, or covers only with its transparent colour. Row by row, one for
// each pixel of the preview.
std::vector<bool> SeeThroughPixels(const SkinDocument& document, Depth depth, bool pressed);

}  // namespace corvane
