// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A picture as painting programs keep it: a canvas of layers, each with its
// own name, place, size and pixels with alpha, gathered in groups. The
// layered formats (Ora.h, Psd.h) map bytes to this value and back; what the
// layers mean to a skin is decided above, in the exchange layer.
//
// Lists run from the top of the stack down, as a layers panel shows them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 0;

    friend constexpr bool operator==(const Rgba&, const Rgba&) = default;
};

// Straight (not premultiplied) alpha, row by row from the top.
class RgbaImage {
public:
    RgbaImage() = default;
    RgbaImage(int width, int height, Rgba fill = {})
        : width_(width < 0 ? 0 : width), height_(height < 0 ? 0 : height),
          pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return pixels_.empty(); }
    Rgba At(int x, int y) const { return pixels_[Index(x, y)]; }
    void Set(int x, int y, Rgba c) { pixels_[Index(x, y)] = c; }
    const std::vector<Rgba>& Pixels() const { return pixels_; }
    std::vector<Rgba>& Pixels() { return pixels_; }

    friend bool operator==(const RgbaImage&, const RgbaImage&) = default;

private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<Rgba> pixels_;
};

struct Layer {
    std::string name;  // UTF-8
    bool group = false;
    bool visible = true;
    bool locked = false;
    int x = 0;  // the top-left corner of the pixels on the canvas; may lie outside it
    int y = 0;
    RgbaImage pixels;             // a group's stays empty
    std::vector<Layer> children;  // a group's layers, top first

    friend bool operator==(const Layer&, const Layer&) = default;
};

struct LayeredPicture {
    int width = 0;
    int height = 0;
    std::vector<Layer> layers;  // top first
    RgbaImage merged;           // the whole canvas as it looks; empty when a file had none

    friend bool operator==(const LayeredPicture&, const LayeredPicture&) = default;
};

// The pixels of the layers and of all the layers in their groups.
std::uint64_t PixelCount(const std::vector<Layer>& layers);

// What every layered reader accepts at most: the bytes of a file, the pixels
// of all its layers together, and how deep groups nest.
inline constexpr std::uint64_t kLayeredFileLimit = std::uint64_t{256} << 20;
inline constexpr std::uint64_t kLayeredPixelLimit = std::uint64_t{64} << 20;
inline constexpr int kLayeredGroupDepthLimit = 64;

// The pixels a reader may still decode; every layer draws on it before its
// memory is reserved.
class PixelBudget {
public:
    explicit PixelBudget(std::uint64_t pixels = kLayeredPixelLimit) : left_(pixels) {}
    // False, taking nothing, when width x height is more than is left.
    bool Take(std::uint64_t width, std::uint64_t height) {
        if (width != 0 && height > left_ / width) return false;
        left_ -= width * height;
        return true;
    }

private:
    std::uint64_t left_;
};

// The first layer of that name, at any depth of groups, searched from the top.
const Layer* FindLayer(const std::vector<Layer>& layers, std::string_view name);

}  // namespace corvane
