// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/Palm.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "imaging/PalmColour.h"
#include "imaging/ScanLine.h"
#include "io/ByteOrder.h"

namespace corvane {
namespace {

constexpr std::size_t kPlaceholderHeaderBytes = 16;
constexpr std::size_t kHeaderBytes = 24;
constexpr std::uint8_t kScanLineCompression = 0;
constexpr std::uint8_t kNoCompression = 0xFF;
constexpr std::size_t kMaxField = 0xFFFF;

// The scan-line size of an all-zero block: the first row writes every byte
// behind its flag bytes, every later row only its (zero) flag bytes.
std::size_t ZeroBlockCompressedSize(std::size_t rowBytes, std::size_t rows) {
    const std::size_t groups = (rowBytes + 7) / 8;
    const std::size_t body = rows == 0 ? 0 : groups + rowBytes + (rows - 1) * groups;
    return (2 + body + 3) & ~std::size_t{3};
}

}  // namespace

std::size_t PalmRowBytes(int width, int depth) {
    if (width < 0) return 0;
    const auto w = static_cast<std::size_t>(width);
    switch (depth) {
        case 1: return 2 * ((w + 15) / 16);
        case 8: return (w + 1) & ~std::size_t{1};
        case 16: return 2 * w;
        default: return 0;
    }
}

bool FitsPalmBitmap(int width, int height, int depth) {
    if (width < 0 || height < 0 || width > 0xFFFF || height > 0xFFFF) return false;
    if (depth != 1 && depth != 8 && depth != 16) return false;
    if (PalmRowBytes(width, depth) > kMaxField) return false;
    // The placeholder's pixels carry a 2-byte size field.
    return ZeroBlockCompressedSize(PalmRowBytes(width / 2, 1), static_cast<std::size_t>(height / 2)) <= kMaxField;
}

PlaceholderBitmap PlaceholderBitmap::ForSize(int fullWidth, int fullHeight) {
    PlaceholderBitmap p;
    const int w = fullWidth / 2;
    const int h = fullHeight / 2;
    p.width = static_cast<std::uint16_t>(w);
    p.height = static_cast<std::uint16_t>(h);
    // ceil(w / 8) rounded up to even is the 1-bit row of 2 bytes per 16 pixels.
    p.rowBytes = static_cast<std::uint16_t>(PalmRowBytes(w, 1));
    const std::vector<std::uint8_t> blank(std::size_t{p.rowBytes} * p.height, 0);
    p.compressed = ScanLineCompress(blank, p.rowBytes, p.height, 2);
    p.nextDepthOffset = static_cast<std::uint16_t>((kPlaceholderHeaderBytes + p.compressed.size()) / 4);
    return p;
}

// ---- encoding ------------------------------------------------------------------

namespace {

// One check for every write and every read, so that nothing is written that
// could not be read back: a depth this program reads, no colour table, sizes
// the format can hold, rows at least as long as the pixel walk takes.
bool ValidHeader(const PalmBitmap& b) {
    return !b.hasColourTable && FitsPalmBitmap(b.width, b.height, b.pixelSize) &&
           b.rowBytes >= PalmRowBytes(b.width, b.pixelSize);
}

std::vector<std::uint8_t> PixelBlock8(const Image& image, Colour transparent, bool hasTransparency,
                                      std::size_t rowBytes) {
    std::vector<std::uint8_t> block(rowBytes * static_cast<std::size_t>(image.Height()), 0);
    const auto width = static_cast<std::size_t>(image.Width());
    for (std::size_t y = 0; y < static_cast<std::size_t>(image.Height()); ++y) {
        const auto colours = std::span<const Colour>(image.Pixels()).subspan(y * width, width);
        PaletteIndexesOfPixels(colours, transparent, hasTransparency, std::span(block).subspan(y * rowBytes, width));
    }
    return block;
}

std::vector<std::uint8_t> PixelBlock16(const Image& image) {
    // Stored by index straight into the block: through the byte writer, whose
    // growth check runs on every byte, packing cost more than compressing.
    const std::span<const Colour> pixels = image.Pixels();
    std::vector<std::uint8_t> block(2 * pixels.size());
    std::uint8_t* out = block.data();
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint16_t v = ToRgb565(pixels[i]);
        out[2 * i] = static_cast<std::uint8_t>(v >> 8);
        out[2 * i + 1] = static_cast<std::uint8_t>(v & 0xFF);
    }
    return block;
}

void WritePlaceholder(BigEndianWriter& w, const PlaceholderBitmap& placeholder) {
    w.U16(placeholder.width);
    w.U16(placeholder.height);
    w.U16(placeholder.rowBytes);
    w.Flags(true, false, false, false, false, false, false, false);
    w.U8(0);
    w.U8(1);  // pixelSize
    w.U8(2);  // version
    w.U16(placeholder.nextDepthOffset);
    w.U8(0);  // transparentIndex
    w.U8(kScanLineCompression);
    w.U16(0);  // reserved
    w.Bytes(placeholder.compressed);
}

void WriteHeader(BigEndianWriter& w, const PalmBitmap& b) {
    w.U16(b.width);
    w.U16(b.height);
    w.U16(b.rowBytes);
    w.Flags(b.compressed, b.hasColourTable, b.hasTransparency, b.indirect, b.forScreen, b.directColour,
            b.indirectColourTable, false);
    w.U8(0);
    w.U8(b.pixelSize);
    w.U8(b.version);
    w.U8(b.size);
    w.U8(b.pixelFormat);
    w.U8(b.unused);
    w.U8(b.compressionType);
    w.U16(b.density);
    w.U32(b.transparentValue);
    w.U32(b.nextBitmapOffset);
}

}  // namespace

Result<EncodedPalmBitmap> EncodePalmPixels(PalmBitmap b, std::span<const std::uint8_t> block) {
    if (!ValidHeader(b)) return Fail("a bitmap header the format cannot hold or this program cannot read back");
    const std::size_t raw = std::size_t{b.height} * b.rowBytes;
    if (block.size() < raw) return Fail("a pixel block shorter than the bitmap's rows");
    block = block.first(raw);

    // The family written holds exactly these two bitmaps.
    b.version = 3;
    b.size = kHeaderBytes;
    b.nextBitmapOffset = 0;
    const PlaceholderBitmap placeholder = PlaceholderBitmap::ForSize(b.width, b.height);
    b.dataStart = kPlaceholderHeaderBytes + placeholder.compressed.size() + kHeaderBytes;

    // Compressed straight behind a header that says so; where that is no
    // smaller (equal sizes gain nothing for the work of decompressing), the
    // header is written again and the raw block follows it.
    EncodedPalmBitmap encoded;
    BigEndianWriter w(encoded.bytes);
    WritePlaceholder(w, placeholder);
    b.compressed = true;
    b.compressionType = kScanLineCompression;
    WriteHeader(w, b);
    b.dataLength = AppendScanLineCompressed(encoded.bytes, block, b.rowBytes, b.height, 4);
    if (b.dataLength == 0 || b.dataLength >= raw) {
        encoded.bytes.resize(b.dataStart - kHeaderBytes);
        b.compressed = false;
        b.compressionType = kNoCompression;
        b.dataLength = raw;
        WriteHeader(w, b);
        w.Bytes(block);
    }
    encoded.bitmap = b;
    return encoded;
}

Result<EncodedPalmBitmap> EncodePalmBitmap(const Image& image, Colour transparent, bool hasTransparency, int depth) {
    if (depth != 8 && depth != 16) return Fail("a Palm bitmap is written at 8 or 16 bits, not " + std::to_string(depth));
    if (!FitsPalmBitmap(image.Width(), image.Height(), depth))
        return Fail("a picture of " + std::to_string(image.Width()) + " x " + std::to_string(image.Height()) +
                    " pixels does not fit a Palm bitmap's fields");
    PalmBitmap b;
    b.width = static_cast<std::uint16_t>(image.Width());
    b.height = static_cast<std::uint16_t>(image.Height());
    b.hasTransparency = hasTransparency;
    b.directColour = depth == 16;
    b.pixelSize = static_cast<std::uint8_t>(depth);
    b.pixelFormat = depth == 16 ? 1 : 0;
    b.rowBytes = static_cast<std::uint16_t>(PalmRowBytes(image.Width(), depth));
    if (depth == 16) {
        b.transparentValue = ToRgb565(transparent);
        return EncodePalmPixels(b, PixelBlock16(image));
    }
    b.transparentValue = static_cast<std::uint32_t>(NearestPaletteIndex(transparent));
    return EncodePalmPixels(b, PixelBlock8(image, transparent, hasTransparency, b.rowBytes));
}

// ---- decoding ------------------------------------------------------------------

namespace {

// Reads the fields the version-3 header shares with older versions. The
// caller checks the reader once afterwards.
void ReadCommonHeader(BigEndianReader& in, PalmBitmap& b) {
    b.width = in.U16();
    b.height = in.U16();
    b.rowBytes = in.U16();
    const std::uint8_t flags = in.U8();
    b.compressed = flags & 0x80;
    b.hasColourTable = flags & 0x40;
    b.hasTransparency = flags & 0x20;
    b.indirect = flags & 0x10;
    b.forScreen = flags & 0x08;
    b.directColour = flags & 0x04;
    b.indirectColourTable = flags & 0x02;
    in.Skip(1);
    b.pixelSize = in.U8();
    b.version = in.U8();
}

void ReadVersion3Header(BigEndianReader& in, PalmBitmap& b) {
    b.size = in.U8();
    b.pixelFormat = in.U8();
    b.unused = in.U8();
    b.compressionType = in.U8();
    b.density = in.U16();
    b.transparentValue = in.U32();
    b.nextBitmapOffset = in.U32();
}

bool AcceptableHeader(const PalmBitmap& b) {
    return ValidHeader(b) && b.width <= kMaxReadableSide && b.height <= kMaxReadableSide &&
           (!b.compressed || b.compressionType == kScanLineCompression);
}

// Follows a chain of older bitmaps in front to the first version 3; false
// when the chain breaks.
bool SkipVersion2Chain(BigEndianReader& in, PalmBitmap& b) {
    for (;;) {
        const std::size_t start = in.Position();
        ReadCommonHeader(in, b);
        if (!in.Ok()) return false;
        if (b.version != 2) return true;
        const std::uint16_t nextDepthOffset = in.U16();
        in.Skip(4);
        const std::size_t next = start + std::size_t{nextDepthOffset} * 4;
        // An offset of 0 ends the chain; one inside the header would go back.
        if (!in.Ok() || next < in.Position() || next > in.Size()) return false;
        in.Seek(next);
    }
}

Colour TransparentColour(const PalmBitmap& b) {
    return b.pixelSize == 16 ? FromRgb565(static_cast<std::uint16_t>(b.transparentValue & 0xFFFF))
                             : PaletteColour(static_cast<int>(b.transparentValue & 0xFF));
}

// Whether an index other than the transparent one shows the transparent
// colour, for all 256 at once: one load a pixel instead of an index and a
// colour comparison.
using TransparentLookalikes = std::array<std::uint8_t, 256>;

TransparentLookalikes LooksTransparent(int transparentIndex, Colour transparent) {
    TransparentLookalikes looksTransparent{};
    for (std::size_t i = 0; i < 256; ++i)
        looksTransparent[i] = static_cast<int>(i) != transparentIndex && kPalmPalette[i] == transparent;
    return looksTransparent;
}

// One row of 8-bit indexes; counts the opaque pixels in the transparent colour.
void FillRow8(std::span<const std::uint8_t> row, Colour* out, std::size_t width,
              const TransparentLookalikes& looksTransparent, int& opaqueInTransparentColour) {
    for (std::size_t x = 0; x < width; ++x) {
        Put(out[x], kPalmPalette[row[x]]);
        opaqueInTransparentColour += looksTransparent[row[x]];
    }
}

// The top-left part of the picture from a block of the bitmap's first rows.
void FillPicture(const PalmBitmap& b, std::span<const std::uint8_t> block, PalmPicture& picture) {
    Image& out = picture.image;
    const auto width = static_cast<std::size_t>(out.Width());
    // Rows are rowBytes apart. Every writer we know pads a row to exactly the
    // length the walk takes, and where one pads more, stepping by the walk's
    // length would shear the picture.
    const std::size_t walkRow = PalmRowBytes(out.Width(), b.pixelSize);
    const TransparentLookalikes looksTransparent =
        b.pixelSize == 8 ? LooksTransparent(static_cast<int>(b.transparentValue & 0xFF), picture.transparent)
                         : TransparentLookalikes{};
    for (std::size_t y = 0; y < static_cast<std::size_t>(out.Height()); ++y) {
        const auto row = block.subspan(y * b.rowBytes, walkRow);
        Colour* line = out.Row(static_cast<int>(y));
        if (b.pixelSize == 8) {
            FillRow8(row, line, width, looksTransparent, picture.opaqueInTransparentColour);
        } else if (b.pixelSize == 16) {
            for (std::size_t x = 0; x < width; ++x)
                Put(line[x], FromRgb565(static_cast<std::uint16_t>(row[2 * x] << 8 | row[2 * x + 1])));
        } else {
            for (std::size_t x = 0; x < width; ++x) Put(line[x], (row[x / 8] >> (7 - x % 8)) & 1 ? kBlack : kWhite);
        }
    }
}

// The header and where the pixel data lie, checked to lie inside the bytes;
// compressed data are not yet known to hold every row.
Result<PalmBitmap> ParseHeader(std::span<const std::uint8_t> resource) {
    PalmBitmap b;
    BigEndianReader in(resource);
    if (!SkipVersion2Chain(in, b)) return Fail("the bitmap is cut short before its version-3 header");
    if (b.version != 3) return Fail("a bitmap of version " + std::to_string(b.version) + ", not 3");
    ReadVersion3Header(in, b);
    if (!in.Ok()) return Fail("the bitmap's header is cut short");
    if (!AcceptableHeader(b)) return Fail("a bitmap of a depth, size or compression that cannot be read");
    b.dataStart = in.Position();
    b.dataLength = std::size_t{b.height} * b.rowBytes;
    if (b.compressed) {
        b.dataLength = in.U32();  // counts its own 4 bytes; not always padded to 4
        if (!in.Ok() || b.dataLength < 4) return Fail("the bitmap's compressed size is cut short or too small");
        in.Skip(b.dataLength - 4);
    } else {
        in.Skip(b.dataLength);
    }
    if (!in.Ok()) return Fail("the bitmap's pixel data are cut short");
    return b;
}

// Decodes the rows of the part asked for; nothing when compressed rows are cut short.
Result<PalmPicture> DecodePart(std::span<const std::uint8_t> data, const PalmBitmap& b, int maxWidth, int maxHeight) {
    PalmPicture picture;
    picture.image = Image(std::clamp(maxWidth, 0, int{b.width}), std::clamp(maxHeight, 0, int{b.height}));
    picture.transparent = TransparentColour(b);
    picture.hasTransparency = b.hasTransparency;
    const auto rows = static_cast<std::size_t>(picture.image.Height());
    if (!b.compressed) {
        // Raw rows are read where they lie, not copied.
        FillPicture(b, data.first(rows * b.rowBytes), picture);
        return picture;
    }
    const auto block = ScanLineDecompress(data, b.rowBytes, rows, 4);
    if (!block) return Fail("the bitmap's compressed rows are cut short");
    FillPicture(b, *block, picture);
    return picture;
}

}  // namespace

Result<PalmBitmap> ReadPalmBitmap(std::span<const std::uint8_t> resource) {
    Result<PalmBitmap> b = ParseHeader(resource);
    if (b && b->compressed &&
        !ScanLineHoldsRows(resource.subspan(b->dataStart, b->dataLength), b->rowBytes, b->height, 4))
        return Fail("the bitmap's compressed rows are cut short");
    return b;
}

Result<PalmPicture> DecodePalmBitmap(std::span<const std::uint8_t> resource, const PalmBitmap& bitmap, int maxWidth,
                                     int maxHeight) {
    // A header made by hand rather than by ReadPalmBitmap may not describe its bytes.
    if (!AcceptableHeader(bitmap) || bitmap.dataStart > resource.size() ||
        bitmap.dataLength > resource.size() - bitmap.dataStart)
        return Fail("the bitmap does not match its bytes");
    return DecodePart(resource.subspan(bitmap.dataStart, bitmap.dataLength), bitmap, maxWidth, maxHeight);
}

Result<PalmPicture> DecodePalmBitmap(std::span<const std::uint8_t> resource) {
    // The rows are decoded whole, so the walk that only checks them is skipped.
    const Result<PalmBitmap> bitmap = ParseHeader(resource);
    if (!bitmap) return bitmap.Error();
    return DecodePart(resource.subspan(bitmap->dataStart, bitmap->dataLength), *bitmap, bitmap->width, bitmap->height);
}

}  // namespace corvane
