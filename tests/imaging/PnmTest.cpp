// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The netpbm decoder: headers the netpbm rules allow, PAM depths, and
// decoding as the file is read, which stops where the raster ends.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "imaging/ImagingTestUtil.h"
#include "imaging/Pnm.h"
#include "io/ByteStream.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FileOf(const std::string& header, const Bytes& raster) {
    Bytes file(header.begin(), header.end());
    file.insert(file.end(), raster.begin(), raster.end());
    return file;
}

TEST(PnmDecode, HeadersAndDepthsTheNetpbmRulesAllow) {
    const testing::TwoPixelCase<Colour> cases[] = {
        {"ppm-comment-right-after-maxval", FileOf("P6\n2 1\n255# made by hand\n", {1, 2, 3, 4, 5, 6}), {1, 2, 3},
         {4, 5, 6}},
        {"pgm-comment-right-after-maxval", FileOf("P5 2 1 255#\n", {7, 9}), {7, 7, 7}, {9, 9, 9}},
        {"pam-grey-with-alpha",
         FileOf("P7\nWIDTH 2\nHEIGHT 1\nDEPTH 2\nMAXVAL 255\nTUPLTYPE GRAYSCALE_ALPHA\nENDHDR\n", {100, 7, 200, 255}),
         {100, 100, 100},
         {200, 200, 200}},
        {"pam-colour-with-alpha",
         FileOf("P7\nWIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", {1, 2, 3, 0, 4, 5, 6, 9}),
         {1, 2, 3},
         {4, 5, 6}},
    };
    for (const auto& c : cases) {
        const ImageFileResult result = DecodePnm(c.file);
        ASSERT_TRUE(result.image) << c.name << ": " << static_cast<int>(result.problem);
        EXPECT_EQ(result.image->At(0, 0), c.first) << c.name;
        EXPECT_EQ(result.image->At(1, 0), c.second) << c.name;
    }
}

// A stream over the bytes that gives at most `limit` of them.
struct MemoryStream {
    explicit MemoryStream(Bytes bytes, std::uint64_t limit)
        : data(std::move(bytes)), stream(fmemopen(data.data(), data.size(), "rb"), true, limit) {}
    Bytes data;
    ByteStream stream;
};

TEST(PnmStream, ReadingStopsWhereTheRasterEnds) {
    const std::string header = "P6\n2 2\n255\n";
    const Bytes raster = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    Bytes padded = FileOf(header, raster);
    padded.resize(padded.size() + 100000, 0xEE);
    const std::uint64_t whole = header.size() + raster.size();
    struct Case {
        const char* name;
        Bytes file;
        std::uint64_t limit;
        ImageFileProblem expected;
    };
    const Case cases[] = {
        // Padding past the limit is never read: the raster is all there is to read.
        {"pnm-padded-past-the-limit", padded, whole, ImageFileProblem::None},
        {"pnm-cut-in-the-last-row", FileOf(header, Bytes(raster.begin(), raster.end() - 1)), whole,
         ImageFileProblem::CutShort},
        {"pnm-raster-past-the-limit", padded, whole - 1, ImageFileProblem::FileTooLarge},
        {"pnm-header-cut", FileOf("P6\n2 2", {}), whole, ImageFileProblem::NotAPicture},
    };
    for (const Case& c : cases) {
        MemoryStream input(c.file, c.limit);
        Bytes head(kPnmSignatureSize);
        head.resize(input.stream.Read(head));
        const ImageFileResult result = DecodePnmStream(head, input.stream, 2, 1);
        EXPECT_EQ(result.problem, c.expected) << c.name;
        if (c.expected != ImageFileProblem::None) continue;
        ASSERT_TRUE(result.image) << c.name;
        EXPECT_EQ(result.image->Height(), 1) << c.name;
        EXPECT_EQ(result.image->At(1, 0), (Colour{4, 5, 6})) << c.name;
        EXPECT_EQ(result.height, 2u) << c.name;
    }
}

}  // namespace
}  // namespace corvane
