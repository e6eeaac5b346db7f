// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/UserInterface.h"

#include <gtest/gtest.h>

#include "support/ScriptedUser.h"

namespace corvane {
namespace {

TEST(SplitFilter, PairsDescriptionsWithPatterns) {
    const auto pairs = SplitFilter("Skin File (*.pdb)|*.pdb|All files (*.*)|*.*||");
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0].first, "Skin File (*.pdb)");
    EXPECT_EQ(pairs[0].second, "*.pdb");
    EXPECT_EQ(pairs[1].first, "All files (*.*)");
    EXPECT_EQ(pairs[1].second, "*.*");
    EXPECT_TRUE(SplitFilter("").empty());
}

// Yes leaves only once saved; No leaves unsaved; Cancel stays; unmodified leaves unasked.
TEST(MayLeave, AsksOnlyWhenModifiedAndLeavesOnlyOnceSaved) {
    struct Case {
        bool modified;
        std::optional<Answer> answer;
        bool saves;
        bool leaves;
        int saveCalls;
    };
    const Case cases[] = {
        {false, std::nullopt, true, true, 0},
        {true, Answer::Yes, true, true, 1},
        {true, Answer::Yes, false, false, 1},
        {true, Answer::No, true, true, 0},
        {true, Answer::Cancel, true, false, 0},
    };
    for (const Case& c : cases) {
        testing::ScriptedUser user;
        if (c.answer) user.Answers(*c.answer);
        int saveCalls = 0;
        const bool leaves = MayLeave(user, c.modified, "Save first?", [&] {
            ++saveCalls;
            return c.saves;
        });
        EXPECT_EQ(leaves, c.leaves);
        EXPECT_EQ(saveCalls, c.saveCalls);
        EXPECT_TRUE(user.ScriptUsedUp());
        ASSERT_EQ(user.Messages().size(), c.modified ? 1u : 0u);
        if (c.modified) {
            EXPECT_EQ(user.Messages()[0].text, "Save first?");
            EXPECT_EQ(user.Messages()[0].buttons, MessageButtons::YesNoCancel);
            EXPECT_EQ(user.Messages()[0].defaultButton, Answer::Yes);
        }
    }
}

}  // namespace
}  // namespace corvane
