#include "imaging/BmpDecoder.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "imaging/BmpFile.h"
#include "imaging/PictureFile.h"
#include "io/ByteOrder.h"

namespace corvane {
namespace {

struct BmpLayout {
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    bool topDown = false;
    unsigned bits = 0;
    std::uint32_t compression = kBmpRgb;
    std::uint64_t pixelOffset = 0;
    std::vector<Colour> palette;
};

// OS/2 2.x headers are 16 or 64 bytes; the Windows ones 40 (V1), 52, 56, 108 and 124.
bool IsOs2V2Header(std::uint32_t size) { return size == 16 || size == 64; }
bool IsKnownHeader(std::uint32_t size) {
    return size == kBmpOs2HeaderSize || IsOs2V2Header(size) || size == 40 || size == 52 || size == 56 || size == 108 ||
           size == 124;
}

// The headers and the palette; false for a kind this reader does not know.
bool ReadLayout(std::span<const std::uint8_t> file, BmpLayout& layout) {
    BmpHeader header;
    if (ReadBmpHeader(file, header) != BmpHeaderRead::Read) return false;
    // Other planes and header sizes are damaged headers, refused as the toolkit refuses them.
    if (!IsKnownHeader(header.headerSize) || header.planes != 1) return false;
    if (header.width <= 0 || header.height == 0) return false;
    layout.width = static_cast<std::uint64_t>(header.width);
    layout.topDown = header.height < 0;
    layout.height = static_cast<std::uint64_t>(std::llabs(header.height));
    layout.bits = header.bitsPerPixel;
    layout.compression = header.compression;
    // OS/2 numbers its compressions differently: 3 and 4 are Huffman and RLE24, read by nobody.
    if (layout.compression > kBmpRle4) return false;
    // Run-length rows have no top-down form.
    if (layout.topDown && layout.compression != kBmpRgb) return false;
    if (layout.compression == kBmpRle8 && layout.bits != 8) return false;
    if (layout.compression == kBmpRle4 && layout.bits != 4) return false;
    const bool indexed = layout.bits == 1 || layout.bits == 2 || layout.bits == 4 || layout.bits == 8;
    if (!indexed && layout.bits != 24 && layout.bits != 32) return false;
    layout.pixelOffset = std::max<std::uint64_t>(header.pixelOffset, kBmpFileHeaderSize + header.headerSize);
    if (!indexed) return true;

    LittleEndianReader in(file);
    std::uint32_t coloursUsed = 0;
    if (header.headerSize >= 40) {
        in.Seek(kBmpFileHeaderSize + 32);
        coloursUsed = in.U32();
    }
    const std::size_t entrySize = header.headerSize == kBmpOs2HeaderSize ? 3 : 4;
    const std::size_t room = std::size_t{1} << layout.bits;
    // More colours than the pixels can name is a damaged header.
    if (coloursUsed > room) return false;
    std::size_t count = coloursUsed == 0 ? room : coloursUsed;
    in.Seek(kBmpFileHeaderSize + header.headerSize);
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

// Palette entries outside the palette show black, as the toolkit's reader shows them.
Colour Entry(const BmpLayout& layout, std::size_t index) {
    return index < layout.palette.size() ? layout.palette[index] : kBlack;
}

void DecodeRows(std::span<const std::uint8_t> file, const BmpLayout& layout, Image& image) {
    const std::uint64_t rowBytes = (layout.width * layout.bits + 31) / 32 * 4;
    const unsigned bits = layout.bits;
    for (int y = 0; y < image.Height(); ++y) {
        const std::uint64_t row = layout.topDown ? static_cast<std::uint64_t>(y) : layout.height - 1 - static_cast<std::uint64_t>(y);
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
void DecodeRle(std::span<const std::uint8_t> file, const BmpLayout& layout, Image& image) {
    std::fill(image.Pixels().begin(), image.Pixels().end(), kBlack);
    const bool fourBit = layout.compression == kBmpRle4;
    std::uint64_t x = 0;
    std::uint64_t fromBottom = 0;
    const auto put = [&](std::size_t index) {
        const std::uint64_t y = layout.height - 1 - fromBottom;
        if (fromBottom < layout.height && x < static_cast<std::uint64_t>(image.Width()) &&
            y < static_cast<std::uint64_t>(image.Height()))
            image.Set(static_cast<int>(x), static_cast<int>(y), Entry(layout, index));
        ++x;
    };
    std::size_t at = static_cast<std::size_t>(layout.pixelOffset);
    while (fromBottom < layout.height && file.size() - at >= 2) {
        const std::uint8_t count = file[at];
        const std::uint8_t code = file[at + 1];
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i) put(fourBit ? (i % 2 == 0 ? code >> 4 : code & 0x0F) : code);
        } else if (code == 0) {
            x = 0;
            ++fromBottom;
        } else if (code == 1) {
            return;
        } else if (code == 2) {
            if (file.size() - at < 2) return;
            x += file[at];
            fromBottom += file[at + 1];
            at += 2;
        } else {
            const std::size_t bytes = fourBit ? (code + 1u) / 2 : code;
            if (file.size() - at < bytes) return;
            for (unsigned i = 0; i < code; ++i)
                put(fourBit ? (i % 2 == 0 ? file[at + i / 2] >> 4 : file[at + i / 2] & 0x0F) : file[at + i]);
            at += std::min<std::size_t>(file.size() - at, (bytes + 1) & ~std::size_t{1});
        }
    }
}

}  // namespace

ImageFileResult DecodeBmp(std::span<const std::uint8_t> file, int maxWidth, int maxHeight) {
    const PictureHeader header = CheckPictureFile(file);
    if (auto refused = RefusalOf(header)) return std::move(*refused);
    auto bitFields = DecodeBitFieldBmp(file, maxWidth, maxHeight);
    switch (bitFields.outcome) {
        case BitFieldBmp::Decoded: return DecodedPicture(std::move(bitFields.image), header.width, header.height);
        case BitFieldBmp::Refused: return RefusedPicture(ImageFileProblem::NotAPicture);
        case BitFieldBmp::NotBitFields: break;
    }
    BmpLayout layout;
    // Only what the check found whole is decoded: every row it vouched for lies inside the file.
    if (header.check != PictureCheck::Whole || !ReadLayout(file, layout))
        return RefusedPicture(ImageFileProblem::NotAPicture);
    Image image(KeptSide(layout.width, maxWidth), KeptSide(layout.height, maxHeight));
    if (layout.compression == kBmpRgb)
        DecodeRows(file, layout, image);
    else
        DecodeRle(file, layout, image);
    return DecodedPicture(std::move(image), layout.width, layout.height);
}

}  // namespace corvane
