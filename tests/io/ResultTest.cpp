// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/Result.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace corvane {
namespace {

Result<int> Half(int n) {
    if (n % 2) return Fail(std::to_string(n) + " is odd");
    return n / 2;
}

TEST(Result, CarriesTheValueOrTheReason) {
    const auto even = Half(8);
    ASSERT_TRUE(even.Ok());
    EXPECT_EQ(*even, 4);
    const auto odd = Half(7);
    ASSERT_FALSE(odd);
    EXPECT_EQ(odd.Reason(), "7 is odd");

    const Status done;
    EXPECT_TRUE(done.Ok());
    const Status refused = Fail("no");
    EXPECT_FALSE(refused.Ok());
    EXPECT_EQ(refused.Reason(), "no");
}

TEST(Result, MovesAValueThatCannotBeCopiedOut) {
    Result<std::unique_ptr<int>> owned = std::make_unique<int>(3);
    const std::unique_ptr<int> taken = *std::move(owned);
    EXPECT_EQ(*taken, 3);
}

}  // namespace
}  // namespace corvane
