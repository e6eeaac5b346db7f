// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading picture files, checked on the whole public BMP test suite against
// ImageMagick as the oracle for the true colours.
//
// Neither installed oracle scales 5- and 6-bit channels exactly: ImageMagick
// replicates the top bits (5-bit 3 gives 24 where round(3 x 255 / 31) is 25)
// and bmptopnm truncates (and ignores the masks of bit-field files). Bit
// replication loses nothing, so for the 16-bit files the test recovers each
// channel's field value from ImageMagick's output and scales it itself.
#include "imaging/ImageFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QColor>
#include <QImage>

#include <algorithm>
#include <filesystem>
#include <map>

#include "imaging/Bmp.h"
#include "support/Pnm.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::ParsePpm;
using testing::RunProcess;
using testing::TempDir;

std::vector<fs::path> SuiteFiles(const std::string& folder) { return testing::TestDataFiles("bmpsuite/" + folder); }

std::string SuiteFile(const std::string& name) { return testing::TestData("bmpsuite/" + name).string(); }

std::optional<Image> ImageMagickReads(const std::string& path) {
    return ParsePpm(RunProcess({"convert", path, "-depth", "8", "ppm:-"}).out);
}

// Bit widths of red, green and blue in the suite's good bit-field files.
struct FieldBits {
    int red, green, blue;
};
const std::map<std::string, FieldBits> kSixteenBitFiles = {
    {"rgb16.bmp", {5, 5, 5}},
    {"rgb16bfdef.bmp", {5, 5, 5}},
    {"rgb16-565.bmp", {5, 6, 5}},
    {"rgb16-565pal.bmp", {5, 6, 5}},
};

// The true 8-bit value of an n-bit field that ImageMagick widened by bit
// replication; nothing when the sample is not such a widening.
std::optional<std::uint8_t> ScaledFromReplicated(std::uint8_t sample, int bits) {
    const unsigned field = sample >> (8 - bits);
    const unsigned replicated = ((field << (8 - bits)) | (field >> (2 * bits - 8))) & 0xFF;
    if (replicated != sample) return std::nullopt;
    const unsigned max = (1u << bits) - 1;
    return static_cast<std::uint8_t>((field * 510 + max) / (2 * max));
}

std::string Describe(Colour c) {
    return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

TEST(ImageFileSuite, EveryGoodFileLoadsAtItsOwnSizeWithTrueColours) {
    ASSERT_TRUE(testing::HaveProgram("convert")) << "ImageMagick's convert is needed as the oracle";
    const auto files = SuiteFiles("g");
    ASSERT_EQ(files.size(), 27u) << "the BMP suite's g/ folder is incomplete";
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const auto ours = ReadImageFile(file.string()).image;
        auto expected = ImageMagickReads(file.string());
        ASSERT_TRUE(ours.has_value());
        ASSERT_TRUE(expected.has_value()) << "the oracle could not read it";
        ASSERT_EQ(ours->Width(), expected->Width());
        ASSERT_EQ(ours->Height(), expected->Height());

        if (const auto bits = kSixteenBitFiles.find(file.filename().string()); bits != kSixteenBitFiles.end()) {
            for (auto& pixel : expected->Pixels()) {
                const auto r = ScaledFromReplicated(pixel.r, bits->second.red);
                const auto g = ScaledFromReplicated(pixel.g, bits->second.green);
                const auto b = ScaledFromReplicated(pixel.b, bits->second.blue);
                ASSERT_TRUE(r && g && b) << "the oracle no longer widens by bit replication: " << Describe(pixel);
                pixel = Colour{*r, *g, *b};
            }
        }
        int wrong = 0;
        for (int y = 0; y < ours->Height(); ++y)
            for (int x = 0; x < ours->Width(); ++x)
                if (ours->At(x, y) != expected->At(x, y) && ++wrong <= 3)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << Describe(ours->At(x, y)) << ", not "
                                  << Describe(expected->At(x, y));
        EXPECT_EQ(wrong, 0);
    }
}

TEST(ImageFileSuite, SixteenBitWhiteLoadsAsWhite) {
    for (const char* name : {"rgb16.bmp", "rgb16-565.bmp", "rgb16bfdef.bmp"}) {
        SCOPED_TRACE(name);
        const auto image = ReadImageFile(SuiteFile("g/" + std::string(name))).image;
        ASSERT_TRUE(image.has_value());
        const auto whites = std::count(image->Pixels().begin(), image->Pixels().end(), kWhite);
        const auto shiftedWhites =
            std::count(image->Pixels().begin(), image->Pixels().end(), Colour{248, 252, 248}) +
            std::count(image->Pixels().begin(), image->Pixels().end(), Colour{248, 248, 248});
        EXPECT_GT(whites, 400);
        EXPECT_EQ(shiftedWhites, 0);
    }
}

TEST(ImageFileSuite, BadAndQuestionableFilesAreReadOrRefusedSafely) {
    const auto bad = SuiteFiles("b");
    const auto questionable = SuiteFiles("q");
    ASSERT_EQ(bad.size(), 20u);
    ASSERT_EQ(questionable.size(), 41u);
    for (const auto* files : {&bad, &questionable}) {
        for (const auto& file : *files) {
            SCOPED_TRACE(file.string());
            const auto image = ReadImageFile(file.string()).image;
            if (!image) continue;
            // Every file of the suite shows the same small picture, at most 127 x 64.
            EXPECT_GT(image->Width(), 0);
            EXPECT_GT(image->Height(), 0);
            EXPECT_LE(image->Width(), 127);
            EXPECT_LE(image->Height(), 64);
            EXPECT_EQ(image->Pixels().size(),
                      static_cast<std::size_t>(image->Width()) * static_cast<std::size_t>(image->Height()));
        }
    }
    // Dimensions in the billions, with a few bytes of pixels behind them.
    EXPECT_FALSE(ReadImageFile(SuiteFile("b/reallybig.bmp")).image.has_value());
    EXPECT_FALSE(ReadImageFile(SuiteFile("b/badwidth.bmp")).image.has_value());
}

TEST(ImageFileSuite, UnusualBitFieldsAreScaledFromTheirOwnWidth) {
    // 4-4-4-4 and 2-3-1 channels: the suite's red bar begins with full red.
    for (const char* name : {"rgba16-4444.bmp", "rgb16-231.bmp", "rgb32-111110.bmp", "rgba32-1010102.bmp"}) {
        SCOPED_TRACE(name);
        const auto image = ReadImageFile(SuiteFile("q/" + std::string(name))).image;
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->At(0, 0), (Colour{255, 0, 0}));
    }
}

TEST(ImageFile, PngLoadsWithItsPixels) {
    ASSERT_TRUE(testing::HaveProgram("convert"));
    TempDir dir;
    Image picture(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            picture.Set(x, y, Colour{static_cast<std::uint8_t>(x * 60), static_cast<std::uint8_t>(y * 100 + 7),
                                     static_cast<std::uint8_t>(255 - x * y)});
    testing::WriteBytes(dir.File("in.ppm"), testing::EncodePpm(picture));
    ASSERT_EQ(RunProcess({"convert", dir.File("in.ppm"), dir.File("out.png")}).exitCode, 0);
    EXPECT_EQ(ReadImageFile(dir.File("out.png")).image, picture);
}

TEST(ImageFile, SixteenBitFileFromDiskIsScaled) {
    // A hand-made 2 x 1 5-5-5 file: white and the 5-bit level 3 (round(3 x 255 / 31) = 25).
    const std::vector<std::uint8_t> file = {
        'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
        40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 16, 0, 0, 0, 0, 0, 8, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // info header
        0xFF, 0x7F, 0x63, 0x0C, 0, 0, 0, 0,              // 0x7FFF, 0x0C63, row padding
    };
    TempDir dir;
    testing::WriteBytes(dir.File("w.bmp"), file);
    const auto image = ReadImageFile(dir.File("w.bmp")).image;
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->At(0, 0), kWhite);
    EXPECT_EQ(image->At(1, 0), (Colour{25, 25, 25}));
}

TEST(ImageFile, MissingBrokenOrNonPictureFilesGiveNothing) {
    TempDir dir;
    EXPECT_FALSE(ReadImageFile(dir.File("missing.bmp")).image.has_value());
    EXPECT_FALSE(ReadImageFile(dir.Path().string()).image.has_value());
    testing::WriteBytes(dir.File("empty.bmp"), {});
    EXPECT_FALSE(ReadImageFile(dir.File("empty.bmp")).image.has_value());
    testing::WriteBytes(dir.File("text.bmp"), {'h', 'e', 'l', 'l', 'o'});
    EXPECT_FALSE(ReadImageFile(dir.File("text.bmp")).image.has_value());
    testing::WriteBytes(dir.File("bm.bmp"), {'B', 'M', 1, 2});
    EXPECT_FALSE(ReadImageFile(dir.File("bm.bmp")).image.has_value());
}

// Each refusal comes before decoding, with its reason.
TEST(ImageFile, DamagedHugeAndNonRegularFilesAreRefusedWithTheirReason) {
    TempDir dir;
    QImage small(40, 30, QImage::Format_RGB32);
    small.fill(QColor(10, 200, 30));
    ASSERT_TRUE(small.save(QString::fromStdString(dir.File("small.png"))));
    const auto png = testing::ReadBytes(dir.File("small.png"));
    testing::WriteBytes(dir.File("cut.png"), std::vector<std::uint8_t>(png.begin(), png.end() - 20));
    // The last IDAT ends with the zlib stream's Adler-32 and the chunk's CRC:
    // libspng meets a damaged Adler-32 before the CRC that no longer matches.
    auto badAdler = png;
    badAdler[png.size() - 20] ^= 0x10;
    testing::WriteBytes(dir.File("adler.png"), badAdler);
    auto badCrc = png;
    badCrc[png.size() - 13] ^= 0x10;
    testing::WriteBytes(dir.File("crc.png"), badCrc);
    const auto bmp = EncodeBmp(Image(100, 60));
    testing::WriteBytes(dir.File("cut.bmp"), std::vector<std::uint8_t>(bmp.begin(), bmp.begin() + 3000));
    auto huge = EncodeBmp(Image(1, 1));
    huge[18] = 0x28;  // 9000 x 9000
    huge[19] = 0x23;
    huge[22] = 0x28;
    huge[23] = 0x23;
    testing::WriteBytes(dir.File("huge.bmp"), huge);
    ASSERT_EQ(mkfifo(dir.File("fifo.bmp").c_str(), 0600), 0);
    testing::WriteBytes(dir.File("sparse.bmp"), {'B', 'M'});
    fs::resize_file(dir.File("sparse.bmp"), std::uint64_t{300} << 20);

    const std::pair<const char*, ImageFileProblem> cases[] = {
        {"cut.png", ImageFileProblem::CutShort},           {"crc.png", ImageFileProblem::BadChecksum},
        {"adler.png", ImageFileProblem::Damaged},
        {"cut.bmp", ImageFileProblem::CutShort},           {"huge.bmp", ImageFileProblem::TooManyPixels},
        {"fifo.bmp", ImageFileProblem::NotRegularFile},    {"sparse.bmp", ImageFileProblem::FileTooLarge},
        {"missing.bmp", ImageFileProblem::CouldNotOpen},
    };
    for (const auto& [name, problem] : cases) {
        const ImageFileResult read = ReadImageFile(dir.File(name));
        EXPECT_FALSE(read.image.has_value()) << name;
        EXPECT_EQ(read.problem, problem) << name;
    }
    EXPECT_EQ(ImageFileProblemText(ReadImageFile(dir.File("huge.bmp"))),
              "the picture is 9000 x 9000 pixels, more than the 64 megapixels a picture may have");
    EXPECT_EQ(ImageFileProblemText(ReadImageFile(dir.File("sparse.bmp"))),
              "larger than 256 MiB, the limit for picture files");
    EXPECT_TRUE(ReadImageFile(dir.File("small.png")).image.has_value());
}

// The toolkit's reader gives the top-left part of a bottom-up file too.
TEST(ImageFile, TopLeftPartOfAPicture) {
    TempDir dir;
    Image picture(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) picture.Set(x, y, Colour{static_cast<std::uint8_t>(x * 30), static_cast<std::uint8_t>(y * 50), 9});
    ASSERT_TRUE(WriteBmpFile(picture, dir.File("p.bmp")));
    const ImageFileResult part = ReadImageFile(dir.File("p.bmp"), 3, 2);
    ASSERT_TRUE(part.image.has_value());
    ASSERT_EQ(part.image->Width(), 3);
    ASSERT_EQ(part.image->Height(), 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(part.image->At(x, y), picture.At(x, y));
}

// A 31-megapixel picture is over the toolkit's default allocation limit but within ours.
TEST(ImageFile, LargePicturesUpToTheLimitLoad) {
    TempDir dir;
    QImage large(5600, 5600, QImage::Format_RGB32);
    large.fill(QColor(0, 0, 255));
    large.setPixel(5599, 5599, qRgb(255, 0, 0));
    ASSERT_TRUE(large.save(QString::fromStdString(dir.File("large.png"))));
    large = QImage();
    const auto image = ReadImageFile(dir.File("large.png")).image;
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->Width(), 5600);
    EXPECT_EQ(image->At(0, 0), (Colour{0, 0, 255}));
    EXPECT_EQ(image->At(5599, 5599), (Colour{255, 0, 0}));
}

}  // namespace
}  // namespace corvane
