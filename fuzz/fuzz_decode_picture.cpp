// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Bytes -> the core's picture decoders (BMP, PNG, JPEG, PNM): whatever the
// bytes, a refusal or a picture, never a read outside the input; a picture
// decoded whole is also decoded as a top-left part, with the same pixels there.
// (A part may be read where the whole is refused: rows past the part are not decoded.)
//
// A decode costs time in proportion to the pixels the header declares, and
// a fuzzer is worth the inputs it tries a second: a picture whose header
// promises more than kPixelBudget is read only as far as its headers, which
// is where the decoders' own limits are tried.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/ImageFile.h"

namespace {

constexpr std::uint64_t kPixelBudget = std::uint64_t{1} << 17;  // a 320 x 320 picture and then some
constexpr std::size_t kLargestInput = std::size_t{256} << 10;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kLargestInput) return 0;
    const std::span<const std::uint8_t> bytes(data, size);
    const corvane::PictureHeader header = corvane::CheckPictureFile(bytes);
    if (header.width * header.height > kPixelBudget) {
        const corvane::ImageFileResult headerOnly = corvane::DecodeImageBytes(bytes, 0, 0);
        if (headerOnly.image.has_value() != (headerOnly.problem == corvane::ImageFileProblem::None)) __builtin_trap();
        return 0;
    }
    const corvane::ImageFileResult whole = corvane::DecodeImageBytes(bytes);
    if (whole.image.has_value() != (whole.problem == corvane::ImageFileProblem::None)) __builtin_trap();
    const int width = size > 0 ? data[size - 1] % 8 + 1 : 1;
    const int height = size > 1 ? data[size - 2] % 8 + 1 : 1;
    const corvane::ImageFileResult part = corvane::DecodeImageBytes(bytes, width, height);
    if (!whole.image) return 0;
    if (whole.image->Empty() || !part.image) __builtin_trap();
    if (part.image->Width() != std::min(width, whole.image->Width()) ||
        part.image->Height() != std::min(height, whole.image->Height()))
        __builtin_trap();
    for (int y = 0; y < part.image->Height(); ++y)
        for (int x = 0; x < part.image->Width(); ++x)
            if (!(part.image->At(x, y) == whole.image->At(x, y))) __builtin_trap();
    return 0;
}
