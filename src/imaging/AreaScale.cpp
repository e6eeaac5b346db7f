// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/AreaScale.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace corvane {
namespace {

// How the old pixels of one axis fall under the new ones. Measured in units
// of 1/to of an old pixel, old pixel i spans [i * to, (i + 1) * to) and new
// pixel d spans [d * from, (d + 1) * from): the overlaps are whole numbers
// and the weights of one new pixel add up to `from`. All the weights of an
// axis lie in one list, new pixel by new pixel: one allocation, not one a pixel.
class Spans {
public:
    Spans(int from, int to) : first_(static_cast<std::size_t>(to)), start_(static_cast<std::size_t>(to) + 1) {
        const auto f = static_cast<std::uint64_t>(from), t = static_cast<std::uint64_t>(to);
        weights_.reserve(static_cast<std::size_t>(from + to));
        for (std::size_t d = 0; d < first_.size(); ++d) {
            const std::uint64_t begin = d * f, end = (d + 1) * f;
            first_[d] = static_cast<int>(begin / t);
            start_[d] = weights_.size();
            for (std::uint64_t i = begin / t; i * t < end; ++i)
                weights_.push_back(static_cast<std::uint32_t>(std::min(end, (i + 1) * t) - std::max(begin, i * t)));
        }
        start_[static_cast<std::size_t>(to)] = weights_.size();
    }

    std::size_t Count() const { return first_.size(); }
    // The first old pixel under new pixel d.
    int First(std::size_t d) const { return first_[d]; }
    // The weights of the old pixels under new pixel d, from the first on.
    std::span<const std::uint32_t> Weights(std::size_t d) const {
        return std::span(weights_).subspan(start_[d], start_[d + 1] - start_[d]);
    }

private:
    std::vector<int> first_;
    std::vector<std::size_t> start_;
    std::vector<std::uint32_t> weights_;
};

// The rounded mean of a total over `whole`, dividing by multiplying: a new
// pixel takes three divisions, each as dear as a row of additions. With the
// reciprocal rounded up to 64 bits after the point, the high half of the
// product is the quotient exactly as long as n * whole < 2^64 (the error
// stays under 1/whole, the least distance of a fraction n/whole below the
// next whole number): the means of pictures under 2^28 pixels. Larger ones divide.
class RoundedMean {
public:
    explicit RoundedMean(std::uint64_t whole)
        : whole_(whole), reciprocal_(whole > 1 && whole < (std::uint64_t{1} << 28) ? UINT64_MAX / whole + 1 : 0) {}
    std::uint8_t operator()(std::uint64_t total) const {
        const std::uint64_t n = total + whole_ / 2;
        __extension__ using Wide = unsigned __int128;
        return static_cast<std::uint8_t>(reciprocal_ ? static_cast<std::uint64_t>((Wide{n} * reciprocal_) >> 64)
                                                     : n / whole_);
    }

private:
    std::uint64_t whole_;
    std::uint64_t reciprocal_;  // 0: divide
};

// Down each new row's old rows first, then across: an old pixel is read
// once for every new row it falls under, not once for every new pixel. The
// sums are whole numbers, so the order of adding does not change them. Rows
// are taken as runs of channel bytes, one loop over all three. A column's
// sum down one new row is at most 255 times the old height, which `Down`
// must hold: 32 bits for all but the tallest pictures, twice the additions a
// vector register.
template <class Down>
Image Shrink(const Image& image, int width, int height, const Spans& columns, const Spans& rows) {
    static_assert(sizeof(Colour) == 3, "a row of pixels is a run of channel bytes");
    const RoundedMean mean(std::uint64_t{static_cast<std::uint32_t>(image.Width())} *
                           static_cast<std::uint32_t>(image.Height()));
    Image shrunk(width, height);
    const std::size_t rowBytes = static_cast<std::size_t>(image.Width()) * 3;
    std::vector<Down> downSums(rowBytes);
    Down* const down = downSums.data();
    for (int y = 0; y < height; ++y) {
        const auto rowWeights = rows.Weights(static_cast<std::size_t>(y));
        for (std::size_t j = 0; j < rowWeights.size(); ++j) {
            const int oldY = rows.First(static_cast<std::size_t>(y)) + static_cast<int>(j);
            const auto* old = reinterpret_cast<const std::uint8_t*>(image.Row(oldY));
            const auto weight = static_cast<Down>(rowWeights[j]);
            if (j == 0) {
                for (std::size_t i = 0; i < rowBytes; ++i) down[i] = static_cast<Down>(weight * old[i]);
            } else {
                for (std::size_t i = 0; i < rowBytes; ++i) down[i] = static_cast<Down>(down[i] + weight * old[i]);
            }
        }
        auto* out = reinterpret_cast<std::uint8_t*>(shrunk.Row(y));
        for (std::size_t x = 0; x < columns.Count(); ++x) {
            const Down* sum = down + static_cast<std::size_t>(columns.First(x)) * 3;
            std::uint64_t r = 0, g = 0, b = 0;
            for (const std::uint64_t weight : columns.Weights(x)) {
                r += weight * sum[0];
                g += weight * sum[1];
                b += weight * sum[2];
                sum += 3;
            }
            *out++ = mean(r);
            *out++ = mean(g);
            *out++ = mean(b);
        }
    }
    return shrunk;
}

}  // namespace

PictureSize FitWithin(int width, int height, int box) {
    if (width <= 0 || height <= 0 || box <= 0) return {};
    if (width <= box && height <= box) return {width, height};
    const auto Scaled = [box](int side, int longest) {
        const auto rounded = (std::int64_t{side} * box * 2 + longest) / (std::int64_t{longest} * 2);
        return static_cast<int>(std::max<std::int64_t>(1, rounded));
    };
    return width >= height ? PictureSize{box, Scaled(height, width)} : PictureSize{Scaled(width, height), box};
}

Image ShrinkByArea(const Image& image, int width, int height) {
    if (image.Empty() || width <= 0 || height <= 0) return {};
    const Spans columns(image.Width(), width), rows(image.Height(), height);
    if (std::uint64_t{255} * static_cast<std::uint32_t>(image.Height()) <= UINT32_MAX)
        return Shrink<std::uint32_t>(image, width, height, columns, rows);
    return Shrink<std::uint64_t>(image, width, height, columns, rows);
}

}  // namespace corvane
