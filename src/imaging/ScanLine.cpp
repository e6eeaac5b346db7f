#include "imaging/ScanLine.h"

#include "pdb/BigEndianFile.h"

namespace corvane {
namespace {

constexpr std::size_t kGroup = 8;

bool ValidShape(std::span<const std::uint8_t> block, std::size_t rowLength, std::size_t rows, int sizeFieldWidth) {
    if (sizeFieldWidth != 2 && sizeFieldWidth != 4) return false;
    if (rowLength != 0 && rows > block.size() / rowLength) return false;
    return true;
}

std::size_t RoundUpTo4(std::size_t n) { return (n + 3) & ~std::size_t{3}; }

// Walks the groups of every row and hands each group's flag byte and bytes
// to `emit` (with the number of bytes written); the size and the output come from the same walk so they cannot
// disagree.
template <typename Emit>
void CompressRows(std::span<const std::uint8_t> block, std::size_t rowLength, std::size_t rows, Emit&& emit) {
    for (std::size_t r = 0; r < rows; ++r) {
        const std::uint8_t* row = block.data() + r * rowLength;
        const std::uint8_t* above = r == 0 ? nullptr : row - rowLength;
        for (std::size_t col = 0; col < rowLength; col += kGroup) {
            const std::size_t count = rowLength - col < kGroup ? rowLength - col : kGroup;
            unsigned flags = 0;
            std::size_t changed = 0;
            for (std::size_t i = 0; i < count; ++i)
                if (!above || row[col + i] != above[col + i]) {
                    flags |= 0x80u >> i;
                    ++changed;
                }
            emit(flags, changed, row + col, count);
        }
    }
}

std::size_t BodySize(std::span<const std::uint8_t> block, std::size_t rowLength, std::size_t rows) {
    std::size_t body = 0;
    CompressRows(block, rowLength, rows,
                 [&body](unsigned, std::size_t changed, const std::uint8_t*, std::size_t) { body += 1 + changed; });
    return body;
}

}  // namespace

std::size_t ScanLineCompressedSize(std::span<const std::uint8_t> block, std::size_t rowLength, std::size_t rows,
                                   int sizeFieldWidth) {
    if (!ValidShape(block, rowLength, rows, sizeFieldWidth)) return 0;
    const std::size_t n = RoundUpTo4(static_cast<std::size_t>(sizeFieldWidth) + BodySize(block, rowLength, rows));
    if (sizeFieldWidth == 2 && n > 0xFFFF) return 0;
    return n;
}

std::size_t AppendScanLineCompressed(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> block,
                                     std::size_t rowLength, std::size_t rows, int sizeFieldWidth) {
    const std::size_t n = ScanLineCompressedSize(block, rowLength, rows, sizeFieldWidth);
    if (n == 0) return 0;
    const std::size_t start = out.size();
    BigEndianWriter writer(out);
    if (sizeFieldWidth == 2)
        writer.U16(static_cast<std::uint16_t>(n));
    else
        writer.U32(static_cast<std::uint32_t>(n));
    out.resize(start + n, 0);  // the padding stays zero
    std::uint8_t* next = out.data() + start + static_cast<std::size_t>(sizeFieldWidth);
    CompressRows(block, rowLength, rows, [&next](unsigned flags, std::size_t, const std::uint8_t* group, std::size_t count) {
        *next++ = static_cast<std::uint8_t>(flags);
        for (std::size_t i = 0; i < count; ++i)
            if (flags & (0x80u >> i)) *next++ = group[i];
    });
    return n;
}

std::vector<std::uint8_t> ScanLineCompress(std::span<const std::uint8_t> block, std::size_t rowLength,
                                           std::size_t rows, int sizeFieldWidth) {
    std::vector<std::uint8_t> out;
    AppendScanLineCompressed(out, block, rowLength, rows, sizeFieldWidth);
    return out;
}

std::optional<std::vector<std::uint8_t>> ScanLineDecompress(std::span<const std::uint8_t> compressed,
                                                            std::size_t rowLength, std::size_t rows,
                                                            int sizeFieldWidth) {
    if (sizeFieldWidth != 2 && sizeFieldWidth != 4) return std::nullopt;
    BigEndianReader in(compressed);
    in.Skip(static_cast<std::size_t>(sizeFieldWidth));
    if (!in.Ok()) return std::nullopt;

    // Every group costs at least its flag byte, so a block the input cannot
    // describe is refused before anything is reserved for it.
    const std::size_t groupsPerRow = (rowLength + kGroup - 1) / kGroup;
    if (groupsPerRow != 0 && rows > in.Remaining() / groupsPerRow) return std::nullopt;

    std::vector<std::uint8_t> block(rows * rowLength);
    for (std::size_t r = 0; r < rows; ++r) {
        std::uint8_t* row = block.data() + r * rowLength;
        const std::uint8_t* above = r == 0 ? nullptr : row - rowLength;
        for (std::size_t col = 0; col < rowLength; col += kGroup) {
            const std::size_t count = rowLength - col < kGroup ? rowLength - col : kGroup;
            const std::uint8_t flags = in.U8();
            for (std::size_t i = 0; i < count; ++i)
                row[col + i] = (flags & (0x80u >> i)) ? in.U8() : (above ? above[col + i] : std::uint8_t{0});
        }
        if (!in.Ok()) return std::nullopt;
    }
    return block;
}

}  // namespace corvane
