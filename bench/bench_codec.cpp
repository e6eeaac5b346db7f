// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reducing, encoding and decoding a whole skin's worth of pictures: 24 + 2 of
// 102 x 46, 5 of 156 x 32, 320 x 8, 18 x 10 and 2 of 320 x 30, about 169,000
// pixels of photo-like colours, as a save of a skin built from photos does.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "imaging/Palm.h"
#include "imaging/PalmColour.h"
#include "imaging/Reduce.h"

namespace corvane {
namespace {

// Smooth gradients with noise: neighbouring pixels are close but rarely equal.
Image PhotoLike(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-10, 10);
    auto clamp = [](int v) { return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
    Image image(width, height);
    const int phase = static_cast<int>(seed * 37 % 256);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set(x, y, Colour{clamp((x * 2 + phase) % 256 + noise(random)), clamp(y * 5 + x + noise(random)),
                                   clamp(255 - (x + y + phase) % 256 + noise(random))});
    return image;
}

const std::vector<Image>& SkinPictures() {
    static const std::vector<Image> pictures = [] {
        std::vector<Image> p;
        unsigned seed = 1;
        for (int i = 0; i < 26; ++i) p.push_back(PhotoLike(102, 46, seed++));
        for (int i = 0; i < 5; ++i) p.push_back(PhotoLike(156, 32, seed++));
        p.push_back(PhotoLike(320, 8, seed++));
        p.push_back(PhotoLike(18, 10, seed++));
        for (int i = 0; i < 2; ++i) p.push_back(PhotoLike(320, 30, seed++));
        return p;
    }();
    return pictures;
}

std::int64_t PixelCount() {
    std::int64_t n = 0;
    for (const Image& image : SkinPictures()) n += static_cast<std::int64_t>(image.Width()) * image.Height();
    return n;
}

std::vector<Image> Reduced(int depth) {
    std::vector<Image> out = SkinPictures();
    for (Image& image : out) {
        Colour transparent = kPureGreen;
        ReduceImageToDepth(image, transparent, *DepthOfBits(depth));
    }
    return out;
}

// Appends the resource of one picture, as a skin writer lays them out.
void AppendBitmap(std::vector<std::uint8_t>& out, const Image& image, Colour transparent, int depth) {
    const auto bitmap = EncodePalmBitmap(image, transparent, true, depth);
    if (bitmap) out.insert(out.end(), bitmap->bytes.begin(), bitmap->bytes.end());
}

std::vector<std::uint8_t> EncodeAll(const std::vector<Image>& pictures, Colour transparent, int depth) {
    std::vector<std::uint8_t> out;
    for (const Image& image : pictures) AppendBitmap(out, image, transparent, depth);
    return out;
}

void Report(benchmark::State& state) {
    state.SetItemsProcessed(state.iterations() * PixelCount());
    state.counters["pictures"] = static_cast<double>(SkinPictures().size());
}

void BM_Reduce(benchmark::State& state) {
    const int depth = static_cast<int>(state.range(0));
    NearestPaletteIndex(kWhite);  // the lookup table is built once per process, not per save
    for (auto _ : state) {
        std::vector<Image> pictures = SkinPictures();
        for (Image& image : pictures) {
            Colour transparent = kPureGreen;
            ReduceImageToDepth(image, transparent, *DepthOfBits(depth));
        }
        benchmark::DoNotOptimize(pictures.data());
    }
    Report(state);
}
BENCHMARK(BM_Reduce)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);

void BM_Encode(benchmark::State& state) {
    const int depth = static_cast<int>(state.range(0));
    const std::vector<Image> pictures = Reduced(depth);
    const Colour transparent = depth == 8 ? kPureGreen : Quantise565(kPureGreen);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto out = EncodeAll(pictures, transparent, depth);
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    Report(state);
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Encode)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);

// What a save does with pictures that came from files: reduce, then encode.
void BM_ReduceAndEncode(benchmark::State& state) {
    const int depth = static_cast<int>(state.range(0));
    NearestPaletteIndex(kWhite);
    for (auto _ : state) {
        std::vector<Image> pictures = SkinPictures();
        std::vector<std::uint8_t> out;
        for (Image& image : pictures) {
            Colour transparent = kPureGreen;
            ReduceImageToDepth(image, transparent, *DepthOfBits(depth));
            AppendBitmap(out, image, transparent, depth);
        }
        benchmark::DoNotOptimize(out.data());
    }
    Report(state);
}
BENCHMARK(BM_ReduceAndEncode)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);

// The peer: the same 8-bit reduce and encode with the plain 256-entry search
// for every pixel, twice (once to reduce, once to find the index).
void BM_ReduceAndEncodeNaiveSearch8(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::uint8_t> out;
        for (const Image& picture : SkinPictures()) {
            const int t = NearestPaletteIndexBySearch(kPureGreen, -1);
            const Colour transparent = PaletteColour(t);
            Image image = picture;
            for (Colour& c : image.Pixels())
                c = c == kPureGreen ? transparent : PaletteColour(NearestPaletteIndexBySearch(c, t));
            std::vector<std::uint8_t> indexes;
            indexes.reserve(image.Pixels().size());
            for (const Colour c : image.Pixels())
                indexes.push_back(static_cast<std::uint8_t>(c == transparent ? t : NearestPaletteIndexBySearch(c, t)));
            benchmark::DoNotOptimize(indexes.data());
            out.insert(out.end(), indexes.begin(), indexes.end());
        }
        benchmark::DoNotOptimize(out.data());
    }
    Report(state);
}
BENCHMARK(BM_ReduceAndEncodeNaiveSearch8)->Unit(benchmark::kMillisecond);

// Opening a skin: every resource read and turned into a picture.
void BM_Decode(benchmark::State& state) {
    const int depth = static_cast<int>(state.range(0));
    std::vector<std::vector<std::uint8_t>> resources;
    for (const Image& image : Reduced(depth)) {
        std::vector<std::uint8_t> bytes;
        AppendBitmap(bytes, image, kPureGreen, depth);
        resources.push_back(std::move(bytes));
    }
    for (auto _ : state) {
        for (const auto& bytes : resources) {
            const auto picture = DecodePalmBitmap(bytes);
            benchmark::DoNotOptimize(picture->image.Pixels().data());
        }
    }
    Report(state);
}
BENCHMARK(BM_Decode)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane
