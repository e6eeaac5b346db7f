#include "imaging/PictureFile.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "imaging/BmpFile.h"
#include "imaging/ImageFile.h"
#include "io/ByteOrder.h"

namespace corvane {
namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::uint32_t kPngMaxChunk = 0x7FFFFFFF;
constexpr std::uint32_t kIhdr = 0x49484452;
constexpr std::uint32_t kIend = 0x49454E44;


constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}();

PictureHeader Verdict(PictureCheck check, std::uint64_t width, std::uint64_t height) {
    return {check, width, height};
}

// Walks the RLE commands from `at`; true when the picture ends before the data do.
bool RleStreamIsWhole(std::span<const std::uint8_t> file, std::size_t at, std::uint64_t width, std::uint64_t height,
                      bool fourBit) {
    std::uint64_t x = 0;
    std::uint64_t y = 0;
    // Every command takes at least two bytes, so the walk ends.
    while (y < height) {
        if (file.size() - at < 2) return y + 1 == height && x >= width;
        const std::uint8_t count = file[at];
        const std::uint8_t code = file[at + 1];
        at += 2;
        if (count > 0) {
            x += count;
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
            at += std::min<std::size_t>(file.size() - at, (literal + 1) & ~std::size_t{1});
            x += code;
        }
    }
    return true;
}

PictureHeader CheckBmp(std::span<const std::uint8_t> file) {
    BmpHeader header;
    const BmpHeaderRead read = ReadBmpHeader(file, header);
    if (read == BmpHeaderRead::UnknownHeader) return Verdict(PictureCheck::NotChecked, 0, 0);
    if (read != BmpHeaderRead::Read) return Verdict(PictureCheck::CutShort, 0, 0);
    const std::int64_t width = header.width;
    const std::int64_t height = header.height;
    const std::uint32_t bits = header.bitsPerPixel;
    const std::uint32_t compression = header.compression;
    const std::uint32_t pixelOffset = header.pixelOffset;
    const std::uint32_t headerSize = header.headerSize;
    if (width <= 0 || height == 0) return Verdict(PictureCheck::NotChecked, 0, 0);
    const auto w = static_cast<std::uint64_t>(width);
    const auto h = static_cast<std::uint64_t>(std::llabs(height));
    if (w * h > kMaxPicturePixels) return Verdict(PictureCheck::TooManyPixels, w, h);

    // Some writers leave the offset 0: the pixels then follow the headers.
    const std::uint64_t start = std::max<std::uint64_t>(pixelOffset, kBmpFileHeaderSize + headerSize);
    if (start > file.size()) return Verdict(PictureCheck::CutShort, w, h);
    if (compression == kBmpRle8 || compression == kBmpRle4) {
        const bool whole = RleStreamIsWhole(file, static_cast<std::size_t>(start), w, h, compression == kBmpRle4);
        return Verdict(whole ? PictureCheck::Whole : PictureCheck::CutShort, w, h);
    }
    const bool plain = compression == kBmpRgb || compression == kBmpBitFields || compression == kBmpAlphaBitFields;
    const bool knownDepth = bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (!plain || !knownDepth) return Verdict(PictureCheck::NotChecked, w, h);
    const std::uint64_t needed = BmpPixelBytesNeeded(w, h, bits);
    return Verdict(needed > file.size() - start ? PictureCheck::CutShort : PictureCheck::Whole, w, h);
}

PictureHeader CheckPng(std::span<const std::uint8_t> file) {
    BigEndianReader in(file);
    in.Skip(sizeof kPngSignature);
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    for (bool first = true;; first = false) {
        const std::size_t start = in.Position();
        const std::uint32_t length = in.U32();
        const std::uint32_t type = in.U32();
        if (!in.Ok()) return Verdict(PictureCheck::CutShort, width, height);
        if (length > kPngMaxChunk) return Verdict(PictureCheck::NotChecked, width, height);
        if (first) {
            // Without IHDR first this is no PNG the toolkit reads.
            if (type != kIhdr || length < 8) return Verdict(PictureCheck::NotChecked, 0, 0);
            BigEndianReader header(file.subspan(in.Position(), std::min<std::size_t>(8, in.Remaining())));
            width = header.U32();
            height = header.U32();
            if (!header.Ok()) return Verdict(PictureCheck::CutShort, 0, 0);
            if (width * height > kMaxPicturePixels) return Verdict(PictureCheck::TooManyPixels, width, height);
        }
        in.Skip(length);
        const std::uint32_t crc = in.U32();
        if (!in.Ok()) return Verdict(PictureCheck::CutShort, width, height);
        if (Crc32(file.subspan(start + 4, std::size_t{length} + 4)) != crc)
            return Verdict(PictureCheck::BadChecksum, width, height);
        if (type == kIend) return Verdict(PictureCheck::Whole, width, height);
    }
}

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (const std::uint8_t b : bytes) c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

bool LooksLikeBmp(std::span<const std::uint8_t> file) { return file.size() >= 2 && file[0] == 'B' && file[1] == 'M'; }

bool LooksLikePng(std::span<const std::uint8_t> file) {
    return file.size() >= sizeof kPngSignature &&
           std::equal(std::begin(kPngSignature), std::end(kPngSignature), file.begin());
}

PictureHeader CheckPictureFile(std::span<const std::uint8_t> file) {
    if (LooksLikeBmp(file)) return CheckBmp(file);
    if (LooksLikePng(file)) return CheckPng(file);
    return {};
}

}  // namespace corvane
