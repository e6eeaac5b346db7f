// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Colours as the command-line tool reads and prints them: RRGGBB in hexadecimal.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "imaging/Image.h"

namespace corvane::cli {

// Exactly six hexadecimal digits, either case, after an optional '#' (as
// colour pickers copy them); nothing otherwise.
std::optional<Colour> ParseColour(std::string_view text);

// Six upper-case hexadecimal digits.
std::string FormatColour(Colour colour);

}  // namespace corvane::cli
