// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The JPEG decoder on files built in the test with TurboJPEG: progressive
// headers that declare large pictures, CMYK inks, files cut in their headers.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cstdlib>
#include <memory>

#include "imaging/Jpeg.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A JPEG of the packed pixels (3 or 4 bytes each, as pixelFormat says).
Bytes Compress(const Bytes& pixels, int width, int height, int pixelFormat, int subsampling, int flags) {
    std::unique_ptr<void, decltype(&tjDestroy)> handle(tjInitCompress(), &tjDestroy);
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int failed = tjCompress2(handle.get(), pixels.data(), width, 0, height, pixelFormat, &jpeg, &size,
                                   subsampling, 100, flags);
    Bytes out = failed == 0 ? Bytes(jpeg, jpeg + size) : Bytes();
    tjFree(jpeg);
    return out;
}

// Where the frame header's height (then width) stands: two bytes after its length and precision.
std::size_t FrameSizeAt(const Bytes& jpeg) {
    for (std::size_t at = 2; at + 1 < jpeg.size(); ++at)
        if (jpeg[at] == 0xFF && (jpeg[at + 1] == 0xC0 || jpeg[at + 1] == 0xC2)) return at + 5;
    return 0;
}

// The picture's header made to declare width x height, its data left as they are.
Bytes Declaring(Bytes jpeg, std::uint16_t width, std::uint16_t height) {
    const std::size_t at = FrameSizeAt(jpeg);
    EXPECT_NE(at, 0u);
    jpeg[at] = static_cast<std::uint8_t>(height >> 8);
    jpeg[at + 1] = static_cast<std::uint8_t>(height);
    jpeg[at + 2] = static_cast<std::uint8_t>(width >> 8);
    jpeg[at + 3] = static_cast<std::uint8_t>(width);
    return jpeg;
}

Bytes Grey(int width, int height) { return Bytes(static_cast<std::size_t>(width * height * 3), 0x80); }

// Pixels of noise, whose colours change at every pixel as the upsampling at a crop's edge would show.
Bytes Noise(int width, int height, int pixelBytes) {
    Bytes pixels(static_cast<std::size_t>(width * height * pixelBytes));
    std::uint32_t state = 12345;
    for (std::uint8_t& byte : pixels) byte = static_cast<std::uint8_t>((state = state * 1103515245u + 12345u) >> 23);
    return pixels;
}

Image TopLeft(const Image& whole, int width, int height) {
    Image part(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) part.Set(x, y, whole.At(x, y));
    return part;
}

TEST(JpegHostile, ProgressivePicturesCountTheirCoefficientsAgainstTheBudget) {
    struct Case {
        const char* name;
        int subsampling;
        int flags;
        bool tooLarge;
    };
    // 5000 x 5000 pixels: 75 MB decoded; a progressive file keeps 2 bytes a
    // sample more until its last scan, 150 MB at 4:4:4 but 75 MB at 4:2:0.
    const Case cases[] = {
        {"jpeg-progressive-444-5000x5000", TJSAMP_444, TJFLAG_PROGRESSIVE, true},
        {"jpeg-progressive-420-5000x5000", TJSAMP_420, TJFLAG_PROGRESSIVE, false},
        {"jpeg-baseline-444-5000x5000", TJSAMP_444, 0, false},
    };
    for (const Case& c : cases) {
        const Bytes small = Compress(Grey(16, 16), 16, 16, TJPF_RGB, c.subsampling, c.flags);
        const ImageFileResult result = DecodeJpeg(Declaring(small, 5000, 5000), 306, 184);
        EXPECT_EQ(result.problem == ImageFileProblem::TooLargeToDecode, c.tooLarge) << c.name;
        // The others are decoded as far as their data go, which end long before 5000 rows.
        EXPECT_FALSE(result.image) << c.name;
    }
}

TEST(JpegDecode, CmykPicturesAreDecodedWithAdobesInvertedInks) {
    // Three 8 x 8 blocks as stored (255 is no ink): no ink but magenta,
    // half the cyan's absence under full black's absence, and half black.
    const std::uint8_t stored[3][4] = {{255, 0, 255, 255}, {128, 255, 0, 255}, {255, 255, 255, 128}};
    const Colour expected[3] = {{255, 0, 255}, {128, 255, 0}, {128, 128, 128}};
    Bytes pixels;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 24; ++x) pixels.insert(pixels.end(), stored[x / 8], stored[x / 8] + 4);
    const Bytes jpeg = Compress(pixels, 24, 8, TJPF_CMYK, TJSAMP_444, 0);
    ASSERT_FALSE(jpeg.empty());
    const ImageFileResult result = DecodeJpeg(jpeg);
    ASSERT_TRUE(result.image) << static_cast<int>(result.problem);
    for (int block = 0; block < 3; ++block) {
        const Colour got = result.image->At(block * 8 + 4, 4);
        EXPECT_NEAR(got.r, expected[block].r, 4) << block;
        EXPECT_NEAR(got.g, expected[block].g, 4) << block;
        EXPECT_NEAR(got.b, expected[block].b, 4) << block;
    }
}

TEST(JpegDecode, AFileCutInsideItsHeadersIsCutShort) {
    const Bytes jpeg = Compress(Grey(16, 16), 16, 16, TJPF_RGB, TJSAMP_420, 0);
    const std::size_t frame = FrameSizeAt(jpeg);
    ASSERT_NE(frame, 0u);
    for (const std::size_t length : {std::size_t{4}, std::size_t{30}, frame - 3, frame + 2, frame + 12}) {
        const ImageFileResult result = DecodeJpeg(Bytes(jpeg.begin(), jpeg.begin() + static_cast<long>(length)));
        EXPECT_EQ(result.problem, ImageFileProblem::CutShort) << length;
    }
    // Headers that end as a file does, at EOI, are no JPEG's.
    EXPECT_EQ(DecodeJpeg(Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x02, 0xFF, 0xD9}).problem, ImageFileProblem::NotAPicture);
}

TEST(JpegDecode, ThePartKeptIsTheWholeDecodesTopLeft) {
    struct Case {
        int subsampling, pixelFormat, flags, width, height, keptWidth, keptHeight;
    };
    const Case cases[] = {
        {TJSAMP_444, TJPF_RGB, 0, 203, 77, 37, 29},  {TJSAMP_422, TJPF_RGB, 0, 203, 77, 32, 29},
        {TJSAMP_420, TJPF_RGB, 0, 203, 77, 32, 17},  {TJSAMP_420, TJPF_RGB, 0, 99, 131, 99, 33},
        {TJSAMP_420, TJPF_RGB, 0, 131, 99, 17, 99},  {TJSAMP_420, TJPF_RGB, TJFLAG_PROGRESSIVE, 203, 77, 48, 20},
        {TJSAMP_GRAY, TJPF_RGB, 0, 101, 45, 9, 11},  {TJSAMP_444, TJPF_CMYK, 0, 101, 45, 24, 8},
        {TJSAMP_420, TJPF_CMYK, 0, 101, 45, 31, 15},
    };
    for (const Case& c : cases) {
        const int pixelBytes = c.pixelFormat == TJPF_CMYK ? 4 : 3;
        const Bytes jpeg =
            Compress(Noise(c.width, c.height, pixelBytes), c.width, c.height, c.pixelFormat, c.subsampling, c.flags);
        const ImageFileResult whole = DecodeJpeg(jpeg), part = DecodeJpeg(jpeg, c.keptWidth, c.keptHeight);
        ASSERT_TRUE(whole.image && part.image) << c.subsampling << " " << c.keptWidth;
        EXPECT_EQ(*part.image, TopLeft(*whole.image, c.keptWidth, c.keptHeight)) << c.subsampling << " " << c.keptWidth;
    }
}

// 64 x 256 pixels of noise, cut or damaged within or below its top 16 rows.
TEST(JpegDecode, APartIsRefusedForACutOrDamageAsTheWholeIs) {
    const Bytes jpeg = Compress(Noise(64, 256, 3), 64, 256, TJPF_RGB, TJSAMP_420, 0);
    const auto at = [&](double share) { return jpeg.begin() + static_cast<long>(share * double(jpeg.size())); };
    Bytes damaged = jpeg;  // a marker amid the data, which declare no restarts
    const std::uint8_t restart[] = {0xFF, 0xD3};
    damaged.insert(damaged.begin() + (at(0.7) - jpeg.begin()), restart, restart + 2);
    struct Case {
        const char* name;
        Bytes file;
        ImageFileProblem expected;
    };
    const Case cases[] = {
        {"cut in the kept rows", Bytes(jpeg.begin(), at(0.08)), ImageFileProblem::CutShort},
        {"cut below them", Bytes(jpeg.begin(), at(0.7)), ImageFileProblem::CutShort},
        {"without its end", Bytes(jpeg.begin(), jpeg.end() - 2), ImageFileProblem::CutShort},
        {"damaged below them", damaged, ImageFileProblem::Damaged},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeJpeg(c.file, 64, 16).problem, c.expected) << c.name;
        EXPECT_EQ(DecodeJpeg(c.file).problem, c.expected) << c.name;
    }
}

}  // namespace
}  // namespace corvane
