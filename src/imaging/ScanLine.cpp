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

// Walks the groups of every row and hands each flag byte and each written
// byte to `emit`, in output order; the count and the output come from the
// same walk so they cannot disagree.
template <typename Emit>
void CompressRows(std::span<const std::uint8_t> block, std::size_t rowLength, std::size_t rows, Emit&& emit) {
    for (std::size_t r = 0; r < rows; ++r) {
        const std::uint8_t* row = block.data() + r * rowLength;
        const std::uint8_t* above = r == 0 ? nullptr : row - rowLength;
        for (std::size_t col = 0; col < rowLength; col += kGroup) {
            const std::size_t count = rowLength - col < kGroup ? rowLength - col : kGroup;
            std::uint8_t flags = 0;
            for (std::size_t i = 0; i < count; ++i)
                if (!above || row[col + i] != above[col + i]) flags = static_cast<std::uint8_t>(flags | (0x80u >> i));
            emit(flags);
            for (std::size_t i = 0; i < count; ++i)
                if (flags & (0x80u >> i)) emit(row[col + i]);
        }
    }
}

}  // namespace

std::size_t ScanLineCompressedSize(std::span<const std::uint8_t> block, std::size_t rowLength, std::size_t rows,
                                   int sizeFieldWidth) {
    if (!ValidShape(block, rowLength, rows, sizeFieldWidth)) return 0;
    std::size_t body = 0;
    CompressRows(block, rowLength, rows, [&body](std::uint8_t) { ++body; });
    const std::size_t n = RoundUpTo4(static_cast<std::size_t>(sizeFieldWidth) + body);
    if (sizeFieldWidth == 2 && n > 0xFFFF) return 0;
    return n;
}

std::vector<std::uint8_t> ScanLineCompress(std::span<const std::uint8_t> block, std::size_t rowLength,
                                           std::size_t rows, int sizeFieldWidth) {
    const std::size_t n = ScanLineCompressedSize(block, rowLength, rows, sizeFieldWidth);
    if (n == 0) return {};
    std::vector<std::uint8_t> out;
    out.reserve(n);
    BigEndianWriter writer(out);
    if (sizeFieldWidth == 2)
        writer.U16(static_cast<std::uint16_t>(n));
    else
        writer.U32(static_cast<std::uint32_t>(n));
    CompressRows(block, rowLength, rows, [&out](std::uint8_t byte) { out.push_back(byte); });
    writer.Zeros(n - out.size());
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
