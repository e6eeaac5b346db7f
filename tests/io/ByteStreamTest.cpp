// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A stream read piece by piece: past its limit or on a failed read it hands
// back nothing of what it read, so that no caller decodes part of an input
// as if it were all of it.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "io/ByteStream.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ByteStreamTest, ReadingTheRestGivesAllOrNothing) {
    struct Case {
        const char* name;
        std::size_t size, limit;
        ReadProblem problem;
    };
    const Case cases[] = {
        {"under the limit", 10, 11, ReadProblem::None},
        {"at the limit", 10, 10, ReadProblem::None},
        {"one past the limit", 11, 10, ReadProblem::TooLarge},
        {"many pieces past the limit", 200000, 150000, ReadProblem::TooLarge},
    };
    for (const Case& c : cases) {
        Bytes data(c.size);
        for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
        ByteStream stream(fmemopen(data.data(), data.size(), "rb"), true, c.limit);
        Bytes read{42};  // the rest is appended to what is there
        stream.ReadRest(read);
        EXPECT_EQ(stream.Problem(), c.problem) << c.name;
        Bytes expected;
        if (c.problem == ReadProblem::None) {
            expected = {42};
            expected.insert(expected.end(), data.begin(), data.end());
        }
        EXPECT_EQ(read, expected) << c.name;
    }
}

TEST(ByteStreamTest, AFailedReadIsToldAndHandsBackNothing) {
    testing::TempDir dir;
    // A folder opens for reading on Linux, and every read of it fails.
    std::FILE* folder = std::fopen(dir.Path().c_str(), "rb");
    ASSERT_NE(folder, nullptr);
    ByteStream stream(folder, true, 1000);
    Bytes read{1, 2, 3};
    stream.ReadRest(read);
    EXPECT_EQ(stream.Problem(), ReadProblem::ReadFailed);
    EXPECT_TRUE(stream.Error());
    EXPECT_TRUE(read.empty());
    std::uint8_t buffer[4];
    EXPECT_EQ(stream.Read(buffer), 0u) << "nothing more once a read failed";
}

}  // namespace
}  // namespace corvane
