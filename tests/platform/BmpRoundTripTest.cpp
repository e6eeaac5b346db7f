// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The ".bmp" writer's files read back by our own reader and by the format
// tools, pixel for pixel.
#include <gtest/gtest.h>

#include "imaging/Bmp.h"
#include "imaging/ImageFile.h"
#include "support/Pnm.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using testing::ParsePpm;
using testing::RunProcess;
using testing::TempDir;

// A picture whose every pixel differs from its neighbours, so a swapped
// channel, a flipped row order or a shifted column shows.
Image Pattern(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set(x, y, Colour{static_cast<std::uint8_t>(x * 37 + y), static_cast<std::uint8_t>(y * 53 + 11),
                                   static_cast<std::uint8_t>((x * 7) ^ (y * 13))});
    return image;
}

struct Size {
    int width, height;
};
const Size kSizes[] = {{1, 1}, {3, 5}, {47, 33}, {102, 46}, {320, 8}};

TEST(BmpRoundTrip, OurReaderGetsThePixelsBack) {
    TempDir dir;
    for (const auto size : kSizes) {
        SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
        const Image picture = Pattern(size.width, size.height);
        ASSERT_TRUE(WriteBmpFile(picture, dir.File("p.bmp")));
        EXPECT_EQ(ReadImageFile(dir.File("p.bmp")).image, picture);
    }
}

TEST(BmpRoundTrip, ImageMagickAndNetpbmReadThePixels) {
    ASSERT_TRUE(testing::HaveProgram("convert")) << "ImageMagick's convert is needed as an oracle";
    ASSERT_TRUE(testing::HaveProgram("bmptopnm")) << "netpbm's bmptopnm is needed as an oracle";
    TempDir dir;
    for (const auto size : kSizes) {
        SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
        const Image picture = Pattern(size.width, size.height);
        ASSERT_TRUE(WriteBmpFile(picture, dir.File("p.bmp")));
        EXPECT_EQ(ParsePpm(RunProcess({"convert", dir.File("p.bmp"), "-depth", "8", "ppm:-"}).out), picture);
        const auto netpbm = RunProcess({"bmptopnm", dir.File("p.bmp")});
        EXPECT_EQ(netpbm.exitCode, 0) << netpbm.err;
        // bmptopnm warns about nothing on a well-formed file.
        EXPECT_EQ(netpbm.err.find("warning"), std::string::npos) << netpbm.err;
        EXPECT_EQ(ParsePpm(netpbm.out), picture);
    }
}

}  // namespace
}  // namespace corvane
