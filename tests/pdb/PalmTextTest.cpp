// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pdb/PalmText.h"

#include <gtest/gtest.h>

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

TEST(DatabaseNameFromPath, IsInThePhonesCharacterSetCutBetweenCharacters) {
    const struct {
        std::string path;
        std::string name;
    } cases[] = {
        {"/skins/Caf\u00e9 \u20ac5.pdb", "Caf\xE9 \x80" "5"},
        {"/skins/\u00df\u65e5\u672c\U0001F600.pdb", "\xDF___"},          // characters Windows-1252 lacks
        {"/skins/a\xFF\xC3(b\xE2\x82.pdb", "a__(b__"},                    // bytes that are no UTF-8
        {"/skins/\xC0\xAF\xED\xA0\x80.pdb", "_____"},                    // overlong and surrogate forms
        {"/skins/a\uFFFDb.pdb", "a_b"},  // the replacement character stands for no byte of the set
        {"/skins/" + std::string(40, 'x') + "\u00e9\u00e9.pdb", std::string(29, 'x') + "\xE9\xE9"},
    };
    for (const auto& c : cases) EXPECT_EQ(DatabaseNameFromPath(c.path), c.name) << c.path;
}

TEST(PalmText, DecodesEveryByteOfWindows1252) {
    EXPECT_EQ(PalmTextToUtf8("Caf\xE9 \x80\x99\x9F\xFF"), "Caf\u00e9 \u20ac\u2122\u0178\u00ff");
    EXPECT_EQ(PalmTextToUtf8("\x81\x8D\x8F\x90\x9D"), "\ufffd\ufffd\ufffd\ufffd\ufffd");
    EXPECT_EQ(PrintablePalmText("Odd\x01\\\xE9\x7F"), "Odd\\x01\\x5C\u00e9\\x7F");
    // File names: C1 controls and bytes that are no UTF-8 too.
    EXPECT_EQ(PrintableFileName("a\x1B[2J\n\xC2\x9B\\\xFF\u00e9.pdb"), "a\\x1B[2J\\x0A\\xC2\\x9B\\x5C\\xFF\u00e9.pdb");
    // Direction controls, escaped byte by byte; their neighbours in Unicode stay as they are.
    const struct {
        std::string name, printed;
    } kDirection[] = {
        {"a\u202Egpj.exe", "a\\xE2\\x80\\xAEgpj.exe"}, {"\u200E\u200F", "\\xE2\\x80\\x8E\\xE2\\x80\\x8F"},
        {"\u202A\u202D", "\\xE2\\x80\\xAA\\xE2\\x80\\xAD"}, {"\u2066x\u2069", "\\xE2\\x81\\xA6x\\xE2\\x81\\xA9"},
        {"\u2029\u2065\u206A\u200D\u202F", "\u2029\u2065\u206A\u200D\u202F"},
    };
    for (const auto& c : kDirection) EXPECT_EQ(PrintableFileName(c.name), c.printed) << c.printed;
    // Every character the set has comes back as the byte it came from.
    for (int byte = 0x20; byte <= 0xFF; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D) continue;
        EXPECT_EQ(Utf8ToPalmText(PalmTextToUtf8(one)), one) << byte;
    }
}

}  // namespace
}  // namespace corvane
