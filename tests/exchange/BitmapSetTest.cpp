// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "exchange/BitmapSet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "imaging/Bmp.h"
#include "imaging/ImageFile.h"
#include "imaging/PalmColour.h"
#include "io/FileAccess.h"
#include "model/SkinDocument.h"
#include "support/FailingWrites.h"
#include "support/ScriptedUser.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using testing::FileSizeLimit;
using testing::ReadBytes;
using testing::ScriptedUser;
using testing::TempDir;

constexpr int kScArrow = 32, kKey5 = 5;

std::set<std::string> FileNames(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

// A picture with many colours, most of them off both the palette and the 5-6-5 grid.
Image Busy(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set(x, y, Colour{static_cast<std::uint8_t>(x * 5 + 1), static_cast<std::uint8_t>(y * 9 + 3),
                                   static_cast<std::uint8_t>(x * y % 251)});
    return image;
}

void ExportInto(const SkinDocument& document, const std::string& folder) {
    ScriptedUser user;
    user.ChoosesFolder(folder);
    ASSERT_EQ(ExportBitmaps(document, user), ExportOutcome::Exported);
}

TEST(ExportBitmaps, EmptyFolderGetsExactlyTheThirtyFiveNames) {
    TempDir dir;
    ScriptedUser user;
    user.ChoosesFolder(dir.Path().string());
    EXPECT_EQ(ExportBitmaps(SkinDocument(), user), ExportOutcome::Exported);
    EXPECT_EQ(user.FolderTitles(), std::vector<std::string>{"Select a destination directory for the exported bitmaps:"});
    EXPECT_TRUE(user.Messages().empty());
    std::set<std::string> expected;
    for (const auto& e : kSkinElements) expected.insert(std::string(e.name) + ".bmp");
    EXPECT_EQ(FileNames(dir.Path()), expected);
    for (const char* name : {"0.bmp", "#.bmp", "#pressed.bmp", "starpressed.bmp", "dialbuttonpressed.bmp"})
        EXPECT_TRUE(expected.count(name)) << name;
}

TEST(ExportBitmaps, AnsweringNoToEveryQuestionWritesNothingAndWarnsNothing) {
    TempDir dir;
    const std::string folder = dir.Path().string();
    ExportInto(SkinDocument(), folder);
    const auto before = ReadBytes(dir.File("5.bmp"));

    SkinDocument changed;
    changed.Slot(Depth::Sixteen, kKey5).CopyFrom(Busy(102, 46), 0, 0, Depth::Sixteen);
    ScriptedUser user;
    user.ChoosesFolder(folder);
    for (int i = 0; i < kElementCount; ++i) user.Answers(Answer::No);
    EXPECT_EQ(ExportBitmaps(changed, user), ExportOutcome::Exported);
    ASSERT_EQ(user.Messages().size(), std::size_t{kElementCount});
    const Message& first = user.Messages()[0];
    EXPECT_EQ(first.text, "The file\n\n     " + dir.File("0.bmp") + "\n\nalready exists. Do you want to overwrite it?");
    EXPECT_EQ(first.caption, std::optional<std::string>("Corvane Desktop"));
    EXPECT_EQ(first.icon, MessageIcon::Question);
    EXPECT_EQ(first.buttons, MessageButtons::YesYesToAllNoCancel);
    EXPECT_EQ(first.defaultButton, Answer::No);
    EXPECT_EQ(ReadBytes(dir.File("5.bmp")), before);
    EXPECT_EQ(FileNames(dir.Path()).size(), std::size_t{kElementCount});
}

// Files that cannot be written are failures, and nothing half-written stays;
// a path is never refused for its length alone.
TEST(ExportBitmaps, UnwritableFilesEndInOneWarning) {
    CORVANE_SKIP_IN_WEBASSEMBLY("no file size limits in WebAssembly");
    TempDir dir;
    // A disk that takes no more bytes, and a folder name longer than any file system allows.
    const std::pair<std::string, std::uint64_t> cases[] = {{dir.Path().string(), 0},
                                                           {dir.File(std::string(300, 'x')), 1 << 30}};
    for (const auto& [folder, sizeLimit] : cases) {
        ScriptedUser user;
        user.ChoosesFolder(folder);
        ExportOutcome outcome;
        {
            const FileSizeLimit limit(sizeLimit);
            outcome = ExportBitmaps(SkinDocument(), user);
        }
        EXPECT_EQ(outcome, ExportOutcome::NotAllExported);
        ASSERT_EQ(user.MessageTexts(), std::vector<std::string>{"Not all bitmaps could be exported."});
        EXPECT_EQ(user.Messages()[0].caption, std::optional<std::string>("corvane-desktop"));
        EXPECT_TRUE(FileNames(dir.Path()).empty());
    }
    std::filesystem::path deep = dir.Path() / std::string(100, 'a') / std::string(100, 'b') / std::string(100, 'c');
    std::filesystem::create_directories(deep);
    ExportInto(SkinDocument(), deep.string() + "/");  // either separator may end the folder
    EXPECT_EQ(FileNames(deep).size(), std::size_t{kElementCount});
}

// A link to nothing is asked about like a file and, answered Yes, replaced
// in the folder; a file that cannot be written stops none of the others.
TEST(ExportBitmaps, AsksAboutEveryNameTakenAndWritesOnlyIntoTheFolder) {
    TempDir dir;
    const auto folder = dir.Path() / "set";
    std::filesystem::create_directories(folder / "5.bmp");  // a folder: cannot be written
    std::filesystem::create_symlink(dir.File("elsewhere.bmp"), folder / "0.bmp");
    ScriptedUser user;
    user.ChoosesFolder(folder.string());
    user.Answers(Answer::Yes).Answers(Answer::Yes);
    EXPECT_EQ(ExportBitmaps(SkinDocument(), user), ExportOutcome::NotAllExported);
    const auto texts = user.MessageTexts();
    ASSERT_EQ(texts.size(), 3u);  // 0.bmp, 5.bmp, then the warning
    EXPECT_NE(texts[0].find((folder / "0.bmp").string() + "\n\nalready exists."), std::string::npos);
    EXPECT_EQ(texts[2], "Not all bitmaps could be exported.");
    EXPECT_FALSE(std::filesystem::exists(dir.File("elsewhere.bmp")));
    EXPECT_EQ(ReadImageFile((folder / "0.bmp").string()).image, SkinDocument().Slot(Depth::Sixteen, 0).Picture());
    EXPECT_EQ(FileNames(folder).size(), std::size_t{kElementCount});
}

TEST(ImportBitmaps, MissingFileIsListedOncePerSetAndTheRestIsImported) {
    TempDir dir;
    ExportInto(SkinDocument(), dir.Path().string());
    std::filesystem::remove(dir.File("scarrow.bmp"));
    ASSERT_TRUE(WriteBmpFile(Image(102, 46, Colour{255, 0, 0}), dir.File("5.bmp")));

    SkinDocument document;
    document.Slot(Depth::Eight, kScArrow).CopyFrom(Image(18, 10, kBlack), 0, 0, Depth::Eight);
    ScriptedUser user;
    user.ChoosesFolder(dir.Path().string());
    ImportBitmaps(document, user);
    EXPECT_EQ(user.FolderTitles(),
              std::vector<std::string>{"Select the directory including the bitmap files to be imported:"});
    EXPECT_EQ(user.MessageTexts(), std::vector<std::string>{"The following bitmap(s) could not be imported:\n\n"
                                                            "     scarrow.bmp\n     scarrow.bmp\n"});
    EXPECT_EQ(user.Messages()[0].icon, MessageIcon::Warning);
    // Each file that failed once, with why.
    EXPECT_EQ(user.Messages()[0].details,
              dir.File("scarrow.bmp") + ": cannot open the file for reading: No such file or directory\n");
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.Slot(Depth::Eight, kScArrow).Picture(), Image(18, 10, kBlack));  // kept
    EXPECT_EQ(document.Slot(Depth::Eight, kKey5).Picture().At(50, 20), (Colour{255, 0, 0}));
    EXPECT_EQ(document.Slot(Depth::Sixteen, kKey5).Picture().At(50, 20), (Colour{248, 0, 0}));
}

TEST(ImportBitmaps, EightBitExportComesBackIntoBothSets) {
    TempDir dir;
    SkinDocument source;
    source.SetTargetDepth(Depth::Eight);
    source.Slot(Depth::Eight, kKey5).CopyFrom(Busy(102, 46), 0, 0, Depth::Eight);
    ExportInto(source, dir.Path().string());
    const Image exported = source.Slot(Depth::Eight, kKey5).Picture();
    ASSERT_EQ(ReadImageFile(dir.File("5.bmp")).image, exported);

    SkinDocument document;
    ScriptedUser user;
    user.ChoosesFolder(dir.Path().string());
    ImportBitmaps(document, user);
    EXPECT_TRUE(user.Messages().empty());
    EXPECT_EQ(document.Slot(Depth::Eight, kKey5).Picture(), exported);
    const Image& sixteen = document.Slot(Depth::Sixteen, kKey5).Picture();
    for (int y = 0; y < 46; ++y)
        for (int x = 0; x < 102; ++x) ASSERT_EQ(sixteen.At(x, y), Quantise565(exported.At(x, y))) << x << "," << y;
    // Transparent colours are not reset by an import.
    EXPECT_EQ(document.Slot(Depth::Eight, kKey5).Transparent(), kPureGreen);
}

}  // namespace
}  // namespace corvane
