// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// `corvane skin preview|dialpad|background` against the editor's own
// commands on the same skin, and the extract warning about pixels a bitmap
// file cannot keep.

#include <gtest/gtest.h>

#include <filesystem>

#include "exchange/Dialpad.h"
#include "imaging/Bmp.h"
#include "imaging/ImagingTestUtil.h"
#include "model/PreviewComposition.h"
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
using testing::ScriptedUser;
using testing::TempDir;
using testing::WriteBytes;

ProcessResult Skin(std::vector<std::string> args) {
    args.insert(args.begin(), {CORVANE_CLI, "skin"});
    return RunProcess(args);
}

Bytes WithoutDates(Bytes bytes) {
    if (bytes.size() >= 44) std::fill(bytes.begin() + 36, bytes.begin() + 44, std::uint8_t{0});
    return bytes;
}

Image Gradient(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set(x, y, Colour{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 180});
    return image;
}

class SkinExchangeCommandTest : public ::testing::Test {
protected:
    // A skin file at the depth whose sets differ from the defaults: a title
    // bar off both colour grids, dial buttons with see-through white corners.
    std::string WriteSkin(Depth depth, const std::string& name) {
        SkinDocument source;
        source.Slot(depth, 33).CopyFrom(Gradient(320, 30), 0, 0, depth);
        for (const int button : {24, 25}) source.Slot(depth, button).SetTransparent(kWhite);
        const std::string path = dir.File(name);
        WriteBytes(path, *EncodeSkinFile(source.Set(depth), depth, "Skin", 0));
        return path;
    }

    // The editor with the skin opened and its target depth switched to the file's.
    void EditorOpens(SkinDocument& document, const std::string& path, Depth depth) {
        ScriptedUser user;
        user.ChoosesFile(path);
        ASSERT_EQ(OpenSkin(document, user), OpenSkinOutcome::Opened);
        document.SetTargetDepth(depth);
        ComposePreviews(document, depth);
    }

    Bytes EditorSavesAs(SkinDocument& document, const std::string& path) {
        ScriptedUser user;
        user.ChoosesFile(path);
        EXPECT_EQ(SaveSkinAs(document, user), SaveSkinOutcome::Saved);
        return ReadBytes(path);
    }

    TempDir dir;
};

TEST_F(SkinExchangeCommandTest, PreviewWritesWhatTheEditorExports) {
    for (const Depth depth : kDepths) {
        SCOPED_TRACE(Bits(depth));
        const std::string skin = WriteSkin(depth, "My.Skin" + std::to_string(Bits(depth)) + ".pdb");
        const auto cli = dir.Path() / ("cli" + std::to_string(Bits(depth)));
        const auto run = Skin({"preview", skin, "-o", cli.string()});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");

        SkinDocument document;
        EditorOpens(document, skin, depth);
        const auto editor = dir.Path() / ("editor" + std::to_string(Bits(depth)));
        std::filesystem::create_directories(editor);
        ScriptedUser user;
        user.ChoosesFolder(editor.string()).ChoosesFolder(editor.string());
        ASSERT_EQ(ExportPreview(document, user), ExportOutcome::Exported);
        ASSERT_EQ(ExportDialpadBitmaps(document, user), ExportOutcome::Exported);
        for (const char* name : {"My-preview.bmp", "My-dial-unpressed.bmp", "My-dial-pressed.bmp"}) {
            ASSERT_TRUE(std::filesystem::exists(editor / name)) << name;
            EXPECT_EQ(ReadBytes((cli / name).string()), ReadBytes((editor / name).string())) << name;
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cli), {}), 3);
    }
}

TEST_F(SkinExchangeCommandTest, DialpadAndBackgroundSaveWhatTheEditorSaves) {
    const std::string background = dir.File("background.bmp");
    ASSERT_TRUE(WriteBmpFile(Gradient(330, 200), background));
    SkinDocument padSource;
    padSource.Slot(Depth::Sixteen, 5).CopyFrom(Gradient(102, 46), 0, 0, Depth::Sixteen);
    ComposePreviews(padSource, Depth::Sixteen);
    const auto pads = DialpadPictures(padSource);
    const std::string unpressed = dir.File("unpressed.bmp"), pressed = dir.File("pressed.bmp");
    ASSERT_TRUE(WriteBmpFile(pads[0].picture, unpressed));
    ASSERT_TRUE(WriteBmpFile(pads[1].picture, pressed));
    std::filesystem::create_directories(dir.Path() / "cli");
    std::filesystem::create_directories(dir.Path() / "editor");

    for (const Depth depth : kDepths)
        for (const bool dialpad : {false, true}) {
            SCOPED_TRACE(std::to_string(Bits(depth)) + (dialpad ? " dialpad" : " background"));
            const std::string skin = WriteSkin(depth, "In" + std::to_string(Bits(depth)) + ".pdb");
            const std::string out = (dir.Path() / "cli" / "Out.pdb").string();
            const auto run = dialpad ? Skin({"dialpad", skin, unpressed, pressed, "-o", out})
                                     : Skin({"background", skin, background, "-o", out});
            ASSERT_EQ(run.exitCode, 0) << run.err;

            SkinDocument document;
            EditorOpens(document, skin, depth);
            ScriptedUser user;
            user.Answers(Answer::Ok);
            if (dialpad) {
                user.ChoosesFile(unpressed).ChoosesFile(pressed);
                ASSERT_EQ(ImportDialpadBitmaps(document, user), DialpadOutcome::Changed);
            } else {
                user.ChoosesFile(background);
                ASSERT_EQ(InsertBackground(document, user), DialpadOutcome::Changed);
            }
            const Bytes editor = EditorSavesAs(document, (dir.Path() / "editor" / "Out.pdb").string());
            EXPECT_EQ(WithoutDates(ReadBytes(out)), WithoutDates(editor));
            EXPECT_EQ(Skin({"info", out}).exitCode, 0);
        }
}

// An 8-bit skin from another tool whose title bar has three opaque pixels
// under a second palette index of its transparent black.
Bytes SkinWithOpaqueBlack() {
    SkinDocument document;
    ImageSlot& title = document.Slot(Depth::Eight, 33);
    title.SetTransparent(kBlack);
    title.CopyFrom(Image(320, 30, Colour{0, 0, 255}), 0, 0, Depth::Eight);
    Bytes bytes = *EncodeSkinFile(document.Set(Depth::Eight), Depth::Eight, "Dup", 0);
    ResourceDatabase database;
    database.ReadDatabase(bytes);
    const ResourceEntry& last = database.Entries().back();  // 9064, the title bar, ends the file
    EXPECT_EQ(last.id, 9064);
    const auto encoded = EncodePalmBitmap(title.Picture(), title.Transparent(), true, 8);
    EXPECT_TRUE(encoded.Ok());
    if (!encoded) return bytes;
    EXPECT_EQ(encoded->bitmap.transparentValue, 230u);  // the first of the palette's blacks
    std::vector<std::uint8_t> block = testing::PalmPixelBlock(encoded->bytes);
    for (const std::size_t at : {0u, 1u, 700u}) block[at] = 231;
    const auto bitmap = EncodePalmPixels(encoded->bitmap, block);
    EXPECT_TRUE(bitmap.Ok());
    bytes.resize(last.offset);
    if (bitmap) bytes.insert(bytes.end(), bitmap->bytes.begin(), bitmap->bytes.end());
    return bytes;
}

TEST_F(SkinExchangeCommandTest, ExtractWarnsAboutOpaquePixelsInTheTransparentColour) {
    const std::string path = dir.File("Dup.pdb");
    WriteBytes(path, SkinWithOpaqueBlack());
    const auto run = Skin({"extract", path, "-o", dir.File("set")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 35);
    EXPECT_NE(run.out.find("titlebar.bmp 000000\n"), std::string::npos);
    EXPECT_EQ(run.err,
              "corvane: warning: titlebar.bmp: 3 opaque pixel(s) in the transparent colour 000000 become see-through "
              "when the set is built or imported again\n");

    const auto plain = Skin({"extract", WriteSkin(Depth::Eight, "Plain.pdb"), "-o", dir.File("plain")});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(plain.err, "");
}

}  // namespace
}  // namespace corvane
