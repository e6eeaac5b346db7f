#include "model/ShownColour.h"

#include <gtest/gtest.h>

#include "model/PreviewComposition.h"
#include "model/SkinDocument.h"

namespace corvane {
namespace {

// One colour, one name at each depth: the name of the colour the skin file stores.
TEST(ShownColour, NamesTheColourAsStoredAtTheDepth) {
    const struct {
        Colour colour;
        int depth;
        const char* shown;
    } cases[] = {
        {kWhite, 16, "#F8FCF8"},         {Colour{248, 252, 248}, 16, "#F8FCF8"}, {kWhite, 8, "#FFFFFF"},
        {kPureGreen, 16, "#00FC00"},     {kPureGreen, 8, "#00FF00"},             {Colour{250, 3, 7}, 16, "#F80000"},
        {Colour{250, 3, 7}, 8, "#FF0000"}, {Colour{0x12, 0x34, 0x56}, 16, "#103450"},
    };
    for (const auto& c : cases) EXPECT_EQ(ShownColour(c.colour, c.depth), c.shown) << c.shown << " at " << c.depth;
}

TEST(PixelDescription, NamesTheElementItsSizeThePixelAndItsColour) {
    Image picture(102, 46, kWhite);
    picture.Set(37, 12, Colour{0x12, 0x34, 0x56});
    EXPECT_EQ(PixelDescription("5", picture, 37, 12, 16), "5 (102x46): 37, 12 #103450");
    EXPECT_EQ(PixelDescription("5", picture, 0, 0, 16), "5 (102x46): 0, 0 #F8FCF8");
    for (const auto& [x, y] : {std::pair{-1, 0}, {0, -1}, {102, 0}, {0, 46}}) EXPECT_EQ(PixelDescription("5", picture, x, y, 16), "");
}

// The title bar (0, 27, 320 x 30): solid covers the screen behind, see-through shows it.
TEST(SeeThroughPixels, AreThoseNoElementCovers) {
    constexpr int kTitleBar = 33;
    SkinDocument document;
    document.Slot(16, kTitleBar).CopyFrom(Image(320, 30, Colour{200, 0, 0}), 0, 0, 16);
    auto at = [](const std::vector<bool>& pixels, int x, int y) { return pixels[std::size_t(y * 320 + x)]; };
    for (const bool pressed : {false, true}) {
        const auto solid = SeeThroughPixels(document, 16, pressed);
        ASSERT_EQ(solid.size(), 320u * 320u);
        EXPECT_TRUE(at(solid, 5, 5));     // above the title bar: nothing is drawn there
        EXPECT_FALSE(at(solid, 10, 40));  // the red title bar
    }
    document.Slot(16, kTitleBar).FillWhite();
    EXPECT_TRUE(at(SeeThroughPixels(document, 16, false), 10, 40));
}

}  // namespace
}  // namespace corvane
