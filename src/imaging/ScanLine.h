// Palm OS scan-line compression.
//
//   size field (2 or 4 bytes, big-endian; the 4-byte form is 00 00 + n in 2 bytes)
//   per row, per group of up to 8 bytes:
//     flag byte, bit 7 = first byte of the group ... bit 0 = eighth
//     the bytes whose bit is set, in column order
//   zero bytes up to a multiple of 4
//
// A bit is set when the row is the first or the byte differs from the byte in
// the same column one row up; a clear bit repeats that byte (0 in the first
// row). n counts the size field and the trailing zero bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace corvane {

std::vector<std::uint8_t> ScanLineCompress(std::span<const std::uint8_t> block, std::size_t rowLength,
                                           std::size_t rows, int sizeFieldWidth);

// The n of ScanLineCompress without building the output.
std::size_t ScanLineCompressedSize(std::span<const std::uint8_t> block, std::size_t rowLength, std::size_t rows,
                                   int sizeFieldWidth);

// Rebuilds the rows x rowLength block from the compressed bytes (size field
// included). Nothing when the flags ask for more bytes than there are.
std::optional<std::vector<std::uint8_t>> ScanLineDecompress(std::span<const std::uint8_t> compressed,
                                                            std::size_t rowLength, std::size_t rows,
                                                            int sizeFieldWidth);

}  // namespace corvane
