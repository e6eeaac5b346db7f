// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The JPEG frame check on arbitrary bytes: it must end, stay inside the
// bytes and give the same answer twice.
#include <cstddef>
#include <cstdint>
#include <span>

#include "pdb/SplashCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto first = corvane::CheckJpeg(bytes);
    if (corvane::CheckJpeg(bytes) != first) __builtin_trap();
    return 0;
}
