#include "imaging/AreaScale.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace corvane {
namespace {

// How the old pixels of one axis fall under one new pixel. Measured in units
// of 1/to of an old pixel, old pixel i spans [i * to, (i + 1) * to) and new
// pixel d spans [d * from, (d + 1) * from): the overlaps are whole numbers
// and the weights of one new pixel add up to `from`.
struct Span {
    int first = 0;
    std::vector<std::uint32_t> weights;
};

std::vector<Span> Spans(int from, int to) {
    std::vector<Span> spans(static_cast<std::size_t>(to));
    const auto f = static_cast<std::uint64_t>(from), t = static_cast<std::uint64_t>(to);
    for (std::uint64_t d = 0; d < t; ++d) {
        const std::uint64_t begin = d * f, end = (d + 1) * f;
        Span& span = spans[static_cast<std::size_t>(d)];
        span.first = static_cast<int>(begin / t);
        for (std::uint64_t i = begin / t; i * t < end; ++i) {
            const std::uint64_t overlap = std::min(end, (i + 1) * t) - std::max(begin, i * t);
            span.weights.push_back(static_cast<std::uint32_t>(overlap));
        }
    }
    return spans;
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
    const std::vector<Span> columns = Spans(image.Width(), width);
    const std::vector<Span> rows = Spans(image.Height(), height);
    const std::uint64_t whole = std::uint64_t{static_cast<std::uint32_t>(image.Width())} *
                                static_cast<std::uint32_t>(image.Height());

    Image shrunk(width, height);
    std::vector<std::uint64_t> sums(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        const Span& row = rows[static_cast<std::size_t>(y)];
        for (std::size_t j = 0; j < row.weights.size(); ++j) {
            const int sourceY = row.first + static_cast<int>(j);
            for (int x = 0; x < width; ++x) {
                const Span& column = columns[static_cast<std::size_t>(x)];
                std::uint64_t r = 0, g = 0, b = 0;
                for (std::size_t i = 0; i < column.weights.size(); ++i) {
                    const Colour c = image.At(column.first + static_cast<int>(i), sourceY);
                    r += std::uint64_t{c.r} * column.weights[i];
                    g += std::uint64_t{c.g} * column.weights[i];
                    b += std::uint64_t{c.b} * column.weights[i];
                }
                std::uint64_t* sum = &sums[static_cast<std::size_t>(x) * 3];
                sum[0] += r * row.weights[j];
                sum[1] += g * row.weights[j];
                sum[2] += b * row.weights[j];
            }
        }
        for (int x = 0; x < width; ++x) {
            const std::uint64_t* sum = &sums[static_cast<std::size_t>(x) * 3];
            const auto Mean = [whole](std::uint64_t total) { return static_cast<std::uint8_t>((total + whole / 2) / whole); };
            shrunk.Set(x, y, Colour{Mean(sum[0]), Mean(sum[1]), Mean(sum[2])});
        }
    }
    return shrunk;
}

}  // namespace corvane
