// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// "-" as an output means standard output for every command that writes one
// file, and a standard output that cannot take the bytes is a failure that
// says why.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "imaging/ImageFile.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using testing::RunShell;
using testing::ShellQuote;

std::string Tool() { return ShellQuote(CORVANE_CLI); }

TEST(StandardOutput, EveryOneFileOutputWritesItOrSaysWhyNot) {
    testing::TempDir dir;
    const std::string skin = ShellQuote(dir.File("s.pdb"));
    ASSERT_EQ(RunShell(Tool() + " skin new --depth 8 -o " + skin).exitCode, 0);
    ASSERT_EQ(RunShell(Tool() + " skin extract " + skin + " -o " + ShellQuote(dir.File("set"))).exitCode, 0);
    const std::string resource = ShellQuote(dir.File("5.res"));
    ASSERT_EQ(RunShell(Tool() + " bitmap encode " + ShellQuote(dir.File("set/5.bmp")) + " --depth 8 -o " + resource).exitCode, 0);
    const struct {
        std::string command;
        int width, height;
    } kCommands[] = {
        {" thumbnail --size 64 " + skin + " -", 64, 64},
        {" bitmap decode " + resource + " --format png -o -", 102, 46},
        {" bitmap encode " + ShellQuote(dir.File("set/5.bmp")) + " --depth 16 -o -", 0, 0},
    };
    for (const auto& c : kCommands) {
        SCOPED_TRACE(c.command);
        const auto run = RunShell(Tool() + c.command);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_FALSE(run.out.empty());
        if (c.width) {
            const auto picture = DecodeImageBytes(std::vector<std::uint8_t>(run.out.begin(), run.out.end()));
            ASSERT_TRUE(picture.image.has_value());
            EXPECT_EQ(picture.image->Width(), c.width);
            EXPECT_EQ(picture.image->Height(), c.height);
        }
        const auto full = RunShell(Tool() + c.command + " > /dev/full");
        EXPECT_EQ(full.exitCode, 1);
        EXPECT_NE(full.err.find("cannot write to standard output: No space left on device"), std::string::npos) << full.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("-")));
}

}  // namespace
}  // namespace corvane
