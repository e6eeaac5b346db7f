// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// JPEG pictures, through libjpeg-turbo: its TurboJPEG interface for whole
// pictures, its libjpeg interface for a part.
//
// Big-endian markers FF xx: SOI (FF D8) first, then segments of a marker and
// a two-byte length (which counts itself); a SOFn segment gives precision,
// height (2), width (2) and the components; after SOS the entropy-coded data
// run up to the next marker that is not FF 00 or a restart; EOI (FF D9) ends
// the picture.
//
// A warning of the library (data that end early, a corrupt stream) stops
// decoding and refuses the file: a picture is shown whole or not at all, not
// with grey rows. No EXIF rotation is applied: pixels come as stored. CMYK
// and YCCK pictures are brought to RGB with Adobe's inverted inks.
//
// The memory a decode takes is judged from the frame header first (the
// decoded picture, and for a progressive one every block's coefficients
// until its last scan) and a picture that would pass kDecodeMemoryLimit is
// refused before it is decoded. When only a top-left part is kept, a
// baseline picture is decoded a scanline at a time and only as wide as the
// part (with a margin that keeps its pixels those of the whole decode), and
// is judged without the whole picture's pixels; a progressive one, whose
// scans are all decoded before its first row, is judged as if whole. The
// rows below the part are still read through to the file's end, without
// their transforms and colours, so that a file cut or damaged anywhere is
// refused whatever part is kept.
#pragma once

#include <climits>
#include <cstdint>
#include <span>

#include "imaging/ImageFile.h"

namespace corvane {

bool IsJpeg(std::span<const std::uint8_t> file);

// The picture, or its top-left part of at most maxWidth x maxHeight.
ImageFileResult DecodeJpeg(std::span<const std::uint8_t> file, int maxWidth = INT_MAX, int maxHeight = INT_MAX);

// The whole picture, decoded at the smallest of the library's scales 1/8,
// 1/4, 1/2 and 1 that keeps its longer side at least minLongerSide pixels
// (or at full size when it is shorter): the library then leaves out most of
// the inverse transforms and the memory of the larger picture. A picture of
// more than maxPixels at full size is refused as TooManyPixels before
// decoding. The width and height of the result are those of the full picture.
ImageFileResult DecodeJpegReduced(std::span<const std::uint8_t> file, int minLongerSide, std::uint64_t maxPixels);

}  // namespace corvane
