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
    const auto Mean = [whole](std::uint64_t total) { return static_cast<std::uint8_t>((total + whole / 2) / whole); };

    // Down each new row's old rows first, then across: an old pixel is read
    // once for every new row it falls under, not once for every new pixel.
    // The sums are whole numbers, so the order of adding does not change them.
    // Rows are taken as runs of channel bytes, one loop over all three.
    static_assert(sizeof(Colour) == 3, "a row of pixels is a run of channel bytes");
    Image shrunk(width, height);
    const std::size_t rowBytes = static_cast<std::size_t>(image.Width()) * 3;
    std::vector<std::uint64_t> downSums(rowBytes);
    std::uint64_t* const down = downSums.data();
    for (int y = 0; y < height; ++y) {
        const Span& row = rows[static_cast<std::size_t>(y)];
        for (std::size_t j = 0; j < row.weights.size(); ++j) {
            const auto* old = reinterpret_cast<const std::uint8_t*>(image.Row(row.first + static_cast<int>(j)));
            const std::uint64_t weight = row.weights[j];
            if (j == 0) {
                for (std::size_t i = 0; i < rowBytes; ++i) down[i] = weight * old[i];
            } else {
                for (std::size_t i = 0; i < rowBytes; ++i) down[i] += weight * old[i];
            }
        }
        auto* out = reinterpret_cast<std::uint8_t*>(shrunk.Row(y));
        for (const Span& column : columns) {
            const std::uint64_t* sum = down + static_cast<std::size_t>(column.first) * 3;
            std::uint64_t r = 0, g = 0, b = 0;
            for (const std::uint32_t weight : column.weights) {
                r += weight * sum[0];
                g += weight * sum[1];
                b += weight * sum[2];
                sum += 3;
            }
            *out++ = Mean(r);
            *out++ = Mean(g);
            *out++ = Mean(b);
        }
    }
    return shrunk;
}

}  // namespace corvane
