// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every command parses its words the same way: one help layout, one wording
// for a missing or unknown word, exit code 2 for usage errors, and colours
// with or without '#'.
#include <gtest/gtest.h>

#include <regex>

#include "imaging/Bmp.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using testing::ProcessResult;
using testing::TempDir;

ProcessResult Corvane(std::vector<std::string> args) {
    args.insert(args.begin(), CORVANE_CLI);
    return testing::RunProcess(args);
}

std::string Joined(const std::vector<std::string>& words) {
    std::string text;
    for (const auto& w : words) text += (text.empty() ? "" : " ") + w;
    return text;
}

TEST(Usage, EverySubcommandHelpsAndRefusesBadWordsAlike) {
    TempDir dir;
    const std::string in = dir.File("in"), out = dir.File("out");
    struct Case {
        std::vector<std::string> command;  // after "corvane"
        std::vector<std::string> complete; // arguments that parse
        std::string missing;               // what a run without arguments lacks
    };
    const Case cases[] = {
        {{"bitmap", "encode"}, {in, "--depth", "8", "-o", out}, "IN is required"},
        {{"bitmap", "decode"}, {in, "-o", out}, "IN is required"},
        {{"skin", "new"}, {"--depth", "16", "-o", out}, "is required"},
        {{"skin", "build"}, {in, "--depth", "8", "-o", out}, "FOLDER is required"},
        {{"skin", "extract"}, {in, "-o", out}, "FILE.pdb is required"},
        {{"skin", "info"}, {in}, "FILE.pdb is required"},
        {{"skin", "preview"}, {in, "-o", out}, "FILE.pdb is required"},
        {{"skin", "dialpad"}, {in, in, in, "-o", out}, "FILE.pdb is required"},
        {{"skin", "background"}, {in, in, "-o", out}, "FILE.pdb is required"},
        {{"splash", "build"}, {in, in, "-o", out}, "WELCOME.jpg is required"},
        {{"splash", "extract"}, {in, "-o", out}, "FILE.pdb is required"},
        {{"splash", "info"}, {in}, "FILE.pdb is required"},
    };
    for (const Case& c : cases) {
        const std::string name = "corvane " + Joined(c.command);
        SCOPED_TRACE(name);
        auto words = c.command;
        words.push_back("--help");
        const auto help = Corvane(words);
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_NE(help.out.find("Usage: " + name + " [OPTIONS]"), std::string::npos) << help.out;
        EXPECT_EQ(help.err, "");

        const auto bare = Corvane(c.command);
        EXPECT_EQ(bare.exitCode, 2);
        EXPECT_EQ(bare.out, "");
        EXPECT_NE(bare.err.find(c.missing), std::string::npos) << bare.err;
        EXPECT_NE(bare.err.find("\nTry '" + name + " --help'.\n"), std::string::npos) << bare.err;

        for (const std::vector<std::string>& extra : {std::vector<std::string>{"--frobnicate"}, {"surplus"}}) {
            words = c.command;
            words.insert(words.end(), c.complete.begin(), c.complete.end());
            words.insert(words.end(), extra.begin(), extra.end());
            const auto run = Corvane(words);
            EXPECT_EQ(run.exitCode, 2) << Joined(words);
            EXPECT_EQ(run.err, "corvane: The following argument was not expected: " + extra[0] + "\nTry '" + name +
                                   " --help'.\n");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(out));

    for (const std::vector<std::string>& words :
         {std::vector<std::string>{}, {"paint"}, {"skin"}, {"skin", "paint"}, {"bitmap", "encode", in, "-o", out,
                                                                                "--depth", "12"}}) {
        const auto run = Corvane(words);
        EXPECT_EQ(run.exitCode, 2) << Joined(words);
        EXPECT_EQ(run.err.rfind("corvane: ", 0), 0u) << run.err;
    }
    const std::pair<std::vector<std::string>, std::string> misleading[] = {
        {{"frob"}, "corvane: unknown subcommand 'frob'\nTry 'corvane --help'.\n"},
        {{"skin", "frob"}, "corvane: unknown subcommand 'frob'\nTry 'corvane skin --help'.\n"},
        {{"skin", "new", "--depth", "08", "-o", out},
         "corvane: --depth: '08' is no depth: 8 or 16 bits per pixel\nTry 'corvane skin new --help'.\n"},
        {{"skin", "fr\x1B[2Job"}, "corvane: unknown subcommand 'fr\\x1B[2Job'\nTry 'corvane skin --help'.\n"},
    };
    for (const auto& [words, err] : misleading) EXPECT_EQ(Corvane(words).err, err) << Joined(words);
    const auto version = Corvane({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    // The version first, as scripts read it, then the copyright and the licence as GNU tools give them.
    EXPECT_TRUE(std::regex_match(version.out, std::regex("corvane [0-9]+\\.[0-9]+(\\.[0-9]+)?\n"
                                                         "Copyright \\(C\\) [0-9]{4} [^\n]+\n"
                                                         "License GPLv3\\+: GNU GPL version 3 or later [^\n]+\n"
                                                         "[^\n]*free software[^\n]*\n[^\n]*NO WARRANTY[^\n]*\n")))
        << version.out;
}

// Bitmap and skin commands once spelled colours differently; both spellings work everywhere.
TEST(Usage, ColoursWithAndWithoutHash) {
    TempDir dir;
    const std::string picture = dir.File("p.bmp");
    ASSERT_TRUE(WriteBmpFile(Image(2, 2, kWhite), picture));
    ASSERT_EQ(Corvane({"skin", "new", "--depth", "8", "-o", dir.File("s.pdb")}).exitCode, 0);
    ASSERT_EQ(Corvane({"skin", "extract", dir.File("s.pdb"), "-o", dir.File("set")}).exitCode, 0);
    testing::WriteBytes(dir.File("colours.txt"), {'0', '.', 'b', 'm', 'p', ' ', '#', 'f', 'f', 'f', 'f', 'f', 'f', '\n'});
    for (const std::string colour : {"FFFFFF", "#ffffff"}) {
        EXPECT_EQ(Corvane({"bitmap", "encode", picture, "--depth", "8", "--transparent", colour, "-o", dir.File("b")})
                      .exitCode,
                  0)
            << colour;
        EXPECT_EQ(Corvane({"skin", "build", dir.File("set"), "--depth", "8", "--transparent", colour, "-o",
                           dir.File("t.pdb")})
                      .exitCode,
                  0)
            << colour;
    }
    EXPECT_EQ(Corvane({"skin", "build", dir.File("set"), "--depth", "8", "--transparent-from", dir.File("colours.txt"),
                       "-o", dir.File("u.pdb")})
                  .exitCode,
              0);
    const auto bad = Corvane({"bitmap", "encode", picture, "--depth", "8", "--transparent", "#fffff", "-o", dir.File("c")});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("'#fffff' is no colour RRGGBB"), std::string::npos) << bad.err;
}

}  // namespace
}  // namespace corvane
