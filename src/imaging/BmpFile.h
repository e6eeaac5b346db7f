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
// Read files: the 14-byte file header ("BM", size, reserved, offset of the
// pixel data at 10), then an info header whose size says its kind: 12 for
// OS/2 1.x (16-bit width, height, planes, bits per pixel), 40 or more for
// Windows and OS/2 2.x (32-bit width and height, a negative height for rows
// stored top-down, planes, bits per pixel, compression at 30: 0 none, 1 RLE8,
// 2 RLE4, 3 and 6 bit fields).
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

inline constexpr std::uint32_t kBmpFileHeaderSize = 14;
inline constexpr std::uint32_t kBmpOs2HeaderSize = 12;
inline constexpr std::uint32_t kBmpRgb = 0, kBmpRle8 = 1, kBmpRle4 = 2, kBmpBitFields = 3, kBmpAlphaBitFields = 6;

struct BmpHeader {
    std::uint32_t pixelOffset = 0;
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: rows stored top-down
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = kBmpRgb;
};

enum class BmpHeaderRead {
    NotBmp,         // no "BM"
    NoHeaderSize,   // cut short before the info header's size
    UnknownHeader,  // an info header of a size no reader knows
    CutShort,       // cut short inside the info header's fields
    Read,
};

// The headers up to the compression; what was read stays in `header` whatever the outcome.
BmpHeaderRead ReadBmpHeader(std::span<const std::uint8_t> file, BmpHeader& header);

// The bytes that uncompressed rows need from the pixel offset on: rows are
// padded to 4 bytes, and only the last row's padding may be missing.
std::uint64_t BmpPixelBytesNeeded(std::uint64_t width, std::uint64_t height, std::uint64_t bitsPerPixel);

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
