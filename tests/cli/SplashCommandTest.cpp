// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// `corvane splash`, run as a separate process the way a script runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "io/FileAccess.h"
#include "pdb/SplashCodec.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string Quoted(const std::string& word) {
    std::string q = "'";
    for (char c : word) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string Text(const std::string& path) {
    const Bytes bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

std::string Fixture(const std::string& name) { return std::string(CORVANE_SOURCE_DIR) + "/tests/data/splash/" + name; }

class SplashCli : public ::testing::Test {
protected:
    // shell: what the shell does first, such as limiting the size of files.
    CliRun Corvane(const std::vector<std::string>& args, const std::string& shell = "") {
        std::string command = shell + Quoted(CORVANE_CLI);
        for (const auto& a : args) command += " " + Quoted(a);
        const std::string out = io.File("stdout");
        const std::string err = io.File("stderr");
        command += " >" + Quoted(out) + " 2>" + Quoted(err);
        const int status = std::system(command.c_str());
        CliRun run;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = Text(out);
        run.err = Text(err);
        return run;
    }

    // A failure: one line on stderr naming the file, nothing on stdout.
    static void ExpectFailure(const CliRun& run, const std::string& line) {
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "corvane: " + line + "\n");
        EXPECT_EQ(run.out, "");
    }

    std::string BuildSummer() {
        const std::string path = dir.File("Summer.pdb");
        const CliRun run = Corvane({"splash", "build", welcome, goodbye, "-o", path});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return path;
    }

    TempDir io;
    TempDir dir;
    const std::string welcome = Fixture("baseline-320x320.jpg");
    const std::string goodbye = Fixture("progressive-320x320.jpg");
};

TEST_F(SplashCli, BuildWritesASplashFileHoldingBothJpegs) {
    const std::string path = dir.File("Summer.pdb");
    const CliRun run = Corvane({"splash", "build", welcome, goodbye, "--output", path});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    const Bytes file = ReadBytes(path);
    const auto content = ParseSplashFile(file);
    ASSERT_TRUE(content.has_value());
    EXPECT_EQ(content->name, "Summer");
    EXPECT_TRUE(std::ranges::equal(content->welcome, ReadBytes(welcome)));
    EXPECT_TRUE(std::ranges::equal(content->goodbye, ReadBytes(goodbye)));
}

TEST_F(SplashCli, BuildRefusesJpegsTheEditorWouldRefuse) {
    const std::string path = dir.File("out.pdb");
    WriteBytes(path, {5, 5, 5});
    const std::string landscape = Fixture("baseline-320x240.jpg");
    ExpectFailure(Corvane({"splash", "build", welcome, landscape, "-o", path}),
                  landscape + ": does not have dimension 320x320 (it has 320x240)");
    const std::string png = Fixture("flat-320x320.png");
    ExpectFailure(Corvane({"splash", "build", png, goodbye, "-o", path}),
                  png + ": not a JPEG image (no start-of-image marker or no frame header)");
    const std::string missing = dir.File("missing.jpg");
    ExpectFailure(Corvane({"splash", "build", welcome, missing, "-o", path}),
                  "cannot read '" + missing + "': cannot open the file for reading: No such file or directory");
    EXPECT_EQ(ReadBytes(path), (Bytes{5, 5, 5}));

    const std::string unwritable = dir.File("no-such-folder/out.pdb");
    ExpectFailure(Corvane({"splash", "build", welcome, goodbye, "-o", unwritable}),
                  "cannot write '" + unwritable + "': No such file or directory");

    EXPECT_EQ(Corvane({"splash", "build", welcome, goodbye}).exitCode, 2);
    EXPECT_EQ(Corvane({"splash", "build", welcome, "-o", path}).exitCode, 2);
    EXPECT_EQ(Corvane({"splash", "build", welcome, goodbye, "-o"}).exitCode, 2);
    EXPECT_EQ(Corvane({"splash", "build", welcome, goodbye, "-x", "-o", path}).exitCode, 2);
}

TEST_F(SplashCli, ExtractWritesBothImagesByteForByte) {
    const std::string path = BuildSummer();
    const std::string folder = dir.File("images/new");
    const CliRun run = Corvane({"splash", "extract", path, "-o", folder});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string welcomeOut = folder + "/Summer-welcome.jpg";
    const std::string goodbyeOut = folder + "/Summer-goodbye.jpg";
    EXPECT_EQ(run.out, welcomeOut + "\n" + goodbyeOut + "\n");
    EXPECT_EQ(ReadBytes(welcomeOut), ReadBytes(welcome));
    EXPECT_EQ(ReadBytes(goodbyeOut), ReadBytes(goodbye));
}

TEST_F(SplashCli, ExtractChangesNothingWhenItCannotFinish) {
    const std::string path = BuildSummer();
    const std::string folder = dir.File("out");
    std::filesystem::create_directories(folder);
    // The goodbye image cannot be written where a folder of its name stands.
    std::filesystem::create_directory(folder + "/Summer-goodbye.jpg");
    const std::string welcomeOut = folder + "/Summer-welcome.jpg";

    ExpectFailure(Corvane({"splash", "extract", path, "-o", folder}),
                  "cannot write '" + folder + "/Summer-goodbye.jpg': Is a directory; neither image was changed");
    EXPECT_FALSE(FileExists(welcomeOut));

    WriteBytes(welcomeOut, {1, 2, 3});
    ExpectFailure(Corvane({"splash", "extract", path, "-o", folder}),
                  "cannot write '" + folder + "/Summer-goodbye.jpg': Is a directory; neither image was changed");
    EXPECT_EQ(ReadBytes(welcomeOut), (Bytes{1, 2, 3}));

    // A full disk after the welcome image: 885 bytes fit in two blocks, the goodbye's 1125 do not.
    std::filesystem::remove(folder + "/Summer-goodbye.jpg");
    ExpectFailure(Corvane({"splash", "extract", path, "-o", folder}, "trap '' XFSZ; ulimit -f 2; "),
                  "cannot write '" + folder + "/Summer-goodbye.jpg': File too large; neither image was changed");
    EXPECT_EQ(ReadBytes(welcomeOut), (Bytes{1, 2, 3}));
    EXPECT_FALSE(FileExists(folder + "/Summer-goodbye.jpg"));

    const std::string notSplash = dir.File("photo.pdb");
    WriteBytes(notSplash, ReadBytes(welcome));
    const std::string fresh = dir.File("fresh");
    ExpectFailure(Corvane({"splash", "extract", notSplash, "-o", fresh}), notSplash + ": not a splash image file");
    EXPECT_FALSE(FileExists(fresh));

    const std::string aFile = dir.File("plain");
    WriteBytes(aFile, {0});
    ExpectFailure(Corvane({"splash", "extract", path, "-o", aFile}), "cannot create the folder '" + aFile + "': Not a directory");
}

TEST_F(SplashCli, InfoDescribesTheFileAndChecksEachImage) {
    const std::string path = BuildSummer();
    const CliRun run = Corvane({"splash", "info", path});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "file:    " + path +
                           "\n"
                           "name:    Summer\n"
                           "size:    2110 bytes\n"
                           "welcome: offset 100, 885 bytes, passes the JPEG check\n"
                           "goodbye: offset 985, 1125 bytes, passes the JPEG check\n");

    // The reader takes any bytes as images; info says which would not load.
    const std::string odd = dir.File("odd.pdb");
    const Bytes landscape = ReadBytes(Fixture("baseline-320x240.jpg"));
    WriteBytes(odd, *BuildSplashFile("Odd\x01", landscape, Bytes{1, 2, 3}, 0));
    const CliRun oddRun = Corvane({"splash", "info", odd});
    ASSERT_EQ(oddRun.exitCode, 0) << oddRun.err;
    EXPECT_EQ(oddRun.out, "file:    " + odd +
                              "\n"
                              "name:    Odd\\x01\n"
                              "size:    838 bytes\n"
                              "welcome: offset 100, 735 bytes, fails the JPEG check: not 320x320\n"
                              "goodbye: offset 835, 3 bytes, fails the JPEG check: not a JPEG image\n");

    const std::string missing = dir.File("missing.pdb");
    ExpectFailure(Corvane({"splash", "info", missing}), "cannot read '" + missing + "': cannot open the file for reading: No such file or directory");
}

}  // namespace
}  // namespace corvane
