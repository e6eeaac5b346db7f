// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One bitmap resource of a skin file: a Palm OS bitmap family of a blank
// 1-bit version-2 placeholder at half size followed by the real version-3
// bitmap, double density, 8 or 16 bits per pixel. Big-endian throughout.
// W x H is the picture, w = W / 2 and h = H / 2 (rounded down).
//
//   offset  size  field                 written as
//   0       2     placeholder width     w
//   2       2     placeholder height    h
//   4       2     placeholder rowBytes  ceil(w / 8) rounded up to even
//   6       2     placeholder flags     0x8000 (compressed)
//   8       1     pixelSize             1
//   9       1     version               2
//   10      2     nextDepthOffset       (16 + C) / 4: 4-byte units to the next bitmap
//   12      1     transparentIndex      0
//   13      1     compressionType       0 (scan line)
//   14      2     reserved              0
//   16      C     placeholder pixels    zero block, scan-line compressed, 2-byte size field
//   P=16+C  2     width                 W
//   P+2     2     height                H
//   P+4     2     rowBytes              8 bits: W rounded up to even; 16 bits: 2W
//   P+6     1     flags                 b7 compressed, b6 hasColourTable, b5 hasTransparency,
//                                       b4 indirect, b3 forScreen, b2 directColour,
//                                       b1 indirectColourTable, b0 noDither (0)
//   P+7     1     flags, low byte       0
//   P+8     1     pixelSize             8 or 16
//   P+9     1     version               3
//   P+10    1     size                  24 (header bytes)
//   P+11    1     pixelFormat           0 indexes, 1 5-6-5
//   P+12    1     unused                0
//   P+13    1     compressionType       0 scan line, 0xFF none
//   P+14    2     density               144
//   P+16    4     transparentValue      palette index (8 bits) or 5-6-5 value (16 bits)
//   P+20    4     nextBitmapOffset      0
//   P+24    D     pixel data            scan-line compressed with a 4-byte size field
//                                       when that is smaller than the raw block, else raw
//
// Pixel block: rows top to bottom, rowBytes each. 8 bits: one palette index
// per pixel, a zero byte after a row of odd width; 16 bits: 5-6-5 values high
// byte first; 1 bit (read only): bit 7 is the leftmost pixel, set is black.
//
// Reading accepts more than writing produces: any chain of version-2 bitmaps
// in front (or none: other tools put the version-3 bitmap first), a compressed
// size that is not padded to 4, any pixelFormat or density, 1-bit bitmaps.
// It refuses a bitmap wider or taller than kMaxReadableSide.
//
// The codec reads in two steps, so that a skin file's many resources cost no
// memory until a picture is asked for: ReadPalmBitmap parses the header and
// checks that the pixel data are whole, DecodePalmBitmap converts the rows a
// top-left part needs. The encoder chooses compression as it writes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/Image.h"
#include "io/Result.h"

namespace corvane {

struct PlaceholderBitmap {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint16_t rowBytes = 0;
    std::uint16_t nextDepthOffset = 0;   // in 4-byte units from the start of the resource
    std::vector<std::uint8_t> compressed;  // all-zero block, scan-line compressed, 2-byte size field

    // Half of the full size; call only for sizes FitsPalmBitmap accepts.
    static PlaceholderBitmap ForSize(int fullWidth, int fullHeight);
};

// Bytes per row of the pixel block at a depth of 1, 8 or 16 (0 for another depth).
std::size_t PalmRowBytes(int width, int depth);

// Whether a W x H picture at a depth of 1, 8 or 16 can be written as a
// resource: the sizes and rowBytes fit their 16-bit fields and so does the
// placeholder's compressed size. The decoder refuses what fails it too, so
// everything read can be written back.
bool FitsPalmBitmap(int width, int height, int depth);

// No skin picture is larger than the phone's 320 x 320 screen; a few kilobytes
// of scan-line data could otherwise unfold into gigabytes of pixels.
inline constexpr int kMaxReadableSide = 4096;

// The version-3 bitmap of a resource, as its header says, and where its
// pixel data lie.
struct PalmBitmap {
    bool compressed = false;
    bool hasColourTable = false;
    bool hasTransparency = false;
    bool indirect = false;
    bool forScreen = false;
    bool directColour = false;
    bool indirectColourTable = false;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint16_t rowBytes = 0;
    std::uint8_t pixelSize = 0;
    std::uint8_t version = 3;
    std::uint8_t size = 24;
    std::uint8_t pixelFormat = 0;
    std::uint8_t unused = 0;
    std::uint8_t compressionType = 0;
    std::uint16_t density = 144;
    std::uint32_t transparentValue = 0;
    std::uint32_t nextBitmapOffset = 0;
    // From the start of the resource: the raw block, or the compressed bytes
    // with their 4-byte size field.
    std::size_t dataStart = 0;
    std::size_t dataLength = 0;

    friend bool operator==(const PalmBitmap&, const PalmBitmap&) = default;
};

// What a bitmap shows.
struct PalmPicture {
    Image image;
    Colour transparent;  // given whether or not the bitmap uses it
    bool hasTransparency = false;
    // The 8-bit pixels of the picture stored with another palette index than
    // the transparent one but showing its colour (the palette repeats some
    // colours): a picture file cannot keep them apart from the see-through ones.
    int opaqueInTransparentColour = 0;
};

// Parses one resource from its first byte to the end of the available data
// (trailing bytes are ignored) and checks that its pixel data are whole,
// without decoding them.
Result<PalmBitmap> ReadPalmBitmap(std::span<const std::uint8_t> resource);

// The top-left part, at most maxWidth x maxHeight, of the bitmap that
// ReadPalmBitmap found in the same bytes; decodes no more rows than the part
// needs.
Result<PalmPicture> DecodePalmBitmap(std::span<const std::uint8_t> resource, const PalmBitmap& bitmap,
                                     int maxWidth = kMaxReadableSide, int maxHeight = kMaxReadableSide);

// The whole picture of a resource: ReadPalmBitmap, then DecodePalmBitmap.
Result<PalmPicture> DecodePalmBitmap(std::span<const std::uint8_t> resource);

struct EncodedPalmBitmap {
    PalmBitmap bitmap;                // the header written, as ReadPalmBitmap would give it
    std::vector<std::uint8_t> bytes;  // the resource
};

// The resource of a pixel block (rows of the header's rowBytes, top to
// bottom) under the header's fields; the compression and the data's place
// are chosen here, whatever the header said of them. Refused for a header the
// reader would refuse (a colour table, a depth other than 1, 8 or 16, sizes
// out of range, rows shorter than the pixel walk) or a block short of its rows.
Result<EncodedPalmBitmap> EncodePalmPixels(PalmBitmap bitmap, std::span<const std::uint8_t> block);

// The resource of a picture at depth 8 or 16: the pixels are stored
// scan-line compressed when that is smaller than the raw block. Refused for
// another depth or a picture that FitsPalmBitmap refuses; skin pictures
// always fit.
Result<EncodedPalmBitmap> EncodePalmBitmap(const Image& image, Colour transparent, bool hasTransparency, int depth);

}  // namespace corvane
