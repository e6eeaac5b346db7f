// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pdb/PalmText.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "io/PathNames.h"

namespace corvane {
namespace {

constexpr char32_t kNothing = 0xFFFD;

// The characters of bytes 80 to 9F.
constexpr std::array<char32_t, 32> kBytes80To9F = {
    0x20AC,   kNothing, 0x201A, 0x0192, 0x201E, 0x2026,   0x2020, 0x2021,    // 80-87
    0x02C6,   0x2030,   0x0160, 0x2039, 0x0152, kNothing, 0x017D, kNothing,  // 88-8F
    kNothing, 0x2018,   0x2019, 0x201C, 0x201D, 0x2022,   0x2013, 0x2014,    // 90-97
    0x02DC,   0x2122,   0x0161, 0x203A, 0x0153, kNothing, 0x017E, 0x0178,    // 98-9F
};

char32_t CharacterOf(std::uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kBytes80To9F[byte - 0x80u];
    return byte;
}

// The byte for a character, or nothing when the set lacks it.
std::optional<std::uint8_t> ByteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<std::uint8_t>(c);
    for (std::size_t i = 0; i < kBytes80To9F.size(); ++i)
        if (kBytes80To9F[i] == c && c != kNothing) return static_cast<std::uint8_t>(0x80 + i);
    return std::nullopt;
}

// The character that starts at `at`, moving past it; nothing for a byte that
// starts no valid UTF-8 sequence (moving past that byte alone).
std::optional<char32_t> NextCharacter(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<std::uint8_t>(text[at++]);
    if (lead < 0x80) return lead;
    int length = 0;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07u;
    } else {
        return std::nullopt;
    }
    std::size_t next = at;
    for (int i = 1; i < length; ++i, ++next) {
        if (next >= text.size()) return std::nullopt;
        const auto byte = static_cast<std::uint8_t>(text[next]);
        if ((byte & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (byte & 0x3Fu);
    }
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool overlong = c < kSmallest[length];
    const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
    if (overlong || surrogate || c > 0x10FFFF) return std::nullopt;
    at = next;
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string Utf8ToPalmText(std::string_view utf8) {
    std::string out;
    for (std::size_t at = 0; at < utf8.size();) {
        const auto c = NextCharacter(utf8, at);
        const auto byte = c ? ByteOf(*c) : std::nullopt;
        out += byte ? static_cast<char>(*byte) : '_';
    }
    return out;
}

std::string PalmTextToUtf8(std::string_view palm) {
    std::string out;
    for (const char byte : palm) AppendUtf8(out, CharacterOf(static_cast<std::uint8_t>(byte)));
    return out;
}

namespace {

// Controls, and the direction controls, which would let a printed name read
// differently from the file it names (U+202E turns "gpj.exe" around).
bool IsDirectionControl(char32_t c) {
    return c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

bool NeedsEscape(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == '\\' || IsDirectionControl(c); }

void AppendEscaped(std::string& out, std::string_view bytes) {
    for (const char byte : bytes) {
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned>(static_cast<std::uint8_t>(byte)));
        out += escaped;
    }
}

}  // namespace

std::string PrintablePalmText(std::string_view palm) {
    std::string out;
    for (std::size_t at = 0; at < palm.size(); ++at) {
        const char32_t c = static_cast<std::uint8_t>(palm[at]);
        // Bytes 80-9F are printable characters in this set, not C1 controls.
        if (c < 0x80 && NeedsEscape(c))
            AppendEscaped(out, palm.substr(at, 1));
        else
            AppendUtf8(out, CharacterOf(static_cast<std::uint8_t>(c)));
    }
    return out;
}

std::string PrintableFileName(std::string_view name) {
    std::string out;
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t start = at;
        const auto c = NextCharacter(name, at);
        const std::string_view bytes = name.substr(start, at - start);
        if (!c || NeedsEscape(*c))
            AppendEscaped(out, bytes);
        else
            out += bytes;
    }
    return out;
}

std::string DatabaseNameFromPath(std::string_view path) {
    // Cut only once every character is one byte, never inside a character.
    std::string name = Utf8ToPalmText(BaseName(path, NameCut::AtFirstDot));
    constexpr std::size_t kMaxName = 31;  // 32-byte field with its terminating zero
    if (name.size() > kMaxName) name.erase(0, name.size() - kMaxName);
    return name;
}

}  // namespace corvane
