// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/ColourText.h"

#include <cstdio>

namespace corvane::cli {
namespace {

std::optional<int> HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return std::nullopt;
}

}  // namespace

std::optional<Colour> ParseColour(std::string_view text) {
    if (text.starts_with('#')) text.remove_prefix(1);
    if (text.size() != 6) return std::nullopt;
    std::uint8_t channels[3];
    for (std::size_t i = 0; i < 3; ++i) {
        const auto high = HexDigit(text[2 * i]);
        const auto low = HexDigit(text[2 * i + 1]);
        if (!high || !low) return std::nullopt;
        channels[i] = static_cast<std::uint8_t>(*high * 16 + *low);
    }
    return Colour{channels[0], channels[1], channels[2]};
}

std::string FormatColour(Colour colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", colour.r, colour.g, colour.b);
    return text;
}

}  // namespace corvane::cli
