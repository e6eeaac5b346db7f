// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// `corvane skin`, run as a separate process the way scripts run it.

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "exchange/LayeredImage.h"
#include "imaging/Bmp.h"
#include "imaging/ImageFile.h"
#include "io/FileAccess.h"
#include "model/SkinDocument.h"
#include "model/SkinFile.h"
#include "support/ScriptedUser.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::ProcessResult;
using testing::ReadBytes;
using testing::RunProcess;
using testing::RunShell;
using testing::ShellQuote;
using testing::ScriptedUser;
using testing::TempDir;
using testing::WriteBytes;

ProcessResult Skin(std::vector<std::string> args) {
    args.insert(args.begin(), {CORVANE_CLI, "skin"});
    return RunProcess(args);
}

// Name and dates are the only header bytes that depend on the file name and the clock.
Bytes WithoutNameAndDates(Bytes bytes) {
    if (bytes.size() >= 44) {
        std::fill(bytes.begin(), bytes.begin() + 32, std::uint8_t{0});
        std::fill(bytes.begin() + 36, bytes.begin() + 44, std::uint8_t{0});
    }
    return bytes;
}

// What the editor writes: Save as of the document at its target depth.
Bytes EditorSaves(SkinDocument& document, const std::string& path) {
    ScriptedUser user;
    user.ChoosesFile(path);
    EXPECT_EQ(SaveSkinAs(document, user), SaveSkinOutcome::Saved);
    return ReadBytes(path);
}

// A picture per element with every kind of pixel: colours off both grids,
// pure green, and near-greens that only one depth tells apart.
Image BusyPicture(int element, int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set(x, y, Colour{static_cast<std::uint8_t>(x * 7 + element), static_cast<std::uint8_t>(y * 13),
                                   static_cast<std::uint8_t>((x + y) * 5)});
    for (int x = 0; x < width; x += 3) image.Set(x, 0, kPureGreen);
    image.Set(width - 1, height - 1, Colour{0, 254, 0});
    return image;
}

// A bitmap set in the folder; some pictures larger or smaller than their element.
void WriteBitmapSet(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    for (const auto& e : kSkinElements) {
        const int index = static_cast<int>(e.element);
        const int width = index % 3 == 0 ? e.width + 9 : index % 3 == 1 ? e.width : std::max(1, e.width - 5);
        ASSERT_TRUE(WriteBmpFile(BusyPicture(index, width, e.height), (folder / (std::string(e.name) + ".bmp")).string()));
    }
}

// The tool run with its files limited to `blocks` of 512 bytes: a write past
// that fails as on a full disk ("File too large").
ProcessResult SkinWithFileLimit(int blocks, const std::vector<std::string>& args, const std::string& redirect = "") {
    std::string line = "trap '' XFSZ; ulimit -f " + std::to_string(blocks) + "; exec " + ShellQuote(CORVANE_CLI) + " skin";
    for (const auto& a : args) line += " " + ShellQuote(a);
    return RunShell(line + redirect);
}

class SkinCommandTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(SkinCommandTest, NewWritesWhatTheEditorSavesForANewSkin) {
    for (const std::string depth : {"8", "16"}) {
        std::filesystem::create_directories(dir.Path() / "cli");
        const auto path = (dir.Path() / "cli" / "Default.pdb").string();
        const auto run = Skin({"new", "--depth", depth, "-o", path});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");

        SkinDocument document;
        document.SetTargetDepth(*DepthOfBits(std::stoi(depth)));
        const Bytes editor = EditorSaves(document, dir.File("Default.pdb"));
        const Bytes cli = ReadBytes(path);
        EXPECT_EQ(std::string(cli.begin(), cli.begin() + 8), std::string("Default\0", 8));
        EXPECT_EQ(WithoutNameAndDates(cli), WithoutNameAndDates(editor)) << depth;
    }
}

TEST_F(SkinCommandTest, BuildLoadsEachPictureAsTheEditorImportsIt) {
    const auto set = dir.Path() / "set";
    WriteBitmapSet(set);
    struct Case {
        std::string depth;
        std::optional<Colour> transparent;
    };
    for (const Case& c : {Case{"8", std::nullopt}, Case{"16", std::nullopt}, Case{"16", Colour{0, 255, 0}},
                          Case{"8", Colour{7, 26, 10}}}) {
        SCOPED_TRACE(c.depth + (c.transparent ? " with a colour" : ""));
        const auto out = dir.File("built.pdb");
        std::vector<std::string> args{"build", set.string(), "--depth", c.depth, "-o", out};
        if (c.transparent) {
            char text[8];
            std::snprintf(text, sizeof text, "%02X%02X%02X", c.transparent->r, c.transparent->g, c.transparent->b);
            args.insert(args.end(), {"--transparent", text});
        }
        const auto run = Skin(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;

        // The editor: colours picked for both depths, then Import Bitmaps, then Save as.
        SkinDocument document;
        document.SetTargetDepth(*DepthOfBits(std::stoi(c.depth)));
        for (const Depth depth : kDepths)
            for (const auto& e : kSkinElements) {
                if (c.transparent) document.Slot(depth, e.element).SetTransparent(*c.transparent);
                ASSERT_TRUE(document.Slot(depth, e.element).LoadFromFile((set / (std::string(e.name) + ".bmp")).string(), depth));
            }
        std::filesystem::create_directories(dir.Path() / "editor");
        EXPECT_EQ(WithoutNameAndDates(ReadBytes(out)),
                  WithoutNameAndDates(EditorSaves(document, (dir.Path() / "editor" / "built.pdb").string())));
    }
}

TEST_F(SkinCommandTest, BuildWithMissingPicturesWritesNothing) {
    const auto set = dir.Path() / "set";
    WriteBitmapSet(set);
    std::filesystem::remove(set / "scarrow.bmp");
    std::ofstream(set / "#pressed.bmp") << "not a picture";
    const auto out = dir.File("x.pdb");
    const auto run = Skin({"build", set.string(), "--depth", "16", "-o", out});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find("#pressed.bmp, scarrow.bmp"), std::string::npos) << run.err;  // bitmap-set order, once each
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(FileExists(out));
}

// A zip of the set's folder, as a zip program packs it, builds what the folder builds;
// a picture missing from it is named as a missing file is.
TEST_F(SkinCommandTest, BuildFromAZippedSetIsBuildFromItsFolder) {
    const auto set = dir.Path() / "set";
    WriteBitmapSet(set);
    const auto zipped = dir.File("set.zip");
    ASSERT_EQ(RunShell("cd " + ShellQuote(dir.Path().string()) + " && zip -q -r set.zip set").exitCode, 0);
    const auto fromFolder = dir.File("folder.pdb"), fromZip = dir.File("zip.pdb");
    ASSERT_EQ(Skin({"build", set.string(), "--depth", "8", "-o", fromFolder}).exitCode, 0);
    const auto run = Skin({"build", zipped, "--depth", "8", "-o", fromZip});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(WithoutNameAndDates(ReadBytes(fromZip)), WithoutNameAndDates(ReadBytes(fromFolder)));

    ASSERT_EQ(RunShell("cd " + ShellQuote(dir.Path().string()) + " && zip -q -d set.zip set/scarrow.bmp").exitCode, 0);
    const auto partial = Skin({"build", zipped, "--depth", "8", "-o", dir.File("partial.pdb")});
    EXPECT_EQ(partial.exitCode, 1);
    EXPECT_EQ(partial.err, "corvane: nothing written: the following bitmap(s) could not be imported from '" + zipped +
                               "': scarrow.bmp; scarrow.bmp: cannot open the file for reading: No such file or directory\n");
    EXPECT_FALSE(FileExists(dir.File("partial.pdb")));
}

TEST_F(SkinCommandTest, ExtractThenBuildGivesTheSameResources) {
    const auto set = dir.Path() / "set";
    WriteBitmapSet(set);
    for (const Depth depth : kDepths) {
        SCOPED_TRACE(Bits(depth));
        // A skin as the editor makes it: imported pictures, and transparent colours picked per element.
        SkinDocument document;
        document.SetTargetDepth(depth);
        for (const auto& e : kSkinElements) {
            for (const Depth d : kDepths) document.Slot(d, e.element).LoadFromFile((set / (std::string(e.name) + ".bmp")).string(), d);
            const ImageSlot& slot = document.Slot(depth, e.element);
            document.Slot(depth, e.element).SetTransparent(slot.Picture().At(static_cast<int>(e.element) % slot.Width(), 1));
        }
        const auto original = dir.File("original" + std::to_string(Bits(depth)) + ".pdb");
        const Bytes saved = EditorSaves(document, original);

        const auto folder = dir.Path() / ("extracted" + std::to_string(Bits(depth)));
        const auto extract = Skin({"extract", original, "-o", folder.string()});
        ASSERT_EQ(extract.exitCode, 0) << extract.err;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 35);

        // The printed colours are the file's, one line per element in bitmap-set order.
        const DecodedSkin decoded = DecodeSkinFile(saved);
        std::string expected;
        for (const Element element : kBitmapSetOrder) {
            const auto& picture = *decoded.pictures[std::size_t(element)];
            char line[64];
            std::snprintf(line, sizeof line, "%s.bmp %02X%02X%02X\n", std::string(ElementInfo(element).name).c_str(),
                          picture.transparent.r, picture.transparent.g, picture.transparent.b);
            expected += line;
            EXPECT_EQ(ReadImageFile((folder / (std::string(ElementInfo(element).name) + ".bmp")).string()).image,
                      picture.image);
        }
        EXPECT_EQ(extract.out, expected);

        const auto colours = dir.File("colours.txt");
        WriteBytes(colours, Bytes(extract.out.begin(), extract.out.end()));
        const auto rebuilt = dir.File("rebuilt.pdb");
        const auto build = Skin({"build", folder.string(), "--depth", std::to_string(Bits(depth)), "-o", rebuilt, "--transparent-from", colours});
        ASSERT_EQ(build.exitCode, 0) << build.err;
        EXPECT_EQ(WithoutNameAndDates(ReadBytes(rebuilt)), WithoutNameAndDates(saved));
    }
}

TEST_F(SkinCommandTest, ExtractRefusesSkinsWithoutEveryPicture) {
    ResourceDatabase db;
    ASSERT_TRUE(db.AddBitmap(Image(156, 32, kBlack), 1200, kPureGreen, true, 16));
    const auto path = dir.File("partial.pdb");
    WriteBytes(path, db.WriteDatabase(0).value());
    const auto run = Skin({"extract", path, "-o", dir.File("out")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("titlebar.bmp"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
}

TEST_F(SkinCommandTest, InfoListsEntriesAndJudgesLikeOpen) {
    SkinDocument document;
    const auto own = dir.File("own.pdb");
    EditorSaves(document, own);
    const auto ok = Skin({"info", own});
    EXPECT_EQ(ok.exitCode, 0) << ok.err;
    EXPECT_NE(ok.out.find("type 'Skn7', creator 'TSkn', 35 entries"), std::string::npos) << ok.out;
    EXPECT_NE(ok.out.find("9064   titlebar           320x30    16     "), std::string::npos) << ok.out;
    EXPECT_NE(ok.out.find("the editor opens it without a message"), std::string::npos);

    // An extra resource 1000 and no title bar: the editor warns.
    ResourceDatabase db;
    for (const auto& row : kSkinResourceTable)
        if (row.id != 9064) {
            const auto& e = ElementInfo(row.element);
            ASSERT_TRUE(db.AddBitmap(Image(e.width, e.height, kBlack), row.id, kPureGreen, true, 8));
        }
    ASSERT_TRUE(db.AddBitmap(Image(4, 4, kBlack), 1000, kPureGreen, true, 8));
    const auto foreign = dir.File("foreign.pdb");
    WriteBytes(foreign, db.WriteDatabase(0).value());
    const auto warned = Skin({"info", foreign});
    EXPECT_EQ(warned.exitCode, 1);
    EXPECT_NE(warned.out.find("1000   (unsupported)"), std::string::npos) << warned.out;
    EXPECT_NE(warned.out.find("unsupported resources: yes; missing or unreadable: 1 of 35"), std::string::npos) << warned.out;
    EXPECT_EQ(std::count(warned.err.begin(), warned.err.end(), '\n'), 1);

    Bytes logo = ReadBytes(own);
    std::copy_n("logo", 4, logo.begin() + 60);
    WriteBytes(dir.File("logo.pdb"), logo);
    const auto refused = Skin({"info", dir.File("logo.pdb")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("carrier logo"), std::string::npos);
}

TEST_F(SkinCommandTest, BadUsageAndBadFilesFailInOneLine) {
    const auto set = dir.Path() / "set";
    WriteBitmapSet(set);
    struct Case {
        std::vector<std::string> args;
        int exit;
    };
    const Case cases[] = {
        {{}, 2},
        {{"paint"}, 2},
        {{"new", "-o", dir.File("a.pdb")}, 2},
        {{"new", "--depth", "24", "-o", dir.File("a.pdb")}, 2},
        {{"new", "--depth", "8"}, 2},
        {{"new", "--depth", "8", "--depth", "16", "-o", dir.File("a.pdb")}, 2},
        {{"new", "--depth", "8", "-o", dir.File("a.pdb"), "--frobnicate"}, 2},
        {{"new", "--depth", "8", "-o", dir.File("a.pdb"), "--transparent", "00FF00"}, 2},
        {{"build", set.string(), "--depth", "8", "-o", dir.File("a.pdb"), "--transparent", "green"}, 2},
        {{"build", dir.File("nowhere"), "--depth", "8", "-o", dir.File("a.pdb")}, 1},
        {{"build", set.string(), "--depth", "8", "-o", dir.File("no/such/folder.pdb")}, 1},
        {{"info"}, 2},
        {{"info", dir.File("missing.pdb")}, 1},
        {{"extract", dir.File("missing.pdb"), "-o", dir.File("x")}, 1},
    };
    for (const auto& c : cases) {
        std::string joined;
        for (const auto& a : c.args) joined += a + " ";
        SCOPED_TRACE(joined);
        const auto run = Skin(c.args);
        EXPECT_EQ(run.exitCode, c.exit);
        EXPECT_EQ(run.err.rfind("corvane: ", 0), 0u) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(FileExists(dir.File("a.pdb")));
}

// ---- failed writes --------------------------------------------------------------

// Each message carries the system's reason, and the file names in it (and on
// standard output) reach the terminal escaped as database names are.
TEST_F(SkinCommandTest, MessagesSayWhyAndEscapeFileNames) {
    const std::string evil = dir.File("evil\x1B[2J\nx.pdb"), shown = dir.File("evil\\x1B[2J\\x0Ax.pdb");
    const std::string missing = ": cannot open the file for reading: No such file or directory\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {  // in order: the first makes `evil`
        {{"new", "--depth", "8", "-o", evil}, "wrote " + shown + ": 35 bitmaps at 8 bits, 42346 bytes\n"},
        {{"build", ".", "--depth", "8", "--transparent-from", dir.File("no"), "-o", evil},
         "corvane: cannot read '" + dir.File("no") + "'" + missing},
        {{"background", evil, dir.File("no"), "-o", dir.File("b.pdb")},
         "corvane: cannot read '" + dir.File("no") + "'" + missing},
        {{"info", evil + "\r"}, "corvane: cannot read '" + shown + "\\x0D'" + missing},
    };
    for (const auto& [args, text] : cases) {
        const auto run = Skin(args);
        EXPECT_EQ(run.out + run.err, text) << args[0];
    }
    EXPECT_EQ(Skin({"info", evil}).out.rfind(shown + ": name \"evil\\x1B[2J\\x0Ax\"", 0), 0u);
}

// The editor's commands never change their input, by whatever name -o gives it.
TEST_F(SkinCommandTest, OutputThatIsAnInputIsRefusedBeforeAnythingIsWritten) {
    const auto skin = dir.File("S.pdb");
    ASSERT_EQ(Skin({"new", "--depth", "16", "-o", skin}).exitCode, 0);
    const Bytes before = ReadBytes(skin);
    ASSERT_TRUE(WriteBmpFile(Image(306, 184, kWhite), dir.File("u.bmp")));
    std::filesystem::create_hard_link(skin, dir.File("same.pdb"));
    std::filesystem::create_symlink(skin, dir.File("link.pdb"));
    for (const auto& args : {std::vector<std::string>{"dialpad", skin, dir.File("u.bmp"), dir.File("u.bmp"), "-o", skin},
                             {"background", skin, dir.File("u.bmp"), "-o", dir.File("same.pdb")},
                             {"background", dir.File("link.pdb"), dir.File("u.bmp"), "-o", skin}})
        EXPECT_EQ(Skin(args).err, "corvane: cannot write '" + args.back() +
                                      "': it is the same file as one of the inputs, which are never overwritten\n");
    EXPECT_EQ(ReadBytes(skin), before);
}

TEST_F(SkinCommandTest, FailedWritesSayWhyAndKeepThePreviousFile) {
    const auto missing = dir.File("no/such/folder.pdb");
    EXPECT_EQ(Skin({"new", "--depth", "8", "-o", missing}).err,
              "corvane: cannot write '" + missing + "': No such file or directory\n");

    const auto old = dir.File("old.pdb");
    WriteBytes(old, {1, 2, 3});
    const auto full = SkinWithFileLimit(4, {"new", "--depth", "16", "-o", old});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.err, "corvane: cannot write '" + old + "': File too large; any previous file is unchanged\n");
    EXPECT_EQ(ReadBytes(old), (Bytes{1, 2, 3}));
}

TEST_F(SkinCommandTest, ExtractReplacesTheWholeSetOrNoFileOfIt) {
    const auto skin = dir.File("Summer.pdb");
    ASSERT_EQ(Skin({"new", "--depth", "16", "-o", skin}).exitCode, 0);
    const auto folder = dir.Path() / "set";
    std::filesystem::create_directory(folder);
    for (const auto& e : kSkinElements) WriteBytes((folder / (std::string(e.name) + ".bmp")).string(), {7});

    // Every key label fits in 38 blocks; "scnormal.bmp", 25th of the set, does not.
    const auto run = SkinWithFileLimit(38, {"extract", skin, "-o", folder.string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "corvane: cannot write '" + (folder / "scnormal.bmp").string() +
                           "': File too large; no file in '" + folder.string() + "' was changed\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 35);
    for (const auto& e : kSkinElements)
        EXPECT_EQ(ReadBytes((folder / (std::string(e.name) + ".bmp")).string()), Bytes{7}) << e.name;
}

TEST_F(SkinCommandTest, StandardOutputThatCannotBeWrittenIsAFailure) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full to fill";
    const auto skin = dir.File("Summer.pdb");
    ASSERT_EQ(Skin({"new", "--depth", "16", "-o", skin}).exitCode, 0);
    for (const std::string& command : {"skin extract " + ShellQuote(skin) + " -o " + ShellQuote(dir.File("set")), std::string("--help")}) {
        const auto run = RunShell(ShellQuote(CORVANE_CLI) + " " + command + " >/dev/full");
        EXPECT_EQ(run.exitCode, 1) << command;
        EXPECT_EQ(run.err, "corvane: cannot write to standard output: No space left on device\n") << command;
    }
}

// Root may write any file, so the real check runs as "nobody" where root can
// switch to it; anyone else is checked as themselves.
TEST_F(SkinCommandTest, FilesAreJudgedByWhatTheUserMayWrite) {
    const bool root = geteuid() == 0;
    const passwd* nobody = root ? getpwnam("nobody") : nullptr;
    std::string prefix;
    if (root) {
        if (!nobody) GTEST_SKIP() << "no user 'nobody' to run the tool as";
        prefix = "runuser -u nobody -- ";
        if (RunShell(prefix + "test -x " + ShellQuote(CORVANE_CLI)).exitCode != 0)
            GTEST_SKIP() << "cannot run the tool as 'nobody' (runuser missing, or the build folder is closed to it)";
    }
    const auto own = [&](const std::filesystem::path& path, mode_t mode) {
        if (nobody) {
            ASSERT_EQ(::chown(path.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
        }
        std::filesystem::permissions(path, static_cast<std::filesystem::perms>(mode));
    };
    const auto run = [&](const std::string& output) {
        return RunShell(prefix + ShellQuote(CORVANE_CLI) + " skin new --depth 8 -o " + ShellQuote(output));
    };
    const auto open = dir.Path() / "open";
    const auto locked = dir.Path() / "locked";
    std::filesystem::create_directories(open);
    std::filesystem::create_directories(locked);
    const auto readOnly = (open / "ro.pdb").string();
    const auto writable = (locked / "rw.pdb").string();
    WriteBytes(readOnly, {1, 2, 3});
    WriteBytes(writable, {1, 2, 3});
    own(open, 0755);
    own(readOnly, 0444);
    own(writable, 0644);
    if (!root) std::filesystem::permissions(locked, static_cast<std::filesystem::perms>(0555));

    // A file the user made read-only is refused and untouched.
    const auto refused = run(readOnly);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "corvane: cannot write '" + readOnly + "': Permission denied\n");
    EXPECT_EQ(ReadBytes(readOnly), (Bytes{1, 2, 3}));

    // A writable file in a folder that takes no new file is rewritten in place.
    struct stat before {}, after {};
    ::stat(writable.c_str(), &before);
    const auto rewritten = run(writable);
    EXPECT_EQ(rewritten.exitCode, 0) << rewritten.err;
    ::stat(writable.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    const auto reference = dir.File("rw.pdb");
    ASSERT_EQ(Skin({"new", "--depth", "8", "-o", reference}).exitCode, 0);
    EXPECT_EQ(WithoutNameAndDates(ReadBytes(writable)), WithoutNameAndDates(ReadBytes(reference)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(locked), {}), 1);
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
}

// Inputs that are no file to read, or too large to be a skin, are refused
// at once with one line; a picture cut short stops a build the same way.
TEST_F(SkinCommandTest, RefusesWhatCannotBeASkinWithOneLine) {
    const auto fifo = dir.File("fifo.pdb");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const auto sparse = dir.File("sparse.pdb");
    WriteBytes(sparse, {});
    std::filesystem::resize_file(sparse, std::uint64_t{2} << 30);
    const std::pair<std::string, std::string> cases[] = {
        {"/dev/zero", "not a regular file"}, {fifo, "not a regular file"}, {sparse, "larger than 64 MiB"}};
    for (const auto& [path, reason] : cases)
        for (const char* command : {"info", "extract"}) {
            auto args = std::vector<std::string>{command, path};
            if (std::string(command) == "extract") args.insert(args.end(), {"-o", dir.File("out")});
            const auto run = Skin(args);
            EXPECT_EQ(run.exitCode, 1) << path;
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
        }

    const auto set = dir.Path() / "set";
    WriteBitmapSet(set);
    const auto whole = ReadBytes((set / "5.bmp").string());
    WriteBytes((set / "5.bmp").string(), Bytes(whole.begin(), whole.begin() + 3000));
    const auto build = Skin({"build", set.string(), "--depth", "8", "-o", dir.File("x.pdb")});
    EXPECT_EQ(build.exitCode, 1);
    EXPECT_EQ(std::count(build.err.begin(), build.err.end(), '\n'), 1) << build.err;
    EXPECT_NE(build.err.find("5.bmp: the picture file is cut short"), std::string::npos) << build.err;
    EXPECT_FALSE(FileExists(dir.File("x.pdb")));
}

// A database name is printed with its control bytes escaped, as splash info does.
TEST_F(SkinCommandTest, InfoEscapesTheDatabaseName) {
    SkinDocument document;
    const auto path = dir.File("own.pdb");
    Bytes bytes = EditorSaves(document, path);
    const std::string name = "\x1B[2Jx\\";
    std::copy(name.begin(), name.end(), bytes.begin());
    WriteBytes(path, bytes);
    const auto run = Skin({"info", path});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("name \"\\x1B[2Jx\\x5C\""), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find('\x1B'), std::string::npos);
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// A layered image instead of a bitmap set, both ways: the same resources back
// at the skin's depth in both formats, with the colours extract prints.
TEST_F(SkinCommandTest, ExtractToALayeredImageThenBuildGivesTheSameResources) {
    const auto set = dir.Path() / "set";
    WriteBitmapSet(set);
    for (const std::string format : {"ora", "psd"}) {
        for (const Depth depth : kDepths) {
            SCOPED_TRACE(format + " at " + std::to_string(Bits(depth)));
            SkinDocument document;
            document.SetTargetDepth(depth);
            for (const auto& e : kSkinElements) {
                for (const Depth d : kDepths) document.Slot(d, e.element).LoadFromFile((set / (std::string(e.name) + ".bmp")).string(), d);
                const ImageSlot& slot = document.Slot(depth, e.element);
                document.Slot(depth, e.element).SetTransparent(slot.Picture().At(static_cast<int>(e.element) % slot.Width(), 2));
            }
            const auto original = dir.File("original.pdb");
            const Bytes saved = EditorSaves(document, original);
            const auto layered = dir.File("skin." + format);
            const auto extract = Skin({"extract", original, "-o", layered});
            ASSERT_EQ(extract.exitCode, 0) << extract.err;
            const auto colours = dir.File("colours.txt");
            WriteBytes(colours, Bytes(extract.out.begin(), extract.out.end()));

            const auto rebuilt = dir.File("rebuilt.pdb");
            const auto build = Skin({"build", layered, "--depth", std::to_string(Bits(depth)), "-o", rebuilt, "--transparent-from", colours});
            ASSERT_EQ(build.exitCode, 0) << build.err;
            EXPECT_EQ(build.err, "");
            EXPECT_EQ(WithoutNameAndDates(ReadBytes(rebuilt)), WithoutNameAndDates(saved));
        }
    }
}

TEST_F(SkinCommandTest, LayeredImagesThatCannotBeReadWriteNothingAndFoldersStayBitmapSets) {
    const auto junk = dir.File("junk.psd");
    WriteBytes(junk, Bytes{'8', 'B', 'P', 'S', 0, 1});
    const auto out = dir.File("out.pdb");
    const auto refused = Skin({"build", junk, "--depth", "16", "-o", out});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "corvane: nothing written: '" + junk + "' cannot be read: cut short in its header\n");
    EXPECT_FALSE(std::filesystem::exists(out));
    // Extracting from one is a mistake for building from it: said so, not as 35 missing pictures.
    const auto extracted = Skin({"extract", junk, "-o", dir.File("set-from-junk")});
    EXPECT_EQ(extracted.exitCode, 1);
    EXPECT_EQ(extracted.err, "corvane: '" + junk + "' is a layered image, not a skin; 'skin build " + junk +
                                 " -o SKIN.pdb' makes a skin of it\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("set-from-junk")));

    // A folder named like a layered image is still a folder.
    const auto folder = dir.Path() / "set.ora";
    const auto skin = dir.File("default.pdb");
    ASSERT_EQ(Skin({"new", "--depth", "16", "-o", skin}).exitCode, 0);
    std::filesystem::create_directories(folder);
    ASSERT_EQ(Skin({"extract", skin, "-o", folder.string()}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(folder / "titlebar.bmp"));
    const auto built = Skin({"build", folder.string(), "--depth", "16", "-o", out});
    EXPECT_EQ(built.exitCode, 0) << built.err;
}

TEST_F(SkinCommandTest, BuildingFromALayeredImageWithoutSomeLayersSaysWhichOnStandardError) {
    const auto skin = dir.File("default.pdb");
    ASSERT_EQ(Skin({"new", "--depth", "16", "-o", skin}).exitCode, 0);
    LayeredPicture picture;
    picture.width = picture.height = 320;
    Layer five;
    five.name = "5";
    five.x = 108;
    five.y = 136;
    five.pixels = RgbaImage(102, 46, Rgba{255, 0, 0, 255});
    Layer extra = five;
    extra.name = "Notes";
    picture.layers = {five, extra};
    const auto layered = dir.File("two.ora");
    WriteBytes(layered, *EncodeLayeredFile(picture, LayeredFormat::OpenRaster));
    const auto out = dir.File("out.pdb");
    const auto build = Skin({"build", layered, "--depth", "16", "-o", out});
    ASSERT_EQ(build.exitCode, 0) << build.err;
    EXPECT_NE(build.err.find("corvane: warning: These elements had no layer and were left as they were: 0, 1, 2, 3, 4, "
                             "6, 7,"),
              std::string::npos)
        << build.err;
    EXPECT_NE(build.err.find("corvane: warning: These layers are no element and were ignored: Notes\n"), std::string::npos)
        << build.err;
}

}  // namespace
}  // namespace corvane
