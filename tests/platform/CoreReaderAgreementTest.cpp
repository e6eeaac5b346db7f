// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The core's picture decoders against the toolkit's reader: for every picture
// of the shared test data, the BMP suite, the splash samples and a few PNG and
// JPEG kinds (16 bits, interlaced, alpha, palette, subsampled), wherever
// both read a file they give the same pixels, and the core reads every file
// the toolkit reads except the few listed with their reason.
//
// JPEG: both use libjpeg-turbo with its accurate integer transform and
// smooth upsampling, so they agree to the byte on these samples; another
// build of the toolkit (its own bundled decoder, a faster transform) may
// differ by a level or two per channel.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "imaging/ImageFile.h"
#include "io/FileAccess.h"
#include "platform/QtPictureReader.h"
#include "support/TestData.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Pictures() {
    std::vector<fs::path> files;
    for (const char* folder : {"bmpsuite/g", "bmpsuite/q", "bmpsuite/b", "splash", "pictures"}) {
        const auto inFolder = testing::TestDataFiles(folder);
        files.insert(files.end(), inFolder.begin(), inFolder.end());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Where two pictures first differ, readable in a failure message.
std::string FirstDifference(const Image& a, const Image& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return std::to_string(a.Width()) + "x" + std::to_string(a.Height()) + " against " + std::to_string(b.Width()) +
               "x" + std::to_string(b.Height());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.At(x, y) != b.At(x, y))
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + ": " + std::to_string(a.At(x, y).ToColourRef()) +
                       " against " + std::to_string(b.At(x, y).ToColourRef());
    return "";
}

// Files both read, but where the format leaves some pixels open. Run-length
// streams that end early or skip pixels leave them undefined: the core makes
// them black; the toolkit fills some of them from elsewhere. The OS/2 file
// with a short palette has 252 entries before its pixels: the core (as
// ImageMagick) reads those, the toolkit 256, the last four from the pixels.
const std::set<std::string> kUndefinedPixels = {
    "b/badrle.bmp",      "b/badrle4.bmp",       "b/badrle4bis.bmp",    "b/badrle4ter.bmp",   "b/badrlebis.bmp",
    "b/badrleter.bmp",   "q/pal4rlecut.bmp",    "q/pal4rletrns.bmp",   "q/pal8rlecut.bmp",   "q/pal8rletrns.bmp",
    "q/pal8os2sp.bmp",
};

TEST(CoreReaderAgreement, EveryPictureDecodesToTheToolkitsPixels) {
    const auto files = Pictures();
    ASSERT_GT(files.size(), 90u) << "the test data under tests/data are incomplete";
    const QtPictureReader toolkit;
    std::set<std::string> onlyToolkit, onlyCore;
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        const FileRead bytes = ReadFileAtMost(file.string(), kPictureFileLimit);
        ASSERT_TRUE(bytes.Ok());
        const ImageFileResult ours = DecodeImageBytes(bytes.bytes);
        const ImageFileResult theirs = toolkit.Read(file.string(), INT_MAX, INT_MAX);
        const std::string name = file.parent_path().filename().string() + "/" + file.filename().string();
        if (ours.image && theirs.image && kUndefinedPixels.contains(name)) continue;
        if (ours.image && theirs.image) EXPECT_EQ(FirstDifference(*ours.image, *theirs.image), "");
        else if (theirs.image) onlyToolkit.insert(name);
        else if (ours.image) onlyCore.insert(name);
    }
    // Run-length rows have no top-down form; the toolkit guesses one.
    EXPECT_EQ(onlyToolkit, std::set<std::string>{"b/rletopdown.bmp"});
    // Two bits a pixel is a valid depth the toolkit does not know.
    EXPECT_EQ(onlyCore, (std::set<std::string>{"q/pal2.bmp", "q/pal2color.bmp"}));
}

}  // namespace
}  // namespace corvane
