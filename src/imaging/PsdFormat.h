// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The Photoshop format's names and numbers (see Psd.h for the layout), shared
// by its reader (Psd.cpp) and its writer (PsdEncode.cpp).
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <string_view>

#include "io/ByteOrder.h"

namespace corvane::psd {

using Reader = ByteReader<std::endian::big>;
using Writer = ByteWriter<std::endian::big>;

constexpr std::string_view kSignature = "8BPS";
constexpr std::string_view kBlockSignature = "8BIM";
constexpr std::string_view kGroupEnd = "</Layer group>";
constexpr int kSideLimit = 30000;  // what Photoshop allows a version-1 file
constexpr std::uint16_t kRgbMode = 3;
constexpr std::uint16_t kRaw = 0, kPackBits = 1;
constexpr std::uint32_t kOpenFolder = 1, kClosedFolder = 2, kFolderEnd = 3;
constexpr std::uint32_t kLockAll = 0x80000000u;
constexpr std::array<std::int16_t, 4> kChannelIds{-1, 0, 1, 2};  // alpha, red, green, blue

}  // namespace corvane::psd
