// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "imaging/ImagingTestUtil.h"
#include "imaging/ScanLine.h"

namespace corvane {
namespace {

using testing::Hex;

TEST(ScanLine, FirstRowSetsEveryBitAndLaterRowsOnlyChanges) {
    // Two rows of 3: the first row is written whole, even its zero byte.
    const auto block = Hex("00 11 22 / 00 11 23");
    EXPECT_EQ(ScanLineCompress(block, 3, 2, 4), Hex("00 00 00 0C  E0 00 11 22  20 23 00 00"));
    EXPECT_EQ(ScanLineCompressedSize(block, 3, 2, 4), 12u);
}

TEST(ScanLine, GroupsOfEightWithAShortLastGroup) {
    // Rows of 10 bytes: a full group and a group of 2, whose unused flag bits are 0.
    const auto block = Hex("01 02 03 04 05 06 07 08 09 0A / 01 02 03 04 05 06 07 FF 09 0B");
    EXPECT_EQ(ScanLineCompress(block, 10, 2, 2),
              Hex("00 14  FF 01 02 03 04 05 06 07 08  C0 09 0A  01 FF  40 0B  00 00"));
}

TEST(ScanLine, AChangeInAnyBitOfAnyColumnIsFound) {
    // Whole groups are compared a word at a time: the lowest and the highest
    // bit of every byte, alone and with a neighbour changed too.
    for (std::size_t column = 0; column < 8; ++column)
        for (const std::uint8_t bits : {std::uint8_t{0x01}, std::uint8_t{0x80}, std::uint8_t{0x7F}, std::uint8_t{0xFF}}) {
            std::vector<std::uint8_t> block{0x00, 0x80, 0x7F, 0xFF, 0x01, 0xFE, 0x55, 0xAA};
            block.insert(block.end(), block.begin(), block.end());
            block[8 + column] ^= bits;
            std::vector<std::uint8_t> expected{0x00, 0x00, 0x00, 0x10};  // 4 + 9 + 2, padded
            expected.push_back(0xFF);
            expected.insert(expected.end(), block.begin(), block.begin() + 8);
            expected.push_back(static_cast<std::uint8_t>(0x80 >> column));
            expected.push_back(block[8 + column]);
            expected.resize(16, 0);
            EXPECT_EQ(ScanLineCompress(block, 8, 2, 4), expected) << column << " " << int{bits};

            block[8 + (column + 1) % 8] ^= 0x80;
            const auto both = ScanLineCompress(block, 8, 2, 4);
            ASSERT_EQ(both.size(), 16u);
            EXPECT_EQ(both[13], (0x80 >> column) | (0x80 >> ((column + 1) % 8))) << column << " " << int{bits};
        }
}

TEST(ScanLine, SizeFieldsOfTwoAndFourBytesCountThemselvesAndThePadding) {
    const auto block = Hex("AA");
    EXPECT_EQ(ScanLineCompress(block, 1, 1, 2), Hex("00 04 80 AA"));
    EXPECT_EQ(ScanLineCompress(block, 1, 1, 4), Hex("00 00 00 08 80 AA 00 00"));
    EXPECT_EQ(ScanLineCompress({}, 0, 0, 2), Hex("00 04 00 00"));
    EXPECT_EQ(ScanLineCompress({}, 0, 0, 4), Hex("00 00 00 04"));
    EXPECT_EQ(ScanLineCompress(block, 1, 1, 3), Hex(""));
    EXPECT_EQ(ScanLineCompress(block, 1, 2, 4), Hex("")) << "block shorter than its rows";
}

TEST(ScanLine, AppendKeepsWhatIsThereAndRefusesAnOverflowingTwoByteField) {
    std::vector<std::uint8_t> out = Hex("AB CD");
    EXPECT_EQ(AppendScanLineCompressed(out, Hex("01 02 03"), 3, 1, 4), 8u);
    EXPECT_EQ(out, Hex("AB CD 00 00 00 08 E0 01 02 03"));
    // 300 rows of 300 changing bytes need far more than 65,535 bytes.
    std::vector<std::uint8_t> noisy(300 * 300);
    for (std::size_t i = 0; i < noisy.size(); ++i) noisy[i] = static_cast<std::uint8_t>(i * 7 + i / 300);
    EXPECT_EQ(AppendScanLineCompressed(out, noisy, 300, 300, 2), 0u);
    EXPECT_EQ(out.size(), 10u);
    EXPECT_EQ(ScanLineCompressedSize(noisy, 300, 300, 2), 0u);
    EXPECT_GT(ScanLineCompressedSize(noisy, 300, 300, 4), 0xFFFFu);
    // A 4-byte field holds the whole count, beyond 16 bits.
    const auto packed = ScanLineCompress(noisy, 300, 300, 4);
    ASSERT_EQ(packed.size(), ScanLineCompressedSize(noisy, 300, 300, 4));
    EXPECT_EQ(ScanLineDecompress(packed, 300, 300, 4), noisy);
}

// Groups that change throughout, not at all or in part take different paths
// through the encoder; each must come back, in exactly the size the size
// walk predicts, with nothing written outside its own bytes.
TEST(ScanLine, EveryKindOfGroupRoundTripsInThePredictedSize) {
    const auto rows = [](std::size_t rowLength, std::size_t count, auto byteAt) {
        std::vector<std::uint8_t> block(rowLength * count);
        for (std::size_t r = 0; r < count; ++r)
            for (std::size_t c = 0; c < rowLength; ++c) block[r * rowLength + c] = byteAt(r, c);
        return block;
    };
    const struct {
        const char* name;
        std::size_t rowLength;
        std::vector<std::uint8_t> block;
    } cases[] = {
        {"every byte changes", 16, rows(16, 5, [](std::size_t r, std::size_t c) { return std::uint8_t(r * 16 + c); })},
        {"nothing changes", 17, rows(17, 4, [](std::size_t, std::size_t c) { return std::uint8_t(c); })},
        {"every other column changes", 9, rows(9, 6, [](std::size_t r, std::size_t c) { return std::uint8_t(c % 2 ? r : 7); })},
        {"whole groups alternate", 24, rows(24, 4, [](std::size_t r, std::size_t c) { return std::uint8_t(c / 8 == 1 ? r : c); })},
        {"one short row", 3, rows(3, 1, [](std::size_t, std::size_t c) { return std::uint8_t(c + 1); })},
    };
    for (const auto& c : cases) {
        const std::size_t count = c.block.size() / c.rowLength;
        std::vector<std::uint8_t> out = Hex("5A");
        const std::size_t n = AppendScanLineCompressed(out, c.block, c.rowLength, count, 4);
        EXPECT_EQ(n, ScanLineCompressedSize(c.block, c.rowLength, count, 4)) << c.name;
        ASSERT_EQ(out.size(), 1 + n) << c.name;
        EXPECT_EQ(out[0], 0x5A) << c.name;
        EXPECT_EQ(ScanLineDecompress(std::span(out).subspan(1), c.rowLength, count, 4), c.block) << c.name;
    }
}

TEST(ScanLine, DecompressRebuildsOddWidthsAndRepeatsRowsAbove) {
    for (std::size_t rowLength : {1u, 3u, 7u, 8u, 9u, 17u, 102u}) {
        for (int sizeField : {2, 4}) {
            std::vector<std::uint8_t> block(rowLength * 5);
            for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>((i * 37 / 5) % 4);
            const auto packed = ScanLineCompress(block, rowLength, 5, sizeField);
            ASSERT_EQ(packed.size(), ScanLineCompressedSize(block, rowLength, 5, sizeField));
            EXPECT_EQ(packed.size() % 4, 0u);
            EXPECT_EQ(ScanLineDecompress(packed, rowLength, 5, sizeField), block) << rowLength << " " << sizeField;
        }
    }
}

TEST(ScanLine, DecompressGivesZeroForClearBitsOfTheFirstRow) {
    EXPECT_EQ(ScanLineDecompress(Hex("00 00 00 06 40 77"), 3, 1, 4), Hex("00 77 00"));
    EXPECT_EQ(ScanLineDecompress(Hex("00 00 00 07 20 55 00"), 3, 2, 4), Hex("00 00 55 00 00 55"));
}

TEST(ScanLine, DecompressRefusesInputThatRunsOut) {
    EXPECT_FALSE(ScanLineDecompress(Hex("00 00 00 06 C0 77"), 3, 1, 4)) << "second set bit has no byte";
    EXPECT_FALSE(ScanLineDecompress(Hex("00 00 00 05 00"), 3, 2, 4)) << "second row has no flag byte";
    EXPECT_FALSE(ScanLineDecompress(Hex("00 00"), 3, 1, 4)) << "size field cut short";
    // Far more rows than flag bytes: refused before the block is reserved.
    EXPECT_FALSE(ScanLineDecompress(Hex("00 00 00 08 00 00 00 00"), 0xFFFF, 0xFFFF, 4));
    EXPECT_EQ(ScanLineDecompress(Hex("00 04"), 0, 3, 2), Hex("")) << "rows of no bytes need no input";
}

// The check without output agrees with the decompressor on every prefix.
TEST(ScanLine, HoldsRowsExactlyWhenDecompressionSucceeds) {
    const std::vector<std::uint8_t> block = {1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3, 4, 5, 6, 7, 0, 0, 9, 9, 9};
    const auto packed = ScanLineCompress(block, 7, 3, 4);
    ASSERT_FALSE(packed.empty());
    for (std::size_t n = 0; n <= packed.size(); ++n) {
        const auto prefix = std::span(packed).first(n);
        for (std::size_t rows = 0; rows <= 3; ++rows)
            EXPECT_EQ(ScanLineHoldsRows(prefix, 7, rows, 4), ScanLineDecompress(prefix, 7, rows, 4).has_value())
                << n << " bytes, " << rows << " rows";
    }
    EXPECT_EQ(ScanLineDecompress(packed, 7, 2, 4).value(), std::vector<std::uint8_t>(block.begin(), block.begin() + 14));
}

}  // namespace
}  // namespace corvane
