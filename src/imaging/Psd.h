// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Photoshop layered pictures (".psd", version 1), the form every painting
// program reads and writes. Big-endian throughout:
//
//   header        "8BPS", version 1, 6 zero bytes, channels (u16), height,
//                 width (u32), bits per channel (u16), colour mode (u16, 3 RGB)
//   colour mode data, image resources   each a u32 length and its bytes
//   layer and mask information          u32 length, then
//     layer info  u32 length (even), layer count (i16; negative: the merged
//                 image's fourth channel is its transparency), then
//       records, bottom layer first:
//         top, left, bottom, right (i32), channel count (u16),
//         per channel its id (i16: -1 alpha, 0 red, 1 green, 2 blue,
//           -2 and below masks) and its data's length (u32),
//         "8BIM", blend mode ("norm"; "pass" for a group), opacity,
//         clipping, flags (bit 1: hidden), a zero byte,
//         extra data: u32 length, then mask data and blending ranges (each
//           a u32 length and its bytes), the name as a Pascal string padded
//           to 4, and tagged blocks "8BIM" KEY length data:
//             luni  the name in UTF-16 (u32 count, then the characters)
//             lsct  section divider: 1 or 2 opens a group (this record is the
//                   group), 3 closes it ("</Layer group>", below its layers)
//             lspf  protection flags: any set means locked
//       then every record's channels in the same order: compression (u16,
//       0 raw, 1 PackBits), and for PackBits the byte count of each row (u16)
//       followed by the packed rows
//     global layer mask info   u32 length and its bytes
//   merged image  compression (u16), then each channel's plane of the whole
//                 canvas, PackBits row counts of all channels first
//
// PackBits: a header byte n, then n + 1 literal bytes for 0 <= n <= 127, or
// one byte repeated 1 - n times for -127 <= n <= -1; -128 is skipped.
//
// Reading is bounded like every reader here (kLayeredFileLimit bytes held, or
// kLayeredMappedFileLimit mapped, of which only the sections read count,
// kLayeredPixelLimit pixels over all layers and kLayeredMemoryLimit bytes
// with the file, at most kLayeredLayerLimit records, every length checked
// before the bytes are sliced, and a layer's channel data found and long
// enough for its pixels before they are taken); 16- and 32-bit, CMYK, greyscale, indexed and other
// colour modes, large-document (PSB) files and ZIP-compressed channels are
// refused with a reason that names them.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/LayeredPicture.h"
#include "io/Result.h"

namespace corvane {

// A merged image that cannot be read is left out with a notice, and so is a
// layer whose pixels cannot be read when the caller does not take it (LayeredRead).
Result<LayeredPicture> DecodePsd(std::span<const std::uint8_t> file, const LayeredRead& read = {});

// 8 bits per channel RGB with transparency, PackBits channels, groups as
// section dividers, the names in UTF-16 as well, and the merged image.
Result<std::vector<std::uint8_t>> EncodePsd(const LayeredPicture& picture);

// One row of bytes packed, and unpacked again into exactly out.size() bytes
// (false when the packed bytes run short, overrun the row or are left over).
std::vector<std::uint8_t> PackBits(std::span<const std::uint8_t> row);
bool UnpackBits(std::span<const std::uint8_t> packed, std::span<std::uint8_t> out);

}  // namespace corvane
