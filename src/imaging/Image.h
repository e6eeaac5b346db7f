// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The one in-memory picture of the core: a width, a height and RGB pixels,
// row by row from the top. Colours compare exactly, channel by channel.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace corvane {

struct Colour {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend constexpr bool operator==(const Colour&, const Colour&) = default;

    // The packed form of the platform's colour values: 0x00BBGGRR.
    constexpr std::uint32_t ToColourRef() const {
        return std::uint32_t{r} | (std::uint32_t{g} << 8) | (std::uint32_t{b} << 16);
    }
};

// Stores a colour a channel at a time. A whole three-byte colour is copied
// through memcpy, which under the address sanitizer is a call and a checked
// region a pixel; loops over whole pictures store through this instead.
constexpr void Put(Colour& to, Colour from) {
    to.r = from.r;
    to.g = from.g;
    to.b = from.b;
}

inline constexpr Colour kPureGreen{0, 255, 0};
inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kBlack{0, 0, 0};

class Image {
public:
    // Made and copied in whole blocks or through Put: the vector's own fill
    // and copy go a pixel at a time through a three-byte copy, and pictures
    // are made and copied whole screens at a time.
    Image() = default;
    Image(int width, int height, Colour fill = kWhite)
        : width_(width < 0 ? 0 : width), height_(height < 0 ? 0 : height),
          pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {
        if (fill == kBlack) return;  // what the vector starts as
        for (Colour& c : pixels_) Put(c, fill);
    }

    Image(const Image& other) : width_(other.width_), height_(other.height_), pixels_(other.pixels_.size()) {
        std::copy(other.pixels_.begin(), other.pixels_.end(), pixels_.begin());
    }
    Image& operator=(const Image& other) {
        if (this == &other) return *this;
        width_ = other.width_;
        height_ = other.height_;
        pixels_.resize(other.pixels_.size());
        std::copy(other.pixels_.begin(), other.pixels_.end(), pixels_.begin());
        return *this;
    }
    Image(Image&&) noexcept = default;
    Image& operator=(Image&&) noexcept = default;
    ~Image() = default;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return pixels_.empty(); }

    Colour At(int x, int y) const { return pixels_[Index(x, y)]; }
    void Set(int x, int y, Colour c) { pixels_[Index(x, y)] = c; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // The first pixel of row y; the row's Width() pixels follow it. For loops
    // over whole rows, where At and Set would work out every place again.
    const Colour* Row(int y) const { return pixels_.data() + Index(0, y); }
    Colour* Row(int y) { return pixels_.data() + Index(0, y); }

    const std::vector<Colour>& Pixels() const { return pixels_; }
    std::vector<Colour>& Pixels() { return pixels_; }

    friend bool operator==(const Image&, const Image&) = default;

private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<Colour> pixels_;
};

}  // namespace corvane
