// Little-endian primitives for the Windows bitmap format, the one format of
// the program stored least significant byte first. The reader mirrors
// BigEndianReader: it never reads outside its bytes, a read past the end
// yields 0, and the first failure is remembered.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace corvane {

class LittleEndianReader {
public:
    explicit LittleEndianReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool Ok() const { return ok_; }
    std::size_t Position() const { return pos_; }
    std::size_t Size() const { return bytes_.size(); }
    std::size_t Remaining() const { return pos_ <= bytes_.size() ? bytes_.size() - pos_ : 0; }

    std::uint8_t U8() {
        if (!Require(1)) return 0;
        return bytes_[pos_++];
    }
    std::uint16_t U16() {
        if (!Require(2)) return 0;
        const auto v = static_cast<std::uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    std::uint32_t U32() {
        if (!Require(4)) return 0;
        const std::uint32_t v = std::uint32_t{bytes_[pos_]} | (std::uint32_t{bytes_[pos_ + 1]} << 8) |
                                (std::uint32_t{bytes_[pos_ + 2]} << 16) | (std::uint32_t{bytes_[pos_ + 3]} << 24);
        pos_ += 4;
        return v;
    }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
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

class LittleEndianWriter {
public:
    explicit LittleEndianWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void U8(std::uint8_t v) { out_.push_back(v); }
    void U16(std::uint16_t v) {
        U8(static_cast<std::uint8_t>(v & 0xFF));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v & 0xFFFF));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void Zeros(std::size_t n) { out_.insert(out_.end(), n, 0); }

private:
    std::vector<std::uint8_t>& out_;
};

}  // namespace corvane
