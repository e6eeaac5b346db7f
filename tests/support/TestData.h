// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The files the tests read, all inside the repository under tests/data/.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace corvane::testing {

// tests/data/<relative>, whether or not it exists.
std::filesystem::path TestData(const std::string& relative);

// The files of tests/data/<folder> (not its README), sorted. A folder that is
// missing or empty fails the calling test with the folder's name instead of
// passing on nothing or throwing from the directory walk.
std::vector<std::filesystem::path> TestDataFiles(const std::string& folder);

}  // namespace corvane::testing
