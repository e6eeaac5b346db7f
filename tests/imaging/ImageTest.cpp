// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "imaging/Image.h"

namespace corvane {
namespace {

// A picture whose every pixel differs from its neighbours, so a copy that
// drops, repeats or shifts one is seen.
Image Gradient(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set(x, y, Colour{static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 11),
                                   static_cast<std::uint8_t>(x + y)});
    return image;
}

TEST(Image, FillsEveryPixelWithTheColourGiven) {
    for (const Colour fill : {kBlack, kWhite, kPureGreen, Colour{1, 2, 3}}) {
        const Image image(5, 3, fill);
        ASSERT_EQ(image.Pixels().size(), 15u);
        for (const Colour c : image.Pixels()) EXPECT_EQ(c, fill);
    }
}

TEST(Image, CopiesAreWholeAndIndependentWhateverTheTargetHeldBefore) {
    const Image source = Gradient(6, 4);
    const struct { const char* name; Image target; } cases[] = {
        {"empty", Image()},
        {"smaller", Gradient(2, 2)},
        {"larger", Image(30, 20, kBlack)},
        {"same size", Image(6, 4, kPureGreen)},
    };
    for (const auto& c : cases) {
        Image assigned = c.target;
        assigned = source;
        EXPECT_EQ(assigned, source) << c.name;
        assigned.Set(0, 0, Colour{9, 9, 9});
        EXPECT_EQ(source.At(0, 0), kBlack) << c.name;
    }
    Image constructed(source);
    EXPECT_EQ(constructed, source);
    const Image& alias = constructed;
    constructed = alias;
    EXPECT_EQ(constructed, source);
    constructed = Image();
    EXPECT_TRUE(constructed.Empty());
    EXPECT_EQ(constructed.Width(), 0);
}

}  // namespace
}  // namespace corvane
