#include "imaging/PalmBitmap.h"

#include <algorithm>

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

namespace {

// One check for every header read, every walk of the pixels and every write,
// so that nothing is written that could not be read back: a depth this
// program reads, no colour table, sizes the format can hold, rows at least as
// long as the pixel walk takes.
bool ValidHeader(const PalmBitmap& b) {
    return !b.hasColorTable && FitsPalmBitmap(b.width, b.height, b.pixelSize) &&
           b.rowBytes >= PalmRowBytes(b.width, b.pixelSize);
}

// A header that passed ValidHeader, with the pixel block that belongs to it.
bool ValidBitmap(const PalmBitmap& b) {
    return !b.rejected && ValidHeader(b) && b.pixels.size() >= std::size_t{b.height} * b.rowBytes;
}

}  // namespace

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

void EncodePixels8(const Image& image, Colour transparent, bool hasTransparency, PalmBitmap& bitmap) {
    bitmap.transparentValue = static_cast<std::uint32_t>(NearestPaletteIndex(transparent));
    bitmap.pixels.assign(std::size_t{bitmap.rowBytes} * bitmap.height, 0);
    const auto width = static_cast<std::size_t>(image.Width());
    for (std::size_t y = 0; y < bitmap.height; ++y) {
        const auto colours = std::span<const Colour>(image.Pixels()).subspan(y * width, width);
        const auto row = std::span<std::uint8_t>(bitmap.pixels).subspan(y * bitmap.rowBytes, width);
        PaletteIndexesOfPixels(colours, transparent, hasTransparency, row);
    }
}

void EncodePixels16(const Image& image, Colour transparent, PalmBitmap& bitmap) {
    bitmap.transparentValue = ToRgb565(transparent);
    bitmap.pixels.clear();
    bitmap.pixels.reserve(std::size_t{bitmap.rowBytes} * bitmap.height);
    BigEndianWriter out(bitmap.pixels);
    for (const Colour c : image.Pixels()) out.U16(ToRgb565(c));
}

}  // namespace

PalmBitmap EncodePalmBitmap(const Image& image, Colour transparent, bool hasTransparency, int depth) {
    PalmBitmap bitmap;
    if ((depth != 8 && depth != 16) || !FitsPalmBitmap(image.Width(), image.Height(), depth)) {
        bitmap.rejected = true;
        return bitmap;
    }
    bitmap.width = static_cast<std::uint16_t>(image.Width());
    bitmap.height = static_cast<std::uint16_t>(image.Height());
    bitmap.hasTransparency = hasTransparency;
    bitmap.directColor = depth == 16;
    bitmap.pixelSize = static_cast<std::uint8_t>(depth);
    bitmap.pixelFormat = depth == 16 ? 1 : 0;
    bitmap.compressionType = kScanLineCompression;
    bitmap.rowBytes = static_cast<std::uint16_t>(PalmRowBytes(image.Width(), depth));
    if (depth == 8)
        EncodePixels8(image, transparent, hasTransparency, bitmap);
    else
        EncodePixels16(image, transparent, bitmap);
    bitmap.placeholder = PlaceholderBitmap::ForSize(image.Width(), image.Height());
    return bitmap;
}

std::size_t PalmBitmap::EncodedSize() {
    if (!ValidBitmap(*this) || placeholder.compressed.empty()) return 0;
    if (!decided_) {
        const std::size_t raw = std::size_t{height} * rowBytes;
        const std::size_t n = ScanLineCompressedSize(pixels, rowBytes, height, 4);
        // Equal sizes stay raw: nothing to gain from the decompression work.
        compressed = n != 0 && n < raw;
        compressionType = compressed ? kScanLineCompression : kNoCompression;
        dataSize_ = compressed ? n : raw;
        decided_ = true;
    }
    return kPlaceholderHeaderBytes + placeholder.compressed.size() + kHeaderBytes + dataSize_;
}

void PalmBitmap::WriteTo(std::vector<std::uint8_t>& out) {
    const std::size_t total = EncodedSize();
    if (total == 0) return;
    // A skin writer appends resource after resource: grow geometrically, not
    // to the exact size each time. The compressor wants room for its worst
    // case (every byte written, one flag byte per 8) while it works.
    const std::size_t row = rowBytes;
    const std::size_t room = total + std::size_t{height} * (row + (row + 7) / 8) + 8;
    if (out.capacity() - out.size() < room) out.reserve(std::max(out.size() + room, 2 * out.capacity()));
    BigEndianWriter w(out);

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

    w.U16(width);
    w.U16(height);
    w.U16(rowBytes);
    w.Flags(compressed, hasColorTable, hasTransparency, indirect, forScreen, directColor, indirectColorTable, false);
    w.U8(0);
    w.U8(pixelSize);
    w.U8(3);  // version
    w.U8(static_cast<std::uint8_t>(kHeaderBytes));
    w.U8(pixelFormat);
    w.U8(unused);
    w.U8(compressionType);
    w.U16(density);
    w.U32(transparentValue);
    w.U32(0);  // nextBitmapOffset: the family ends here
    if (compressed)
        AppendScanLineCompressed(out, pixels, rowBytes, height, 4);
    else
        w.Bytes(std::span<const std::uint8_t>(pixels).first(std::size_t{height} * rowBytes));
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
    b.hasColorTable = flags & 0x40;
    b.hasTransparency = flags & 0x20;
    b.indirect = flags & 0x10;
    b.forScreen = flags & 0x08;
    b.directColor = flags & 0x04;
    b.indirectColorTable = flags & 0x02;
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

struct PixelData {
    std::size_t start = 0;
    std::size_t length = 0;  // the raw block, or the compressed bytes with their 4-byte size field
};

// Follows the family to its first version-3 bitmap, fills its header and
// finds its pixel data; nothing when the resource is not accepted. Compressed
// data are only known to lie inside the bytes, not yet to be whole.
std::optional<PixelData> ParseResource(std::span<const std::uint8_t> bytes, PalmBitmap& parsed) {
    BigEndianReader in(bytes);
    for (;;) {
        const std::size_t start = in.Position();
        ReadCommonHeader(in, parsed);
        if (!in.Ok()) return std::nullopt;
        if (parsed.version == 2) {
            // A chain of older bitmaps in front: follow it to the first version 3.
            const std::uint16_t nextDepthOffset = in.U16();
            in.Skip(4);
            const std::size_t next = start + std::size_t{nextDepthOffset} * 4;
            // An offset of 0 ends the chain; one inside the header would go back.
            if (!in.Ok() || next < in.Position() || next > in.Size()) return std::nullopt;
            in.Seek(next);
            continue;
        }
        if (parsed.version != 3) return std::nullopt;
        ReadVersion3Header(in, parsed);
        if (!in.Ok() || !AcceptableHeader(parsed)) return std::nullopt;
        PixelData data{in.Position(), std::size_t{parsed.height} * parsed.rowBytes};
        if (parsed.compressed) {
            data.length = in.U32();  // counts its own 4 bytes; not always padded to 4
            if (!in.Ok() || data.length < 4) return std::nullopt;
            in.Skip(data.length - 4);
        } else {
            in.Skip(data.length);
        }
        if (!in.Ok()) return std::nullopt;
        return data;
    }
}

// The first `rows` rows of the pixel block.
std::optional<std::vector<std::uint8_t>> DecodeRows(std::span<const std::uint8_t> data, const PalmBitmap& b,
                                                    std::size_t rows) {
    if (!b.compressed) {
        const auto raw = data.first(rows * b.rowBytes);
        return std::vector<std::uint8_t>(raw.begin(), raw.end());
    }
    return ScanLineDecompress(data, b.rowBytes, rows, 4);
}

Colour TransparentColour(const PalmBitmap& b) {
    return b.pixelSize == 16 ? FromRgb565(static_cast<std::uint16_t>(b.transparentValue & 0xFFFF))
                             : PaletteColour(static_cast<int>(b.transparentValue & 0xFF));
}

int OpaqueInTransparentColour(const PalmBitmap& b, std::span<const std::uint8_t> block, int width, int height) {
    if (b.pixelSize != 8) return 0;
    const int transparentIndex = static_cast<int>(b.transparentValue & 0xFF);
    const Colour transparent = PaletteColour(transparentIndex);
    int count = 0;
    for (int y = 0; y < height; ++y) {
        const auto row = block.subspan(static_cast<std::size_t>(y) * b.rowBytes, static_cast<std::size_t>(width));
        for (const std::uint8_t index : row)
            if (index != transparentIndex && PaletteColour(index) == transparent) ++count;
    }
    return count;
}

// The top-left width x height pixels from a block of the bitmap's first rows.
Image PictureFromRows(const PalmBitmap& b, std::span<const std::uint8_t> block, int width, int height) {
    // Rows are rowBytes apart. Every writer we know pads a row to exactly the
    // length the walk takes, and where one pads more, stepping by the walk's
    // length would shear the picture.
    const std::size_t walkRow = PalmRowBytes(width, b.pixelSize);
    Image out(width, height);
    for (int y = 0; y < height; ++y) {
        const auto row = block.subspan(static_cast<std::size_t>(y) * b.rowBytes, walkRow);
        switch (b.pixelSize) {
            case 8:
                for (int x = 0; x < width; ++x) out.Set(x, y, PaletteColour(row[static_cast<std::size_t>(x)]));
                break;
            case 16: {
                BigEndianReader in(row);
                for (int x = 0; x < width; ++x) out.Set(x, y, FromRgb565(in.U16()));
                break;
            }
            default:
                for (int x = 0; x < width; ++x) {
                    const bool set = (row[static_cast<std::size_t>(x) / 8] >> (7 - x % 8)) & 1;
                    out.Set(x, y, set ? kBlack : kWhite);
                }
                break;
        }
    }
    return out;
}

}  // namespace

bool PalmBitmap::ReadFrom(std::span<const std::uint8_t> bytes) {
    *this = PalmBitmap{};
    PalmBitmap parsed;
    const auto data = ParseResource(bytes, parsed);
    auto block = data ? DecodeRows(bytes.subspan(data->start, data->length), parsed, parsed.height) : std::nullopt;
    if (!block) {
        rejected = true;
        return false;
    }
    parsed.pixels = std::move(*block);
    parsed.placeholder = PlaceholderBitmap::ForSize(parsed.width, parsed.height);
    *this = std::move(parsed);
    return true;
}

bool PalmBitmap::ReadHeaderFrom(std::span<const std::uint8_t> bytes) {
    *this = PalmBitmap{};
    PalmBitmap parsed;
    const auto data = ParseResource(bytes, parsed);
    const bool whole = data && (!parsed.compressed || ScanLineHoldsRows(bytes.subspan(data->start, data->length),
                                                                         parsed.rowBytes, parsed.height, 4));
    if (!whole) {
        rejected = true;
        return false;
    }
    parsed.placeholder = PlaceholderBitmap::ForSize(parsed.width, parsed.height);
    parsed.dataStart_ = data->start;
    parsed.dataLength_ = data->length;
    parsed.headerOnly_ = true;
    *this = std::move(parsed);
    return true;
}

ToImageResult PalmBitmap::DecodeTopLeft(std::span<const std::uint8_t> bytes, int maxWidth, int maxHeight,
                                        Image& image, Colour& transparent, int* opaqueInTransparentColour) const {
    const int w = std::clamp(maxWidth, 0, int{width});
    const int h = std::clamp(maxHeight, 0, int{height});
    if (!headerOnly_ || rejected) {
        const ToImageResult result = ToImage(image, transparent, maxWidth, maxHeight);
        if (result != ToImageResult::Rejected && opaqueInTransparentColour)
            *opaqueInTransparentColour = OpaqueInTransparentColour(*this, pixels, w, h);
        return result;
    }
    if (dataStart_ > bytes.size() || dataLength_ > bytes.size() - dataStart_) return ToImageResult::Rejected;
    const auto block = DecodeRows(bytes.subspan(dataStart_, dataLength_), *this, static_cast<std::size_t>(h));
    if (!block) return ToImageResult::Rejected;
    image = PictureFromRows(*this, *block, w, h);
    if (opaqueInTransparentColour) *opaqueInTransparentColour = OpaqueInTransparentColour(*this, *block, w, h);
    transparent = TransparentColour(*this);
    return hasTransparency ? ToImageResult::Transparent : ToImageResult::Opaque;
}

ToImageResult PalmBitmap::ToImage(Image& image, Colour& transparent) const {
    return ToImage(image, transparent, width, height);
}

ToImageResult PalmBitmap::ToImage(Image& image, Colour& transparent, int maxWidth, int maxHeight) const {
    // A bitmap filled by hand rather than by ReadFrom may not hold its rows.
    if (!ValidBitmap(*this)) return ToImageResult::Rejected;
    image = PictureFromRows(*this, pixels, std::clamp(maxWidth, 0, int{width}), std::clamp(maxHeight, 0, int{height}));
    transparent = TransparentColour(*this);
    return hasTransparency ? ToImageResult::Transparent : ToImageResult::Opaque;
}

}  // namespace corvane
