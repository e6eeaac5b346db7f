// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Thumbnails for file managers: what a skin or splash file shows the user.
//   skin:   the dial screen with every button released, composed as the
//           editor's preview at the depth the file stores its pictures
//   splash: the welcome picture
// each shrunk with an area filter to fit a square box, never enlarged.
//
// File managers make thumbnails of every file they list, unasked: a file
// that is no skin or splash file, or one whose picture is damaged, gives no
// thumbnail rather than a made-up one, and no input costs much time or memory.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "imaging/Image.h"

namespace corvane {

// The largest welcome picture shown, width times height. The phone's own are
// 320x320; the limit keeps a progressive JPEG, whose coefficients the library
// holds for the whole picture and may visit in hundreds of scans, within
// about 25 MB and a fraction of a second.
inline constexpr std::uint64_t kMaxThumbnailJpegPixels = std::uint64_t{2048} * 2048;

// The thumbnail of a skin or splash file's bytes within box x box, or
// nothing when the bytes are neither: a skin must give at least one of its
// pictures (a database of another kind gives none), a splash file a welcome
// picture that decodes. A welcome picture of more than maxWelcomePixels is
// refused unread (a fuzzer passes less, to try more inputs a second).
std::optional<Image> MakeThumbnail(std::span<const std::uint8_t> file, int box,
                                   std::uint64_t maxWelcomePixels = kMaxThumbnailJpegPixels);

}  // namespace corvane
