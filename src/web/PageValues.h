// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the page's bindings hand over: pictures as RGBA arrays, file bytes,
// and every command's result through the page's user interface.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <emscripten/val.h>

#include "imaging/Image.h"

namespace corvane {

// Opaque RGBA, four bytes a pixel, row by row.
emscripten::val RgbaArray(const Image& image);
emscripten::val ByteArray(const std::vector<std::uint8_t>& bytes);
// An optional path from the page: a string, or null or undefined for none.
std::optional<std::string> OptionalPath(const emscripten::val& path);

}  // namespace corvane
