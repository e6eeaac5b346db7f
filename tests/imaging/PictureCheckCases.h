// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The header checks of BMP and PNG, judged case by case the same way.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/ImageFile.h"

namespace corvane::testing {

struct PictureCheckCase {
    const char* name;
    std::vector<std::uint8_t> file;
    PictureCheck expected;
};

// The format's own check and the one the format table dispatches to both
// give the expected verdict; a picture over the limit is 9000 x 9000.
inline void ExpectPictureChecks(std::span<const PictureCheckCase> cases,
                                PictureHeader (*check)(std::span<const std::uint8_t>)) {
    for (const PictureCheckCase& c : cases) {
        const PictureHeader header = check(c.file);
        EXPECT_EQ(header.check, c.expected) << c.name;
        EXPECT_EQ(CheckPictureFile(c.file).check, c.expected) << c.name;
        if (c.expected == PictureCheck::TooManyPixels) {
            EXPECT_EQ(header.width, 9000u) << c.name;
            EXPECT_EQ(header.height, 9000u) << c.name;
        }
    }
}

}  // namespace corvane::testing
