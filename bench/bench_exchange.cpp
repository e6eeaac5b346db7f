// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The bitmap exchange on a whole skin: writing and reading back the 35-file
// bitmap set (70 picture loads, each reduced), and Insert Background Image,
// which composes and reduces all 24 keys at both depths.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "exchange/BitmapSet.h"
#include "exchange/Dialpad.h"
#include "imaging/Bmp.h"
#include "model/SkinDocument.h"
#include "platform/QtPictureReader.h"

namespace corvane {
namespace {

// The imports read their pictures as the editor does.
const bool kReaderInstalled = [] {
    corvane::QtPictureReader::Install();
    return true;
}();

std::filesystem::path BenchFolder() {
    const auto folder = std::filesystem::temp_directory_path() / ("corvane-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    return folder;
}

void BM_ExportAndImportBitmapSet(benchmark::State& state) {
    const auto folder = BenchFolder();
    SkinDocument document;
    for (auto _ : state) {
        for (const Element element : kBitmapSetOrder) {
            const auto& e = ElementInfo(element);
            if (!WriteBmpFile(document.Slot(Depth::Sixteen, element).Picture(), BitmapFilePath(folder.string(), e.name)))
                state.SkipWithError("export failed");
        }
        benchmark::DoNotOptimize(ImportBitmapSet(document, folder.string()));
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ExportAndImportBitmapSet)->Unit(benchmark::kMillisecond);

void BM_InsertBackground(benchmark::State& state) {
    std::mt19937 random(7);
    Image background(306, 184);
    for (auto& pixel : background.Pixels())
        pixel = Colour{static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                       static_cast<std::uint8_t>(random())};
    for (auto _ : state) {
        SkinDocument document;
        InsertBackgroundPicture(document, background);
        benchmark::DoNotOptimize(document.ReleasedPreview());
    }
}
BENCHMARK(BM_InsertBackground)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane
