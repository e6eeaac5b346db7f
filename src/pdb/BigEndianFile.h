// Big-endian primitives shared by every Palm format. All Palm numbers are
// stored most significant byte first; nothing else in the program assembles
// or splits multi-byte numbers by hand.
//
// The reader never reads outside its bytes: a read past the end yields 0,
// and the first such failure is remembered (Ok() turns false for good), so a
// parser can read a whole record and check once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class BigEndianReader {
public:
    explicit BigEndianReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool Ok() const { return ok_; }
    std::size_t Position() const { return pos_; }
    std::size_t Size() const { return bytes_.size(); }
    std::size_t Remaining() const { return pos_ <= bytes_.size() ? bytes_.size() - pos_ : 0; }
    bool AtEnd() const { return pos_ >= bytes_.size(); }

    std::uint8_t U8() {
        if (!Require(1)) return 0;
        return bytes_[pos_++];
    }
    std::uint16_t U16() {
        if (!Require(2)) return 0;
        const auto v = static_cast<std::uint16_t>((bytes_[pos_] << 8) | bytes_[pos_ + 1]);
        pos_ += 2;
        return v;
    }
    std::uint32_t U32() {
        if (!Require(4)) return 0;
        const std::uint32_t v = (std::uint32_t{bytes_[pos_]} << 24) | (std::uint32_t{bytes_[pos_ + 1]} << 16) |
                                (std::uint32_t{bytes_[pos_ + 2]} << 8) | std::uint32_t{bytes_[pos_ + 3]};
        pos_ += 4;
        return v;
    }
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

class BigEndianWriter {
public:
    BigEndianWriter() = default;
    explicit BigEndianWriter(std::vector<std::uint8_t>& out) : out_(&out) {}

    void U8(std::uint8_t v) { Out().push_back(v); }
    void U16(std::uint16_t v) {
        U8(static_cast<std::uint8_t>(v >> 8));
        U8(static_cast<std::uint8_t>(v & 0xFF));
    }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v >> 16));
        U16(static_cast<std::uint16_t>(v & 0xFFFF));
    }
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
    std::vector<std::uint8_t>& Out() { return out_ ? *out_ : own_; }

    std::vector<std::uint8_t>* out_ = nullptr;
    std::vector<std::uint8_t> own_;
};

}  // namespace corvane
