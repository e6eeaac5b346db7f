// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// PNG files built to cost the most: chunks that inflate to gigabytes, rows
// wider than the budget, checksums that fail below the rows a caller keeps.
#include <gtest/gtest.h>
#include <spng.h>
#include <zlib.h>

#include <cstdlib>
#include <memory>

#include "imaging/ImagingTestUtil.h"
#include "imaging/Png.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The picture as an interlaced PNG, written by libspng's encoder.
Bytes Interlaced(const Image& image) {
    std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> context(spng_ctx_new(SPNG_CTX_ENCODER), &spng_ctx_free);
    spng_set_option(context.get(), SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr{static_cast<std::uint32_t>(image.Width()), static_cast<std::uint32_t>(image.Height()), 8,
                   SPNG_COLOR_TYPE_TRUECOLOR, 0, 0, 1};
    spng_set_ihdr(context.get(), &ihdr);
    Bytes pixels;
    for (const Colour c : image.Pixels()) pixels.insert(pixels.end(), {c.r, c.g, c.b});
    EXPECT_EQ(spng_encode_image(context.get(), pixels.data(), pixels.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE), 0);
    std::size_t length = 0;
    int error = 0;
    std::unique_ptr<void, decltype(&std::free)> buffer(spng_get_png_buffer(context.get(), &length, &error), &std::free);
    const auto* bytes = static_cast<const std::uint8_t*>(buffer.get());
    return bytes ? Bytes(bytes, bytes + length) : Bytes();
}

Bytes Deflated(const Bytes& data) {
    uLongf length = compressBound(static_cast<uLong>(data.size()));
    Bytes out(length);
    EXPECT_EQ(compress2(out.data(), &length, data.data(), static_cast<uLong>(data.size()), 9), Z_OK);
    out.resize(length);
    return out;
}

Bytes Joined(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

using testing::AppendChunk;
using testing::PngHeaderOnly;

// A 4 x 2 RGB picture whose first row is grey 0x40 and second 0x80, with
// the chunk before its pixels.
Bytes WithChunk(const char* type, const Bytes& data) {
    Bytes out = PngHeaderOnly(4, 2, 8, 2, 0);
    out.resize(out.size() - 12 - 21);  // IDAT (a one-byte stream) and IEND go
    AppendChunk(out, type, data);
    Bytes rows = Joined(Joined({0}, Bytes(12, 0x40)), Joined({0}, Bytes(12, 0x80)));
    AppendChunk(out, "IDAT", Deflated(rows));
    AppendChunk(out, "IEND", {});
    return out;
}

TEST(PngHostile, StoredChunksThatInflatePastTheirLimitAreRefusedCheaply) {
    const Bytes bomb = Deflated(Bytes(std::size_t{16} << 20, 'a'));  // four times what a chunk may take
    const Bytes small = Deflated(Bytes(4096, 'a'));
    struct Case {
        const char* name;
        Bytes file;
        ImageFileProblem expected;
    };
    const Case cases[] = {
        {"png-iccp-bomb", WithChunk("iCCP", Joined(testing::Hex("69 63 63 00 00"), bomb)), ImageFileProblem::TooLargeToDecode},
        {"png-ztxt-bomb", WithChunk("zTXt", Joined(testing::Hex("41 00 00"), bomb)), ImageFileProblem::TooLargeToDecode},
        {"png-itxt-bomb", WithChunk("iTXt", Joined(testing::Hex("41 00 01 00 00 00"), bomb)), ImageFileProblem::TooLargeToDecode},
        {"png-small-profile", WithChunk("iCCP", Joined(testing::Hex("69 63 63 00 00"), small)), ImageFileProblem::None},
        {"png-small-ztxt", WithChunk("zTXt", Joined(testing::Hex("41 00 00"), small)), ImageFileProblem::None},
    };
    for (const Case& c : cases) {
        EXPECT_LT(c.file.size(), std::size_t{64} << 10) << c.name;
        const ImageFileResult result = DecodePng(c.file, 306, 184);
        EXPECT_EQ(result.problem, c.expected) << c.name;
        if (c.expected == ImageFileProblem::None && result.image) {
            EXPECT_EQ(result.image->At(3, 1), (Colour{0x80, 0x80, 0x80})) << c.name;
        }
    }
}

TEST(PngHostile, RowsWiderThanTheBudgetAreRefusedFromTheHeader) {
    struct Case {
        const char* name;
        Bytes file;
        bool tooLarge;
    };
    const Case cases[] = {
        {"png-wide-rgba16-header-only", PngHeaderOnly(67108864, 1, 16, 6, 0), true},
        {"png-wide-rgba16-interlaced-header-only", PngHeaderOnly(67108864, 1, 16, 6, 1), true},
        {"png-wide-grey8-header-only", PngHeaderOnly(67108864, 1, 8, 0, 0), true},
        // A megapixel row is an ordinary row: its data are missing, nothing more.
        {"png-megapixel-row-header-only", PngHeaderOnly(1 << 20, 1, 8, 2, 0), false},
    };
    for (const Case& c : cases) {
        const ImageFileResult result = DecodePng(c.file, 306, 184);
        EXPECT_EQ(result.problem == ImageFileProblem::TooLargeToDecode, c.tooLarge) << c.name;
        EXPECT_FALSE(result.image) << c.name;
    }
}

TEST(PngHostile, ChecksumsAreCheckedWhenOnlyTheTopRowIsKept) {
    // 47 x 33 rows of a pattern that deflates to some hundreds of bytes; the
    // zlib stream split into two IDAT chunks, the second holding its last
    // `tail` bytes, far below the top row's. A damaged chunk behind the
    // pixels is PngTest's.
    Bytes rows;
    for (int y = 0; y < 33; ++y) {
        rows.push_back(0);
        for (int x = 0; x < 47 * 3; ++x) rows.push_back(static_cast<std::uint8_t>(x * y * 13 + y));
    }
    const auto split = [&](std::size_t tail, bool badAdler, bool badCrc) {
        Bytes stream = Deflated(rows), out = PngHeaderOnly(47, 33, 8, 2, 0);
        out.resize(out.size() - 12 - 21);
        if (badAdler) stream.back() ^= 0x01;
        AppendChunk(out, "IDAT", Bytes(stream.begin(), stream.end() - static_cast<long>(tail)));
        AppendChunk(out, "IDAT", Bytes(stream.end() - static_cast<long>(tail), stream.end()));
        if (badCrc) out.back() ^= 0x01;
        AppendChunk(out, "IEND", {});
        return out;
    };
    struct Case {
        const char* name;
        Bytes file;
        ImageFileProblem expected;
    };
    const Case cases[] = {
        {"png-split-idat", split(200, false, false), ImageFileProblem::None},
        {"png-bad-adler32", split(200, true, false), ImageFileProblem::Damaged},
        {"png-bad-adler32-alone-in-last-idat", split(4, true, false), ImageFileProblem::Damaged},
        {"png-bad-crc-last-idat", split(200, false, true), ImageFileProblem::BadChecksum},
    };
    for (const Case& c : cases) EXPECT_EQ(DecodePng(c.file, 47, 1).problem, c.expected) << c.name;
}

TEST(PngDecode, InterlacedPicturesGiveTheStoredPixelsWholeOrInPart) {
    const Image picture = testing::PhotoLike(13, 11, 3);
    const Bytes interlaced = Interlaced(picture);
    struct Part {
        int width, height;
    };
    for (const Part part : {Part{13, 11}, Part{5, 3}, Part{1, 1}, Part{13, 2}}) {
        const ImageFileResult result = DecodePng(interlaced, part.width, part.height);
        ASSERT_TRUE(result.image) << part.width << "x" << part.height;
        ASSERT_EQ(result.image->Width(), part.width);
        ASSERT_EQ(result.image->Height(), part.height);
        for (int y = 0; y < part.height; ++y)
            for (int x = 0; x < part.width; ++x)
                EXPECT_EQ(result.image->At(x, y), picture.At(x, y)) << x << "," << y << " of " << part.width;
    }
}

}  // namespace
}  // namespace corvane
