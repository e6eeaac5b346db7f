// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/TestData.h"

#include <algorithm>
#include <system_error>

#include <gtest/gtest.h>

namespace corvane::testing {

std::filesystem::path TestData(const std::string& relative) {
    return std::filesystem::path(CORVANE_SOURCE_DIR) / "tests" / "data" / relative;
}

std::vector<std::filesystem::path> TestDataFiles(const std::string& folder) {
    const auto path = TestData(folder);
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file() && it->path().extension() != ".md") files.push_back(it->path());
    if (ec || files.empty())
        ADD_FAILURE() << "the test data folder " << path.string() << " is missing or empty"
                      << (ec ? ": " + ec.message() : std::string());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace corvane::testing
