#include "imaging/BmpFile.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdlib>

#include "imaging/ImageFile.h"
#include "imaging/PictureFile.h"
#include "io/ByteOrder.h"
#include "io/FileAccess.h"

namespace corvane {
namespace {

constexpr std::uint32_t kFileHeaderSize = kBmpFileHeaderSize;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPixelDataOffset = kFileHeaderSize + kInfoHeaderSize;

constexpr std::uint32_t kCompressionNone = kBmpRgb;
constexpr std::uint32_t kCompressionBitFields = kBmpBitFields;
constexpr std::uint32_t kCompressionAlphaBitFields = kBmpAlphaBitFields;

// Where one colour channel sits in a pixel value, and how to bring it to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t max = 0;  // 2^n - 1 for an n-bit channel; 0 for a channel that is absent

    static std::optional<Channel> FromMask(std::uint32_t mask) {
        Channel c;
        c.mask = mask;
        if (mask == 0) return c;
        c.shift = std::countr_zero(mask);
        const std::uint32_t field = mask >> c.shift;
        // A field with holes in it is no channel any writer produces.
        if ((field & (field + 1)) != 0) return std::nullopt;
        c.max = field;
        return c;
    }

    std::uint8_t Expand(std::uint32_t pixel) const {
        if (max == 0) return 0;
        const std::uint64_t v = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>((v * 510 + max) / (2 * max));
    }
};

struct BitFieldLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: rows stored top-down
    int bitsPerPixel = 0;
    std::uint32_t pixelOffset = 0;
    Channel red, green, blue;
};

bool IsWindowsInfoHeader(std::uint32_t headerSize) {
    // BITMAPINFOHEADER, its V2 and V3 extensions, BITMAPV4HEADER and BITMAPV5HEADER.
    // The OS/2 headers number their compressions differently and have no bit fields.
    return headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124;
}

// Reads the headers. NotBitFields for anything the toolkit's reader should have instead.
BitFieldBmp ReadBitFieldLayout(std::span<const std::uint8_t> file, BitFieldLayout& layout) {
    BmpHeader header;
    const BmpHeaderRead read = ReadBmpHeader(file, header);
    if (read == BmpHeaderRead::NotBmp) return BitFieldBmp::NotBitFields;
    if (read == BmpHeaderRead::NoHeaderSize) return BitFieldBmp::Refused;
    const std::uint32_t headerSize = header.headerSize;
    if (!IsWindowsInfoHeader(headerSize)) return BitFieldBmp::NotBitFields;
    if (read != BmpHeaderRead::Read) return BitFieldBmp::Refused;
    layout.pixelOffset = header.pixelOffset;
    layout.width = header.width;
    layout.height = header.height;
    layout.bitsPerPixel = static_cast<int>(header.bitsPerPixel);
    const std::uint32_t compression = header.compression;
    LittleEndianReader in(file);

    const bool bitFieldCompression =
        compression == kCompressionBitFields || compression == kCompressionAlphaBitFields;
    const bool plain16 = compression == kCompressionNone && layout.bitsPerPixel == 16;
    if (!bitFieldCompression && !plain16) return BitFieldBmp::NotBitFields;
    if (layout.bitsPerPixel != 16 && layout.bitsPerPixel != 32) return BitFieldBmp::Refused;

    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    std::uint32_t headersEnd = kFileHeaderSize + headerSize;
    if (bitFieldCompression) {
        in.Seek(kFileHeaderSize + kInfoHeaderSize);
        for (auto& mask : masks) mask = in.U32();
        if (!in.Ok()) return BitFieldBmp::Refused;
        // With the 40-byte header the masks follow it; the larger headers hold them.
        if (headerSize == kInfoHeaderSize) headersEnd += compression == kCompressionBitFields ? 12 : 16;
    }
    const std::uint64_t pixelBits = std::uint64_t{1} << layout.bitsPerPixel;
    const auto red = Channel::FromMask(masks[0]);
    const auto green = Channel::FromMask(masks[1]);
    const auto blue = Channel::FromMask(masks[2]);
    if (!red || !green || !blue) return BitFieldBmp::Refused;
    for (const auto mask : masks)
        if (mask >= pixelBits) return BitFieldBmp::Refused;
    layout.red = *red;
    layout.green = *green;
    layout.blue = *blue;

    if (layout.width <= 0 || layout.height == 0) return BitFieldBmp::Refused;
    if (layout.pixelOffset < headersEnd) return BitFieldBmp::Refused;
    return BitFieldBmp::Decoded;
}

}  // namespace

BmpHeaderRead ReadBmpHeader(std::span<const std::uint8_t> file, BmpHeader& header) {
    if (!LooksLikeBmp(file)) return BmpHeaderRead::NotBmp;
    LittleEndianReader in(file);
    in.Skip(10);
    header.pixelOffset = in.U32();
    header.headerSize = in.U32();
    if (!in.Ok()) return BmpHeaderRead::NoHeaderSize;
    if (header.headerSize == kBmpOs2HeaderSize) {
        header.width = in.U16();
        header.height = in.U16();
        header.planes = in.U16();
        header.bitsPerPixel = in.U16();
    } else if (header.headerSize >= 40) {
        header.width = in.I32();
        header.height = in.I32();
        header.planes = in.U16();
        header.bitsPerPixel = in.U16();
        header.compression = in.U32();
    } else {
        return BmpHeaderRead::UnknownHeader;
    }
    return in.Ok() ? BmpHeaderRead::Read : BmpHeaderRead::CutShort;
}

std::uint64_t BmpPixelBytesNeeded(std::uint64_t width, std::uint64_t height, std::uint64_t bitsPerPixel) {
    const std::uint64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return rowBytes * (height - 1) + (width * bitsPerPixel + 7) / 8;
}

std::vector<std::uint8_t> EncodeBmp(const Image& image) {
    if (image.Empty()) return {};
    const auto width = static_cast<std::uint32_t>(image.Width());
    const auto height = static_cast<std::uint32_t>(image.Height());
    // The file size field has 32 bits.
    if (std::uint64_t{4} * width * height > 0xFFFFFFFFu - kPixelDataOffset) return {};
    const std::uint32_t imageSize = 4 * width * height;

    std::vector<std::uint8_t> out;
    out.reserve(kPixelDataOffset + imageSize);
    LittleEndianWriter w(out);
    w.U8('B');
    w.U8('M');
    w.U32(kPixelDataOffset + imageSize);
    w.U16(0);
    w.U16(0);
    w.U32(kPixelDataOffset);

    w.U32(kInfoHeaderSize);
    w.U32(width);
    w.U32(height);
    w.U16(1);   // planes
    w.U16(32);  // bits per pixel
    w.U32(kCompressionNone);
    w.U32(imageSize);
    w.U32(0);  // horizontal resolution
    w.U32(0);  // vertical resolution
    w.U32(0);  // colours used
    w.U32(0);  // important colours

    for (int y = image.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.Width(); ++x) {
            const Colour c = image.At(x, y);
            w.U8(c.b);
            w.U8(c.g);
            w.U8(c.r);
            w.U8(0);
        }
    }
    return out;
}

bool WriteBmpFile(const Image& image, const std::string& path) {
    const auto bytes = EncodeBmp(image);
    if (bytes.empty()) return false;
    return WriteFileReplacing(path, bytes) == WriteOutcome::Ok;
}

BitFieldBmpResult DecodeBitFieldBmp(std::span<const std::uint8_t> file, int maxWidth, int maxHeight) {
    BitFieldLayout layout;
    const BitFieldBmp kind = ReadBitFieldLayout(file, layout);
    if (kind != BitFieldBmp::Decoded) return {kind, {}};

    const bool topDown = layout.height < 0;
    const std::uint64_t width = static_cast<std::uint64_t>(layout.width);
    const std::uint64_t height = static_cast<std::uint64_t>(std::llabs(layout.height));
    if (width * height > kMaxPicturePixels) return {BitFieldBmp::Refused, {}};

    const std::uint64_t bytesPerPixel = static_cast<std::uint64_t>(layout.bitsPerPixel) / 8;
    const std::uint64_t rowBytes = (width * bytesPerPixel + 3) / 4 * 4;
    const std::uint64_t needed = BmpPixelBytesNeeded(width, height, bytesPerPixel * 8);
    if (layout.pixelOffset > file.size() || needed > file.size() - layout.pixelOffset)
        return {BitFieldBmp::Refused, {}};

    // Only the top-left part asked for is decoded; rows are stored bottom-up unless top-down.
    const int keepWidth = KeptSide(width, maxWidth);
    const int keepHeight = KeptSide(height, maxHeight);
    BitFieldBmpResult result{BitFieldBmp::Decoded, Image(keepWidth, keepHeight)};
    LittleEndianReader in(file);
    for (int y = 0; y < keepHeight; ++y) {
        const std::uint64_t row = topDown ? static_cast<std::uint64_t>(y) : height - 1 - static_cast<std::uint64_t>(y);
        in.Seek(static_cast<std::size_t>(layout.pixelOffset + row * rowBytes));
        for (int x = 0; x < keepWidth; ++x) {
            const std::uint32_t pixel = layout.bitsPerPixel == 16 ? in.U16() : in.U32();
            result.image.Set(x, y, Colour{layout.red.Expand(pixel), layout.green.Expand(pixel),
                                          layout.blue.Expand(pixel)});
        }
    }
    // The size check above makes every read fit; a failure here is a bug, not bad input.
    if (!in.Ok()) return {BitFieldBmp::Refused, {}};
    return result;
}

}  // namespace corvane
