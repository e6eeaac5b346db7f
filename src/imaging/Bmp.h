// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Windows and OS/2 bitmaps (".bmp"): the core's reader of every common kind,
// and the writer of the program's own pictures. Little-endian throughout.
//
// File header, 14 bytes:
//   offset  size  field
//        0     2  "BM"
//        2     4  file size
//        6     4  reserved
//       10     4  offset of the pixel data, past the two headers (an
//                 offset inside them, 0 among them, is refused)
// Info header, from offset 14; its size says its kind:
//       14     4  size: 12 (OS/2 1.x), 16 and 64 (OS/2 2.x), 40, 52, 56, 108
//                 and 124 (Windows V1 to V5)
//       18   2/4  width   (16 bits in a 12-byte header, else 32 bits)
//     20/22  2/4  height  (negative in a Windows header: rows stored top-down)
//     22/26    2  planes, 1
//     24/28    2  bits per pixel
//       30     4  compression (not in a 12-byte header): 0 none, 1 RLE8,
//                 2 RLE4, 3 bit fields, 6 bit fields with alpha
//       46     4  colours used (0: all 2^bits)
// Palette entries (blue, green, red, and a reserved byte except after the
// 12-byte header) follow the info header.
//
// Rows are stored bottom-up (top-down when the Windows height is negative),
// each padded to 4 bytes; the last row's padding may be missing, its pixels
// may not:
//   1, 2, 4, 8 bits   palette indices, first pixel in the high bits
//   24 bits           blue, green, red
//   32 bits           blue, green, red, unused (compression 0)
//   16 bits           5-5-5, top bit unused (compression 0)
//   16 and 32 bits    bit fields (compression 3 or 6): red, green and blue
//                     masks follow the 40-byte header or sit inside the
//                     larger V2 to V5 headers at offset 54. A channel of n
//                     bits is scaled to 8 as round(v x 255 / (2^n - 1)), so a
//                     16-bit white is white and not F8 FC F8; alpha is ignored.
// RLE data (compressions 1 and 2) are two-byte commands: n > 0 then a colour
// is a run; 00 00 ends a row, 00 01 ends the picture, 00 02 dx dy moves, 00 n
// (n >= 3) is followed by n literal pixels padded to an even byte count. The
// picture is whole when 00 01 comes, or the last row is done, before the data
// end; pixels the stream never draws are black, as in the toolkit's reader.
//
// Written file, for a W x H picture: the 14-byte file header (offset 54), a
// 40-byte info header (W, H positive: bottom-up, 1 plane, 32 bits, compression
// 0, image size S = 4 x W x H, resolutions, colours used and important
// colours 0), then the rows, each pixel blue, green, red, 0. 32-bit rows
// always take a multiple of 4 bytes, so they carry no padding.
#pragma once

#include <climits>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "imaging/ImageFile.h"
#include "io/Result.h"

namespace corvane {

// The file starts with "BM".
bool IsBmp(std::span<const std::uint8_t> file);

// Whether the file holds every byte its headers announce, and the size they give.
PictureHeader CheckBmp(std::span<const std::uint8_t> file);

// The picture, or its top-left part of at most maxWidth x maxHeight. The file
// is checked whole first (cut short, too many pixels); rows below the part
// are not converted.
ImageFileResult DecodeBmp(std::span<const std::uint8_t> file, int maxWidth = INT_MAX, int maxHeight = INT_MAX);

// The bit-field kinds alone (16-bit 5-5-5 and compressions 3 and 6), which
// the toolkit's reader shifts where it should scale. Nothing for another kind
// of file; the refusal for a bit-field file that cannot be read.
std::optional<ImageFileResult> DecodeBitFieldBmp(std::span<const std::uint8_t> file, int maxWidth = INT_MAX,
                                                 int maxHeight = INT_MAX);

// The file bytes of the written layout above; empty for an empty picture or
// one whose file would pass the format's 4 GB limit.
std::vector<std::uint8_t> EncodeBmp(const Image& image);

// Writes EncodeBmp's bytes through the checked whole-file write, so a failed
// write leaves any previous file untouched; the problem when EncodeBmp gives
// nothing or the write failed, with the system's reason.
Status WriteBmpFile(const Image& image, const std::string& path);

}  // namespace corvane
