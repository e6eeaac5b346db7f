// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The picture-file check on arbitrary bytes: it must end, stay inside the
// bytes, and refuse for too many pixels only what is over the limit.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/ImageFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const corvane::PictureHeader header = corvane::CheckPictureFile(bytes);
    if (header.check == corvane::PictureCheck::TooManyPixels && header.width * header.height <= corvane::kMaxPicturePixels)
        __builtin_trap();
    if (corvane::CheckPictureFile(bytes).check != header.check) __builtin_trap();
    return 0;
}
