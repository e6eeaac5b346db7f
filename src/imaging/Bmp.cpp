// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/Bmp.h"
#include "imaging/BmpFormat.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

#include "io/ByteOrder.h"
#include "io/Result.h"

namespace corvane {
namespace {

using namespace bmp;

struct Header {
    std::uint32_t pixelOffset = 0;
    std::uint32_t size = 0;  // of the info header
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: rows stored top-down
    std::uint32_t planes = 0;  // 1 in every valid file; most readers ignore it
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = kRgb;
};

enum class HeaderRead {
    NoHeaderSize,   // cut short before the info header's size
    UnknownHeader,  // an info header of a size no reader knows
    CutShort,       // cut short inside the info header's fields
    Read,
};

// The headers up to the compression; what was read stays in `header` whatever the outcome.
HeaderRead ReadHeader(std::span<const std::uint8_t> file, Header& header) {
    LittleEndianReader in(file);
    in.Skip(10);
    header.pixelOffset = in.U32();
    header.size = in.U32();
    if (!in.Ok()) return HeaderRead::NoHeaderSize;
    const bool os2 = header.size == kOs2HeaderSize;
    if (!os2 && header.size < kInfoHeaderSize) return HeaderRead::UnknownHeader;
    header.width = os2 ? in.U16() : in.I32();
    header.height = os2 ? in.U16() : in.I32();
    header.planes = in.U16();
    header.bitsPerPixel = in.U16();
    if (!os2) header.compression = in.U32();
    return in.Ok() ? HeaderRead::Read : HeaderRead::CutShort;
}

// The bytes that uncompressed rows need from the pixel offset on: rows are
// padded to 4 bytes, and only the last row's padding may be missing.
std::uint64_t PixelBytesNeeded(std::uint64_t width, std::uint64_t height, std::uint64_t bitsPerPixel) {
    const std::uint64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return rowBytes * (height - 1) + (width * bitsPerPixel + 7) / 8;
}

// Walks the run-length commands from `at`, handing `put` each pixel's x, its
// row counted from the bottom, and its palette index; true when the picture
// ends before the data do. The check and the decoder share this walk, so the
// check vouches for exactly what the decoder reads.
template <typename Put>
bool WalkRle(std::span<const std::uint8_t> file, std::size_t at, std::uint64_t width, std::uint64_t height,
             bool fourBit, Put&& put) {
    const auto nibble = [](std::uint8_t byte, unsigned i) -> std::size_t {
        return i % 2 == 0 ? static_cast<std::size_t>(byte >> 4) : static_cast<std::size_t>(byte & 0x0F);
    };
    std::uint64_t x = 0;
    std::uint64_t y = 0;
    // Every command takes at least two bytes, so the walk ends.
    while (y < height) {
        if (file.size() - at < 2) return y + 1 == height && x >= width;
        const std::uint8_t count = file[at];
        const std::uint8_t code = file[at + 1];
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i) put(x++, y, fourBit ? nibble(code, i) : std::size_t{code});
        } else if (code == 0) {
            x = 0;
            ++y;
        } else if (code == 1) {
            return true;
        } else if (code == 2) {
            if (file.size() - at < 2) return false;
            x += file[at];
            y += file[at + 1];
            at += 2;
        } else {
            const std::size_t literal = fourBit ? (code + 1u) / 2 : code;
            if (file.size() - at < literal) return false;
            for (unsigned i = 0; i < code; ++i)
                put(x++, y, fourBit ? nibble(file[at + i / 2], i) : std::size_t{file[at + i]});
            at += std::min<std::size_t>(file.size() - at, (literal + 1) & ~std::size_t{1});
        }
    }
    return true;
}

// The file's bytes stay in memory beside the part kept of the picture.
std::optional<ImageFileResult> RefusalOfKeptPart(std::span<const std::uint8_t> file, std::uint64_t width,
                                                 std::uint64_t height, int maxWidth, int maxHeight) {
    if (FitsDecodeMemory(file.size() + KeptPictureBytes(KeptSide(width, maxWidth), KeptSide(height, maxHeight))))
        return std::nullopt;
    return RefusedPicture(ImageFileProblem::TooLargeToDecode, width, height);
}

// ---- bit fields ------------------------------------------------------------------

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
    Header header;
    Channel red, green, blue;
};

bool IsWindowsInfoHeader(std::uint32_t headerSize) {
    // BITMAPINFOHEADER, its V2 and V3 extensions, BITMAPV4HEADER and BITMAPV5HEADER.
    // The OS/2 headers number their compressions differently and have no bit fields.
    return headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124;
}

// The headers and masks of a bit-field file; nothing for another kind of
// file, which the general reader should have instead.
std::optional<Result<BitFieldLayout>> ReadBitFieldLayout(std::span<const std::uint8_t> file) {
    BitFieldLayout layout;
    Header& header = layout.header;
    const HeaderRead read = ReadHeader(file, header);
    if (read == HeaderRead::NoHeaderSize) return Fail("cut short before the size of its header");
    if (!IsWindowsInfoHeader(header.size)) return std::nullopt;
    if (read != HeaderRead::Read) return Fail("cut short inside its header");

    const bool bitFieldCompression = header.compression == kBitFields || header.compression == kAlphaBitFields;
    const bool plain16 = header.compression == kRgb && header.bitsPerPixel == 16;
    if (!bitFieldCompression && !plain16) return std::nullopt;
    if (header.bitsPerPixel != 16 && header.bitsPerPixel != 32) return Fail("bit fields in other than 16 or 32 bits");

    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    std::uint32_t headersEnd = kFileHeaderSize + header.size;
    if (bitFieldCompression) {
        LittleEndianReader in(file);
        in.Seek(kFileHeaderSize + kInfoHeaderSize);
        for (auto& mask : masks) mask = in.U32();
        if (!in.Ok()) return Fail("cut short inside its masks");
        // With the 40-byte header the masks follow it; the larger headers hold them.
        if (header.size == kInfoHeaderSize) headersEnd += header.compression == kBitFields ? 12 : 16;
    }
    const auto red = Channel::FromMask(masks[0]);
    const auto green = Channel::FromMask(masks[1]);
    const auto blue = Channel::FromMask(masks[2]);
    if (!red || !green || !blue) return Fail("a channel mask with holes in it");
    for (const auto mask : masks)
        if (mask >= std::uint64_t{1} << header.bitsPerPixel) return Fail("a channel mask wider than the pixel");
    layout.red = *red;
    layout.green = *green;
    layout.blue = *blue;
    if (header.width <= 0 || header.height == 0) return Fail("no pixels");
    if (header.pixelOffset < headersEnd) return Fail("pixels that start inside the headers");
    return layout;
}

// ---- palette and rows ------------------------------------------------------------

struct Layout {
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    bool topDown = false;
    unsigned bits = 0;
    std::uint32_t compression = kRgb;
    std::uint64_t pixelOffset = 0;
    std::vector<Colour> palette;
};

// OS/2 2.x headers are 16 or 64 bytes; the Windows ones 40 (V1), 52, 56, 108 and 124.
bool IsKnownHeader(std::uint32_t size) {
    return size == kOs2HeaderSize || size == 16 || size == 64 || IsWindowsInfoHeader(size);
}

bool IsIndexed(unsigned bits) { return bits == 1 || bits == 2 || bits == 4 || bits == 8; }

// The palette; false when it is missing.
bool ReadPalette(std::span<const std::uint8_t> file, const Header& header, Layout& layout) {
    LittleEndianReader in(file);
    std::uint32_t coloursUsed = 0;
    if (header.size >= kInfoHeaderSize) {
        in.Seek(kFileHeaderSize + 32);
        coloursUsed = in.U32();
    }
    const std::size_t entrySize = header.size == kOs2HeaderSize ? 3 : 4;
    const std::size_t room = std::size_t{1} << layout.bits;
    // More colours than the pixels can name is a damaged header.
    if (coloursUsed > room) return false;
    std::size_t count = coloursUsed == 0 ? room : coloursUsed;
    in.Seek(kFileHeaderSize + header.size);
    // A palette the pixels overlap is cut where they start.
    if (layout.pixelOffset > in.Position())
        count = std::min<std::size_t>(count, static_cast<std::size_t>(layout.pixelOffset - in.Position()) / entrySize);
    for (std::size_t i = 0; i < count && in.Remaining() >= entrySize; ++i) {
        const std::uint8_t b = in.U8(), g = in.U8(), r = in.U8();
        if (entrySize == 4) in.U8();
        layout.palette.push_back(Colour{r, g, b});
    }
    return in.Ok() && !layout.palette.empty();
}

// The headers and the palette; false for a kind this reader does not know.
bool ReadLayout(std::span<const std::uint8_t> file, Layout& layout) {
    Header header;
    if (ReadHeader(file, header) != HeaderRead::Read) return false;
    // Other planes and header sizes are damaged headers, refused as the toolkit refuses them.
    if (!IsKnownHeader(header.size) || header.planes != 1) return false;
    if (header.width <= 0 || header.height == 0) return false;
    layout.width = static_cast<std::uint64_t>(header.width);
    layout.topDown = header.height < 0;
    layout.height = static_cast<std::uint64_t>(std::llabs(header.height));
    layout.bits = header.bitsPerPixel;
    layout.compression = header.compression;
    // OS/2 numbers its compressions differently: 3 and 4 are Huffman and RLE24, read by nobody.
    if (layout.compression > kRle4) return false;
    // Run-length rows have no top-down form.
    if (layout.topDown && layout.compression != kRgb) return false;
    if (layout.compression == kRle8 && layout.bits != 8) return false;
    if (layout.compression == kRle4 && layout.bits != 4) return false;
    if (!IsIndexed(layout.bits) && layout.bits != 24 && layout.bits != 32) return false;
    layout.pixelOffset = header.pixelOffset;
    if (layout.pixelOffset < kFileHeaderSize + header.size) return false;
    return !IsIndexed(layout.bits) || ReadPalette(file, header, layout);
}

// Palette entries outside the palette show black, as the toolkit's reader shows them.
Colour Entry(const Layout& layout, std::size_t index) {
    return index < layout.palette.size() ? layout.palette[index] : kBlack;
}

void DecodeRows(std::span<const std::uint8_t> file, const Layout& layout, Image& image) {
    const std::uint64_t rowBytes = (layout.width * layout.bits + 31) / 32 * 4;
    const unsigned bits = layout.bits;
    for (int y = 0; y < image.Height(); ++y) {
        const auto fromTop = static_cast<std::uint64_t>(y);
        const std::uint64_t row = layout.topDown ? fromTop : layout.height - 1 - fromTop;
        const std::uint8_t* line = file.data() + layout.pixelOffset + row * rowBytes;
        for (int x = 0; x < image.Width(); ++x) {
            const auto ux = static_cast<std::size_t>(x);
            if (bits >= 24) {
                const std::uint8_t* p = line + ux * (bits / 8);
                image.Set(x, y, Colour{p[2], p[1], p[0]});
            } else {
                const std::size_t bit = ux * bits;
                const unsigned shift = 8 - bits - static_cast<unsigned>(bit % 8);
                const std::size_t index = (line[bit / 8] >> shift) & ((1u << bits) - 1);
                image.Set(x, y, Entry(layout, index));
            }
        }
    }
}

// Draws the run-length stream; only pixels inside the image are kept.
void DecodeRle(std::span<const std::uint8_t> file, const Layout& layout, Image& image) {
    std::fill(image.Pixels().begin(), image.Pixels().end(), kBlack);
    const auto put = [&](std::uint64_t x, std::uint64_t fromBottom, std::size_t index) {
        const std::uint64_t y = layout.height - 1 - fromBottom;
        if (fromBottom < layout.height && x < static_cast<std::uint64_t>(image.Width()) &&
            y < static_cast<std::uint64_t>(image.Height()))
            image.Set(static_cast<int>(x), static_cast<int>(y), Entry(layout, index));
    };
    WalkRle(file, static_cast<std::size_t>(layout.pixelOffset), layout.width, layout.height,
            layout.compression == kRle4, put);
}

}  // namespace

bool IsBmp(std::span<const std::uint8_t> file) { return file.size() >= 2 && file[0] == 'B' && file[1] == 'M'; }

PictureHeader CheckBmp(std::span<const std::uint8_t> file) {
    if (!IsBmp(file)) return {};
    Header header;
    const HeaderRead read = ReadHeader(file, header);
    if (read == HeaderRead::UnknownHeader) return {};
    if (read != HeaderRead::Read) return {PictureCheck::CutShort};
    if (header.width <= 0 || header.height == 0) return {};
    const auto w = static_cast<std::uint64_t>(header.width);
    const auto h = static_cast<std::uint64_t>(std::llabs(header.height));
    if (w * h > kMaxPicturePixels) return {PictureCheck::TooManyPixels, w, h};

    // Pixels that would start inside the headers (an offset of 0 among them)
    // are no file's: its own header bytes would be read as pixels.
    const std::uint64_t start = header.pixelOffset;
    if (start < kFileHeaderSize + header.size) return {PictureCheck::NotChecked, w, h};
    if (start > file.size()) return {PictureCheck::CutShort, w, h};
    const std::uint32_t compression = header.compression;
    if (compression == kRle8 || compression == kRle4) {
        const auto count = [](std::uint64_t, std::uint64_t, std::size_t) {};
        const bool whole = WalkRle(file, static_cast<std::size_t>(start), w, h, compression == kRle4, count);
        return {whole ? PictureCheck::Whole : PictureCheck::CutShort, w, h};
    }
    const std::uint32_t bits = header.bitsPerPixel;
    const bool plain = compression == kRgb || compression == kBitFields || compression == kAlphaBitFields;
    if (!plain || (!IsIndexed(bits) && bits != 16 && bits != 24 && bits != 32)) return {PictureCheck::NotChecked, w, h};
    const bool whole = PixelBytesNeeded(w, h, bits) <= file.size() - start;
    return {whole ? PictureCheck::Whole : PictureCheck::CutShort, w, h};
}

std::optional<ImageFileResult> DecodeBitFieldBmp(std::span<const std::uint8_t> file, int maxWidth, int maxHeight) {
    if (!IsBmp(file)) return std::nullopt;
    const std::optional<Result<BitFieldLayout>> read = ReadBitFieldLayout(file);
    if (!read) return std::nullopt;
    if (!*read) return RefusedPicture(ImageFileProblem::NotAPicture);
    const BitFieldLayout& layout = **read;
    const Header& header = layout.header;
    const bool topDown = header.height < 0;
    const auto width = static_cast<std::uint64_t>(header.width);
    const auto height = static_cast<std::uint64_t>(std::llabs(header.height));
    if (width * height > kMaxPicturePixels) return RefusedPicture(ImageFileProblem::NotAPicture);

    const std::uint64_t bytesPerPixel = header.bitsPerPixel / 8;
    const std::uint64_t rowBytes = (width * bytesPerPixel + 3) / 4 * 4;
    const std::uint64_t needed = PixelBytesNeeded(width, height, bytesPerPixel * 8);
    if (header.pixelOffset > file.size() || needed > file.size() - header.pixelOffset)
        return RefusedPicture(ImageFileProblem::NotAPicture);

    // Only the top-left part asked for is decoded; rows are stored bottom-up unless top-down.
    if (auto refused = RefusalOfKeptPart(file, width, height, maxWidth, maxHeight)) return std::move(*refused);
    Image image(KeptSide(width, maxWidth), KeptSide(height, maxHeight));
    LittleEndianReader in(file);
    for (int y = 0; y < image.Height(); ++y) {
        const auto fromTop = static_cast<std::uint64_t>(y);
        in.Seek(static_cast<std::size_t>(header.pixelOffset + (topDown ? fromTop : height - 1 - fromTop) * rowBytes));
        for (int x = 0; x < image.Width(); ++x) {
            const std::uint32_t pixel = bytesPerPixel == 2 ? in.U16() : in.U32();
            image.Set(x, y, Colour{layout.red.Expand(pixel), layout.green.Expand(pixel), layout.blue.Expand(pixel)});
        }
    }
    // The size check above makes every read fit; a failure here is a bug, not bad input.
    if (!in.Ok()) return RefusedPicture(ImageFileProblem::NotAPicture);
    return DecodedPicture(std::move(image), width, height);
}

ImageFileResult DecodeBmp(std::span<const std::uint8_t> file, int maxWidth, int maxHeight) {
    const PictureHeader header = CheckBmp(file);
    if (auto refused = RefusalOf(header)) return std::move(*refused);
    if (auto bitFields = DecodeBitFieldBmp(file, maxWidth, maxHeight)) return std::move(*bitFields);
    Layout layout;
    // Only what the check found whole is decoded: every row it vouched for lies inside the file.
    if (header.check != PictureCheck::Whole || !ReadLayout(file, layout))
        return RefusedPicture(ImageFileProblem::NotAPicture);
    if (auto refused = RefusalOfKeptPart(file, layout.width, layout.height, maxWidth, maxHeight))
        return std::move(*refused);
    Image image(KeptSide(layout.width, maxWidth), KeptSide(layout.height, maxHeight));
    if (layout.compression == kRgb)
        DecodeRows(file, layout, image);
    else
        DecodeRle(file, layout, image);
    return DecodedPicture(std::move(image), layout.width, layout.height);
}

}  // namespace corvane
