// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The numbers of the BMP format that its reader and its writer share; the
// layout itself is described in Bmp.h.
#pragma once

#include <cstdint>

namespace corvane::bmp {

inline constexpr std::uint32_t kFileHeaderSize = 14;
inline constexpr std::uint32_t kOs2HeaderSize = 12;
inline constexpr std::uint32_t kInfoHeaderSize = 40;
inline constexpr std::uint32_t kPixelDataOffset = kFileHeaderSize + kInfoHeaderSize;
// Compression methods.
inline constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

}  // namespace corvane::bmp
