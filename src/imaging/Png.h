// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// PNG pictures, through libspng.
//
// Big-endian: an 8-byte signature 89 'P' 'N' 'G' 0D 0A 1A 0A, then chunks of
// length (4), type (4), data, CRC-32 of type and data (4). IHDR comes first
// (width, height, bit depth, colour type, interlace); IDAT chunks hold the
// zlib stream of filtered rows; IEND ends the file. The file is whole when
// every chunk up to IEND is there; libspng checks every chunk's CRC, the
// ancillary ones too, so a damaged file is refused whatever part is kept.
//
// Decoding keeps the colour of every pixel as stored whatever its alpha (the
// alpha of a picture has never been used), applies no gamma, and brings
// 16-bit channels to 8 bits as round(v / 257). The encoder writes 8-bit RGB
// without interlacing, the form every reader takes.
#pragma once

#include <climits>
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/ImageFile.h"
#include "imaging/LayeredPicture.h"
#include "io/Result.h"

namespace corvane {

// The file starts with the PNG signature.
bool IsPng(std::span<const std::uint8_t> file);

// Whether every chunk up to IEND is there (their CRCs are left to the
// decoder), and the size IHDR gives.
PictureHeader CheckPng(std::span<const std::uint8_t> file);

// The picture, or its top-left part of at most maxWidth x maxHeight. The
// chunks are checked whole first (cut short); rows below the part are decoded
// but not kept, so that every checksum is checked. Refused as too large to
// decode, before any row is allocated, when the file, the rows its header
// announces and the part kept would pass kDecodeMemoryLimit, or when a text,
// profile or EXIF chunk inflates past a few megabytes.
ImageFileResult DecodePng(std::span<const std::uint8_t> file, int maxWidth = INT_MAX, int maxHeight = INT_MAX);

// How hard the encoder tries: Smallest is zlib's usual level, Fastest its
// first, for pictures that are made often and kept briefly (thumbnails), where
// a noisy megapixel costs a quarter of the time.
enum class PngEffort { Smallest, Fastest };

// The PNG file of the picture; empty for an empty picture.
std::vector<std::uint8_t> EncodePng(const Image& image, PngEffort effort = PngEffort::Smallest);

// A layer's pixels with their alpha, for the layered formats. Grey and
// palette layers are brought to 8-bit RGBA; a 16-bit layer only when every
// sample is an 8-bit value widened (v * 257), so the conversion is exact, and
// is refused otherwise. tRNS is honoured: a palette's alpha entries and a
// grey or RGB colour key make their pixels see-through. The working memory
// and the picture's pixels are taken from the budget before they are
// decoded, and every chunk's CRC and the pixel stream's checksum are checked
// as for a picture file.
Result<RgbaImage> DecodePngRgba(std::span<const std::uint8_t> file, PixelBudget& budget);

// The PNG file of the pixels as 8-bit RGBA; empty for an empty picture.
std::vector<std::uint8_t> EncodePngRgba(const RgbaImage& image);


}  // namespace corvane
