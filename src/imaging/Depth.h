// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The two colour depths of the phone's pictures: the 256 colours of its
// palette, and 5-6-5 colour. Parsed once where a number comes in (the tool's
// option, a file's header), so that nothing below has to check it again.
#pragma once

#include <array>
#include <optional>
#include <ostream>

namespace corvane {

enum class Depth { Eight = 8, Sixteen = 16 };

inline constexpr std::array<Depth, 2> kDepths{Depth::Eight, Depth::Sixteen};

constexpr int Bits(Depth depth) { return static_cast<int>(depth); }

// Nothing for any number of bits but 8 and 16.
constexpr std::optional<Depth> DepthOfBits(int bits) {
    if (bits == 8) return Depth::Eight;
    if (bits == 16) return Depth::Sixteen;
    return std::nullopt;
}

// In messages and test output a depth is its number of bits.
// A stream, not any left operand, so that a test framework's own message
// builder, which forwards to a stream, is never a second candidate.
inline std::ostream& operator<<(std::ostream& out, Depth depth) { return out << Bits(depth); }

}  // namespace corvane
