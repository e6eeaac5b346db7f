// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The kernel's link rule as the writes apply it, walked name by name: a link
// of another user in a shared sticky folder counts wherever it stands in the
// path, and only the last name's link is left unfollowed when asked.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "io/LinkRule.h"
#include "support/FailingWrites.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

TEST(LinkRuleTest, AnotherUsersLinkCountsOnEveryStepAndAtTheEndOnlyWhenFollowed) {
    CORVANE_SKIP_IN_WEBASSEMBLY("Node's file system gives no file to another user");
    if (geteuid() != 0) GTEST_SKIP() << "a link owned by another user needs root to make";
    testing::TempDir dir;
    const auto shared = dir.File("sticky"), theirs = dir.File("theirs");
    std::filesystem::create_directory(shared);
    std::filesystem::create_directory(theirs);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    const auto link = shared + "/link";
    std::filesystem::create_directory_symlink(theirs, link);
    ASSERT_EQ(lchown(link.c_str(), 65534, 65534), 0);
    struct Case {
        std::string path;
        bool followLast, resolves;
    };
    const Case cases[] = {
        {link + "/out.pdb", false, false},  // the link is a folder of the path: walked, so checked
        {link + "/out.pdb", true, false},
        {link + "/sub/../out.pdb", false, false},
        {link, false, true},  // the last name kept as a link: never followed
        {link, true, false},
        {theirs + "/out.pdb", false, true},
        {shared + "/../sticky/link/out.pdb", false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KernelWouldResolve(c.path, c.followLast), c.resolves) << c.path << (c.followLast ? " followed" : " kept");
}

}  // namespace
}  // namespace corvane
