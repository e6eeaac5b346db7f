// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Palm dates: unsigned 32-bit seconds since 1904-01-01 00:00:00. Our files
// carry the plain Unix time moved to the Palm epoch; no time zone is applied.
#pragma once

#include <cstdint>

namespace corvane {

// Seconds from 1904-01-01 to 1970-01-01.
inline constexpr std::uint32_t PalmEpochOffset = 2082844800u;

// A Unix time as a Palm date, wrapping modulo 2^32 like the phone's 32-bit field.
std::uint32_t PalmDateFromUnixTime(std::int64_t unixSeconds);

// The current time as a Palm date, in unsigned 32-bit arithmetic (it wraps in 2040).
std::uint32_t PalmNow();

}  // namespace corvane
