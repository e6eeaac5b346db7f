// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Palm OS scan-line compression.
//
//   size field (2 or 4 bytes, big-endian): n
//   per row, per group of up to 8 bytes:
//     flag byte, bit 7 = first byte of the group ... bit 0 = eighth
//       (bits past the end of a short last group are 0)
//     the bytes whose bit is set, in column order
//   zero bytes up to a multiple of 4
//
// A bit is set when the row is the first or the byte differs from the byte in
// the same column one row up; a clear bit repeats that byte (0 in the first
// row). n counts the size field and the trailing zero bytes. Other writers
// leave out the padding, so a reader must not insist on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace corvane {

// The block holds rows x rowLength bytes. Empty when the block is shorter than
// that, the size-field width is not 2 or 4, or n does not fit a 2-byte field.
std::vector<std::uint8_t> ScanLineCompress(std::span<const std::uint8_t> block, std::size_t rowLength,
                                           std::size_t rows, int sizeFieldWidth);

// ScanLineCompress appending to `out`; gives n, or 0 (and appends nothing)
// where ScanLineCompress gives nothing.
std::size_t AppendScanLineCompressed(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> block,
                                     std::size_t rowLength, std::size_t rows, int sizeFieldWidth);

// The n of ScanLineCompress without building the output (0 where it gives nothing).
std::size_t ScanLineCompressedSize(std::span<const std::uint8_t> block, std::size_t rowLength, std::size_t rows,
                                   int sizeFieldWidth);

// Rebuilds the rows x rowLength block from the compressed bytes (size field
// included; its value is not consulted, the caller has already cut the bytes
// to it). The first rows of a block need only the front of its bytes, so
// asking for fewer rows than the block has decodes just those. Nothing when
// the flags ask for more bytes than there are; the
// output is never reserved before the input is known to hold a flag byte for
// every group.
std::optional<std::vector<std::uint8_t>> ScanLineDecompress(std::span<const std::uint8_t> compressed,
                                                            std::size_t rowLength, std::size_t rows,
                                                            int sizeFieldWidth);

// Whether the compressed bytes describe every one of the rows, checked without
// building them: ScanLineDecompress succeeds exactly when this is true.
bool ScanLineHoldsRows(std::span<const std::uint8_t> compressed, std::size_t rowLength, std::size_t rows,
                       int sizeFieldWidth);

}  // namespace corvane
