// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/ImageSlot.h"

#include <algorithm>
#include <utility>

#include "imaging/ImageFile.h"
#include "imaging/Reduce.h"
#include "model/UserInterface.h"

namespace corvane {

void ImageSlot::LoadDefault(Image picture, Depth depth) {
    image_ = std::move(picture);
    transparent_ = kPureGreen;
    ReduceToDepth(depth);
}

bool ImageSlot::LoadFromFile(const std::string& path, Depth depth, Dither dither) {
    // The slot keeps only the picture's top-left part of its own size.
    const std::optional<Image> picture = ReadImageFile(path, Width(), Height()).image;
    return picture && CopyFrom(*picture, 0, 0, depth, dither);
}

bool ImageSlot::CopyFrom(const Image& picture, int x, int y, Depth depth, Dither dither) {
    if (!CopyRectangle(picture, x, y)) return false;
    ReduceToDepth(depth, dither);
    return true;
}

bool ImageSlot::CopyRectangle(const Image& picture, int x, int y) {
    if (image_.Empty() || picture.Empty()) return false;
    // Only the overlap of the slot-sized rectangle at (x, y) with the picture
    // is copied; in slot coordinates it runs from (left, top) to (right, bottom).
    const long left = std::max(0L, -static_cast<long>(x));
    const long top = std::max(0L, -static_cast<long>(y));
    const long right = std::min<long>(image_.Width(), static_cast<long>(picture.Width()) - x);
    const long bottom = std::min<long>(image_.Height(), static_cast<long>(picture.Height()) - y);
    // A row at a time: one block copy instead of a call a pixel.
    for (long row = top; row < bottom && left < right; ++row) {
        const Colour* from = picture.Row(static_cast<int>(row + y)) + (left + x);
        std::copy(from, from + (right - left), image_.Row(static_cast<int>(row)) + left);
    }
    return true;
}

void ImageSlot::ReduceToDepth(Depth depth, Dither dither) { ReduceImageToDepth(image_, transparent_, depth, dither); }

void ImageSlot::FillWhite() {
    std::fill(image_.Pixels().begin(), image_.Pixels().end(), kWhite);
    transparent_ = kWhite;
}

namespace {

// The decoded picture into both slots; the decode is read at most at the larger slot's size.
template <class Decode>
ElementLoad LoadElement(ImageSlot& eightBit, ImageSlot& sixteenBit, Dither dither, Decode decode) {
    ElementLoad load;
    load.file = decode(std::max(eightBit.Width(), sixteenBit.Width()), std::max(eightBit.Height(), sixteenBit.Height()));
    if (!load.file.image) return load;
    load.eightBit = eightBit.CopyFrom(*load.file.image, 0, 0, Depth::Eight, dither);
    load.sixteenBit = sixteenBit.CopyFrom(*load.file.image, 0, 0, Depth::Sixteen, dither);
    load.file.image.reset();
    return load;
}

}  // namespace

ElementLoad LoadElementFromFile(ImageSlot& eightBit, ImageSlot& sixteenBit, const std::string& path, Dither dither) {
    return LoadElement(eightBit, sixteenBit, dither, [&](int width, int height) { return ReadImageFile(path, width, height); });
}

ElementLoad LoadElementFromBytes(ImageSlot& eightBit, ImageSlot& sixteenBit, std::span<const std::uint8_t> bytes,
                                 Dither dither) {
    return LoadElement(eightBit, sixteenBit, dither,
                       [&](int width, int height) { return DecodeImageBytes(bytes, width, height); });
}

std::string ElementLoadProblemText(const ElementLoad& load) {
    // A picture that read but found no slot to go into: a slot never given its default.
    if (load.file.problem == ImageFileProblem::None) return "the element has no picture to load into";
    return ImageFileProblemText(load.file);
}

std::string ChooseImageFile(UserInterface& user, std::string_view label) {
    FilePrompt prompt;
    prompt.title = "Select image for '" + std::string(label) + "'";
    prompt.filter = std::string(kImageFileFilter);
    prompt.mustExist = true;
    return user.AskOpenFile(prompt).value_or(std::string());
}

}  // namespace corvane
