// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "web/PageFiles.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

#include "imaging/ImageFile.h"
#include "imaging/LayeredPicture.h"
#include "io/FileAccess.h"

namespace corvane {
namespace {

using emscripten::val;

constexpr std::size_t kBandBytes = std::size_t{4} << 20;

// ---- pictures the browser decoded -------------------------------------------------

// PNG and JPEG reach the core as pixels the page staged for the file's path;
// the core still reads the file itself first, so its size limit holds.
class StagedPictures : public PictureReader {
public:
    bool Stage(const std::string& path, const val& rgba, int width, int height) {
        if (width <= 0 || height <= 0) return false;
        if (!rgba.instanceof(val::global("Uint8Array")) && !rgba.instanceof(val::global("Uint8ClampedArray")))
            return false;
        const auto pixels = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
        if (pixels > kMaxPicturePixels || rgba["length"].as<double>() < static_cast<double>(pixels * 4)) return false;
        Image image(width, height);
        // A band at a time: a large picture is never held twice over in the module.
        std::vector<std::uint8_t> band(std::min<std::size_t>(kBandBytes, static_cast<std::size_t>(pixels * 4)));
        for (std::size_t done = 0; done < pixels;) {
            const std::size_t count = std::min<std::size_t>(band.size() / 4, static_cast<std::size_t>(pixels) - done);
            val(emscripten::typed_memory_view(count * 4, band.data()))
                .call<void>("set", rgba.call<val>("subarray", static_cast<double>(done * 4),
                                                  static_cast<double>((done + count) * 4)));
            for (std::size_t i = 0; i < count; ++i)
                image.Pixels()[done + i] = Colour{band[4 * i], band[4 * i + 1], band[4 * i + 2]};
            done += count;
        }
        staged_[path] = std::move(image);
        return true;
    }
    void Unstage(const std::string& path) { staged_.erase(path); }
    void Clear() { staged_.clear(); }

    ImageFileResult Read(const std::string& path, int maxWidth, int maxHeight) const override {
        const auto found = staged_.find(path);
        if (found == staged_.end()) return RefusedPicture(ImageFileProblem::NotAPicture);
        const Image& whole = found->second;
        Image kept(KeptSide(static_cast<std::uint64_t>(whole.Width()), maxWidth),
                   KeptSide(static_cast<std::uint64_t>(whole.Height()), maxHeight));
        for (int y = 0; y < kept.Height(); ++y)
            for (int x = 0; x < kept.Width(); ++x) kept.Set(x, y, whole.At(x, y));
        return DecodedPicture(std::move(kept), static_cast<std::uint64_t>(whole.Width()),
                              static_cast<std::uint64_t>(whole.Height()));
    }

private:
    std::map<std::string, Image> staged_;
};

// The core asks the reader only for formats it does not decode itself.
StagedPictures& Staged() {
    static StagedPictures pictures;
    static const bool installed = (SetPictureReader(&pictures), true);
    (void)installed;
    return pictures;
}

}  // namespace

bool StagePicture(std::string path, val rgba, int width, int height) {
    return Staged().Stage(path, rgba, width, height);
}
void UnstagePicture(std::string path) { Staged().Unstage(path); }
void ClearStagedPictures() { Staged().Clear(); }

namespace {

// ---- limits --------------------------------------------------------------------

struct FileKind {
    const char* name;
    std::uint64_t limit;
    const char* files;  // as the desktop's messages name them
};
constexpr FileKind kFileKinds[] = {
    {"database", kDatabaseFileLimit, "skin and splash files"},
    {"picture", kPictureFileLimit, "picture files"},
    {"layered", kLayeredFileLimit, "layered images"},
};

const FileKind* KindNamed(const std::string& name) {
    for (const FileKind& kind : kFileKinds)
        if (name == kind.name) return &kind;
    return nullptr;
}

}  // namespace

double FileLimit(std::string kind) {
    const FileKind* found = KindNamed(kind);
    return found ? static_cast<double>(found->limit) : 0;
}
double PixelLimit() { return static_cast<double>(kMaxPicturePixels); }
std::string TooLargeText(std::string kind) {
    const FileKind* found = KindNamed(kind);
    return found ? ReadProblemText(ReadProblem::TooLarge, found->limit, found->files) : std::string();
}

// A file the page refused for its size, standing where it would have been:
// the next read of the path then fails as the desktop's does, for the
// desktop's message, without the bytes ever entering the module.
void StageOversized(std::string path, double size) {
    const val fs = val::module_property("FS");
    fs.call<val>("writeFile", path, val::global("Uint8Array").new_(0));
    fs.call<val>("lookupPath", path)["node"].set("usedBytes", size);
}

}  // namespace corvane
