// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// --dither on the four commands that reduce pictures: spelled and refused
// alike, none when not given, and a different file when diffusing.
#include <gtest/gtest.h>

#include "imaging/Bmp.h"
#include "imaging/Palm.h"
#include "model/SkinFile.h"
#include "support/Subprocess.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;

testing::ProcessResult Corvane(std::vector<std::string> args) {
    args.insert(args.begin(), CORVANE_CLI);
    return testing::RunProcess(args);
}

Image Gradient(int width, int height) {
    Image picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.Set(x, y, Colour{static_cast<std::uint8_t>(30 + x * 190 / width), static_cast<std::uint8_t>(60 + y / 2),
                                     static_cast<std::uint8_t>(200 - x * 150 / width)});
    return picture;
}

// The pictures the output holds: a bitmap resource's one, or a skin's 35 at
// its depth (its bytes hold its name and the time it was written, too).
std::vector<Image> PicturesOf(const std::string& path) {
    if (path.ends_with(".bin")) {
        const auto bitmap = DecodePalmBitmap(ReadBytes(path));
        return bitmap ? std::vector<Image>{bitmap->image} : std::vector<Image>{};
    }
    SkinDocument document;
    if (!LoadSkinFile(path, document).Loaded()) return {};
    std::vector<Image> pictures;
    for (const ImageSlot& slot : document.CurrentSet()) pictures.push_back(slot.Picture());
    return pictures;
}

TEST(DitherOption, EveryCommandThatReducesPicturesTakesIt) {
    TempDir dir;
    const std::string skin = dir.File("s.pdb"), set = dir.File("set"), picture = dir.File("g.bmp");
    ASSERT_TRUE(WriteBmpFile(Gradient(320, 184), picture));
    ASSERT_EQ(Corvane({"skin", "new", "--depth", "8", "-o", skin}).exitCode, 0);
    ASSERT_EQ(Corvane({"skin", "extract", skin, "-o", set}).exitCode, 0);
    ASSERT_TRUE(WriteBmpFile(Gradient(320, 30), set + "/titlebar.bmp"));

    const struct {
        std::string name;  // as the help names the command
        std::vector<std::string> words;
        std::string extension;
    } rows[] = {
        {"corvane bitmap encode", {"bitmap", "encode", picture, "--depth", "8"}, ".bin"},
        {"corvane skin build", {"skin", "build", set, "--depth", "16"}, ".pdb"},
        {"corvane skin background", {"skin", "background", skin, picture}, ".pdb"},
        {"corvane skin dialpad", {"skin", "dialpad", skin, picture, picture}, ".pdb"},
    };
    for (const auto& row : rows) {
        std::vector<std::vector<Image>> outputs;
        for (const std::vector<std::string>& option :
             {std::vector<std::string>{}, {"--dither", "none"}, {"--dither", "diffusion"}}) {
            std::vector<std::string> words = row.words;
            words.insert(words.end(), option.begin(), option.end());
            const std::string out = dir.File("out" + std::to_string(outputs.size()) + row.extension);
            words.insert(words.end(), {"-o", out});
            const auto run = Corvane(words);
            ASSERT_EQ(run.exitCode, 0) << row.name << ": " << run.err;
            outputs.push_back(PicturesOf(out));
            ASSERT_FALSE(outputs.back().empty()) << row.name;
        }
        EXPECT_EQ(outputs[0], outputs[1]) << row.name << ": none is the default";
        EXPECT_NE(outputs[1], outputs[2]) << row.name << ": diffusion changes the pictures";

        std::vector<std::string> words = row.words;
        words.insert(words.end(), {"--dither", "floyd", "-o", dir.File("refused")});
        const auto bad = Corvane(words);
        EXPECT_EQ(bad.exitCode, 2) << row.name;
        EXPECT_EQ(bad.err, "corvane: --dither: 'floyd' is no dithering: none or diffusion\nTry '" + row.name +
                               " --help'.\n");
        EXPECT_NE(Corvane({row.words[0], row.words[1], "--help"}).out.find("--dither none|diffusion"), std::string::npos)
            << row.name;
    }
}

}  // namespace
}  // namespace corvane
