// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A clone carries every file its tests read: a folder that went missing or
// lost files would otherwise only thin out the table-driven tests over it.
#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <string>

#include "support/TestData.h"

namespace corvane {
namespace {

TEST(TestData, EveryFolderHoldsItsFiles) {
    const struct {
        const char* folder;
        std::size_t files;
    } kFolders[] = {
        {"bmpsuite/g", 27}, {"bmpsuite/q", 41}, {"bmpsuite/b", 20}, {"splash", 10}, {"pictures", 6},
    };
    for (const auto& [folder, files] : kFolders) {
        SCOPED_TRACE(folder);
        EXPECT_EQ(testing::TestDataFiles(folder).size(), files);
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(testing::TestData("bmpsuite/README.md")));
}

}  // namespace
}  // namespace corvane
