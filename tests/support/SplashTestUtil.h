// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Splash files and JPEGs to test with: the fixtures under tests/data/splash,
// JPEG skeletons, and in-place damage to a file's big-endian fields.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "io/ByteOrder.h"
#include "io/FileAccess.h"

namespace corvane::splash_testing {

using Bytes = std::vector<std::uint8_t>;

inline std::string Fixture(const std::string& name) { return std::string(CORVANE_SOURCE_DIR) + "/tests/data/splash/" + name; }

inline Bytes FixtureBytes(const std::string& name) {
    auto bytes = ReadFileAtMost(Fixture(name), kPictureFileLimit).Bytes();
    EXPECT_TRUE(bytes.has_value()) << name;
    return bytes.value_or(Bytes{});
}

// A JPEG skeleton: start of image, the given segments, nothing decodable.
class JpegBuilder {
public:
    JpegBuilder() { out_.U16(0xFFD8); }
    JpegBuilder& Segment(std::uint8_t marker, std::uint16_t length, std::size_t payload) {
        out_.U8(0xFF);
        out_.U8(marker);
        out_.U16(length);
        out_.Zeros(payload);
        return *this;
    }
    JpegBuilder& Frame(std::uint8_t marker, std::uint16_t height, std::uint16_t width) {
        out_.U8(0xFF);
        out_.U8(marker);
        out_.U16(11);
        out_.U8(8);
        out_.U16(height);
        out_.U16(width);
        out_.U8(1);
        out_.Zeros(3);
        return *this;
    }
    JpegBuilder& Raw(std::initializer_list<std::uint8_t> bytes) {
        for (auto b : bytes) out_.U8(b);
        return *this;
    }
    Bytes Take() { return out_.Take(); }

private:
    BigEndianWriter out_;
};

// Whether two byte ranges are equal, element by element (std::ranges::equal,
// which the C++ library of the WebAssembly build lacks).
template <class A, class B>
bool SameBytes(const A& a, const B& b) {
    return std::equal(std::begin(a), std::end(a), std::begin(b), std::end(b));
}

inline bool Contains(const Bytes& haystack, const Bytes& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

inline Bytes Pattern(std::size_t size, std::uint8_t seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
    return bytes;
}

// Overwrites a big-endian number in place, as a damaged or foreign file would hold it.
template <typename Number>
void Put(Bytes& bytes, std::size_t at, Number value) {
    BigEndianWriter w;
    if constexpr (sizeof(Number) == 4) {
        w.U32(value);
    } else {
        w.U16(value);
    }
    std::copy(w.Data().begin(), w.Data().end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}
inline void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value) { Put(bytes, at, value); }
inline void PutU16(Bytes& bytes, std::size_t at, std::uint16_t value) { Put(bytes, at, value); }

inline void PutText(Bytes& bytes, std::size_t at, std::string_view text) {
    std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace corvane::splash_testing
