#include "pdb/SplashFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

#include "pdb/BigEndianFile.h"
#include "pdb/FileAccess.h"
#include "support/ScriptedUser.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::ReadBytes;
using testing::ScriptedUser;
using testing::TempDir;
using testing::WriteBytes;

std::string Fixture(const std::string& name) { return std::string(CORVANE_SOURCE_DIR) + "/tests/data/splash/" + name; }

Bytes FixtureBytes(const std::string& name) {
    auto bytes = ReadWholeFile(Fixture(name));
    EXPECT_TRUE(bytes.has_value()) << name;
    return bytes.value_or(Bytes{});
}

// A JPEG skeleton: start of image, the given segments, nothing decodable.
class JpegBuilder {
public:
    JpegBuilder() { out_.U16(0xFFD8); }
    JpegBuilder& Segment(std::uint8_t marker, std::uint16_t length, std::size_t payload) {
        out_.U8(0xFF);
        out_.U8(marker);
        out_.U16(length);
        out_.Zeros(payload);
        return *this;
    }
    JpegBuilder& Frame(std::uint8_t marker, std::uint16_t height, std::uint16_t width) {
        out_.U8(0xFF);
        out_.U8(marker);
        out_.U16(11);
        out_.U8(8);
        out_.U16(height);
        out_.U16(width);
        out_.U8(1);
        out_.Zeros(3);
        return *this;
    }
    JpegBuilder& Raw(std::initializer_list<std::uint8_t> bytes) {
        for (auto b : bytes) out_.U8(b);
        return *this;
    }
    Bytes Take() { return out_.Take(); }

private:
    BigEndianWriter out_;
};

bool Contains(const Bytes& haystack, const Bytes& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

Bytes Pattern(std::size_t size, std::uint8_t seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
    return bytes;
}

// Overwrites a big-endian number in place, as a damaged or foreign file would hold it.
template <typename Number>
void Put(Bytes& bytes, std::size_t at, Number value) {
    BigEndianWriter w;
    if constexpr (sizeof(Number) == 4) {
        w.U32(value);
    } else {
        w.U16(value);
    }
    std::copy(w.Data().begin(), w.Data().end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}
void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value) { Put(bytes, at, value); }
void PutU16(Bytes& bytes, std::size_t at, std::uint16_t value) { Put(bytes, at, value); }

void PutText(Bytes& bytes, std::size_t at, std::string_view text) {
    std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

// ---- CheckJpeg -------------------------------------------------------------------

TEST(CheckJpeg, JudgesRealFilesByTheirFirstFrame) {
    struct Case {
        const char* file;
        JpegCheck expected;
    };
    const Case cases[] = {
        {"baseline-320x320.jpg", JpegCheck::Ok},
        {"progressive-320x320.jpg", JpegCheck::Ok},
        {"baseline-320x240.jpg", JpegCheck::WrongSize},
        {"grey-240x320.jpg", JpegCheck::WrongSize},
        // Arithmetic coding has frame 0xC9, which is skipped like any segment.
        {"arithmetic-320x320.jpg", JpegCheck::NotJpeg},
        {"flat-320x320.png", JpegCheck::NotJpeg},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckJpeg(FixtureBytes(c.file)), c.expected) << c.file;
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
    EXPECT_TRUE(std::ranges::equal(in.Bytes(1000), welcome));
    EXPECT_TRUE(std::ranges::equal(in.Bytes(2000), goodbye));
    EXPECT_TRUE(in.Ok() && in.AtEnd());

    const auto read = ParseSplashFile(*file);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->name, "Summer");
    EXPECT_EQ(read->welcomeOffset, 100u);
    EXPECT_EQ(read->goodbyeOffset, 1100u);
    EXPECT_TRUE(std::ranges::equal(read->welcome, welcome));
    EXPECT_TRUE(std::ranges::equal(read->goodbye, goodbye));
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
    EXPECT_TRUE(std::ranges::equal(read->welcome, welcome));
    Bytes rest = goodbye;
    rest.insert(rest.end(), third.begin(), third.end());
    EXPECT_TRUE(std::ranges::equal(read->goodbye, rest));
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

TEST(SplashCodec, ExtractedNamesDropTheLastFourCharacters) {
    EXPECT_EQ(ExtractedImageName("untitled.pdb", SplashFile::WelcomeId), "untitled-welcome.jpg");
    EXPECT_EQ(ExtractedImageName("C:\\x\\Summer.pdb", SplashFile::GoodbyeId), "C:\\x\\Summer-goodbye.jpg");
    EXPECT_EQ(ExtractedImageName("/x/Summer.PDB", SplashFile::WelcomeId), "/x/Summer-welcome.jpg");
    EXPECT_EQ(ExtractedImageName("abc", SplashFile::WelcomeId), "-welcome.jpg");
}

TEST(PalmDate, IsUnixTimeFromThe1904Epoch) {
    const auto before = static_cast<std::uint32_t>(std::time(nullptr));
    const std::uint32_t now = PalmNow();
    const auto after = static_cast<std::uint32_t>(std::time(nullptr));
    EXPECT_GE(now, before + 2082844800u);
    EXPECT_LE(now, after + 2082844800u);
}

// ---- the commands ------------------------------------------------------------------

class SplashCommands : public ::testing::Test {
protected:
    void TearDown() override { SetWriteFaultForTesting(WriteFault::None); }

    // The one message shown since the last call, checked whole.
    void ExpectMessage(const std::string& text, std::optional<std::string> caption, MessageIcon icon) {
        ASSERT_EQ(user.Messages().size(), seenMessages + 1) << "expected: " << text;
        const Message& m = user.Messages().back();
        EXPECT_EQ(m.text, text);
        EXPECT_EQ(m.caption, caption);
        EXPECT_EQ(m.icon, icon);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
        EXPECT_FALSE(m.ownedByWindow);
        seenMessages = user.Messages().size();
    }
    void ExpectNoMessage() { EXPECT_EQ(user.Messages().size(), seenMessages); }

    void LoadBoth() {
        ASSERT_EQ(splash.LoadSplashImage(SplashFile::WelcomeId, welcomePath), SplashFile::LoadOutcome::Ok);
        ASSERT_EQ(splash.LoadSplashImage(SplashFile::GoodbyeId, goodbyePath), SplashFile::LoadOutcome::Ok);
    }

    TempDir dir;
    ScriptedUser user;
    SplashFile splash{user, [] { return kDate; }};
    std::size_t seenMessages = 0;
    const std::string welcomePath = Fixture("baseline-320x320.jpg");
    const std::string goodbyePath = Fixture("progressive-320x320.jpg");
    const std::string kDesktop = "Corvane Desktop";
    const std::string jpegFilter = "Jpeg Image (*.jpg)|*.jpg|All files (*.*)|*.*||";
    const std::string splashFilter = "Splash File (*.pdb)|*.pdb|All files (*.*)|*.*||";
};

TEST_F(SplashCommands, StartsEmptyAndUntitled) {
    EXPECT_EQ(splash.FileName(), "untitled.pdb");
    EXPECT_FALSE(splash.IsModified());
    EXPECT_FALSE(splash.HasImage(SplashFile::WelcomeId));
    EXPECT_FALSE(splash.HasImage(SplashFile::GoodbyeId));
    EXPECT_EQ(splash.WelcomeSource(), "");
    EXPECT_EQ(splash.Name(), "");
}

TEST_F(SplashCommands, ChoosingAJpegAsksForAnExistingFileAndKeepsItsBytes) {
    user.ChoosesFile(goodbyePath);
    EXPECT_EQ(splash.ChooseSplashImage(SplashFile::GoodbyeId), SplashFile::LoadOutcome::Ok);
    ASSERT_EQ(user.FileCalls().size(), 1u);
    const auto& call = user.FileCalls()[0];
    EXPECT_FALSE(call.save);
    EXPECT_EQ(call.prompt.filter, jpegFilter);
    EXPECT_EQ(call.prompt.defaultExtension, "");
    EXPECT_EQ(call.prompt.proposedName, "");
    EXPECT_TRUE(call.prompt.mustExist);
    EXPECT_FALSE(call.prompt.ownedByWindow);
    EXPECT_EQ(splash.GoodbyeBytes(), FixtureBytes("progressive-320x320.jpg"));
    EXPECT_EQ(splash.GoodbyeSource(), goodbyePath);
    EXPECT_EQ(splash.Source(SplashFile::GoodbyeId), goodbyePath);
    EXPECT_FALSE(splash.HasImage(SplashFile::WelcomeId));
    EXPECT_TRUE(splash.IsModified());
    ExpectNoMessage();

    user.ChoosesFile(std::nullopt);
    EXPECT_EQ(splash.ChooseSplashImage(SplashFile::WelcomeId), SplashFile::LoadOutcome::Cancelled);
    EXPECT_FALSE(splash.HasImage(SplashFile::WelcomeId));
    ExpectNoMessage();
}

TEST_F(SplashCommands, RefusedLoadsSayWhyAndKeepWhatWasHeld) {
    LoadBoth();
    user.ChoosesFile(dir.File("saved.pdb"));
    ASSERT_EQ(splash.SaveSplash(), SplashFile::SaveOutcome::Ok);
    seenMessages = user.Messages().size();
    ASSERT_FALSE(splash.IsModified());

    const std::string missing = dir.File("missing.jpg");
    EXPECT_EQ(splash.LoadSplashImage(SplashFile::WelcomeId, missing), SplashFile::LoadOutcome::CouldNotOpen);
    ExpectMessage("Could not open file " + missing + " for reading.", std::nullopt, MessageIcon::Warning);

    const std::string png = Fixture("flat-320x320.png");
    EXPECT_EQ(splash.LoadSplashImage(SplashFile::WelcomeId, png), SplashFile::LoadOutcome::NotJpeg);
    ExpectMessage("File " + png + " is not a Jpeg image.", std::nullopt, MessageIcon::Warning);

    const std::string noFrame = dir.File("no-frame.jpg");
    WriteBytes(noFrame, JpegBuilder().Segment(0xE0, 16, 14).Raw({0xFF, 0xD9}).Take());
    EXPECT_EQ(splash.LoadSplashImage(SplashFile::GoodbyeId, noFrame), SplashFile::LoadOutcome::NotJpeg);
    ExpectMessage("File " + noFrame + " is not a Jpeg image.", std::nullopt, MessageIcon::Warning);

    const std::string landscape = Fixture("baseline-320x240.jpg");
    EXPECT_EQ(splash.LoadSplashImage(SplashFile::GoodbyeId, landscape), SplashFile::LoadOutcome::WrongSize);
    ExpectMessage("File " + landscape + " does not have dimension 320x320.", std::nullopt, MessageIcon::Warning);

    EXPECT_EQ(splash.LoadSplashImage(4711, welcomePath), SplashFile::LoadOutcome::UnknownId);
    ExpectNoMessage();

    EXPECT_EQ(splash.WelcomeBytes(), FixtureBytes("baseline-320x320.jpg"));
    EXPECT_EQ(splash.GoodbyeBytes(), FixtureBytes("progressive-320x320.jpg"));
    EXPECT_EQ(splash.WelcomeSource(), welcomePath);
    EXPECT_FALSE(splash.IsModified());
}

TEST_F(SplashCommands, SavingUntitledAsksForANameThenWritesAndSaysSo) {
    LoadBoth();
    const std::string path = dir.File("Summer.pdb");
    user.ChoosesFile(path);
    EXPECT_EQ(splash.SaveSplash(), SplashFile::SaveOutcome::Ok);
    ASSERT_EQ(user.FileCalls().size(), 1u);
    const auto& call = user.FileCalls()[0];
    EXPECT_TRUE(call.save);
    EXPECT_EQ(call.prompt.filter, splashFilter);
    EXPECT_EQ(call.prompt.defaultExtension, "pdb");
    EXPECT_EQ(call.prompt.proposedName, "untitled.pdb");
    EXPECT_TRUE(call.prompt.confirmOverwrite);
    EXPECT_FALSE(call.prompt.ownedByWindow);
    ExpectMessage("Splash saved successfully.", kDesktop, MessageIcon::Information);
    EXPECT_EQ(splash.FileName(), path);
    EXPECT_EQ(splash.Name(), "Summer");
    EXPECT_FALSE(splash.IsModified());
    EXPECT_EQ(ReadBytes(path), *BuildSplashFile("Summer", splash.WelcomeBytes(), splash.GoodbyeBytes(), kDate));

    // Named now: saving again writes without asking.
    ASSERT_EQ(splash.LoadSplashImage(SplashFile::GoodbyeId, welcomePath), SplashFile::LoadOutcome::Ok);
    EXPECT_EQ(splash.SaveSplash(), SplashFile::SaveOutcome::Ok);
    EXPECT_EQ(user.FileCalls().size(), 1u);
    ExpectMessage("Splash saved successfully.", kDesktop, MessageIcon::Information);
    EXPECT_TRUE(std::ranges::equal(ParseSplashFile(ReadBytes(path))->goodbye, FixtureBytes("baseline-320x320.jpg")));

    // Save as proposes the current full path.
    user.ChoosesFile(std::nullopt);
    EXPECT_EQ(splash.SaveSplashAs(), SplashFile::SaveOutcome::Cancelled);
    EXPECT_EQ(user.FileCalls().back().prompt.proposedName, path);
    EXPECT_EQ(splash.FileName(), path);
    ExpectNoMessage();
}

TEST_F(SplashCommands, WritingNeedsBothImages) {
    ASSERT_EQ(splash.LoadSplashImage(SplashFile::WelcomeId, welcomePath), SplashFile::LoadOutcome::Ok);
    user.ChoosesFile(dir.File("half.pdb"));
    EXPECT_EQ(splash.SaveSplashAs(), SplashFile::SaveOutcome::ImageMissing);
    EXPECT_FALSE(FileExists(dir.File("half.pdb")));
    EXPECT_TRUE(splash.IsModified());
    ExpectNoMessage();
    EXPECT_EQ(splash.SaveSplashImage(SplashFile::GoodbyeId, dir.File("g.jpg")), SplashFile::SaveImageOutcome::ImageMissing);
    EXPECT_FALSE(FileExists(dir.File("g.jpg")));
    ExpectNoMessage();
}

TEST_F(SplashCommands, OpeningWhatWasSavedNamesTheSourcesAfterTheFile) {
    LoadBoth();
    // Typed the Windows way: the database name is what follows the last backslash.
    const std::string path = dir.File("C:\\x\\Summer.pdb");
    user.ChoosesFile(path);
    ASSERT_EQ(splash.SaveSplashAs(), SplashFile::SaveOutcome::Ok);

    ScriptedUser other;
    SplashFile reopened{other};
    other.ChoosesFile(path);
    EXPECT_EQ(reopened.ReadSplash(), SplashFile::ReadOutcome::Ok);
    ASSERT_EQ(other.FileCalls().size(), 1u);
    const auto& call = other.FileCalls()[0];
    EXPECT_FALSE(call.save);
    EXPECT_EQ(call.prompt.filter, splashFilter);
    EXPECT_EQ(call.prompt.defaultExtension, "");
    EXPECT_EQ(call.prompt.proposedName, "");
    EXPECT_TRUE(call.prompt.mustExist);
    EXPECT_FALSE(call.prompt.ownedByWindow);
    EXPECT_TRUE(other.Messages().empty());

    EXPECT_EQ(reopened.WelcomeSource(), "(welcome image from Summer splash file)");
    EXPECT_EQ(reopened.GoodbyeSource(), "(goodbye image from Summer splash file)");
    EXPECT_EQ(reopened.Name(), "Summer");
    EXPECT_EQ(reopened.FileName(), path);
    EXPECT_EQ(reopened.WelcomeBytes(), splash.WelcomeBytes());
    EXPECT_EQ(reopened.GoodbyeBytes(), splash.GoodbyeBytes());
    EXPECT_FALSE(reopened.IsModified());

    other.ChoosesFile(std::nullopt);
    EXPECT_EQ(reopened.ReadSplash(), SplashFile::ReadOutcome::Cancelled);
    EXPECT_EQ(reopened.FileName(), path);
}

TEST_F(SplashCommands, UnsavedChangesAreAskedAboutAndOnlyYesOpens) {
    const std::string path = dir.File("Caf\u00e9.pdb");
    WriteBytes(path, *BuildSplashFile("Caf\xE9", Pattern(20, 1), Pattern(30, 2), kDate));
    LoadBoth();
    for (const Answer answer : {Answer::No, Answer::Cancel, Answer::Yes}) {
        user.Answers(answer);
        if (answer == Answer::Yes) user.ChoosesFile(path);
        EXPECT_EQ(splash.ReadSplash(), answer == Answer::Yes ? SplashFile::ReadOutcome::Ok : SplashFile::ReadOutcome::Cancelled);
        const Message& question = user.Messages().back();
        EXPECT_EQ(question.text,
                  "You changed the current splash file and did not save your changes. Open another splash file anyway?");
        EXPECT_EQ(question.icon, MessageIcon::Question);
        EXPECT_EQ(question.buttons, MessageButtons::YesNo);
        EXPECT_EQ(question.defaultButton, Answer::No);
        EXPECT_EQ(question.caption, user.ApplicationName());
        EXPECT_EQ(user.FileCalls().size(), answer == Answer::Yes ? 1u : 0u);
        EXPECT_EQ(splash.IsModified(), answer != Answer::Yes);
        EXPECT_EQ(splash.WelcomeSource(), answer == Answer::Yes ? "(welcome image from Caf\u00e9 splash file)" : welcomePath);
    }
    // The name is kept as stored; only the sources show it decoded.
    EXPECT_EQ(splash.Name(), "Caf\xE9");
}

TEST_F(SplashCommands, BothDatesAreTheTimeOfTheSave) {
    SplashFile clocked{user};
    ASSERT_EQ(clocked.LoadSplashImage(SplashFile::WelcomeId, welcomePath), SplashFile::LoadOutcome::Ok);
    ASSERT_EQ(clocked.LoadSplashImage(SplashFile::GoodbyeId, goodbyePath), SplashFile::LoadOutcome::Ok);
    user.ChoosesFile(dir.File("Dated.pdb"));
    const std::uint32_t before = PalmNow();
    ASSERT_EQ(clocked.SaveSplashAs(), SplashFile::SaveOutcome::Ok);
    const std::uint32_t after = PalmNow();
    const Bytes bytes = ReadBytes(dir.File("Dated.pdb"));
    BigEndianReader in(bytes);
    in.Skip(36);
    for (const char* date : {"created", "modified"}) {
        const std::uint32_t value = in.U32();
        EXPECT_GE(value, before) << date;
        EXPECT_LE(value, after) << date;
    }
}

TEST_F(SplashCommands, RefusedOpenChangesNothing) {
    LoadBoth();
    const std::string damaged = dir.File("damaged.pdb");
    Bytes bytes = *BuildSplashFile("Winter", Pattern(20, 1), Pattern(30, 2), kDate);
    PutU32(bytes, 94, 500);  // past the end
    WriteBytes(damaged, bytes);
    EXPECT_EQ(splash.ReadSplashFile(damaged), SplashFile::ReadOutcome::NotSplashFile);
    ExpectMessage("This is not a splash image file.", std::nullopt, MessageIcon::Warning);

    const std::string missing = dir.File("nowhere.pdb");
    user.Answers(Answer::Yes).ChoosesFile(missing);
    EXPECT_EQ(splash.ReadSplash(), SplashFile::ReadOutcome::CouldNotOpen);
    ++seenMessages;  // the question about the unsaved changes
    ExpectMessage("Could not open file " + missing + " for reading.", std::nullopt, MessageIcon::Warning);

    EXPECT_EQ(splash.WelcomeBytes(), FixtureBytes("baseline-320x320.jpg"));
    EXPECT_EQ(splash.GoodbyeSource(), goodbyePath);
    EXPECT_EQ(splash.FileName(), "untitled.pdb");
    EXPECT_EQ(splash.Name(), "");
    EXPECT_TRUE(splash.IsModified());
}

TEST_F(SplashCommands, ExtractingProposesANameBesideTheSplashFile) {
    LoadBoth();
    const std::string out = dir.File("w.jpg");
    user.ChoosesFile(out);
    EXPECT_EQ(splash.ExtractSplashImage(SplashFile::WelcomeId), SplashFile::SaveImageOutcome::Ok);
    const auto& call = user.FileCalls().back();
    EXPECT_TRUE(call.save);
    EXPECT_EQ(call.prompt.filter, jpegFilter);
    EXPECT_EQ(call.prompt.defaultExtension, "jpg");
    EXPECT_EQ(call.prompt.proposedName, "untitled-welcome.jpg");
    EXPECT_TRUE(call.prompt.confirmOverwrite);
    EXPECT_FALSE(call.prompt.ownedByWindow);
    ExpectMessage("Jpeg image saved successfully.", kDesktop, MessageIcon::Information);
    EXPECT_EQ(ReadBytes(out), FixtureBytes("baseline-320x320.jpg"));
    EXPECT_TRUE(splash.IsModified());  // extracting saves no splash

    // The name is kept from the save-as dialog even though the write fails.
    SetWriteFaultForTesting(WriteFault::CannotOpen);
    user.ChoosesFile("C:\\x\\Summer.pdb");
    EXPECT_EQ(splash.SaveSplashAs(), SplashFile::SaveOutcome::CouldNotOpen);
    ExpectMessage("Could not open file for writing.", kDesktop, MessageIcon::Warning);
    SetWriteFaultForTesting(WriteFault::None);
    user.ChoosesFile(std::nullopt);
    EXPECT_EQ(splash.ExtractSplashImage(SplashFile::GoodbyeId), SplashFile::SaveImageOutcome::Cancelled);
    EXPECT_EQ(user.FileCalls().back().prompt.proposedName, "C:\\x\\Summer-goodbye.jpg");
    ExpectNoMessage();

    const std::size_t prompts = user.FileCalls().size();
    EXPECT_EQ(splash.ExtractSplashImage(4711), SplashFile::SaveImageOutcome::UnknownId);
    EXPECT_EQ(user.FileCalls().size(), prompts);
}

TEST_F(SplashCommands, AnUnknownImageLeavesTheTargetFileAlone) {
    LoadBoth();
    const std::string path = dir.File("keep.jpg");
    WriteBytes(path, {1, 2, 3});
    EXPECT_EQ(splash.SaveSplashImage(4711, path), SplashFile::SaveImageOutcome::UnknownId);
    EXPECT_EQ(ReadBytes(path), (Bytes{1, 2, 3}));
    ExpectNoMessage();
}

TEST_F(SplashCommands, FailedSplashWritesKeepThePreviousFileAndTheModifiedFlag) {
    LoadBoth();
    const std::string path = dir.File("Summer.pdb");
    WriteBytes(path, {9, 9, 9});
    user.ChoosesFile(path);
    SetWriteFaultForTesting(WriteFault::WriteFails);
    EXPECT_EQ(splash.SaveSplash(), SplashFile::SaveOutcome::WriteFailed);
    ExpectMessage("Error writing splash file.", kDesktop, MessageIcon::Warning);
    EXPECT_EQ(ReadBytes(path), (Bytes{9, 9, 9}));
    EXPECT_TRUE(splash.IsModified());
    EXPECT_EQ(splash.Name(), "");

    SetWriteFaultForTesting(WriteFault::CannotOpen);
    EXPECT_EQ(splash.WriteSplash(), SplashFile::SaveOutcome::CouldNotOpen);
    ExpectMessage("Could not open file for writing.", kDesktop, MessageIcon::Warning);
    EXPECT_EQ(ReadBytes(path), (Bytes{9, 9, 9}));
    EXPECT_TRUE(splash.IsModified());

    // A folder that does not exist cannot hold the file: no fault needed.
    SetWriteFaultForTesting(WriteFault::None);
    user.ChoosesFile(dir.File("no-such-folder/Summer.pdb"));
    EXPECT_EQ(splash.SaveSplashAs(), SplashFile::SaveOutcome::CouldNotOpen);
    ExpectMessage("Could not open file for writing.", kDesktop, MessageIcon::Warning);
    EXPECT_TRUE(splash.IsModified());
}

TEST_F(SplashCommands, FailedImageWritesKeepThePreviousFile) {
    LoadBoth();
    const std::string path = dir.File("goodbye.jpg");
    WriteBytes(path, {7, 7});
    SetWriteFaultForTesting(WriteFault::WriteFails);
    EXPECT_EQ(splash.SaveSplashImage(SplashFile::GoodbyeId, path), SplashFile::SaveImageOutcome::WriteFailed);
    ExpectMessage("Error writing Jpeg image.", kDesktop, MessageIcon::Warning);
    EXPECT_EQ(ReadBytes(path), (Bytes{7, 7}));

    SetWriteFaultForTesting(WriteFault::CannotOpen);
    EXPECT_EQ(splash.SaveSplashImage(SplashFile::GoodbyeId, path), SplashFile::SaveImageOutcome::CouldNotOpen);
    ExpectMessage("Could not open file for writing.", kDesktop, MessageIcon::Warning);
    EXPECT_EQ(ReadBytes(path), (Bytes{7, 7}));
}

}  // namespace
}  // namespace corvane
