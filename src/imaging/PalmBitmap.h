// One bitmap resource of a skin file: a Palm OS bitmap family of a blank
// 1-bit version-2 placeholder at half size followed by the real version-3
// bitmap, double density, 8 or 16 bits per pixel.
//
// (layout table of the resource bytes goes here)
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

    static PlaceholderBitmap ForSize(int fullWidth, int fullHeight);
};

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
    bool rejected = false;  // set by ReadFrom when the resource is not in a form it accepts

    // Total resource bytes, 16 + C + 24 + D. The first call decides compression.
    std::size_t EncodedSize();
    // Appends the resource bytes.
    void WriteTo(std::vector<std::uint8_t>& out);

    // Parses one resource. False (and rejected set) when it is not accepted.
    bool ReadFrom(std::span<const std::uint8_t> bytes);
    // The picture and its transparent colour; on Rejected neither output is touched.
    ToImageResult ToImage(Image& image, Colour& transparent) const;

private:
    std::uint32_t dataSize_ = 0;  // 0: not decided yet
};

// Depth 8 or 16.
PalmBitmap EncodePalmBitmap(const Image& image, Colour transparent, bool hasTransparency, int depth);

}  // namespace corvane
