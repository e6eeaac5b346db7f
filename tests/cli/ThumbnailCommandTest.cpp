// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// `corvane thumbnail --size`: the freedesktop sizes, 1 to 1024 pixels; a
// size outside is a usage error and writes nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/ImageFile.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using testing::RunProcess;

TEST(ThumbnailCommand, SizeRunsFromOneToTenTwentyFour) {
    testing::TempDir dir;
    const std::string skin = dir.File("s.pdb");
    ASSERT_EQ(RunProcess({CORVANE_CLI, "skin", "new", "--depth", "16", "-o", skin}).exitCode, 0);
    const struct { const char* size; int exitCode; int width; } cases[] = {
        {"0", 2, 0}, {"1", 0, 1}, {"1024", 0, 320}, {"1025", 2, 0}, {"2048", 2, 0},
    };
    for (const auto& c : cases) {
        const std::string out = dir.File(std::string("t") + c.size + ".png");
        const auto run = RunProcess({CORVANE_CLI, "thumbnail", "--size", c.size, skin, out});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.size << ": " << run.err;
        if (c.exitCode != 0) {
            EXPECT_NE(run.err.find("--size"), std::string::npos) << c.size << ": " << run.err;
            EXPECT_FALSE(std::filesystem::exists(out)) << c.size;
            continue;
        }
        const ImageFileResult written = ReadImageFile(out);
        ASSERT_TRUE(written.image) << c.size;
        EXPECT_EQ(written.image->Width(), c.width) << c.size;
    }
}

}  // namespace
}  // namespace corvane
