// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/PathNames.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(PathNames, LastComponentAndJoin) {
    EXPECT_EQ(LastPathComponent("a/b\\c.pdb"), "c.pdb");
    EXPECT_EQ(LastPathComponent("c.pdb"), "c.pdb");
    EXPECT_EQ(LastPathComponent("dir/"), "");
    EXPECT_EQ(JoinPath("/tmp", "#.bmp"), "/tmp/#.bmp");
    EXPECT_EQ(JoinPath("/tmp/", "#.bmp"), "/tmp/#.bmp");
    EXPECT_EQ(JoinPath("", "x"), "x");
}

TEST(PathNames, BaseNameCutsAsEachNameInUseExpects) {
    const struct {
        const char* path;
        NameCut cut;
        const char* base;
    } cases[] = {
        {"untitled.pdb", NameCut::AtFirstDot, "untitled"},
        {"C:\\a.b\\skin.v2.pdb", NameCut::AtFirstDot, "skin"},
        {"C:\\mixed/x\\Win.Skin.pdb", NameCut::AtFirstDot, "Win"},
        {".hidden.pdb", NameCut::AtFirstDot, ""},
        {"/home/u.v/NoDot", NameCut::AtFirstDot, "NoDot"},
        {"dir/Summer.v2.pdb", NameCut::AtLastDot, "Summer.v2"},
        {"dir.d/.pdb", NameCut::AtLastDot, ".pdb"},
        {"C:\\x\\Summer.pdb", NameCut::LastFourCharacters, "C:\\x\\Summer"},
        {"abc", NameCut::LastFourCharacters, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(BaseName(c.path, c.cut), c.base) << c.path;
}

}  // namespace
}  // namespace corvane
