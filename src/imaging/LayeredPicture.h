// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A picture as painting programs keep it: a canvas of layers, each with its
// own name, place, size and pixels with alpha, gathered in groups. The
// layered formats (Ora.h, Psd.h) map bytes to this value and back; what the
// layers mean to a skin is decided above, in the exchange layer.
//
// Lists run from the top of the stack down, as a layers panel shows them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "io/Result.h"

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
    std::uint8_t opacity = 255;  // 255 opaque; below, the layer's pixels show partly through
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
    RgbaImage merged;           // the whole canvas as it looks; empty when a file had none or it was not read
    std::vector<std::string> notices;  // what a reader left out or took otherwise than written, a sentence each

    friend bool operator==(const LayeredPicture&, const LayeredPicture&) = default;
};

// Whether a reader decodes the merged image (a round trip, a preview) or
// leaves it unread (an import, which takes the layers only).
enum class MergedImage { Decoded, Skipped };

// How the caller holds the file: read whole into memory, where every byte
// counts against the budget, or mapped (io/MappedFile.h), where only the
// parts a reader touches do, and stay counted, as their pages stay resident.
enum class FileBytes { InMemory, Mapped };

// What a caller asks of a layered reader.
struct LayeredRead {
    // Not explicit: a request about the merged image alone is written as the MergedImage.
    LayeredRead(MergedImage image = MergedImage::Decoded) : merged(image) {}

    MergedImage merged;
    FileBytes file = FileBytes::InMemory;
    // The layers the caller takes, by name: of each name the first layer
    // from the top, as FindLayer finds it. A layer it does not take whose
    // pixels cannot be read is left empty with a notice instead of refusing
    // the file. Nothing: every layer is taken.
    std::optional<std::vector<std::string_view>> onlyLayers;
};

// Decides layer by layer, from the top of the stack and into each group as
// FindLayer goes, whether the caller takes the layer (see LayeredRead).
class LayerUse {
public:
    explicit LayerUse(const LayeredRead& read) : only_(read.onlyLayers) {}
    bool Next(std::string_view name);

private:
    const std::optional<std::vector<std::string_view>>& only_;
    std::vector<std::string> taken_;
};

// The notice of a layer left out (see LayeredRead), a sentence: "The layer
// 'X' was left out: it " and what is wrong ("is a damaged PNG picture").
std::string LeftOutNotice(std::string_view layer, std::string_view whatIsWrong);

// The pixels of the layers and of all the layers in their groups.
std::uint64_t PixelCount(const std::vector<Layer>& layers);

// What every layered reader accepts at most: the bytes of a file, the pixels
// of all its layers together, how deep groups nest and how many layers and
// groups there are (a skin has 35 elements and a few groups). A file held
// whole while it is read leaves room in the memory budget for the layers it
// holds; a mapped one costs what is read of it, and its limit only keeps
// out what no painting program writes for a 320 x 320 dial screen.
inline constexpr std::uint64_t kLayeredFileLimit = std::uint64_t{128} << 20;
inline constexpr std::uint64_t kLayeredMappedFileLimit = std::uint64_t{1} << 30;
inline constexpr std::uint64_t kLayeredPixelLimit = std::uint64_t{32} << 20;
inline constexpr int kLayeredGroupDepthLimit = 64;
inline constexpr int kLayeredLayerLimit = 1000;
// What one read may hold at once: the file, the decoded layers (4 bytes a
// pixel) and the working memory of the part being decoded. The rest of the
// 256 MB is the command's own, as for a picture file's decode.
inline constexpr std::uint64_t kLayeredMemoryLimit = std::uint64_t{208} << 20;

// The pixels and bytes a reader may still take. Every layer draws on it
// before its memory is reserved; working memory is taken for as long as it is
// held and given back after. Each refusal says which limit and what was asked.
class PixelBudget {
public:
    explicit PixelBudget(std::uint64_t pixels = kLayeredPixelLimit, std::uint64_t bytes = kLayeredMemoryLimit)
        : pixels_(pixels), bytes_(bytes), bytesLimit_(bytes) {}

    // width x height pixels kept at 4 bytes each; a failure, taking nothing,
    // when either the pixels or the memory left are fewer.
    Status Take(std::uint64_t width, std::uint64_t height);
    // Memory held while a part is read: a failure ("needs ... to be read"),
    // taking nothing, past what is left.
    Status Hold(std::uint64_t bytes);
    void Release(std::uint64_t bytes) { bytes_ = std::min(bytesLimit_, bytes_ + bytes); }
    std::uint64_t BytesLeft() const { return bytes_; }

private:
    std::uint64_t pixels_;
    std::uint64_t bytes_;
    std::uint64_t bytesLimit_;
};

// Gives bytes held from the budget back when it goes out of scope.
struct HeldBytes {
    PixelBudget& budget;
    std::uint64_t bytes;
    ~HeldBytes() { budget.Release(bytes); }
};

constexpr std::uint64_t LayeredFileLimit(FileBytes file) {
    return file == FileBytes::Mapped ? kLayeredMappedFileLimit : kLayeredFileLimit;
}

// The layers and groups of the list at every depth.
std::uint64_t LayerCount(const std::vector<Layer>& layers);

// The first layer of that name, at any depth of groups, searched from the top.
const Layer* FindLayer(const std::vector<Layer>& layers, std::string_view name);

}  // namespace corvane
