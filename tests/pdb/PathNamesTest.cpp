#include "pdb/PathNames.h"

#include <gtest/gtest.h>

#include "model/UserInterface.h"

namespace corvane {
namespace {

TEST(DatabaseNameFromPath, TakesBaseNameUpToFirstDot) {
    EXPECT_EQ(DatabaseNameFromPath("C:\\skins\\My.Skin.pdb"), "My");
    EXPECT_EQ(DatabaseNameFromPath("/home/u/My.Skin.pdb"), "My");
    EXPECT_EQ(DatabaseNameFromPath("C:\\x\\Summer.pdb"), "Summer");
    EXPECT_EQ(DatabaseNameFromPath("untitled.pdb"), "untitled");
    EXPECT_EQ(DatabaseNameFromPath("noext"), "noext");
    EXPECT_EQ(DatabaseNameFromPath("mixed\\dir/name.pdb"), "name");
    EXPECT_EQ(DatabaseNameFromPath(".hidden"), "");
}

TEST(DatabaseNameFromPath, LongNamesLoseTheirBeginning) {
    const std::string forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";
    ASSERT_EQ(forty.size(), 40u);
    EXPECT_EQ(DatabaseNameFromPath("/tmp/" + forty + ".pdb"), forty.substr(9));
    const std::string thirtyOne = forty.substr(0, 31);
    EXPECT_EQ(DatabaseNameFromPath(thirtyOne + ".pdb"), thirtyOne);
}

TEST(PathNames, LastComponentAndJoin) {
    EXPECT_EQ(LastPathComponent("a/b\\c.pdb"), "c.pdb");
    EXPECT_EQ(LastPathComponent("c.pdb"), "c.pdb");
    EXPECT_EQ(LastPathComponent("dir/"), "");
    EXPECT_EQ(JoinPath("/tmp", "#.bmp"), "/tmp/#.bmp");
    EXPECT_EQ(JoinPath("/tmp/", "#.bmp"), "/tmp/#.bmp");
    EXPECT_EQ(JoinPath("", "x"), "x");
}

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
