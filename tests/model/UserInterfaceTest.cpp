#include "model/UserInterface.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace corvane
