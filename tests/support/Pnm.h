// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Portable pixmaps, the lingua franca of the format tools used as oracles.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "imaging/Image.h"

namespace corvane::testing {

// A binary (P6) or plain (P3) PPM with maxval 255; nothing for anything else.
std::optional<Image> ParsePpm(const std::string& bytes);

// A binary P6 PPM of the picture.
std::vector<std::uint8_t> EncodePpm(const Image& image);

}  // namespace corvane::testing
