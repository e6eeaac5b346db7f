// What a picture file promises before the toolkit decodes it: its size in
// pixels, and whether the file holds every byte its header announces. A
// picture cut short must be refused, not shown with its missing rows black.
//
// BMP, little-endian:
//   offset  size  field
//        0     2  "BM"
//       10     4  offset of the pixel data
//       14     4  header size: 12 (OS/2 1.x) or 40 and more (Windows, OS/2 2.x)
//       18   2/4  width   (16 bits in a 12-byte header, else 32 bits)
//     20/22  2/4  height  (negative in a Windows header: rows stored top-down)
//     22/26    2  planes
//     24/28    2  bits per pixel
//       30     4  compression (not in a 12-byte header): 0 none, 1 RLE8,
//                 2 RLE4, 3 and 6 bit fields
//   Uncompressed rows are padded to 4 bytes; the last row's padding may be
//   missing, its pixels may not. RLE data is a stream of two-byte commands:
//   n > 0 then a colour is a run; 00 00 ends a row, 00 01 ends the picture,
//   00 02 dx dy moves, 00 n (n >= 3) is followed by n literal pixels padded
//   to an even byte count. The picture is whole when 00 01 comes, or the
//   last row is done, before the data end.
//
// PNG, big-endian: the 8-byte signature, then chunks of length (4), type (4),
// data, CRC-32 of type and data (4). IHDR comes first (width 4, height 4);
// the file is whole when every chunk up to IEND is there with its CRC right.
//
// Other formats are left to the toolkit's reader.
#pragma once

#include <cstdint>
#include <span>

namespace corvane {

enum class PictureCheck {
    Whole,          // a BMP or PNG with all its data
    NotChecked,     // another format, or a BMP kind the toolkit refuses anyway
    TooManyPixels,  // more than kMaxPicturePixels, judged from the header alone
    CutShort,       // the data end before the header's picture does
    BadChecksum,    // a PNG chunk whose CRC does not match
};

struct PictureHeader {
    PictureCheck check = PictureCheck::NotChecked;
    std::uint64_t width = 0;  // as the header says, where it was read
    std::uint64_t height = 0;
};

// The file starts as a BMP ("BM") or a PNG (its 8-byte signature) does.
bool LooksLikeBmp(std::span<const std::uint8_t> file);
bool LooksLikePng(std::span<const std::uint8_t> file);

PictureHeader CheckPictureFile(std::span<const std::uint8_t> file);

// The CRC-32 of PNG and zlib (polynomial 0xEDB88320, inverted in and out).
std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

}  // namespace corvane
