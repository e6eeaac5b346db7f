// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Names as Photoshop files keep them, UTF-16 code units, and as the rest of
// the program keeps them, UTF-8. Neither direction fails: a lone surrogate or
// an invalid sequence becomes U+FFFD, so a name always survives the trip.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Zero code units, which some writers end a name with, are dropped.
std::string Utf16ToUtf8(const std::vector<std::uint16_t>& units);
std::vector<std::uint16_t> Utf8ToUtf16(std::string_view text);

}  // namespace corvane
