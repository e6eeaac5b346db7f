// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pdb/PalmDate.h"

#include <ctime>

namespace corvane {

std::uint32_t PalmDateFromUnixTime(std::int64_t unixSeconds) {
    // Conversion to an unsigned type is modulo 2^32, which is the wrap we want.
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(unixSeconds)) + PalmEpochOffset;
}

std::uint32_t PalmNow() { return PalmDateFromUnixTime(static_cast<std::int64_t>(std::time(nullptr))); }

}  // namespace corvane
