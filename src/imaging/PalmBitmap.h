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
//   P+6     1     flags                 b7 compressed, b6 hasColorTable, b5 hasTransparency,
//                                       b4 indirect, b3 forScreen, b2 directColor,
//                                       b1 indirectColorTable, b0 noDither (0)
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
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/Image.h"

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

enum class ToImageResult { Rejected = 0, Transparent = 1, Opaque = 2 };

class PalmBitmap {
public:
    // Header of the version-3 bitmap.
    bool compressed = false;
    bool hasColorTable = false;
    bool hasTransparency = false;
    bool indirect = false;
    bool forScreen = false;
    bool directColor = false;
    bool indirectColorTable = false;
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

    std::vector<std::uint8_t> pixels;  // height x rowBytes, uncompressed, rows top to bottom
    PlaceholderBitmap placeholder;
    // Set by ReadFrom when the resource is not in a form it accepts, and by
    // EncodePalmBitmap for a picture that does not fit; such a bitmap has no
    // picture, an EncodedSize of 0, and WriteTo writes nothing.
    bool rejected = false;

    // Total resource bytes, 16 + C + 24 + D. The first call decides whether
    // the pixels are stored compressed (and sets compressed and
    // compressionType); later calls return the same value. 0 for a rejected
    // bitmap, and for one filled by hand that the decoder would refuse (a
    // colour table, sizes out of range, rows shorter than the pixel walk, a
    // pixel block short of height x rowBytes, no placeholder).
    std::size_t EncodedSize();
    // Appends the resource bytes, deciding first if EncodedSize was not
    // called; nothing where EncodedSize is 0. The family written holds exactly these two bitmaps, so size is
    // written as 24 and nextBitmapOffset as 0 whatever the fields hold.
    void WriteTo(std::vector<std::uint8_t>& out);

    // Parses one resource from its first byte to the end of the available
    // data (trailing bytes are ignored). False, with rejected set and every
    // other field at its default, when it is not accepted.
    bool ReadFrom(std::span<const std::uint8_t> bytes);
    // The picture and its transparent colour; on Rejected (a rejected bitmap,
    // or one filled by hand that the decoder would refuse) neither output is
    // touched.
    ToImageResult ToImage(Image& image, Colour& transparent) const;
    // ToImage of the top-left part, at most maxWidth x maxHeight.
    ToImageResult ToImage(Image& image, Colour& transparent, int maxWidth, int maxHeight) const;

    // ReadFrom in two steps, for readers of files whose many resources would
    // not fit in memory together. ReadHeaderFrom accepts exactly what ReadFrom
    // accepts and fills the same fields, but only checks that the pixel data
    // are complete: pixels stays empty (so EncodedSize is 0). DecodeTopLeft,
    // given the same bytes again, is ToImage of the top-left part of at most
    // maxWidth x maxHeight, and decodes no more rows than that part needs.
    bool ReadHeaderFrom(std::span<const std::uint8_t> bytes);
    // It also counts, where asked, the 8-bit pixels of that part stored with
    // another palette index than the transparent one but showing its colour
    // (the palette repeats some colours): a picture file cannot keep them
    // apart from the see-through ones.
    ToImageResult DecodeTopLeft(std::span<const std::uint8_t> bytes, int maxWidth, int maxHeight, Image& image,
                                Colour& transparent, int* opaqueInTransparentColour = nullptr) const;

private:
    bool decided_ = false;
    std::size_t dataSize_ = 0;
    // Where ReadHeaderFrom found the pixel data: the raw block, or the
    // compressed bytes with their size field.
    std::size_t dataStart_ = 0;
    std::size_t dataLength_ = 0;
    bool headerOnly_ = false;
};

// Depth 8 or 16. The result is rejected for another depth or a picture that
// FitsPalmBitmap refuses; skin pictures always fit.
PalmBitmap EncodePalmBitmap(const Image& image, Colour transparent, bool hasTransparency, int depth);

}  // namespace corvane
