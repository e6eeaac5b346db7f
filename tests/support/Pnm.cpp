// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/Pnm.h"

#include <cctype>

namespace corvane::testing {
namespace {

// The next header number, skipping white space and comments; -1 when there is none.
long NextNumber(const std::string& bytes, std::size_t& pos) {
    for (;;) {
        while (pos < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[pos]))) ++pos;
        if (pos < bytes.size() && bytes[pos] == '#') {
            while (pos < bytes.size() && bytes[pos] != '\n') ++pos;
            continue;
        }
        break;
    }
    if (pos >= bytes.size() || !std::isdigit(static_cast<unsigned char>(bytes[pos]))) return -1;
    long value = 0;
    while (pos < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[pos])) && value < 1000000)
        value = value * 10 + (bytes[pos++] - '0');
    return value;
}

}  // namespace

std::optional<Image> ParsePpm(const std::string& bytes) {
    if (bytes.size() < 2 || bytes[0] != 'P' || (bytes[1] != '6' && bytes[1] != '3')) return std::nullopt;
    const bool binary = bytes[1] == '6';
    std::size_t pos = 2;
    const long width = NextNumber(bytes, pos);
    const long height = NextNumber(bytes, pos);
    const long maxval = NextNumber(bytes, pos);
    if (width <= 0 || height <= 0 || maxval != 255 || width * height > 100000000) return std::nullopt;
    ++pos;  // the single white-space character before binary samples
    Image image(static_cast<int>(width), static_cast<int>(height));
    for (auto& pixel : image.Pixels()) {
        std::uint8_t channel[3];
        for (auto& c : channel) {
            if (binary) {
                if (pos >= bytes.size()) return std::nullopt;
                c = static_cast<std::uint8_t>(bytes[pos++]);
            } else {
                const long v = NextNumber(bytes, pos);
                if (v < 0 || v > 255) return std::nullopt;
                c = static_cast<std::uint8_t>(v);
            }
        }
        pixel = Colour{channel[0], channel[1], channel[2]};
    }
    return image;
}

std::vector<std::uint8_t> EncodePpm(const Image& image) {
    const std::string header =
        "P6\n" + std::to_string(image.Width()) + " " + std::to_string(image.Height()) + "\n255\n";
    std::vector<std::uint8_t> out(header.begin(), header.end());
    for (const auto& c : image.Pixels()) {
        out.push_back(c.r);
        out.push_back(c.g);
        out.push_back(c.b);
    }
    return out;
}

}  // namespace corvane::testing
