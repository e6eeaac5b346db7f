// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/ScanLine.h"

#include <algorithm>
#include <array>

#include "io/ByteOrder.h"

namespace corvane {
namespace {

constexpr std::size_t kGroup = 8;

bool ValidShape(std::span<const std::uint8_t> block, std::size_t rowLength, std::size_t rows, int sizeFieldWidth) {
    if (sizeFieldWidth != 2 && sizeFieldWidth != 4) return false;
    if (rowLength != 0 && rows > block.size() / rowLength) return false;
    return true;
}

std::size_t RoundUpTo4(std::size_t n) { return (n + 3) & ~std::size_t{3}; }

// How many bytes a flag byte calls for. A table because the baseline x86-64
// target has no popcount instruction: std::popcount would be a library call per group.
constexpr std::array<std::uint8_t, 256> kBitsSet = [] {
    std::array<std::uint8_t, 256> bits{};
    for (std::size_t i = 1; i < bits.size(); ++i) bits[i] = static_cast<std::uint8_t>(bits[i / 2] + (i & 1));
    return bits;
}();

// The flag byte of a whole group of 8 against the group above, a word at a
// time: in a photo whether a byte changed is a coin toss, so eight
// compare-and-branch steps would mispredict half the time; this is a few
// arithmetic steps a group whatever the data.
unsigned ChangedBytes(const std::uint8_t* group, const std::uint8_t* above) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7F;
    const std::uint64_t x = LoadLittleEndian64(std::span<const std::uint8_t, kGroup>(group, kGroup)) ^
                            LoadLittleEndian64(std::span<const std::uint8_t, kGroup>(above, kGroup));
    // 0x80 in every byte of x that is not zero (adding 7F sets bit 7 of any
    // byte whose low bits are not all zero; or-ing x adds those whose bit 7 was
    // set); byte i holds column i.
    const std::uint64_t changed = (((x & kLow7) + kLow7) | x) & ~kLow7;
    // One multiply gathers the eight bits into the top byte, column 0 highest,
    // instead of eight shifts and ors: every partial product lands on its own
    // bit, so nothing carries.
    return static_cast<unsigned>(((changed >> 7) * 0x8040201008040201) >> 56);
}

// The flag byte of the last group of a row when it is shorter than 8.
unsigned ChangedBytes(const std::uint8_t* group, const std::uint8_t* above, std::size_t count) {
    unsigned flags = 0;
    for (std::size_t i = 0; i < count; ++i) flags |= unsigned{group[i] != above[i]} << (7 - i);
    return flags;
}

// Walks the groups of every row and hands each group's flag byte, the number
// of bytes it writes and the group itself to `emit`. A template so that each
// caller's `emit` is inlined into the walk: the size and the output come from
// the same walk, so they cannot disagree, at no cost of a call per group.
template <typename Emit>
void CompressRows(std::span<const std::uint8_t> block, std::size_t rowLength, std::size_t rows, Emit&& emit) {
    const std::size_t whole = rowLength - rowLength % kGroup;
    const std::size_t tail = rowLength - whole;
    const unsigned tailFlags = (0xFF00u >> tail) & 0xFFu;
    for (std::size_t r = 0; r < rows; ++r) {
        const std::uint8_t* row = block.data() + r * rowLength;
        if (r == 0) {  // every byte of the first row is written
            for (std::size_t col = 0; col < whole; col += kGroup) emit(0xFFu, kGroup, row + col, kGroup);
            if (tail != 0) emit(tailFlags, tail, row + whole, tail);
            continue;
        }
        const std::uint8_t* above = row - rowLength;
        for (std::size_t col = 0; col < whole; col += kGroup) {
            const unsigned flags = ChangedBytes(row + col, above + col);
            emit(flags, std::size_t{kBitsSet[flags]}, row + col, kGroup);
        }
        if (tail != 0) {
            const unsigned flags = ChangedBytes(row + whole, above + whole, tail);
            emit(flags, std::size_t{kBitsSet[flags]}, row + whole, tail);
        }
    }
}

// Stores a group's flag byte and the bytes whose bit is set at `at`; gives
// the end of what it stored. A function of its own so that `at` is a local:
// a byte stored through a pointer held in the caller's variable might be that
// variable, as far as the compiler knows, so it would be reloaded after every store.
[[gnu::always_inline]] inline std::uint8_t* StoreGroup(std::uint8_t* at, unsigned flags, const std::uint8_t* group,
                                                       std::size_t count) {
    *at++ = static_cast<std::uint8_t>(flags);
    // Otherwise branch-free, as in ChangedBytes: each byte is stored, and `at`
    // moves past it only when its bit is set, so a byte not kept is
    // overwritten by the next store. Every store lands before the flags and
    // bytes the walk has yet to count, so inside the worst case the output is
    // sized for. Unrolled for a whole group: the loop's own counting cost as
    // much as the stores.
#pragma GCC unroll 8
    for (std::size_t i = 0; i < count; ++i) {
        *at = group[i];
        at += (flags >> (7 - i)) & 1;
    }
    return at;
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
    if (!ValidShape(block, rowLength, rows, sizeFieldWidth)) return 0;
    const std::size_t start = out.size();
    const auto field = static_cast<std::size_t>(sizeFieldWidth);
    // Room for the worst case: every byte written behind its flag bytes, and the padding.
    const std::size_t worst = field + rows * ((rowLength + kGroup - 1) / kGroup + rowLength) + 3;
    out.resize(start + worst);
    std::uint8_t* next = out.data() + start + field;
    CompressRows(block, rowLength, rows,
                 [&next](unsigned flags, std::size_t, const std::uint8_t* group, std::size_t count) {
                     next = StoreGroup(next, flags, group, count);
                 });
    const std::size_t n = RoundUpTo4(static_cast<std::size_t>(next - (out.data() + start)));
    if (sizeFieldWidth == 2 && n > 0xFFFF) {
        out.resize(start);
        return 0;
    }
    std::fill(next, out.data() + start + n, std::uint8_t{0});  // the padding
    out.resize(start + n);

    std::vector<std::uint8_t> size;
    BigEndianWriter writer(size);
    if (sizeFieldWidth == 2)
        writer.U16(static_cast<std::uint16_t>(n));
    else
        writer.U32(static_cast<std::uint32_t>(n));
    std::copy(size.begin(), size.end(), out.begin() + static_cast<std::ptrdiff_t>(start));
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
            if (flags == 0) {  // the commonest group, the row above again; the first row is zeros already
                if (above) std::copy_n(above + col, count, row + col);
                continue;
            }
            for (std::size_t i = 0; i < count; ++i)
                row[col + i] = (flags & (0x80u >> i)) ? in.U8() : (above ? above[col + i] : std::uint8_t{0});
        }
        if (!in.Ok()) return std::nullopt;
    }
    return block;
}

bool ScanLineHoldsRows(std::span<const std::uint8_t> compressed, std::size_t rowLength, std::size_t rows,
                       int sizeFieldWidth) {
    if (sizeFieldWidth != 2 && sizeFieldWidth != 4) return false;
    const auto field = static_cast<std::size_t>(sizeFieldWidth);
    if (compressed.size() < field) return false;
    const std::size_t groupsPerRow = (rowLength + kGroup - 1) / kGroup;
    const std::size_t lastGroup = rowLength % kGroup == 0 ? kGroup : rowLength % kGroup;
    // Only the bits of a group's own bytes call for input, as in ScanLineDecompress.
    const unsigned lastMask = (0xFF00u >> lastGroup) & 0xFFu;
    std::size_t at = field;
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t g = 0; g < groupsPerRow; ++g) {
            if (at >= compressed.size()) return false;
            const unsigned flags = compressed[at++] & (g + 1 == groupsPerRow ? lastMask : 0xFFu);
            at += kBitsSet[flags];
        }
        if (at > compressed.size()) return false;
    }
    return true;
}

}  // namespace corvane
