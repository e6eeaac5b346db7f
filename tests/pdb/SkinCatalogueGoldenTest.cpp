// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The catalogue pinned from outside: the table below is written from the
// phone's numbering, not copied from SkinCatalogue.h, so a row swapped or
// mistyped there (which the writer, the reader and every other test would
// follow alike) fails here. tests/data/skin/golden.pdb was written once, at 16
// bits, from a bitmap set with one flat colour per element; its resources are
// checked by ID, without the catalogue, and then through it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "io/ByteOrder.h"
#include "pdb/ResourceDatabase.h"
#include "pdb/SkinCatalogue.h"
#include "pdb/SkinCodec.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace corvane {
namespace {

struct GoldenRow {
    std::uint16_t id;
    std::string_view file;  // in a bitmap set
    int width;
    int height;
    Colour colour;  // of the element's picture in golden.pdb
};

// In the order the phone numbers them.
constexpr GoldenRow kGolden[] = {
    {1200, "scnormal.bmp", 156, 32, {24, 28, 136}},
    {1201, "scpressed.bmp", 156, 32, {64, 72, 160}},
    {1202, "schighlighted.bmp", 156, 32, {104, 116, 184}},
    {1203, "scempty.bmp", 156, 32, {144, 160, 208}},
    {1204, "scemptypressed.bmp", 156, 32, {184, 204, 232}},
    {1301, "1.bmp", 102, 46, {224, 248, 0}},
    {1302, "2.bmp", 102, 46, {8, 36, 24}},
    {1303, "3.bmp", 102, 46, {48, 80, 48}},
    {1304, "4.bmp", 102, 46, {88, 124, 72}},
    {1305, "5.bmp", 102, 46, {128, 168, 96}},
    {1306, "6.bmp", 102, 46, {168, 212, 120}},
    {1307, "7.bmp", 102, 46, {208, 0, 144}},
    {1308, "8.bmp", 102, 46, {248, 44, 168}},
    {1309, "9.bmp", 102, 46, {32, 88, 192}},
    {1310, "star.bmp", 102, 46, {72, 132, 216}},
    {1311, "0.bmp", 102, 46, {112, 176, 240}},
    {1312, "#.bmp", 102, 46, {152, 220, 8}},
    {1320, "0pressed.bmp", 102, 46, {192, 8, 32}},
    {1321, "1pressed.bmp", 102, 46, {232, 52, 56}},
    {1322, "2pressed.bmp", 102, 46, {16, 96, 80}},
    {1323, "3pressed.bmp", 102, 46, {56, 140, 104}},
    {1324, "4pressed.bmp", 102, 46, {96, 184, 128}},
    {1325, "5pressed.bmp", 102, 46, {136, 228, 152}},
    {1326, "6pressed.bmp", 102, 46, {176, 16, 176}},
    {1327, "7pressed.bmp", 102, 46, {216, 60, 200}},
    {1328, "8pressed.bmp", 102, 46, {0, 104, 224}},
    {1329, "9pressed.bmp", 102, 46, {40, 148, 248}},
    {1330, "#pressed.bmp", 102, 46, {80, 192, 16}},
    {1331, "starpressed.bmp", 102, 46, {120, 236, 40}},
    {1350, "dialbutton.bmp", 102, 46, {160, 24, 64}},
    {1351, "dialbuttonpressed.bmp", 102, 46, {200, 68, 88}},
    {9038, "scedge.bmp", 320, 8, {240, 112, 112}},
    {9039, "scarrow.bmp", 18, 10, {24, 156, 136}},
    {9040, "eventbar.bmp", 320, 30, {64, 200, 160}},
    {9064, "titlebar.bmp", 320, 30, {104, 244, 184}},
};

std::vector<std::uint8_t> GoldenFile() { return testing::ReadBytes(testing::TestData("skin/golden.pdb").string()); }

TEST(CatalogueGolden, EveryResourceIdNamesTheElementOfThePhone) {
    ASSERT_EQ(std::size(kGolden), std::size_t{kElementCount});
    for (const GoldenRow& row : kGolden) {
        SCOPED_TRACE(row.id);
        const SkinElement* element = ElementByResourceId(row.id);
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(std::string(element->name) + ".bmp", row.file);
        EXPECT_EQ(element->width, row.width);
        EXPECT_EQ(element->height, row.height);
        EXPECT_EQ(ResourceIdOf(element->element), row.id);
    }
}

TEST(CatalogueGolden, SupportedIdsAreExactlyThePhones) {
    std::vector<std::uint16_t> golden;
    for (const GoldenRow& row : kGolden) golden.push_back(row.id);
    std::sort(golden.begin(), golden.end());
    const auto supported = SupportedSkinIds();
    EXPECT_TRUE(std::equal(golden.begin(), golden.end(), supported.begin(), supported.end()));
    for (const std::uint32_t outside : {1199u, 1205u, 1300u, 1313u, 1319u, 1332u, 1349u, 1352u, 9037u, 9041u, 9063u, 9065u})
        EXPECT_FALSE(IsSupportedSkinId(outside)) << outside;
}

TEST(CatalogueGolden, TheFixedSkinHoldsEachColourUnderItsId) {
    const auto bytes = GoldenFile();
    ResourceDatabase database;
    ASSERT_EQ(database.ReadDatabase(bytes), DatabaseReadOutcome::Read);
    ASSERT_EQ(database.Count(), std::size_t{kElementCount});
    for (const GoldenRow& row : kGolden) {
        SCOPED_TRACE(row.id);
        const auto found = database.FindBitmap(row.id);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->depth, 16);
        ASSERT_EQ(found->image.Width(), row.width);
        ASSERT_EQ(found->image.Height(), row.height);
        EXPECT_EQ(found->image.At(0, 0), row.colour);
        EXPECT_EQ(found->image.At(row.width - 1, row.height - 1), row.colour);
    }
}

TEST(CatalogueGolden, ReadingTheFixedSkinPutsEachColourInItsElement) {
    const DecodedSkin skin = DecodeSkinFile(GoldenFile());
    ASSERT_EQ(skin.missing, 0);
    EXPECT_FALSE(skin.unsupported);
    for (const GoldenRow& row : kGolden) {
        SCOPED_TRACE(row.file);
        const SkinElement* element = ElementByName(row.file.substr(0, row.file.size() - 4));
        ASSERT_NE(element, nullptr);
        const auto& picture = skin.pictures[Index(element->element)];
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->image.At(0, 0), row.colour);
    }
}

TEST(CatalogueGolden, WritingTheColoursGivesTheFixedSkinByteForByte) {
    const auto golden = GoldenFile();
    ASSERT_GE(golden.size(), std::size_t{kDatabaseHeaderSize});
    BigEndianReader header(golden);
    header.Skip(36);
    const std::uint32_t written = header.U32();  // the date the file was made
    std::vector<Image> images(kElementCount);
    std::array<SkinPicture, kElementCount> pictures{};
    for (const GoldenRow& row : kGolden) {
        const SkinElement* element = ElementByName(row.file.substr(0, row.file.size() - 4));
        ASSERT_NE(element, nullptr) << row.file;
        const std::size_t at = Index(element->element);
        images[at] = Image(row.width, row.height, row.colour);
        pictures[at] = {&images[at], Colour{0, 252, 0}};
    }
    const auto bytes = EncodeSkinFile(pictures, Depth::Sixteen, "golden", written);
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(*bytes == golden);
}

}  // namespace
}  // namespace corvane
