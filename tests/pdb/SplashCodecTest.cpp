// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pdb/SplashCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <utility>

#include "io/ByteOrder.h"
#include "io/FileAccess.h"
#include "support/SplashTestUtil.h"
#include "support/ScriptedUser.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using namespace splash_testing;
using testing::ReadBytes;
using testing::ScriptedUser;
using testing::TempDir;
using testing::WriteBytes;

// ---- CheckJpeg -------------------------------------------------------------------

TEST(CheckJpeg, JudgesRealFilesByTheirFirstFrame) {
    struct Case {
        const char* file;
        JpegCheck expected;
        int width = 0;  // of the first frame, 0 for none
        int height = 0;
    };
    const Case cases[] = {
        {"baseline-320x320.jpg", JpegCheck::Ok, 320, 320},
        {"progressive-320x320.jpg", JpegCheck::Ok, 320, 320},
        {"baseline-320x240.jpg", JpegCheck::WrongSize, 320, 240},
        {"grey-240x320.jpg", JpegCheck::WrongSize, 240, 320},
        // Arithmetic coding has frame 0xC9, which is skipped like any segment.
        {"arithmetic-320x320.jpg", JpegCheck::NotJpeg},
        {"flat-320x320.png", JpegCheck::NotJpeg},
    };
    for (const auto& c : cases) {
        const Bytes bytes = FixtureBytes(c.file);
        EXPECT_EQ(CheckJpeg(bytes), c.expected) << c.file;
        const auto frame = FirstJpegFrame(bytes);
        EXPECT_EQ(frame ? std::pair(int{frame->width}, int{frame->height}) : std::pair(0, 0), std::pair(c.width, c.height))
            << c.file;
    }
    // The progressive fixture really is one: its frame is 0xC2, not 0xC0.
    const Bytes progressive = FixtureBytes("progressive-320x320.jpg");
    EXPECT_TRUE(Contains(progressive, {0xFF, 0xC2}));
    EXPECT_FALSE(Contains(progressive, {0xFF, 0xC0}));
}

TEST(CheckJpeg, OnlyFramesC0ToC3Count) {
    EXPECT_EQ(CheckJpeg(JpegBuilder().Frame(0xC1, 320, 320).Take()), JpegCheck::Ok);
    EXPECT_EQ(CheckJpeg(JpegBuilder().Frame(0xC3, 320, 320).Take()), JpegCheck::Ok);
    EXPECT_EQ(CheckJpeg(JpegBuilder().Frame(0xC5, 320, 320).Frame(0xC0, 320, 240).Take()), JpegCheck::WrongSize);
    EXPECT_EQ(CheckJpeg(JpegBuilder().Frame(0xC2, 320, 320).Frame(0xC0, 1, 1).Take()), JpegCheck::Ok);
    EXPECT_EQ(CheckJpeg(JpegBuilder().Frame(0xCF, 320, 320).Take()), JpegCheck::NotJpeg);
}

TEST(CheckJpeg, SkipsSegmentsAndFillBytes) {
    EXPECT_EQ(CheckJpeg(JpegBuilder().Segment(0xE0, 16, 14).Segment(0xFE, 2, 0).Frame(0xC0, 320, 320).Take()),
              JpegCheck::Ok);
    // Stray bytes before a marker and repeated 0xFF fill bytes.
    EXPECT_EQ(CheckJpeg(JpegBuilder().Raw({0x00, 0x12, 0xFF, 0xFF, 0xFF}).Frame(0xC0, 320, 320).Take()),
              JpegCheck::Ok);
    // A segment's payload that looks like a frame is skipped, not taken for one.
    EXPECT_EQ(CheckJpeg(JpegBuilder().Raw({0xFF, 0xE1, 0x00, 0x0B, 0xFF, 0xC0, 0, 0, 0, 0, 0, 0, 0})
                            .Frame(0xC0, 320, 240)
                            .Take()),
              JpegCheck::WrongSize);
}

TEST(CheckJpeg, RefusesWhatIsNoJpegOrHasNoFrame) {
    EXPECT_EQ(CheckJpeg(Bytes{}), JpegCheck::NotJpeg);
    EXPECT_EQ(CheckJpeg(Bytes{0xFF}), JpegCheck::NotJpeg);
    EXPECT_EQ(CheckJpeg(Bytes{0xFF, 0xD8}), JpegCheck::NotJpeg);
    EXPECT_EQ(CheckJpeg(Bytes{0xD8, 0xFF, 0xFF, 0xC0}), JpegCheck::NotJpeg);
    EXPECT_EQ(CheckJpeg(JpegBuilder().Segment(0xE0, 16, 14).Raw({0xFF, 0xD9}).Take()), JpegCheck::NotJpeg);
    // A frame header cut short by the end of the file.
    Bytes cut = JpegBuilder().Frame(0xC0, 320, 320).Take();
    cut.resize(9);
    EXPECT_EQ(CheckJpeg(cut), JpegCheck::NotJpeg);
}

TEST(CheckJpeg, EndsOnLengthsThatWouldStandStillOrOverrun) {
    EXPECT_EQ(CheckJpeg(JpegBuilder().Segment(0xE0, 0, 0).Frame(0xC0, 320, 320).Take()), JpegCheck::NotJpeg);
    EXPECT_EQ(CheckJpeg(JpegBuilder().Segment(0xE0, 1, 0).Frame(0xC0, 320, 320).Take()), JpegCheck::NotJpeg);
    EXPECT_EQ(CheckJpeg(JpegBuilder().Segment(0xE0, 0xFFFF, 10).Take()), JpegCheck::NotJpeg);
    // Runs past the end by exactly one byte.
    EXPECT_EQ(CheckJpeg(JpegBuilder().Segment(0xE0, 13, 10).Take()), JpegCheck::NotJpeg);
    EXPECT_EQ(CheckJpeg(Bytes(1 << 20, 0xFF)), JpegCheck::NotJpeg);
    Bytes soiThenFill = JpegBuilder().Take();
    soiThenFill.resize(1 << 20, 0xFF);
    EXPECT_EQ(CheckJpeg(soiThenFill), JpegCheck::NotJpeg);
}

// ---- the splash file codec ---------------------------------------------------------

constexpr std::uint32_t kDate = 0xC0FFEE00;

TEST(SplashCodec, WritesTheHeaderEntriesAndBothImages) {
    const Bytes welcome = Pattern(1000, 1);
    const Bytes goodbye = Pattern(2000, 2);
    const auto file = BuildSplashFile("Summer", welcome, goodbye, kDate);
    ASSERT_TRUE(file.has_value());
    ASSERT_EQ(file->size(), 3100u);

    BigEndianReader in(*file);
    const auto name = in.Bytes(32);
    EXPECT_EQ(std::string(name.begin(), name.begin() + 6), "Summer");
    EXPECT_TRUE(std::all_of(name.begin() + 6, name.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(in.U16(), 0x0001);  // attributes
    EXPECT_EQ(in.U16(), 0);       // version
    EXPECT_EQ(in.U32(), kDate);
    EXPECT_EQ(in.U32(), kDate);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(in.U32(), 0u);
    EXPECT_EQ(in.FourCC(), "spl3");
    EXPECT_EQ(in.FourCC(), "TSkn");
    EXPECT_EQ(in.U32(), 0u);
    EXPECT_EQ(in.U32(), 0u);
    EXPECT_EQ(in.U16(), 2);
    EXPECT_EQ(in.FourCC(), "jpeg");
    EXPECT_EQ(in.U16(), 6852);
    EXPECT_EQ(in.U32(), 100u);
    EXPECT_EQ(in.FourCC(), "jpeg");
    EXPECT_EQ(in.U16(), 6863);
    EXPECT_EQ(in.U32(), 1100u);
    EXPECT_EQ(in.U16(), 0);  // gap
    EXPECT_EQ(in.Position(), 100u);
    EXPECT_TRUE(SameBytes(in.Bytes(1000), welcome));
    EXPECT_TRUE(SameBytes(in.Bytes(2000), goodbye));
    EXPECT_TRUE(in.Ok() && in.AtEnd());

    const auto read = ParseSplashFile(*file);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->name, "Summer");
    EXPECT_EQ(read->welcomeOffset, 100u);
    EXPECT_EQ(read->goodbyeOffset, 1100u);
    EXPECT_TRUE(SameBytes(read->welcome, welcome));
    EXPECT_TRUE(SameBytes(read->goodbye, goodbye));
}

TEST(SplashCodec, NameFieldKeepsItsTerminator) {
    const std::string thirtyOne(31, 'n');
    auto file = BuildSplashFile(thirtyOne + "xyz", Pattern(3, 0), Pattern(3, 0), kDate);
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ((*file)[31], 0);
    EXPECT_EQ(ParseSplashFile(*file)->name, thirtyOne);
    // A file whose name fills all 32 bytes is still read, name and all.
    PutText(*file, 31, "N");
    EXPECT_EQ(ParseSplashFile(*file)->name, thirtyOne + "N");
}

TEST(SplashCodec, IgnoresTheCountAndGivesTheRestToTheGoodbyeImage) {
    const Bytes welcome = Pattern(40, 3);
    const Bytes goodbye = Pattern(50, 4);
    Bytes file = *BuildSplashFile("Three", welcome, goodbye, kDate);
    PutU16(file, 76, 3);
    const Bytes third = Pattern(30, 5);  // a resource the count promises but no entry we read names
    file.insert(file.end(), third.begin(), third.end());

    const auto read = ParseSplashFile(file);
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(SameBytes(read->welcome, welcome));
    Bytes rest = goodbye;
    rest.insert(rest.end(), third.begin(), third.end());
    EXPECT_TRUE(SameBytes(read->goodbye, rest));
}

TEST(SplashCodec, RefusesDamagedFiles) {
    const Bytes good = *BuildSplashFile("Summer", Pattern(20, 1), Pattern(30, 2), kDate);
    ASSERT_TRUE(ParseSplashFile(good).has_value());
    struct Case {
        const char* defect;
        std::function<void(Bytes&)> damage;
    };
    const Case cases[] = {
        {"entries-in-wrong-order", [](Bytes& b) { PutU16(b, 82, 6863); PutU16(b, 92, 6852); }},
        {"type-not-spl3", [](Bytes& b) { PutText(b, 60, "Skn7"); }},
        {"creator-not-TSkn", [](Bytes& b) { PutText(b, 64, "TSkm"); }},
        {"welcome-type-not-jpeg", [](Bytes& b) { PutText(b, 78, "Tbmp"); }},
        {"goodbye-type-not-jpeg", [](Bytes& b) { PutText(b, 88, "JPEG"); }},
        {"goodbye-id-wrong", [](Bytes& b) { PutU16(b, 92, 6864); }},
        {"offsets-out-of-order", [](Bytes& b) { PutU32(b, 84, 120); PutU32(b, 94, 100); }},
        {"welcome-offset-in-header", [](Bytes& b) { PutU32(b, 84, 0); }},
        {"welcome-offset-inside-entries", [](Bytes& b) { PutU32(b, 84, 97); }},
        {"goodbye-offset-past-end", [](Bytes& b) { PutU32(b, 94, 151); }},
        {"goodbye-offset-far-past-end", [](Bytes& b) { PutU32(b, 94, 0xFFFFFFFF); }},
        {"truncated-in-entries", [](Bytes& b) { b.resize(97); }},
        {"truncated-in-header", [](Bytes& b) { b.resize(40); }},
        {"empty", [](Bytes& b) { b.clear(); }},
    };
    for (const auto& c : cases) {
        Bytes damaged = good;
        c.damage(damaged);
        EXPECT_FALSE(ParseSplashFile(damaged).has_value()) << c.defect;
    }
}

TEST(SplashCodec, AcceptsOffsetsAtTheEdges) {
    Bytes file = *BuildSplashFile("Edge", Pattern(20, 1), Pattern(30, 2), kDate);
    PutU32(file, 84, 98);  // the gap becomes part of the welcome image
    auto read = ParseSplashFile(file);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->welcome.size(), 22u);
    PutU32(file, 94, static_cast<std::uint32_t>(file.size() - 1));
    read = ParseSplashFile(file);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->goodbye.size(), 1u);
    EXPECT_EQ(read->welcome.size(), 51u);  // from 98 up to the last byte
    // An image of no bytes is nothing to show: the file is not a splash file.
    PutU32(file, 94, static_cast<std::uint32_t>(file.size()));
    EXPECT_FALSE(ParseSplashFile(file).has_value());
    PutU32(file, 94, 98);
    EXPECT_FALSE(ParseSplashFile(file).has_value());
}

TEST(PalmDate, IsUnixTimeFromThe1904Epoch) {
    const auto before = static_cast<std::uint32_t>(std::time(nullptr));
    const std::uint32_t now = PalmNow();
    const auto after = static_cast<std::uint32_t>(std::time(nullptr));
    EXPECT_GE(now, before + 2082844800u);
    EXPECT_LE(now, after + 2082844800u);
}

// ---- the commands ------------------------------------------------------------------

}  // namespace
}  // namespace corvane
