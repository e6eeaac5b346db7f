// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/ImageSlot.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "imaging/Bmp.h"
#include "imaging/PalmColour.h"
#include "support/ScriptedUser.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace corvane {
namespace {

using testing::ScriptedUser;
using testing::TempDir;
using testing::WriteBytes;

// A picture whose every pixel differs from its neighbours, so a shifted copy shows.
Image Gradient(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set(x, y, Colour{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 99});
    return image;
}

// Binary PPM: a picture file the platform reader takes without any byte packing of ours.
void WritePictureFile(const std::string& path, const Image& image) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << image.Width() << " " << image.Height() << "\n255\n";
    for (const Colour c : image.Pixels()) out.put(static_cast<char>(c.r)).put(static_cast<char>(c.g)).put(static_cast<char>(c.b));
}

// A slot holding the picture unreduced, as a test's starting point.
ImageSlot SlotOf(const Image& picture) { return ImageSlot(picture, kPureGreen); }

// Built-in pictures are reduced on entering, like every other picture, so
// that a new skin's previews show the colours its saved file will hold.
TEST(ImageSlot, DefaultPictureIsReducedToTheDepthWithGreenTransparency) {
    const struct {
        Depth depth;
        Colour pixel;
        Colour transparent;
    } rows[] = {
        // (10, 20, 30) is neither a palette nor a 5-6-5 colour.
        {Depth::Eight, Colour{17, 17, 17}, Colour{0, 255, 0}},
        {Depth::Sixteen, Colour{8, 20, 24}, Colour{0, 252, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(Bits(row.depth));
        ImageSlot slot;
        slot.SetTransparent(kWhite);
        slot.LoadDefault(Image(4, 3, Colour{10, 20, 30}), row.depth);
        EXPECT_EQ(slot.Picture(), Image(4, 3, row.pixel));
        EXPECT_EQ(slot.Transparent(), row.transparent);
        EXPECT_EQ(slot.Width(), 4);
        EXPECT_EQ(slot.Height(), 3);
    }
}

struct ReductionCase {
    Colour in;
    Colour at8;
    Colour at16;
};

TEST(ImageSlot, ReducesEveryPixelForItsDepth) {
    const ReductionCase cases[] = {
        {{10, 20, 30}, {17, 17, 17}, {8, 20, 24}},
        {{200, 100, 50}, {204, 102, 51}, {200, 100, 48}},
        {{255, 255, 255}, {255, 255, 255}, {248, 252, 248}},
    };
    for (const auto& c : cases) {
        for (const Depth depth : kDepths) {
            ImageSlot slot = SlotOf(Image(2, 2, c.in));
            slot.ReduceToDepth(depth);
            const Colour expected = depth == Depth::Eight ? c.at8 : c.at16;
            for (const Colour p : slot.Picture().Pixels()) EXPECT_EQ(p, expected) << "depth " << Bits(depth);
        }
    }
}

TEST(ImageSlot, GreenTransparencyAtEachDepth) {
    Image picture(2, 1);
    picture.Set(0, 0, Colour{0, 255, 0});
    picture.Set(1, 0, Colour{0, 254, 0});

    ImageSlot at8 = SlotOf(picture);
    at8.ReduceToDepth(Depth::Eight);
    EXPECT_EQ(at8.Picture().At(0, 0), (Colour{0, 255, 0}));
    EXPECT_EQ(NearestPaletteIndex(at8.Picture().At(0, 0)), 210);
    EXPECT_EQ(at8.Picture().At(1, 0), (Colour{0, 204, 0}));  // stays opaque
    EXPECT_EQ(PaletteColour(211), (Colour{0, 204, 0}));
    EXPECT_EQ(at8.Transparent(), (Colour{0, 255, 0}));

    ImageSlot at16 = SlotOf(picture);
    at16.ReduceToDepth(Depth::Sixteen);
    EXPECT_EQ(at16.Transparent(), (Colour{0, 252, 0}));
    EXPECT_EQ(at16.Picture().At(0, 0), at16.Transparent());  // both see-through at 16 bits
    EXPECT_EQ(at16.Picture().At(1, 0), at16.Transparent());
}

TEST(ImageSlot, ReducingTwiceChangesNothing) {
    for (const Depth depth : kDepths) {
        ImageSlot slot = SlotOf(Gradient(40, 30));
        slot.ReduceToDepth(depth);
        const Image once = slot.Picture();
        const Colour transparent = slot.Transparent();
        slot.ReduceToDepth(depth);
        EXPECT_EQ(slot.Picture(), once);
        EXPECT_EQ(slot.Transparent(), transparent);
    }
}

TEST(ImageSlot, FillWhiteMakesEverythingWhiteAndSeeThrough) {
    ImageSlot slot = SlotOf(Gradient(7, 3));
    slot.FillWhite();
    EXPECT_EQ(slot.Picture(), Image(7, 3, kWhite));
    EXPECT_EQ(slot.Transparent(), kWhite);  // not reduced: 16-bit white would be (248, 252, 248)
}

TEST(ImageSlot, CopyFromTakesTheSlotSizedRectangleAtThePosition) {
    const Image picture = Gradient(60, 50);
    ImageSlot slot = SlotOf(Image(10, 4, kBlack));
    ASSERT_TRUE(slot.CopyFrom(picture, 20, 30, Depth::Sixteen));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(slot.Picture().At(x, y), Quantise565(picture.At(20 + x, 30 + y)));
    EXPECT_EQ(slot.Width(), 10);
}

TEST(ImageSlot, CopyFromOutsideThePictureKeepsThePreviousPixels) {
    const Colour previous{255, 0, 0};  // a palette colour, unchanged by the reduction
    const Image picture = Gradient(12, 6);
    ImageSlot slot = SlotOf(Image(8, 8, previous));
    // Overlaps the picture's bottom-right corner by 4 x 2 pixels.
    ASSERT_TRUE(slot.CopyFrom(picture, 8, 4, Depth::Eight));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool covered = x < 4 && y < 2;
            const Colour expected =
                covered ? NearestPaletteColourExcluding(picture.At(8 + x, 4 + y), NearestPaletteIndex(kPureGreen))
                        : previous;
            EXPECT_EQ(slot.Picture().At(x, y), expected) << x << "," << y;
        }

    // Negative positions: the picture lands at the slot's lower right.
    ImageSlot shifted = SlotOf(Image(8, 8, previous));
    ASSERT_TRUE(shifted.CopyFrom(picture, -6, -7, Depth::Eight));
    EXPECT_EQ(shifted.Picture().At(5, 6), previous);
    EXPECT_NE(shifted.Picture().At(6, 7), previous);

    // Entirely outside: nothing is copied, the slot is only reduced.
    ImageSlot outside = SlotOf(Image(8, 8, previous));
    EXPECT_TRUE(outside.CopyFrom(picture, 1000, -1000, Depth::Eight));
    EXPECT_EQ(outside.Picture(), Image(8, 8, previous));
}

TEST(ImageSlot, CopyWithNothingToCopyFails) {
    ImageSlot empty;
    EXPECT_FALSE(empty.CopyFrom(Gradient(3, 3), 0, 0, Depth::Eight));
    ImageSlot slot = SlotOf(Gradient(3, 3));
    EXPECT_FALSE(slot.CopyFrom(Image(), 0, 0, Depth::Eight));
    EXPECT_EQ(slot.Picture(), Gradient(3, 3));
}

class ImageSlotFileTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(ImageSlotFileTest, LargerPictureIsCutToItsTopLeftPart) {
    const Image picture = Gradient(200, 100);
    const auto path = dir.File("big.ppm");
    WritePictureFile(path, picture);
    ImageSlot slot = SlotOf(Image(102, 46, kBlack));
    ASSERT_TRUE(slot.LoadFromFile(path, Depth::Sixteen));
    ASSERT_EQ(slot.Width(), 102);
    ASSERT_EQ(slot.Height(), 46);
    for (int y = 0; y < 46; ++y)
        for (int x = 0; x < 102; ++x) ASSERT_EQ(slot.Picture().At(x, y), Quantise565(picture.At(x, y)));
}

TEST_F(ImageSlotFileTest, SmallerPictureLeavesTheRestAsItWas) {
    const Colour previous{51, 102, 153};  // a palette colour: the reduction keeps it
    const auto path = dir.File("small.ppm");
    WritePictureFile(path, Image(3, 2, kBlack));
    ImageSlot slot = SlotOf(Image(5, 4, previous));
    ASSERT_TRUE(slot.LoadFromFile(path, Depth::Eight));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(slot.Picture().At(x, y), (x < 3 && y < 2) ? kBlack : previous);
}

TEST_F(ImageSlotFileTest, UnreadableFileFailsAndLeavesTheSlot) {
    const Image before = Gradient(6, 6);
    ImageSlot slot = SlotOf(before);
    slot.SetTransparent(Colour{7, 7, 7});
    EXPECT_FALSE(slot.LoadFromFile(dir.File("missing.bmp"), Depth::Eight));
    std::ofstream(dir.File("text.bmp")) << "not a picture";
    EXPECT_FALSE(slot.LoadFromFile(dir.File("text.bmp"), Depth::Sixteen));
    EXPECT_FALSE(slot.LoadFromFile(dir.Path().string(), Depth::Sixteen));
    // Cut short: the rows that are there are not loaded with black below them.
    const auto bmp = EncodeBmp(Gradient(6, 6));
    WriteBytes(dir.File("cut.bmp"), std::vector<std::uint8_t>(bmp.begin(), bmp.end() - 4));
    EXPECT_FALSE(slot.LoadFromFile(dir.File("cut.bmp"), Depth::Eight));
    EXPECT_EQ(slot.Picture(), before);
    EXPECT_EQ(slot.Transparent(), (Colour{7, 7, 7}));
}

// One decode for both slots gives what the two separate loads give.
TEST_F(ImageSlotFileTest, ElementLoadFillsBothSlotsAsTwoLoadsWould) {
    const auto path = dir.File("p.ppm");
    Image picture = Gradient(110, 50);
    picture.Set(4, 4, Colour{0, 254, 0});
    WritePictureFile(path, picture);
    ImageSlot eight = SlotOf(Image(102, 46, kBlack)), sixteen = eight, eightAlone = eight, sixteenAlone = eight;
    for (ImageSlot* slot : {&eight, &sixteen, &eightAlone, &sixteenAlone}) slot->SetTransparent(Colour{0, 254, 0});
    const ElementLoad load = LoadElementFromFile(eight, sixteen, path);
    EXPECT_TRUE(load.Both());
    ASSERT_TRUE(eightAlone.LoadFromFile(path, Depth::Eight));
    ASSERT_TRUE(sixteenAlone.LoadFromFile(path, Depth::Sixteen));
    EXPECT_EQ(eight.Picture(), eightAlone.Picture());
    EXPECT_EQ(eight.Transparent(), eightAlone.Transparent());
    EXPECT_EQ(sixteen.Picture(), sixteenAlone.Picture());
    EXPECT_EQ(sixteen.Transparent(), sixteenAlone.Transparent());

    std::ofstream(dir.File("text.bmp")) << "not a picture";
    const ElementLoad failed = LoadElementFromFile(eight, sixteen, dir.File("text.bmp"));
    EXPECT_FALSE(failed.eightBit || failed.sixteenBit);
    EXPECT_EQ(failed.file.problem, ImageFileProblem::NotAPicture);
    EXPECT_EQ(eight.Picture(), eightAlone.Picture());
}

// ---- the public BMP suite ----------------------------------------------------------

std::vector<std::filesystem::path> Suite(const char* folder) {
    return testing::TestDataFiles(std::string("bmpsuite/") + folder);
}

// The picture as ImageMagick decodes it, as an independent oracle; nothing when it is not installed.
std::optional<Image> DecodeWithImageMagick(const std::filesystem::path& file) {
    const std::string command = "convert '" + file.string() + "' -depth 8 ppm:- 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return std::nullopt;
    int width = 0;
    int height = 0;
    int maximum = 0;
    const bool header = std::fscanf(pipe, "P6 %d %d %d", &width, &height, &maximum) == 3 && std::fgetc(pipe) != EOF;
    std::vector<unsigned char> bytes;
    unsigned char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) bytes.insert(bytes.end(), buffer, buffer + n);
    if (pclose(pipe) != 0 || !header || maximum != 255 || width <= 0 || height <= 0 ||
        bytes.size() != std::size_t(width) * std::size_t(height) * 3)
        return std::nullopt;
    Image image(width, height);
    for (std::size_t i = 0; i < image.Pixels().size(); ++i)
        image.Pixels()[i] = Colour{bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]};
    return image;
}

TEST(ImageSlotBmpSuite, EveryGoodFileLoadsWithItsOwnPixels) {
    int checked = 0;
    for (const auto& file : Suite("g")) {
        SCOPED_TRACE(file.filename().string());
        // The title bar's slot is wider and lower than the suite's pictures
        // (127 x 64 and a little smaller), so it shows both the cut and the uncovered part.
        const Colour previous{255, 0, 0};
        ImageSlot slot = SlotOf(Image(320, 30, previous));
        ASSERT_TRUE(slot.LoadFromFile(file.string(), Depth::Sixteen));
        for (int y = 0; y < 30; ++y) EXPECT_EQ(slot.Picture().At(319, y), Quantise565(previous));
        if (const auto oracle = DecodeWithImageMagick(file)) {
            ASSERT_GE(oracle->Height(), 30);
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 320; ++x) {
                    // 5-6-5 quantising keeps the top bits, on which shifted and scaled 16-bit decodes agree.
                    const Colour expected = x < oracle->Width() ? Quantise565(oracle->At(x, y)) : Quantise565(previous);
                    ASSERT_EQ(slot.Picture().At(x, y), expected) << x << "," << y;
                }
            ++checked;
        }
    }
    if (checked == 0) GTEST_SKIP() << "ImageMagick's convert is not installed: pixels not compared";
    EXPECT_EQ(checked, 27);
}

TEST(ImageSlotBmpSuite, BadAndQuestionableFilesNeverCrash) {
    int tried = 0;
    for (const char* folder : {"b", "q"}) {
        for (const auto& file : Suite(folder)) {
            SCOPED_TRACE(file.string());
            const Image before = Gradient(102, 46);
            ImageSlot slot = SlotOf(before);
            if (!slot.LoadFromFile(file.string(), Depth::Eight)) {
                EXPECT_EQ(slot.Picture(), before);
            }
            EXPECT_EQ(slot.Width(), 102);
            EXPECT_EQ(slot.Height(), 46);
            ++tried;
        }
    }
    EXPECT_GT(tried, 50);
}

// ---- the image-file prompt -------------------------------------------------------------

TEST(ChooseImageFile, AsksForAnExistingBitmapNamedAfterTheElement) {
    ScriptedUser user;
    user.ChoosesFile("/pictures/five.bmp");
    EXPECT_EQ(ChooseImageFile(user, "5 pressed"), "/pictures/five.bmp");
    ASSERT_EQ(user.FileCalls().size(), 1u);
    const auto& call = user.FileCalls()[0];
    EXPECT_FALSE(call.save);
    EXPECT_EQ(call.prompt.title, "Select image for '5 pressed'");
    EXPECT_EQ(call.prompt.filter, "Pictures (*.bmp *.png *.jpg *.jpeg *.pbm *.pgm *.ppm *.pam)|*.bmp;*.png;*.jpg;*.jpeg;*.pbm;*.pgm;*.ppm;*.pam|"
              "Windows Bitmap (*.bmp)|*.bmp|All files (*.*)|*.*||");
    EXPECT_EQ(call.prompt.defaultExtension, "");
    EXPECT_EQ(call.prompt.proposedName, "");
    EXPECT_TRUE(call.prompt.mustExist);
    EXPECT_TRUE(call.prompt.ownedByWindow);
}

TEST(ChooseImageFile, CancelGivesAnEmptyText) {
    ScriptedUser user;
    user.ChoosesFile(std::nullopt);
    EXPECT_EQ(ChooseImageFile(user, "Star"), "");
    EXPECT_TRUE(user.ScriptUsedUp());
}

}  // namespace
}  // namespace corvane
