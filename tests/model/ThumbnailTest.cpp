#include "model/Thumbnail.h"

#include <gtest/gtest.h>

#include "imaging/AreaScale.h"
#include "pdb/PalmDate.h"
#include "pdb/ResourceDatabase.h"
#include "pdb/SkinCodec.h"
#include "pdb/SplashCodec.h"
#include "support/SplashTestUtil.h"

namespace corvane {
namespace {

using splash_testing::Bytes;
using splash_testing::FixtureBytes;

constexpr int kTitleBar = 33;                // element "titlebar", resource 9064, drawn across rows 27 to 56
constexpr std::uint16_t kTitleBarId = 9064;

Bytes SkinWithTitleBar(Colour fill, int depth, std::uint16_t id = kTitleBarId) {
    ResourceDatabase db;
    EXPECT_TRUE(db.AddBitmap(Image(320, 30, fill), id, kPureGreen, true, depth));
    return db.WriteDatabase(PalmNow()).value();
}

Bytes SplashWith(const Bytes& welcome) {
    return BuildSplashFile("s", welcome, FixtureBytes("baseline-320x320.jpg"), PalmNow()).value();
}

TEST(AreaScaleTest, FitsTheLongerSideAndNeverEnlarges) {
    const struct { int width, height, box; PictureSize fitted; } cases[] = {
        {320, 320, 128, {128, 128}}, {320, 240, 128, {128, 96}}, {240, 320, 100, {75, 100}},
        {100, 50, 512, {100, 50}},   {4000, 1, 10, {10, 1}},
    };
    for (const auto& c : cases) EXPECT_EQ(FitWithin(c.width, c.height, c.box), c.fitted) << c.width << "x" << c.height;
}

TEST(AreaScaleTest, EachNewPixelIsTheMeanOfTheAreaItCovers) {
    // 0, 91, 182 into two pixels: each takes one old pixel whole and half of the middle one.
    Image row(3, 1);
    for (int x = 0; x < 3; ++x) row.Set(x, 0, Colour{std::uint8_t(91 * x), 0, 255});
    const Image two = ShrinkByArea(row, 2, 1);
    EXPECT_EQ(two.At(0, 0), (Colour{30, 0, 255}));  // 30.3
    EXPECT_EQ(two.At(1, 0), (Colour{152, 0, 255}));  // 151.7, rounded
    // A one-pixel line in a 5x5 square shrunk to 2x2 weighs half in both new pixels it falls under.
    Image square(5, 5, kBlack);
    for (int x = 0; x < 5; ++x) square.Set(x, 2, kWhite);
    const Image shrunk = ShrinkByArea(square, 2, 2);
    for (int x = 0; x < 2; ++x)
        for (int y = 0; y < 2; ++y) EXPECT_EQ(shrunk.At(x, y), (Colour{51, 51, 51})) << x << "," << y;
}

TEST(ThumbnailTest, ASkinShowsItsOwnPicturesAtTheDepthItStoresThem) {
    for (const int depth : {8, 16}) {
        const Bytes file = SkinWithTitleBar(Colour{0x12, 0x9A, 0xE0}, depth);
        const Colour stored = DecodeSkinFile(file).pictures[kTitleBar]->image.At(0, 0);
        const auto thumbnail = MakeThumbnail(file, 320);
        ASSERT_TRUE(thumbnail) << depth;
        EXPECT_EQ(thumbnail->Width(), 320);
        EXPECT_EQ(thumbnail->At(160, 40), stored) << depth;
    }
}

TEST(ThumbnailTest, ASplashShowsItsWelcomePictureInProportion) {
    const auto thumbnail = MakeThumbnail(SplashWith(FixtureBytes("grey-240x320.jpg")), 128);
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ((PictureSize{thumbnail->Width(), thumbnail->Height()}), (PictureSize{96, 128}));
}

TEST(ThumbnailTest, FilesThatAreNeitherGiveNone) {
    Bytes otherDatabase = SkinWithTitleBar(kWhite, 16, 1);
    splash_testing::PutText(otherDatabase, 60, "DATAaddr");
    Bytes skinHeaderOnly = SkinWithTitleBar(kWhite, 16);
    skinHeaderOnly.resize(100);
    Bytes welcome = FixtureBytes("baseline-320x320.jpg");
    welcome.resize(welcome.size() / 2);
    const struct { const char* name; Bytes file; } cases[] = {
        {"empty", {}},
        {"skin-cut-after-its-entries", skinHeaderOnly},
        {"database-of-another-kind", otherDatabase},
        {"splash-welcome-cut-short", SplashWith(welcome)},
        {"splash-welcome-no-jpeg", SplashWith(splash_testing::JpegBuilder().Frame(0xC0, 320, 320).Take())},
    };
    for (const auto& c : cases) EXPECT_FALSE(MakeThumbnail(c.file, 128)) << c.name;
}

}  // namespace
}  // namespace corvane
