// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/LayeredPicture.h"

#include <algorithm>
#include <string>

namespace corvane {

const Layer* FindLayer(const std::vector<Layer>& layers, std::string_view name) {
    for (const Layer& layer : layers) {
        if (!layer.group && layer.name == name) return &layer;
        if (const Layer* found = FindLayer(layer.children, name)) return found;
    }
    return nullptr;
}

std::uint64_t PixelCount(const std::vector<Layer>& layers) {
    std::uint64_t n = 0;
    for (const Layer& layer : layers) n += layer.pixels.Pixels().size() + PixelCount(layer.children);
    return n;
}

std::uint64_t LayerCount(const std::vector<Layer>& layers) {
    std::uint64_t n = 0;
    for (const Layer& layer : layers) n += 1 + LayerCount(layer.children);
    return n;
}

bool LayerUse::Next(std::string_view name) {
    if (!only_) return true;
    if (std::find(only_->begin(), only_->end(), name) == only_->end()) return false;
    // Below the first of its name, a layer is not the one taken.
    if (std::find(taken_.begin(), taken_.end(), name) != taken_.end()) return false;
    taken_.emplace_back(name);
    return true;
}

std::string LeftOutNotice(std::string_view layer, std::string_view whatIsWrong) {
    return "The layer '" + std::string(layer) + "' was left out: it " + std::string(whatIsWrong) + ".";
}

namespace {

std::string MiB(std::uint64_t bytes) { return std::to_string((bytes + (std::uint64_t{1} << 20) - 1) >> 20) + " MiB"; }

}  // namespace

Status PixelBudget::Take(std::uint64_t width, std::uint64_t height) {
    const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
    if (width != 0 && height > pixels_ / width)
        return Fail(size + ", more than the " + std::to_string(pixels_ >> 20) + " megapixels left of the " +
                    std::to_string(kLayeredPixelLimit >> 20) + " megapixels all layers together may have");
    const std::uint64_t bytes = 4 * width * height;
    if (bytes > bytes_)
        return Fail(size + ", which take " + MiB(bytes) + " decoded, more than the " + MiB(bytes_) + " left of the " +
                    MiB(bytesLimit_) + " a layered picture may take");
    pixels_ -= width * height;
    bytes_ -= bytes;
    return {};
}

Status PixelBudget::Hold(std::uint64_t bytes) {
    if (bytes > bytes_)
        return Fail("needs " + MiB(bytes) + " to be read, more than the " + MiB(bytes_) + " left of the " +
                    MiB(bytesLimit_) + " a layered picture may take");
    bytes_ -= bytes;
    return {};
}

}  // namespace corvane
