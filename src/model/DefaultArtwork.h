// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The pictures built into the program: every element's default picture,
// the empty phone screen the previews are drawn on, and the product logo.
#pragma once

#include "imaging/Image.h"
#include "pdb/SkinCatalogue.h"

namespace corvane {

// The element's default picture at exactly its catalogue size.
// Key labels: grey glyphs on pure green (0, 255, 0), hard-edged.
Image DefaultElementImage(Element element);

// 320 x 320: a white phone screen with a status line at the top and the
// outlines of the two speed-dial buttons at the bottom.
Image PreviewBackgroundImage();

// 349 x 122, shown by the start dialog and the about box.
Image LogoPictureImage();

}  // namespace corvane
