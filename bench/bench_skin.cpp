// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Opening a full skin into both image sets, and saving one at each depth,
// with pictures as busy as photographs: every pixel a different colour.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "io/ByteOrder.h"
#include "io/FileAccess.h"
#include "model/SkinDocument.h"
#include "model/SkinFile.h"

namespace corvane {
namespace {

Image BusyPicture(int element, int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set(x, y, Colour{static_cast<std::uint8_t>(x * 7 + element * 3), static_cast<std::uint8_t>(y * 13 + x),
                                   static_cast<std::uint8_t>((x + y) * 5)});
    return image;
}

// A document as the editor holds it after every element was loaded from a picture.
SkinDocument BusyDocument() {
    SkinDocument document;
    for (const auto& e : kSkinElements)
        for (const Depth depth : kDepths)
            document.Slot(depth, e.element).CopyFrom(BusyPicture(static_cast<int>(e.element), e.width, e.height), 0, 0, depth);
    return document;
}

std::string BenchPath(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

void BM_OpenSkinIntoBothSets(benchmark::State& state) {
    const Depth depth = *DepthOfBits(static_cast<int>(state.range(0)));
    const SkinDocument source = BusyDocument();
    const auto bytes = EncodeSkinFile(source.Set(depth), depth, "bench", 0).value();
    SkinDocument document;
    for (auto _ : state) {
        const DecodedSkin skin = DecodeSkinFile(bytes);
        ApplyDecodedSkin(skin, document);
        benchmark::DoNotOptimize(document.Slot(Depth::Eight, 0).Picture().Pixels().data());
    }
    state.SetLabel(std::to_string(bytes.size()) + " bytes");
}
BENCHMARK(BM_OpenSkinIntoBothSets)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);

// Encoding the current set and writing the file, as Save does.
void BM_SaveSkin(benchmark::State& state) {
    const Depth depth = *DepthOfBits(static_cast<int>(state.range(0)));
    const SkinDocument document = BusyDocument();
    const std::string path = BenchPath("corvane-bench-skin.pdb");
    std::size_t size = 0;
    for (auto _ : state) {
        const auto bytes = EncodeSkinFile(document.Set(depth), depth, "bench", PalmNow());
        if (!bytes || WriteFileWithReason(path, *bytes).outcome != WriteOutcome::Ok) state.SkipWithError("save failed");
        size = bytes ? bytes->size() : 0;
    }
    std::filesystem::remove(path);
    state.SetLabel(std::to_string(size) + " bytes");
}
BENCHMARK(BM_SaveSkin)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);

// A fresh document: default pictures, which reach the encoder unreduced.
void BM_SaveDefaultSkin(benchmark::State& state) {
    const Depth depth = *DepthOfBits(static_cast<int>(state.range(0)));
    const SkinDocument document;
    for (auto _ : state) benchmark::DoNotOptimize(EncodeSkinFile(document.Set(depth), depth, "bench", 0));
}
BENCHMARK(BM_SaveDefaultSkin)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);

// A hostile file: all 35 entries point at one large 16-bit bitmap, one
// colour throughout, so the file stays small (4.2 MB at 2048 x 8174). Peak
// memory of the same files through the tool: bench/hostile-input.sh.
std::vector<std::uint8_t> EntriesSharingOneBitmap(int width, int height) {
    const auto bitmap = EncodePalmBitmap(Image(width, height, Colour{0, 0, 248}), kPureGreen, true, 16);
    BigEndianWriter w;
    w.Zeros(60);
    w.FourCC("Skn7");
    w.FourCC("TSkn");
    w.Zeros(8);
    w.U16(kElementCount);
    const auto resourceAt = static_cast<std::uint32_t>(kDatabaseHeaderSize + kDatabaseEntrySize * kElementCount + 2);
    for (const auto id : SupportedSkinIds()) {
        w.FourCC("Tbmp");
        w.U16(id);
        w.U32(resourceAt);
    }
    w.Zeros(2);
    std::vector<std::uint8_t> file = w.Take();
    if (bitmap) file.insert(file.end(), bitmap->bytes.begin(), bitmap->bytes.end());
    return file;
}

void BM_OpenSkinWhoseEntriesShareOneBitmap(benchmark::State& state) {
    const auto bytes = EntriesSharingOneBitmap(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    SkinDocument document;
    int missing = 0;
    for (auto _ : state) {
        const DecodedSkin skin = DecodeSkinFile(bytes);
        ApplyDecodedSkin(skin, document);
        missing = skin.missing;
    }
    state.SetLabel(std::to_string(bytes.size()) + " bytes, " + std::to_string(missing) + " missing");
}
BENCHMARK(BM_OpenSkinWhoseEntriesShareOneBitmap)->Args({2048, 8174})->Args({4096, 4000})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane
