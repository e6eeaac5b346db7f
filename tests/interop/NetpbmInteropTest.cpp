// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Our Palm bitmaps against a real peer: netpbm's palmtopnm reads what we
// write, and our decoder reads what pnmtopalm writes.
//
// Known differences, checked rather than hidden:
// - netpbm scales 5-6-5 channels to 8 bits, v x 255 / max rounded down
//   (0xFFFF is FFFFFF); we shift (F8 FC F8). pnmtopalm packs by rounding.
// - netpbm's palette differs from ours at 225 to 229 and ends at 230:
//   palmtopnm refuses the indexes 231 to 254. Pixels are compared as indexes.
// - pnmtopalm writes a 16-bit transparent colour as 00 RR GG BB, which
//   palmtopnm itself reads back as a 5-6-5 value, as we do.
// - pnmtopalm -depth 16 without -density writes a version-1 bitmap, which
//   the phone's format (versions 2 and 3) does not include and we refuse.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <random>

#include "imaging/ImagingTestUtil.h"
#include "imaging/Palm.h"
#include "imaging/ImageFile.h"
#include "imaging/PalmColour.h"
#include "imaging/Pnm.h"
#include "imaging/Reduce.h"
#include "io/ByteOrder.h"
#include "support/Pnm.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using testing::ParsePpm;
using testing::ProcessResult;
using testing::RunProcess;
using testing::RunShell;
using testing::ShellQuote;
using testing::TempDir;
using testing::WriteBytes;

constexpr const char* kPaletteMap = "/usr/share/netpbm/palmcolor8.map";

// netpbm's entries where its palette is not ours.
constexpr std::array<Colour, 5> kNetpbmAt225 = {
    Colour{0xC0, 0xC0, 0xC0}, Colour{0x80, 0x00, 0x00}, Colour{0x80, 0x00, 0x80},
    Colour{0x00, 0x80, 0x00}, Colour{0x00, 0x80, 0x80},
};
constexpr int kNetpbmLastIndex = 230;

Colour NetpbmPaletteColour(int index) {
    return index >= 225 && index <= 229 ? kNetpbmAt225[static_cast<std::size_t>(index - 225)] : PaletteColour(index);
}

// netpbm's index for a colour of its palette; -1 for any other colour.
int NetpbmIndexOf(Colour colour) {
    for (int i = 0; i <= kNetpbmLastIndex; ++i)
        if (NetpbmPaletteColour(i) == colour) return i;
    return -1;
}

// netpbm's reading of a 5-6-5 value.
Colour NetpbmFrom565(std::uint16_t v) {
    return Colour{static_cast<std::uint8_t>((v >> 11) * 255 / 31), static_cast<std::uint8_t>(((v >> 5) & 0x3F) * 255 / 63),
                  static_cast<std::uint8_t>((v & 0x1F) * 255 / 31)};
}

// pnmtopalm's packing: each channel rounded to its field, which we then unpack by shifting.
Colour OursFromNetpbmPacking(Colour c) {
    const auto field = [](int v, int max) { return (v * max * 2 + 255) / 510; };
    return Colour{static_cast<std::uint8_t>(field(c.r, 31) << 3), static_cast<std::uint8_t>(field(c.g, 63) << 2),
                  static_cast<std::uint8_t>(field(c.b, 31) << 3)};
}

std::string Hex(Colour c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

std::string SizeName(const Image& image) {
    return std::to_string(image.Width()) + " x " + std::to_string(image.Height());
}

class Netpbm : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"palmtopnm", "pnmtopalm", "pnmremap"})
            if (!testing::HaveProgram(tool))
                FAIL() << "netpbm's " << tool << " is missing: install the Debian package netpbm (./test does)";
        if (!std::filesystem::exists(kPaletteMap))
            FAIL() << kPaletteMap << " is missing: install the Debian package netpbm (./test does)";
    }

    // The resource the editor saves for a picture: reduced to the depth, then encoded.
    std::string Resource(Image picture, Colour transparent, int depth, bool* compressed = nullptr) {
        ReduceImageToDepth(picture, transparent, *DepthOfBits(depth));
        const auto bitmap = EncodePalmBitmap(picture, transparent, true, depth);
        EXPECT_TRUE(bitmap.Ok());
        if (!bitmap) return Save({});
        if (compressed) *compressed = bitmap->bitmap.compressed;
        return Save(bitmap->bytes);
    }

    std::string Save(const std::vector<std::uint8_t>& bytes) {
        const auto path = dir.File("r" + std::to_string(++files) + ".bin");
        WriteBytes(path, bytes);
        return path;
    }

    ProcessResult Palmtopnm(const std::vector<std::string>& options, const std::string& file) {
        std::vector<std::string> argv{"palmtopnm"};
        argv.insert(argv.end(), options.begin(), options.end());
        argv.push_back(file);
        return RunProcess(argv);
    }

    TempDir dir;
    int files = 0;
};

// Horizontal bands: every row repeats the one above, so scan-line compression wins.
Image Bands(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set(x, y, Colour{static_cast<std::uint8_t>(x * 23), static_cast<std::uint8_t>(y / 8 * 40),
                                   static_cast<std::uint8_t>(200 - x)});
    return image;
}

// Colours whose palette indexes are netpbm's different ones, and the transparent green.
void AddAwkwardColours(Image& image) {
    const Colour awkward[] = {{0xCC, 0xCC, 0xCC}, {0x88, 0x00, 0x00}, {0x88, 0x00, 0x88},
                              {0x00, 0x88, 0x00}, {0x00, 0x88, 0x88}, kPureGreen, kBlack, kWhite};
    int i = 0;
    for (const Colour c : awkward) {
        const int x = (i * 7) % image.Width();
        const int y = (i * 3) % image.Height();
        image.Set(x, y, c);
        ++i;
    }
}

TEST_F(Netpbm, PaletteAgreesUpTo224AndAt230) {
    // One row of the given indexes, written raw; an odd width, so a padding byte ends the row.
    const auto row = [&](const std::vector<std::uint8_t>& indexes) {
        PalmBitmap bitmap;
        bitmap.width = static_cast<std::uint16_t>(indexes.size());
        bitmap.height = 1;
        bitmap.rowBytes = static_cast<std::uint16_t>(PalmRowBytes(bitmap.width, 8));
        bitmap.pixelSize = 8;
        std::vector<std::uint8_t> block = indexes;
        block.resize(bitmap.rowBytes, 0);
        const auto encoded = EncodePalmPixels(bitmap, block);
        EXPECT_TRUE(encoded.Ok());
        return Save(encoded ? encoded->bytes : std::vector<std::uint8_t>{});
    };
    std::vector<std::uint8_t> all;
    for (int i = 0; i <= kNetpbmLastIndex; ++i) all.push_back(static_cast<std::uint8_t>(i));
    const auto run = Palmtopnm({"-rendition", "2"}, row(all));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto image = ParsePpm(run.out);
    ASSERT_TRUE(image.has_value());
    ASSERT_EQ(image->Width(), kNetpbmLastIndex + 1);
    for (int i = 0; i <= kNetpbmLastIndex; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(image->At(i, 0), NetpbmPaletteColour(i));
        if (i >= 225 && i <= 229)
            EXPECT_NE(image->At(i, 0), PaletteColour(i));
        else
            EXPECT_EQ(image->At(i, 0), PaletteColour(i));
    }

    // Indexes 231 to 254 (black in our palette) are missing from netpbm's; 255 is black in both.
    for (const int index : {231, 254}) {
        const auto refused = Palmtopnm({"-rendition", "2"}, row({0, static_cast<std::uint8_t>(index), 0}));
        EXPECT_NE(refused.exitCode, 0) << index;
        EXPECT_NE(refused.err.find("color index"), std::string::npos) << refused.err;
    }
    const auto last = ParsePpm(Palmtopnm({"-rendition", "2"}, row({0, 255, 0})).out);
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->At(1, 0), PaletteColour(255));
}

TEST_F(Netpbm, EditorsResourcesNeverUseIndexesBeyond230) {
    // Reducing first makes an opaque near-black pixel equal to a black transparent colour,
    // so the encoder writes it as the transparent index 230, never as the duplicate 231.
    Image picture(3, 1, kBlack);
    picture.Set(1, 0, Colour{2, 2, 2});
    const auto run = Palmtopnm({"-rendition", "2"}, Resource(picture, kBlack, 8));
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

// Every pixel drawn at random: no row repeats the one above, so the pixels stay raw.
Image Noise(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    Image image(width, height);
    for (auto& pixel : image.Pixels()) {
        const auto v = random();
        pixel = Colour{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16)};
    }
    return image;
}

enum class Storage { Raw, Compressed, Either };

struct Case {
    Image picture;
    Storage storage;
};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{102, 46}, {47, 33}, {3, 5}, {320, 30}}) {
        Image noise = Noise(w, h, static_cast<unsigned>(w * h));
        Image photo = testing::PhotoLike(w, h, static_cast<unsigned>(w));
        AddAwkwardColours(noise);
        AddAwkwardColours(photo);
        cases.push_back({noise, Storage::Raw});
        cases.push_back({photo, Storage::Either});
        cases.push_back({Bands(w, h), Storage::Compressed});
    }
    // One-pixel sizes: a single row never gains from compression; a column of equal pixels does.
    cases.push_back({Image(1, 1, kPureGreen), Storage::Raw});
    cases.push_back({Noise(9, 1, 5), Storage::Raw});
    cases.push_back({Image(1, 40, Colour{10, 200, 30}), Storage::Compressed});
    return cases;
}

TEST_F(Netpbm, PalmtopnmReadsOurResourcesAsToImageDoes) {
    for (const int depth : {8, 16}) {
        for (const auto& c : Cases()) {
            SCOPED_TRACE(SizeName(c.picture) + " at " + std::to_string(depth));
            bool compressed = false;
            const auto file = Resource(c.picture, kPureGreen, depth, &compressed);
            if (c.storage != Storage::Either) {
                ASSERT_EQ(compressed, c.storage == Storage::Compressed) << "the case does not test what it means to";
            }

            const auto bytes = testing::ReadBytes(file);
            const auto ours = DecodePalmBitmap(bytes);
            ASSERT_TRUE(ours.Ok());
            ASSERT_TRUE(ours->hasTransparency);
            const Image& image = ours->image;
            const Colour transparent = ours->transparent;
            const auto header = ReadPalmBitmap(bytes);
            const auto indexes = testing::PalmPixelBlock(bytes);

            const auto run = Palmtopnm({"-rendition", "2"}, file);
            ASSERT_EQ(run.exitCode, 0) << run.err;
            const auto theirs = ParsePpm(run.out);
            ASSERT_TRUE(theirs.has_value());
            ASSERT_EQ(theirs->Width(), image.Width());
            ASSERT_EQ(theirs->Height(), image.Height());
            int wrong = 0;
            for (int y = 0; y < image.Height(); ++y) {
                for (int x = 0; x < image.Width(); ++x) {
                    Colour expected;
                    if (depth == 8) {
                        const int index = indexes[static_cast<std::size_t>(y) * header->rowBytes +
                                                  static_cast<std::size_t>(x)];
                        ASSERT_EQ(image.At(x, y), PaletteColour(index));
                        expected = NetpbmPaletteColour(index);
                    } else {
                        expected = NetpbmFrom565(ToRgb565(image.At(x, y)));
                    }
                    if (theirs->At(x, y) != expected && ++wrong <= 3)
                        ADD_FAILURE() << "palmtopnm differs at (" << x << ", " << y << ")";
                }
            }
            EXPECT_EQ(wrong, 0);

            const std::string expectedTransparent =
                depth == 8 ? Hex(NetpbmPaletteColour(static_cast<int>(header->transparentValue)))
                           : Hex(NetpbmFrom565(ToRgb565(transparent)));
            EXPECT_EQ(Palmtopnm({"-rendition", "2", "-transparent"}, file).out, expectedTransparent + "\n");
        }
    }
}

TEST_F(Netpbm, VerboseHeadersDescribeBothBitmapsOfTheFamily) {
    for (const int depth : {8, 16}) {
        SCOPED_TRACE(depth);
        bool compressed = false;
        const auto file = Resource(Bands(47, 33), kPureGreen, depth, &compressed);
        ASSERT_TRUE(compressed);
        const auto v3 = Palmtopnm({"-rendition", "2", "-verbose"}, file);
        ASSERT_EQ(v3.exitCode, 0) << v3.err;
        for (const std::string line :
             {"Dimensions: 47 columns x 33 rows",
              depth == 8 ? "48 bytes per row, 8 bits per pixel" : "94 bytes per row, 16 bits per pixel",
              "Transparency: YES", "Version 3", "Compression type: scanline", "Density: 144",
              depth == 8 ? "Transparent index: 210" : "Transparent value: #00ff00",
              depth == 8 ? "Direct Color: NO" : "Direct Color: YES"})
            EXPECT_NE(v3.err.find(line), std::string::npos) << line << "\n" << v3.err;

        const auto raw = Palmtopnm({"-rendition", "2", "-verbose"}, Resource(Noise(47, 33, 1), kPureGreen, depth));
        EXPECT_NE(raw.err.find("Compression type: none"), std::string::npos) << raw.err;

        const auto placeholder = Palmtopnm({"-rendition", "1", "-verbose"}, file);
        ASSERT_EQ(placeholder.exitCode, 0) << placeholder.err;
        for (const std::string line :
             {"Dimensions: 23 columns x 16 rows", "4 bytes per row, 1 bits per pixel", "Version 2",
              "Transparency: NO", "Compression type: scanline"})
            EXPECT_NE(placeholder.err.find(line), std::string::npos) << line << "\n" << placeholder.err;
    }
}

TEST_F(Netpbm, SixteenBitWhiteIsScaledThereAndShiftedHere) {
    const auto file = Resource(Image(2, 2, kWhite), kBlack, 16);
    const auto ours = DecodePalmBitmap(testing::ReadBytes(file));
    ASSERT_TRUE(ours.Ok());
    EXPECT_EQ(ours->image.At(0, 0), (Colour{0xF8, 0xFC, 0xF8}));
    const auto theirs = ParsePpm(Palmtopnm({"-rendition", "2"}, file).out);
    ASSERT_TRUE(theirs.has_value());
    EXPECT_EQ(theirs->At(0, 0), kWhite);
}

TEST_F(Netpbm, WeReadPnmtopalmEightBitBitmaps) {
    bool sawUnpaddedSize = false;
    bool sawCompressed = false;
    const std::vector<Image> pictures = [] {
        std::vector<Image> list;
        for (const auto& [w, h] : std::vector<std::pair<int, int>>{{102, 46}, {47, 33}, {3, 5}, {1, 1}, {9, 1}}) {
            Image photo = testing::PhotoLike(w, h, static_cast<unsigned>(w + h));
            Image bands = Bands(w, h);
            // netpbm's own entries 225 to 229, and the colour made transparent.
            const Colour netpbmOnly[] = {{0xC0, 0xC0, 0xC0}, {0x80, 0x00, 0x00}, {0x00, 0x80, 0x80}, kPureGreen};
            for (std::size_t i = 0; i < std::size(netpbmOnly); ++i) {
                const int x = static_cast<int>(i * 5) % w;
                const int y = static_cast<int>(i) % h;
                photo.Set(x, y, netpbmOnly[i]);
                bands.Set(x, y, netpbmOnly[i]);
            }
            list.push_back(photo);
            list.push_back(bands);
        }
        return list;
    }();
    for (const auto& picture : pictures) {
        SCOPED_TRACE(SizeName(picture));
        const auto source = dir.File("in.ppm");
        WriteBytes(source, testing::EncodePpm(picture));
        const auto remap = RunShell("pnmremap -mapfile=" + ShellQuote(kPaletteMap) + " " + ShellQuote(source));
        ASSERT_EQ(remap.exitCode, 0) << remap.err;
        const auto remapped = ParsePpm(remap.out);
        ASSERT_TRUE(remapped.has_value());
        WriteBytes(dir.File("remapped.ppm"), testing::EncodePpm(*remapped));
        const auto palm = RunShell("pnmtopalm -depth 8 -scanline_compression -density 144 -transparent '#00ff00' " +
                                   ShellQuote(dir.File("remapped.ppm")));
        ASSERT_EQ(palm.exitCode, 0) << palm.err;
        const std::vector<std::uint8_t> bytes(palm.out.begin(), palm.out.end());

        const auto ours = DecodePalmBitmap(bytes);
        ASSERT_TRUE(ours.Ok());
        ASSERT_TRUE(ours->hasTransparency);
        const Image& image = ours->image;
        EXPECT_EQ(ours->transparent, kPureGreen);
        ASSERT_EQ(image.Width(), remapped->Width());
        ASSERT_EQ(image.Height(), remapped->Height());
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x) {
                const int index = NetpbmIndexOf(remapped->At(x, y));
                ASSERT_GE(index, 0);
                ASSERT_EQ(image.At(x, y), PaletteColour(index)) << "at (" << x << ", " << y << ")";
            }

        // pnmtopalm puts the version-3 bitmap first; a compressed one's size field is not padded.
        EXPECT_EQ(bytes.size() > 9 ? bytes[9] : 0, 3);
        if (ReadPalmBitmap(bytes)->compressed) {
            sawCompressed = true;
            BigEndianReader in(bytes);
            in.Seek(24);
            const std::uint32_t n = in.U32();
            sawUnpaddedSize = sawUnpaddedSize || n % 4 != 0;
        }
    }
    EXPECT_TRUE(sawCompressed);
    EXPECT_TRUE(sawUnpaddedSize);
}

TEST_F(Netpbm, WeReadPnmtopalmSixteenBitBitmaps) {
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{102, 46}, {47, 33}, {1, 1}, {9, 1}}) {
        const Image picture = testing::PhotoLike(w, h, static_cast<unsigned>(3 * w + h));
        SCOPED_TRACE(SizeName(picture));
        WriteBytes(dir.File("in.ppm"), testing::EncodePpm(picture));
        const auto palm =
            RunShell("pnmtopalm -depth 16 -density 144 -transparent '#00ff00' " + ShellQuote(dir.File("in.ppm")));
        ASSERT_EQ(palm.exitCode, 0) << palm.err;
        const std::vector<std::uint8_t> bytes(palm.out.begin(), palm.out.end());

        const auto header = ReadPalmBitmap(bytes);
        ASSERT_TRUE(header.Ok());
        EXPECT_FALSE(header->compressed);
        const auto ours = DecodePalmBitmap(bytes);
        ASSERT_TRUE(ours.Ok());
        ASSERT_TRUE(ours->hasTransparency);
        const Image& image = ours->image;
        const Colour transparent = ours->transparent;
        ASSERT_EQ(image.Width(), w);
        ASSERT_EQ(image.Height(), h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(image.At(x, y), OursFromNetpbmPacking(picture.At(x, y))) << "at (" << x << ", " << y << ")";

        // Green goes in as 00 00 FF 00; read as 5-6-5, the low half is 0xFF00, by netpbm too.
        EXPECT_EQ(header->transparentValue, 0x0000FF00u);
        EXPECT_EQ(transparent, FromRgb565(0xFF00));
        const auto file = Save(bytes);
        EXPECT_EQ(Palmtopnm({"-transparent"}, file).out, Hex(NetpbmFrom565(0xFF00)) + "\n");
    }

    const auto bare = RunShell("pnmtopalm -depth 16 " + ShellQuote(dir.File("in.ppm")));
    ASSERT_EQ(bare.exitCode, 0) << bare.err;
    const std::vector<std::uint8_t> bytes(bare.out.begin(), bare.out.end());
    ASSERT_GT(bytes.size(), 9u);
    EXPECT_EQ(bytes[9], 1) << "pnmtopalm now writes another version without -density";
    EXPECT_FALSE(ReadPalmBitmap(bytes).Ok());
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// Pictures in every netpbm format, made by netpbm's own converters from one
// noise picture, decode to the pixels netpbm itself reads from them (turned
// into a plain 8-bit PPM by ppmtoppm and pamdepth); and netpbm reads our PPM
// and PAM back as the picture.
TEST_F(Netpbm, PnmPicturesReadAsNetpbmReadsThemAndOursReadBack) {
    const Image picture = Noise(7, 5, 11);
    const auto ppm = dir.File("in.ppm");
    WriteBytes(ppm, EncodePnm(picture, PnmKind::Ppm));
    const std::string in = ShellQuote(ppm);
    const std::vector<std::string> variants = {
        "cat " + in,                                     "pnmtoplainpnm " + in,
        "ppmtopgm " + in,                                "ppmtopgm " + in + " | pnmtoplainpnm",
        "ppmtopgm " + in + " | pgmtopbm",                "ppmtopgm " + in + " | pgmtopbm | pnmtoplainpnm",
        "ppmtopgm " + in + " | pamditherbw",             "pamtopam < " + in,
        "pamdepth 65535 " + in,                          "pamdepth 1000 " + in,
        "ppmtopgm " + in + " | pamdepth 300",
    };
    for (const std::string& variant : variants) {
        SCOPED_TRACE(variant);
        const auto file = dir.File("variant");
        ASSERT_EQ(RunShell(variant + " > " + ShellQuote(file)).exitCode, 0);
        const auto expected = ParsePpm(RunShell("pamdepth 255 " + ShellQuote(file) + " | ppmtoppm").out);
        ASSERT_TRUE(expected.has_value());
        const auto ours = ReadImageFile(file);
        ASSERT_TRUE(ours.image.has_value()) << ImageFileProblemText(ours);
        EXPECT_EQ(*ours.image, *expected);
    }
    const auto pam = dir.File("ours.pam");
    WriteBytes(pam, EncodePnm(picture, PnmKind::Pam));
    EXPECT_EQ(ParsePpm(RunShell("pamtopnm " + ShellQuote(pam)).out), picture);
    EXPECT_EQ(ParsePpm(RunShell("ppmtoppm < " + in).out), picture);
}

}  // namespace
}  // namespace corvane
