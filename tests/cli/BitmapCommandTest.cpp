// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// `corvane bitmap`, run as the user runs it: the built tool in a subprocess.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>

#include "imaging/Bmp.h"
#include "imaging/ImageFile.h"
#include "imaging/ImagingTestUtil.h"
#include "imaging/Palm.h"
#include "imaging/Png.h"
#include "io/FileAccess.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using testing::ProcessResult;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

ProcessResult Corvane(std::vector<std::string> args) {
    args.insert(args.begin(), CORVANE_CLI);
    return testing::RunProcess(args);
}

std::size_t Lines(const std::string& text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

// A file failure is one line on stderr that names the file, a non-zero exit, and no output.
void ExpectFileFailure(const ProcessResult& run, const std::string& file) {
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Lines(run.err), 1u) << run.err;
    EXPECT_NE(run.err.find(file), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
}

class BitmapCommand : public ::testing::Test {
protected:
    std::string Picture(const std::string& name, const Image& image) {
        const auto path = dir.File(name);
        EXPECT_TRUE(WriteBmpFile(image, path));
        return path;
    }
    TempDir dir;
};

Image GreenWhite() {
    Image image(2, 1);
    image.Set(0, 0, kPureGreen);
    image.Set(1, 0, kWhite);
    return image;
}

TEST_F(BitmapCommand, EncodesTheKnownEightBitResourceByteForByte) {
    const auto in = Picture("gw.bmp", GreenWhite());
    const auto run = Corvane({"bitmap", "encode", in, "--depth", "8", "-o", dir.File("gw.bin")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::uint8_t> expected = {
        0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x80, 0x00, 0x01, 0x02, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00,  // placeholder
        0x00, 0x04, 0x00, 0x00,                                                                          // its pixels
        0x00, 0x02, 0x00, 0x01, 0x00, 0x02, 0x20, 0x00, 0x08, 0x03, 0x18, 0x00,
        0x00, 0xFF, 0x00, 0x90, 0x00, 0x00, 0x00, 0xD2, 0x00, 0x00, 0x00, 0x00,  // version-3 header
        0xD2, 0x00,                                                              // pixels
    };
    EXPECT_EQ(ReadBytes(dir.File("gw.bin")), expected);
}

TEST_F(BitmapCommand, ReducesBeforeEncodingAsTheEditorDoes) {
    // With the near-black transparent colour 010101 the reduced transparent colour is black,
    // so an opaque black pixel becomes transparent too, as in the editor's saved skin.
    Image image(2, 1);
    image.Set(0, 0, Colour{1, 1, 1});
    image.Set(1, 0, kBlack);
    const auto in = Picture("dark.bmp", image);
    ASSERT_EQ(Corvane({"bitmap", "encode", in, "--depth", "8", "--transparent", "010101", "-o", dir.File("d.bin")})
                  .exitCode,
              0);
    const auto bytes = ReadBytes(dir.File("d.bin"));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[bytes.size() - 2], 230);
    EXPECT_EQ(bytes[bytes.size() - 1], 230);
}

TEST_F(BitmapCommand, TransparentColourDefaultsToGreenAndCanBeChosen) {
    const auto in = Picture("gw.bmp", GreenWhite());
    ASSERT_EQ(Corvane({"bitmap", "encode", in, "--depth", "8", "-o", dir.File("a.bin")}).exitCode, 0);
    ASSERT_EQ(Corvane({"bitmap", "encode", in, "--depth", "8", "--transparent", "00ff00", "-o", dir.File("b.bin")})
                  .exitCode,
              0);
    EXPECT_EQ(ReadBytes(dir.File("a.bin")), ReadBytes(dir.File("b.bin")));

    ASSERT_EQ(Corvane({"bitmap", "encode", in, "--depth", "8", "--transparent=#FFFFFF", "-o", dir.File("c.bin")})
                  .exitCode,
              0);
    const auto bytes = ReadBytes(dir.File("c.bin"));
    ASSERT_EQ(bytes.size(), 46u);
    EXPECT_EQ(bytes[20 + 19], 0);  // transparent index 0, white
    // Green is now opaque and must avoid index 0; white is written as the transparent index.
    EXPECT_EQ(bytes[44], 210);
    EXPECT_EQ(bytes[45], 0);
}

TEST_F(BitmapCommand, DecodeWritesTheReducedPictureAndPrintsTheTransparentColour) {
    Image photo(47, 33);
    for (int y = 0; y < 33; ++y)
        for (int x = 0; x < 47; ++x)
            photo.Set(x, y, Colour{static_cast<std::uint8_t>(x * 5), static_cast<std::uint8_t>(y * 7),
                                   static_cast<std::uint8_t>(x * y)});
    photo.Set(3, 4, kPureGreen);
    const auto in = Picture("photo.bmp", photo);
    for (const char* depth : {"8", "16"}) {
        SCOPED_TRACE(depth);
        const auto bin = dir.File(std::string("p") + depth + ".bin");
        const auto out = dir.File(std::string("p") + depth + ".bmp");
        ASSERT_EQ(Corvane({"bitmap", "encode", in, "--depth", depth, "-o", bin}).exitCode, 0);
        const auto run = Corvane({"bitmap", "decode", bin, "-o", out});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, std::string("transparent colour: ") + (depth[0] == '8' ? "00FF00" : "00FC00") + "\n");

        // The written picture is what the resource holds.
        const auto bitmap = DecodePalmBitmap(ReadBytes(bin));
        ASSERT_TRUE(bitmap.Ok());
        ASSERT_TRUE(bitmap->hasTransparency);
        const Image& expected = bitmap->image;
        EXPECT_EQ(ReadImageFile(out).image, expected);
        EXPECT_EQ(ReadBytes(out), EncodeBmp(expected));
        EXPECT_EQ(expected.At(3, 4), bitmap->transparent);
    }
}

TEST_F(BitmapCommand, UsageErrorsExitWithTwo) {
    const auto in = Picture("gw.bmp", GreenWhite());
    const std::vector<std::vector<std::string>> cases = {
        {"bitmap"},
        {"bitmap", "squash", in, "-o", dir.File("x")},
        {"bitmap", "encode", in, "-o", dir.File("x")},                          // no depth
        {"bitmap", "encode", in, "--depth", "12", "-o", dir.File("x")},
        {"bitmap", "encode", in, "--depth", "8"},                               // no output
        {"bitmap", "encode", in, "--depth", "8", "-o"},
        {"bitmap", "encode", in, "--depth", "8", "--transparent", "GREEN", "-o", dir.File("x")},
        {"bitmap", "encode", in, "--depth", "8", "--transparent", "00FF0", "-o", dir.File("x")},
        {"bitmap", "encode", in, "--depth", "8", "--frobnicate", "-o", dir.File("x")},
        {"bitmap", "encode", in, in, "--depth", "8", "-o", dir.File("x")},
        {"bitmap", "encode", "--depth", "8", "-o", dir.File("x")},               // no input
        {"bitmap", "decode", in, "--depth", "8", "-o", dir.File("x")},
    };
    for (const auto& args : cases) {
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        SCOPED_TRACE(joined);
        const auto run = Corvane(args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err.rfind("corvane: ", 0), 0u) << run.err;
        EXPECT_FALSE(FileExists(dir.File("x")));
    }
}

TEST_F(BitmapCommand, BadInputsFailNamingTheFileAndLeaveTheOutputAlone) {
    const auto out = dir.File("out.bin");
    WriteBytes(out, {1, 2, 3});
    WriteBytes(dir.File("text.bmp"), {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
    WriteBytes(dir.File("short.bin"), {0x00, 0x02, 0x00, 0x01, 0x00, 0x02, 0x20});

    ExpectFileFailure(Corvane({"bitmap", "encode", dir.File("missing.bmp"), "--depth", "8", "-o", out}), "missing.bmp");
    ExpectFileFailure(Corvane({"bitmap", "encode", dir.File("text.bmp"), "--depth", "16", "-o", out}), "text.bmp");
    ExpectFileFailure(Corvane({"bitmap", "decode", dir.File("short.bin"), "-o", out}), "short.bin");
    ExpectFileFailure(Corvane({"bitmap", "decode", dir.File("text.bmp"), "-o", out}), "text.bmp");
    ExpectFileFailure(Corvane({"bitmap", "decode", dir.File("missing.bin"), "-o", out}), "missing.bin");
    EXPECT_EQ(ReadBytes(out), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(BitmapCommand, UnwritableOutputFailsWithoutLeavingAFile) {
    const auto in = Picture("gw.bmp", GreenWhite());
    const auto out = dir.File("no-such-folder/out.bin");
    ExpectFileFailure(Corvane({"bitmap", "encode", in, "--depth", "8", "-o", out}), out);
    ASSERT_EQ(Corvane({"bitmap", "encode", in, "--depth", "8", "-o", dir.File("ok.bin")}).exitCode, 0);
    ExpectFileFailure(Corvane({"bitmap", "decode", dir.File("ok.bin"), "-o", dir.Path().string()}),
                      dir.Path().string());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

TEST_F(BitmapCommand, PictureTooWideForAPalmBitmapIsRefused) {
    // 16-bit rows of 2 x 40000 bytes do not fit the 16-bit rowBytes field.
    const auto in = Picture("wide.bmp", Image(40000, 1));
    const auto run = Corvane({"bitmap", "encode", in, "--depth", "16", "-o", dir.File("wide.bin")});
    ExpectFileFailure(run, "wide.bmp");
    EXPECT_FALSE(FileExists(dir.File("wide.bin")));
}

// Damaged pictures are refused with one line of ours, also when the
// PNG library has words of its own about the damage.
TEST_F(BitmapCommand, DamagedPicturesFailWithOneLine) {
    auto png = EncodePng(Image(40, 30, Colour{10, 200, 30}));
    // Garbage deflate data behind IDAT's zlib header, under a correct CRC:
    // only the decoder can tell.
    const std::string tag = "IDAT";
    const std::size_t idat = static_cast<std::size_t>(std::search(png.begin(), png.end(), tag.begin(), tag.end()) - png.begin()) - 4;
    ASSERT_LT(idat, png.size());
    const std::uint32_t length = std::uint32_t{png[idat]} << 24 | std::uint32_t{png[idat + 1]} << 16 |
                                 std::uint32_t{png[idat + 2]} << 8 | png[idat + 3];
    std::fill(png.begin() + std::ptrdiff_t(idat + 10), png.begin() + std::ptrdiff_t(idat + 8 + length), std::uint8_t{0xFF});
    const std::uint32_t crc = testing::Crc32(std::span(png).subspan(idat + 4, length + 4));
    for (int i = 0; i < 4; ++i) png[idat + 8 + length + std::size_t(i)] = std::uint8_t(crc >> (24 - 8 * i));
    WriteBytes(dir.File("deflate.png"), png);
    const auto bmp = EncodeBmp(GreenWhite());
    WriteBytes(dir.File("cut.bmp"), std::vector<std::uint8_t>(bmp.begin(), bmp.end() - 1));

    for (const char* name : {"deflate.png", "cut.bmp"}) {
        const auto run = Corvane({"bitmap", "encode", dir.File(name), "--depth", "8", "-o", dir.File("out")});
        ExpectFileFailure(run, name);
        EXPECT_FALSE(FileExists(dir.File("out")));
    }
    EXPECT_NE(Corvane({"bitmap", "encode", dir.File("cut.bmp"), "--depth", "8", "-o", dir.File("out")}).err.find("cut short"),
              std::string::npos);
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// A picture a pipeline hands over: encode from standard input, decode to
// standard output in each format, and the same pixels come back as the
// resource decoded to a file.
TEST_F(BitmapCommand, PipelinesReadStandardInputAndWriteStandardOutput) {
    Image picture(3, 2);
    picture.Set(2, 1, Colour{0x10, 0x80, 0xF0});
    const auto in = Picture("p.bmp", picture);
    const auto encoded = testing::RunShell("cat " + testing::ShellQuote(in) + " | " + testing::ShellQuote(CORVANE_CLI) +
                                           " bitmap encode - --depth 16 -o - | " + testing::ShellQuote(CORVANE_CLI) +
                                           " bitmap decode - -o " +
                                           testing::ShellQuote(dir.File("back.bmp")));
    ASSERT_EQ(encoded.exitCode, 0) << encoded.err;
    const auto expected = ReadImageFile(dir.File("back.bmp")).image;
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(expected->At(2, 1), (Colour{0x10, 0x80, 0xF0}));
    ASSERT_EQ(Corvane({"bitmap", "encode", in, "--depth", "16", "-o", dir.File("p.res")}).exitCode, 0);
    for (const std::string format : {"bmp", "png", "ppm", "pam"}) {
        SCOPED_TRACE(format);
        const auto run = testing::RunShell(testing::ShellQuote(CORVANE_CLI) + " bitmap decode " + testing::ShellQuote(dir.File("p.res")) +
                                           " -o - --format " + format);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "transparent colour: 00FC00\n");
        const std::vector<std::uint8_t> bytes(run.out.begin(), run.out.end());
        EXPECT_EQ(DecodeImageBytes(bytes).image, expected);
    }
}

// A picture whose decode would pass the memory budget is refused with a
// message that says so, from a file and from standard input alike.
TEST_F(BitmapCommand, APictureTooLargeToDecodeIsRefusedSayingSo) {
    const auto wide = dir.File("wide.png");
    WriteBytes(wide, testing::PngHeaderOnly(67108864, 1, 16, 6, 0));
    for (const std::string& input : {wide, std::string("-")}) {
        SCOPED_TRACE(input);
        const auto run = testing::RunProcess(
            {CORVANE_CLI, "bitmap", "encode", input, "--depth", "16", "-o", dir.File("wide.res")}, wide);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find("the picture file is too large to decode within 256 MB"), std::string::npos) << run.err;
    }
}

// Netpbm on standard input is decoded as it is read: padding behind the
// raster, however long, is never read, so it cannot make the input too large.
TEST_F(BitmapCommand, NetpbmOnStandardInputIsReadOnlyAsFarAsItsRaster) {
    const std::string header = "P6\n2 1\n255\n";
    std::vector<std::uint8_t> ppm(header.begin(), header.end());
    ppm.insert(ppm.end(), {0, 255, 0, 255, 255, 255});
    const auto path = dir.File("padded.ppm");
    WriteBytes(path, ppm);
    // Padding past the picture-file limit, as a sparse file costs nothing.
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(kPictureFileLimit + 1)), 0);
    const auto run = testing::RunProcess({CORVANE_CLI, "bitmap", "encode", "-", "--depth", "16", "-o", dir.File("p.res")},
                                         path);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto encoded = Corvane({"bitmap", "encode", Picture("gw.bmp", GreenWhite()), "--depth", "16", "-o",
                                  dir.File("gw.res")});
    ASSERT_EQ(encoded.exitCode, 0) << encoded.err;
    EXPECT_EQ(ReadBytes(dir.File("p.res")), ReadBytes(dir.File("gw.res")));
}

// Standard input is an input: the file redirected into it is never the output.
TEST_F(BitmapCommand, TheFileOnStandardInputIsNeverOverwritten) {
    const auto in = Picture("p.png", GreenWhite());
    const auto before = ReadBytes(in);
    for (const std::string& output : {in, std::string("/dev/stdin")}) {
        SCOPED_TRACE(output);
        const auto run = testing::RunProcess({CORVANE_CLI, "bitmap", "encode", "-", "--depth", "16", "-o", output}, in);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find("same file"), std::string::npos) << run.err;
        EXPECT_EQ(ReadBytes(in), before);
    }
}

// Faults found by trying the tool: a name that is not UTF-8 is still a name,
// and a JPEG cut short is refused, never shown with grey rows.
TEST_F(BitmapCommand, ReadsAnyFileNameAndRefusesACutJpeg) {
    const auto jpeg = ReadBytes(std::string(CORVANE_SOURCE_DIR) + "/tests/data/splash/progressive-320x320.jpg");
    WriteBytes(dir.File("pic\xff.jpg"), jpeg);
    WriteBytes(dir.File("cut.jpg"), std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 600));
    const auto named = Corvane({"bitmap", "encode", dir.File("pic\xff.jpg"), "--depth", "8", "-o", dir.File("o.res")});
    EXPECT_EQ(named.exitCode, 0) << named.err;
    const auto cut = Corvane({"bitmap", "encode", dir.File("cut.jpg"), "--depth", "8", "-o", dir.File("c.res")});
    ExpectFileFailure(cut, "cut.jpg");
    EXPECT_NE(cut.err.find("cut short"), std::string::npos) << cut.err;
    EXPECT_FALSE(FileExists(dir.File("c.res")));
}

}  // namespace
}  // namespace corvane
