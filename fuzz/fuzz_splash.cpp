// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The splash file reader on arbitrary bytes. Whatever it accepts must lie
// inside the input and survive a write and a second read unchanged, so the
// reader and the writer agree on the layout.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "pdb/SplashCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto content = corvane::ParseSplashFile(bytes);
    if (!content) return 0;
    if (content->welcome.size() + content->goodbye.size() > size) __builtin_trap();

    const auto rebuilt = corvane::BuildSplashFile(content->name, content->welcome, content->goodbye, 0);
    if (!rebuilt) __builtin_trap();
    const auto again = corvane::ParseSplashFile(*rebuilt);
    if (!again || !std::ranges::equal(again->welcome, content->welcome) ||
        !std::ranges::equal(again->goodbye, content->goodbye) || again->welcomeOffset != corvane::kSplashHeaderSize) {
        __builtin_trap();
    }
    // The name field holds 31 bytes and a terminator; a full 32-byte name loses its last byte.
    if (again->name != content->name.substr(0, 31)) __builtin_trap();
    return 0;
}
