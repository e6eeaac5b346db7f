// Windows and OS/2 bitmaps of every common kind, decoded by the core.
//
// Little-endian; the headers are read by ReadBmpHeader (BmpFile.h). Header
// sizes: 12 (OS/2 1.x), 16 and 64 (OS/2 2.x), 40, 52, 56, 108 and 124
// (Windows V1 to V5, with "colours used" at offset 46). Palette entries
// (blue, green, red, and a reserved byte except after the 12-byte header)
// follow the header; a palette has at most 2^bits entries, "colours used" of
// 0 meaning all of them.
// Rows are stored bottom-up (top-down when the Windows height is negative),
// each padded to 4 bytes:
//   1, 2, 4, 8 bits   palette indices, first pixel in the high bits
//   24 bits           blue, green, red
//   32 bits           blue, green, red, unused (compression 0)
//   16 and 32 bits    bit fields: see BmpFile.h
// Compression 1 (RLE8) and 2 (RLE4) are the run-length streams PictureFile.h
// describes; pixels the stream never draws are black, as in the toolkit's reader.
#pragma once

#include <climits>
#include <cstdint>
#include <span>

#include "imaging/ImageFile.h"

namespace corvane {

// The picture, or its top-left part of at most maxWidth x maxHeight, of a
// file that starts with "BM". The file is checked whole first (cut short, too
// many pixels); rows below the part are not converted.
ImageFileResult DecodeBmp(std::span<const std::uint8_t> file, int maxWidth = INT_MAX, int maxHeight = INT_MAX);

}  // namespace corvane
