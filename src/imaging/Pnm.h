// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The netpbm formats: PBM, PGM, PPM and PAM.
//
// A header of ASCII words separated by white space ('#' starts a comment up
// to the end of the line), then the raster after exactly one white-space byte:
//   P1 / P4   width height                 bits, 1 is black; P4 packs 8 to a byte, rows padded to a byte
//   P2 / P5   width height maxval          grey samples
//   P3 / P6   width height maxval          red, green, blue samples
//   P7        lines "WIDTH w", "HEIGHT h", "DEPTH d", "MAXVAL m", "TUPLTYPE t",
//             "ENDHDR"; d samples a pixel: 1 grey (BLACKANDWHITE: 0 black,
//             1 white), 2 grey and alpha, 3 RGB, 4 RGB and alpha
// A comment may also end the header right after its last number, in place of
// the white-space byte. P1, P2, P3 write samples as decimal words; the others
// as binary samples of one byte (maxval below 256) or two, most significant
// first. maxval is 1 to 65535; a sample v becomes round(v x 255 / maxval).
// Alpha is ignored.
#pragma once

#include <climits>
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/ImageFile.h"
#include "io/ByteStream.h"

namespace corvane {

// The bytes IsPnm needs: "P", the kind and a white-space byte.
inline constexpr std::size_t kPnmSignatureSize = 3;

bool IsPnm(std::span<const std::uint8_t> file);

// The picture, or its top-left part of at most maxWidth x maxHeight. The file
// must hold every sample its header announces; bytes after them are ignored.
ImageFileResult DecodePnm(std::span<const std::uint8_t> file, int maxWidth = INT_MAX, int maxHeight = INT_MAX);

// The same, decoded as it is read: `head` holds the file's first bytes (the
// signature at least), `rest` gives the others. Only the kept part of the
// picture and a piece of the file are held at once; reading stops where the
// raster ends.
ImageFileResult DecodePnmStream(std::span<const std::uint8_t> head, ByteStream& rest, int maxWidth = INT_MAX,
                                int maxHeight = INT_MAX);

enum class PnmKind { Ppm, Pam };

// A binary PPM (P6) or a PAM of TUPLTYPE RGB, maxval 255; empty for an empty picture.
std::vector<std::uint8_t> EncodePnm(const Image& image, PnmKind kind);

}  // namespace corvane
