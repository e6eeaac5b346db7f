// Windows bitmap (".bmp") files: the writer for the program's own pictures,
// and the reader for the one kind of BMP the toolkit's reader gets wrong.
//
// Written file (all numbers little-endian), for a W x H picture:
//   offset size  field
//        0    2  "BM"
//        2    4  file size, 54 + S
//        6    4  reserved, 0
//       10    4  offset of the pixel data, 54
//       14    4  header size, 40
//       18    4  width W
//       22    4  height H, positive: rows stored bottom-up
//       26    2  planes, 1
//       28    2  bits per pixel, 32
//       30    4  compression, 0 (uncompressed RGB)
//       34    4  image size S = 4 x W x H
//       38    8  horizontal and vertical resolution, 0
//       46    4  colours used, 0 (no colour table)
//       50    4  important colours, 0
//       54    S  pixels, bottom row first, each pixel blue, green, red, 0
// 32-bit rows are always a multiple of 4 bytes, so they carry no padding.
//
// Bit-field files: 16-bit pixels without compression (5-5-5, top bit unused),
// and 16- or 32-bit pixels with compression 3 (BI_BITFIELDS) or 6
// (BI_ALPHABITFIELDS), whose red, green and blue masks follow the 40-byte
// header or sit inside the larger V2 to V5 headers at offset 54. A channel of
// n bits is scaled to 8 bits as round(v x 255 / (2^n - 1)), so a 16-bit
// white is white and not F8 FC F8; the alpha mask is ignored.
#pragma once

#include <climits>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/Image.h"

namespace corvane {

// The file bytes of the layout above; empty for an empty picture or one whose
// file would pass the format's 4 GB limit.
std::vector<std::uint8_t> EncodeBmp(const Image& image);

// Writes EncodeBmp's bytes through WriteFileReplacing, so a failed write
// leaves any previous file untouched. False when EncodeBmp gives nothing or the write failed.
bool WriteBmpFile(const Image& image, const std::string& path);

enum class BitFieldBmp {
    NotBitFields,  // some other kind of file (or of BMP): another reader's job
    Decoded,
    Refused,       // a bit-field BMP, or a BMP too broken to tell, that cannot be read
};

struct BitFieldBmpResult {
    BitFieldBmp outcome = BitFieldBmp::NotBitFields;
    Image image;  // set when Decoded
};

// The picture, or its top-left part of at most maxWidth x maxHeight; a file
// is checked whole whatever part of it is decoded.
BitFieldBmpResult DecodeBitFieldBmp(std::span<const std::uint8_t> file, int maxWidth = INT_MAX, int maxHeight = INT_MAX);

}  // namespace corvane
