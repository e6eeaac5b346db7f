// PNG files built to cost the most: chunks that inflate to gigabytes, rows
// wider than the budget, checksums that fail below the rows a caller keeps.
#include <gtest/gtest.h>
#include <spng.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "imaging/ImagingTestUtil.h"
#include "imaging/Png.h"
#include "io/ByteOrder.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

// What a fixture adds to its picture, written by libspng's encoder.
struct PngExtras {
    bool interlaced = false;
    std::size_t profileBytes = 0;  // an iCCP profile of that many zeros
    int textType = 0;              // SPNG_ZTXT or SPNG_ITXT, compressed, of textBytes letters
    std::size_t textBytes = 0;
};

Bytes MakePng(const Image& image, const PngExtras& extras) {
    std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> context(spng_ctx_new(SPNG_CTX_ENCODER), &spng_ctx_free);
    spng_set_option(context.get(), SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr{};
    ihdr.width = static_cast<std::uint32_t>(image.Width());
    ihdr.height = static_cast<std::uint32_t>(image.Height());
    ihdr.bit_depth = 8;
    ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    ihdr.interlace_method = extras.interlaced ? 1 : 0;
    spng_set_ihdr(context.get(), &ihdr);
    std::string profile(extras.profileBytes, '\0'), text(extras.textBytes, 'a'), empty;
    if (extras.profileBytes > 0) {
        spng_iccp iccp{};
        std::strcpy(iccp.profile_name, "icc");
        iccp.profile_len = profile.size();
        iccp.profile = profile.data();
        EXPECT_EQ(spng_set_iccp(context.get(), &iccp), 0);
    }
    if (extras.textType != 0) {
        spng_text chunk{};
        std::strcpy(chunk.keyword, "Comment");
        chunk.type = extras.textType;
        chunk.length = text.size();
        chunk.text = text.data();
        chunk.compression_flag = 1;
        chunk.language_tag = empty.data();
        chunk.translated_keyword = empty.data();
        EXPECT_EQ(spng_set_text(context.get(), &chunk, 1), 0);
    }
    Bytes pixels;
    for (const Colour c : image.Pixels()) pixels.insert(pixels.end(), {c.r, c.g, c.b});
    EXPECT_EQ(spng_encode_image(context.get(), pixels.data(), pixels.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE), 0);
    std::size_t length = 0;
    int error = 0;
    std::unique_ptr<void, decltype(&std::free)> buffer(spng_get_png_buffer(context.get(), &length, &error), &std::free);
    const auto* bytes = static_cast<const std::uint8_t*>(buffer.get());
    return bytes ? Bytes(bytes, bytes + length) : Bytes();
}

using testing::AppendChunk;
using testing::kPngSignature;
using testing::PngHeaderOnly;

TEST(PngHostile, StoredChunksThatInflatePastTheirLimitAreRefusedCheaply) {
    const std::size_t bomb = std::size_t{16} << 20;  // four times what a stored chunk may take
    struct Case {
        const char* name;
        PngExtras extras;
        ImageFileProblem expected;
    };
    const Case cases[] = {
        {"png-iccp-bomb", {false, bomb, 0, 0}, ImageFileProblem::TooLargeToDecode},
        {"png-ztxt-bomb", {false, 0, SPNG_ZTXT, bomb}, ImageFileProblem::TooLargeToDecode},
        {"png-itxt-bomb", {false, 0, SPNG_ITXT, bomb}, ImageFileProblem::TooLargeToDecode},
        {"png-small-profile", {false, 4096, 0, 0}, ImageFileProblem::None},
        {"png-small-ztxt", {false, 0, SPNG_ZTXT, 4096}, ImageFileProblem::None},
    };
    const Image picture = testing::PhotoLike(5, 4, 1);
    for (const Case& c : cases) {
        const Bytes file = MakePng(picture, c.extras);
        ASSERT_FALSE(file.empty()) << c.name;
        EXPECT_LT(file.size(), std::size_t{64} << 10) << c.name;
        const ImageFileResult result = DecodePng(file, 306, 184);
        EXPECT_EQ(result.problem, c.expected) << c.name;
        if (c.expected == ImageFileProblem::None && result.image) {
            EXPECT_EQ(*result.image, picture) << c.name;
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

// The chunks of a file, each as its type and data.
std::vector<std::pair<std::string, Bytes>> Chunks(const Bytes& file) {
    std::vector<std::pair<std::string, Bytes>> chunks;
    for (std::size_t at = kPngSignature.size(); at + 12 <= file.size();) {
        BigEndianReader in(std::span<const std::uint8_t>(file).subspan(at));
        const std::uint32_t length = in.U32();
        chunks.emplace_back(std::string(file.begin() + static_cast<long>(at) + 4, file.begin() + static_cast<long>(at) + 8),
                            Bytes(file.begin() + static_cast<long>(at) + 8,
                                  file.begin() + static_cast<long>(at + 8 + length)));
        at += 12 + length;
    }
    return chunks;
}

// The picture's file with its zlib stream split into two IDAT chunks, the
// second holding the stream's last `tail` bytes; `damage` then changes it.
Bytes SplitIdat(const Bytes& png, std::size_t tail, void (*damage)(Bytes& stream)) {
    Bytes stream, out = kPngSignature;
    for (const auto& [type, data] : Chunks(png))
        if (type == "IDAT") stream.insert(stream.end(), data.begin(), data.end());
    damage(stream);
    for (const auto& [type, data] : Chunks(png)) {
        if (type == "IDAT") continue;
        if (type == "IEND") {
            AppendChunk(out, "IDAT", Bytes(stream.begin(), stream.end() - static_cast<long>(tail)));
            AppendChunk(out, "IDAT", Bytes(stream.end() - static_cast<long>(tail), stream.end()));
        }
        AppendChunk(out, type.c_str(), data);
    }
    return out;
}

TEST(PngHostile, ChecksumsAreCheckedWhenOnlyTheTopRowIsKept) {
    const Image picture = testing::PhotoLike(47, 33, 7);
    const Bytes png = EncodePng(picture);
    const auto keep = [](Bytes&) {};
    const auto breakAdler = [](Bytes& stream) { stream.back() ^= 0x01; };
    Bytes badSecondCrc = SplitIdat(png, 200, keep);
    badSecondCrc[badSecondCrc.size() - 13] ^= 0x01;  // the last IDAT's CRC, before IEND
    Bytes badTrailingChunk = SplitIdat(png, 200, keep);
    badTrailingChunk.resize(badTrailingChunk.size() - 12);  // IEND, put back behind a damaged tEXt
    AppendChunk(badTrailingChunk, "tEXt", testing::Hex("41 00 42"));
    badTrailingChunk[badTrailingChunk.size() - 1] ^= 0x01;
    AppendChunk(badTrailingChunk, "IEND", {});
    struct Case {
        const char* name;
        Bytes file;
        ImageFileProblem expected;
    };
    const Case cases[] = {
        {"png-split-idat", SplitIdat(png, 200, keep), ImageFileProblem::None},
        {"png-bad-adler32", SplitIdat(png, 200, breakAdler), ImageFileProblem::Damaged},
        {"png-bad-adler32-alone-in-last-idat", SplitIdat(png, 4, breakAdler), ImageFileProblem::Damaged},
        {"png-bad-crc-last-idat", badSecondCrc, ImageFileProblem::BadChecksum},
        {"png-bad-crc-after-pixels", badTrailingChunk, ImageFileProblem::BadChecksum},
    };
    for (const Case& c : cases) {
        const ImageFileResult result = DecodePng(c.file, 47, 1);
        EXPECT_EQ(result.problem, c.expected) << c.name;
        if (c.expected == ImageFileProblem::None && result.image) {
            EXPECT_EQ(result.image->At(46, 0), picture.At(46, 0)) << c.name;
        }
    }
}

TEST(PngDecode, InterlacedPicturesGiveTheStoredPixelsWholeOrInPart) {
    const Image picture = testing::PhotoLike(13, 11, 3);
    const Bytes interlaced = MakePng(picture, {true, 0, 0, 0});
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
