// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include "imaging/Bmp.h"
#include "imaging/ImageFile.h"
#include "imaging/ImagingTestUtil.h"
#include "imaging/Png.h"
#include "imaging/Pnm.h"

namespace corvane {
namespace {

using testing::Hex;

// Each format's own encoder makes bytes that the table hands to that
// format's decoder; bytes of no format the table lists are refused, in a
// sentence that names the formats it does list.
TEST(ImageFileTable, SignaturesLeadToTheirFormatsDecoders) {
    const Image picture = testing::PhotoLike(7, 5, 3);
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } formats[] = {
        {"BMP", EncodeBmp(picture)},
        {"PNG", EncodePng(picture)},
        {"PPM", EncodePnm(picture, PnmKind::Ppm)},
        {"PAM", EncodePnm(picture, PnmKind::Pam)},
    };
    for (const auto& f : formats) {
        EXPECT_TRUE(IsCorePictureFormat(f.bytes)) << f.name;
        const ImageFileResult read = DecodeImageBytes(f.bytes, 4, 3);
        ASSERT_TRUE(read.image) << f.name;
        EXPECT_EQ(read.width, 7u) << f.name;
        EXPECT_EQ(read.height, 5u) << f.name;
        ASSERT_EQ(read.image->Width(), 4) << f.name;
        ASSERT_EQ(read.image->Height(), 3) << f.name;
        EXPECT_EQ(read.image->At(3, 2), picture.At(3, 2)) << f.name;
    }

    const auto gif = Hex("47 49 46 38 39 61 01 00 01 00 00 00 00");
    EXPECT_FALSE(IsCorePictureFormat(gif));
    const ImageFileResult refused = DecodeImageBytes(gif);
    EXPECT_FALSE(refused.image);
    EXPECT_EQ(refused.problem, ImageFileProblem::NotAPicture);
    EXPECT_EQ(ImageFileProblemText(refused), "not a picture file that can be read (BMP, PNG, JPEG or PNM expected)");
}

}  // namespace
}  // namespace corvane
