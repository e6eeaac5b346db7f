// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Multi-byte numbers in both byte orders, for every format of the program:
// the Palm formats store them most significant byte first, the Windows bitmap
// least significant byte first. Nothing else in the program assembles or
// splits multi-byte numbers by hand.
//
// The reader never reads outside its bytes: a read past the end yields 0,
// and the first such failure is remembered (Ok() turns false for good), so a
// parser can read a whole record and check once.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

template <std::endian Order>
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool Ok() const { return ok_; }
    std::size_t Position() const { return pos_; }
    std::size_t Size() const { return bytes_.size(); }
    std::size_t Remaining() const { return pos_ <= bytes_.size() ? bytes_.size() - pos_ : 0; }
    bool AtEnd() const { return pos_ >= bytes_.size(); }

    std::uint8_t U8() {
        if (!Require(1)) return 0;
        return bytes_[pos_++];
    }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Number(2)); }
    std::uint32_t U32() { return Number(4); }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    // The next n bytes, or an empty span (and failure) when fewer remain.
    std::span<const std::uint8_t> Bytes(std::size_t n) {
        if (!Require(n)) return {};
        auto out = bytes_.subspan(pos_, n);
        pos_ += n;
        return out;
    }
    // A four-character code such as "Tbmp".
    std::string FourCC() {
        auto b = Bytes(4);
        return b.empty() ? std::string() : std::string(b.begin(), b.end());
    }
    void Skip(std::size_t n) {
        if (Require(n)) pos_ += n;
    }
    // Absolute seek; a position beyond the end is a failure.
    void Seek(std::size_t position) {
        if (position > bytes_.size()) {
            ok_ = false;
            return;
        }
        pos_ = position;
    }

private:
    std::uint32_t Number(std::size_t size) {
        if (!Require(size)) return 0;
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < size; ++i) {
            const std::size_t at = Order == std::endian::big ? i : size - 1 - i;
            v = (v << 8) | bytes_[pos_ + at];
        }
        pos_ += size;
        return v;
    }
    bool Require(std::size_t n) {
        if (!ok_ || n > Remaining()) {
            ok_ = false;
            return false;
        }
        return true;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

template <std::endian Order>
class ByteWriter {
public:
    ByteWriter() = default;
    explicit ByteWriter(std::vector<std::uint8_t>& out) : out_(&out) {}

    void U8(std::uint8_t v) { Out().push_back(v); }
    void U16(std::uint16_t v) { Number(v, 2); }
    void U32(std::uint32_t v) { Number(v, 4); }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    // One byte from eight booleans, the first in the most significant bit.
    void Flags(bool b7, bool b6, bool b5, bool b4, bool b3, bool b2, bool b1, bool b0) {
        U8(static_cast<std::uint8_t>((b7 << 7) | (b6 << 6) | (b5 << 5) | (b4 << 4) | (b3 << 3) | (b2 << 2) |
                                     (b1 << 1) | int{b0}));
    }
    void Bytes(std::span<const std::uint8_t> bytes) { Out().insert(Out().end(), bytes.begin(), bytes.end()); }
    void FourCC(std::string_view code) {
        for (std::size_t i = 0; i < 4; ++i) U8(i < code.size() ? static_cast<std::uint8_t>(code[i]) : 0);
    }
    void Zeros(std::size_t n) { Out().insert(Out().end(), n, 0); }

    std::size_t Size() const { return out_ ? out_->size() : own_.size(); }
    const std::vector<std::uint8_t>& Data() const { return out_ ? *out_ : own_; }
    std::vector<std::uint8_t> Take() { return out_ ? *out_ : std::move(own_); }

private:
    void Number(std::uint32_t v, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            const std::size_t shift = 8 * (Order == std::endian::big ? size - 1 - i : i);
            U8(static_cast<std::uint8_t>((v >> shift) & 0xFF));
        }
    }
    std::vector<std::uint8_t>& Out() { return out_ ? *out_ : own_; }

    std::vector<std::uint8_t>* out_ = nullptr;
    std::vector<std::uint8_t> own_;
};

// Eight bytes as one number, the first in the lowest bits: for comparing
// bytes a word at a time, not for reading a format.
inline std::uint64_t LoadLittleEndian64(std::span<const std::uint8_t, 8> bytes) {
    std::uint64_t v = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&v, bytes.data(), sizeof v);
    } else {
        for (std::size_t i = bytes.size(); i-- > 0;) v = (v << 8) | bytes[i];
    }
    return v;
}

using BigEndianReader = ByteReader<std::endian::big>;
using BigEndianWriter = ByteWriter<std::endian::big>;
using LittleEndianReader = ByteReader<std::endian::little>;
using LittleEndianWriter = ByteWriter<std::endian::little>;

}  // namespace corvane
