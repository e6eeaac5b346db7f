// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Shrinking a picture for a thumbnail with an area (box) filter: every new
// pixel is the mean of the old pixels it covers, each weighted by how much of
// it lies under the new one, so thin lines fade instead of vanishing or
// flickering as they would when pixels are merely picked.
#pragma once

#include "imaging/Image.h"

namespace corvane {

struct PictureSize {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(const PictureSize&, const PictureSize&) = default;
};

// The size of a picture of width x height brought within box x box with its
// proportions kept (the shorter side rounded, at least 1), or its own size
// when it fits already: a thumbnail is never enlarged.
PictureSize FitWithin(int width, int height, int box);

// The picture at width x height, each channel the area-weighted mean of the
// pixels under the new pixel, rounded. Meant for shrinking; an empty
// picture or size gives an empty picture.
Image ShrinkByArea(const Image& image, int width, int height);

}  // namespace corvane
