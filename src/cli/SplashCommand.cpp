// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// `corvane splash`: build a splash file from two JPEGs, take one apart, or
// describe one. The same checks and codecs as the editor, without its dialogs.
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "io/FileAccess.h"
#include "io/Result.h"
#include "io/PathNames.h"
#include "model/SplashFile.h"
#include "pdb/PalmDate.h"
#include "pdb/PalmText.h"
#include "pdb/SplashCodec.h"

namespace corvane::cli {
namespace {

struct SplashOptions {
    std::vector<std::string> files;  // the subcommand's JPEG and FILE.pdb arguments, in order
    std::string output;
};

Result<std::vector<std::uint8_t>> ReadInput(const std::string& path) {
    FileRead read = ReadFileAtMost(path, kDatabaseFileLimit);
    if (!read.Ok())
        return corvane::Fail(
            CannotRead(path, ReadProblemText(read.problem, kDatabaseFileLimit, "splash files and their images", read.error)));
    return std::move(read.bytes);
}

// A splash file's bytes and what they hold; the images are views into the bytes.
struct SplashInput {
    std::vector<std::uint8_t> bytes;
    SplashContent content;
};

Result<std::unique_ptr<const SplashInput>> ReadSplashInput(const std::string& path) {
    auto bytes = ReadInput(path);
    if (!bytes) return bytes.Error();
    auto read = std::make_unique<SplashInput>();
    read->bytes = std::move(*bytes);
    const auto content = ParseSplashFile(read->bytes);
    if (!content) return corvane::Fail(Shown(path) + ": not a splash image file");
    read->content = *content;
    return std::unique_ptr<const SplashInput>(std::move(read));
}

std::string JpegProblem(std::span<const std::uint8_t> jpeg) {
    const std::optional<JpegFrameSize> frame = FirstJpegFrame(jpeg);
    return frame ? WrongJpegSizeText(*frame) : "not a JPEG image (no start-of-image marker or no frame header)";
}

int Build(const SplashOptions& args) {
    std::vector<std::uint8_t> images[2];
    for (int i = 0; i < 2; ++i) {
        const std::string& path = args.files[static_cast<std::size_t>(i)];
        auto bytes = ReadInput(path);
        if (!bytes) return ExitWithError(bytes.Reason());
        if (CheckJpeg(*bytes) != JpegCheck::Ok) return ExitWithError(Shown(path) + ": " + JpegProblem(*bytes));
        images[i] = std::move(*bytes);
    }
    const std::string& output = args.output;
    const auto file = BuildSplashFile(DatabaseNameFromPath(output), images[0], images[1], PalmNow());
    if (!file) return ExitWithError(Shown(args.files[0]) + ": too large for a splash file");
    if (const WriteResult written = WriteFileWithReason(output, *file, args.files); !written.Ok()) {
        const bool started = written.outcome == WriteOutcome::WriteFailed;
        return ExitWithError(CannotWrite(written) + (started ? "; any previous file is unchanged" : ""));
    }
    return 0;
}

int Extract(const SplashOptions& args) {
    const std::string& input = args.files[0];
    const auto read = ReadSplashInput(input);
    if (!read) return ExitWithError(read.Reason());
    const SplashContent& content = (*read)->content;

    const std::string& folder = args.output;
    if (const auto problem = CreateOutputFolder(folder)) return ExitWithError(*problem);

    const std::string name = BaseName(input, NameCut::AtLastDot);
    const std::string targets[2] = {JoinPath(folder, name + "-welcome.jpg"), JoinPath(folder, name + "-goodbye.jpg")};
    const FileToWrite files[2] = {{targets[0], content.welcome}, {targets[1], content.goodbye}};
    if (const WriteResult written = WriteFilesAllOrNothing(files, args.files); !written.Ok()) {
        return ExitWithError(CannotWrite(written) + "; neither image was changed");
    }
    std::cout << Shown(targets[0]) << "\n" << Shown(targets[1]) << "\n";
    return 0;
}

std::string CheckText(std::span<const std::uint8_t> image) {
    switch (CheckJpeg(image)) {
        case JpegCheck::Ok:
            return "passes the JPEG check";
        case JpegCheck::WrongSize:
            return "fails the JPEG check: not 320x320";
        case JpegCheck::NotJpeg:
            break;
    }
    return "fails the JPEG check: not a JPEG image";
}

int Info(const SplashOptions& args) {
    const std::string& input = args.files[0];
    const auto read = ReadSplashInput(input);
    if (!read) return ExitWithError(read.Reason());
    const SplashContent& content = (*read)->content;

    std::ostringstream out;
    out << "file:    " << Shown(input) << "\n"
        << "name:    " << PrintablePalmText(content.name) << "\n"
        << "size:    " << (*read)->bytes.size() << " bytes\n"
        << "welcome: offset " << content.welcomeOffset << ", " << content.welcome.size() << " bytes, "
        << CheckText(content.welcome) << "\n"
        << "goodbye: offset " << content.goodbyeOffset << ", " << content.goodbye.size() << " bytes, "
        << CheckText(content.goodbye) << "\n";
    std::cout << out.str();
    return 0;
}

void DefineSplash(CLI::App& splash, Action& action) {
    AddSubcommands<SplashOptions>(
        splash, action,
        {{{.name = "build",
           .description = "Write a splash file holding the two JPEG files byte for byte.",
           .arguments = {{"WELCOME.jpg", "the picture shown when the phone is switched on"},
                         {"GOODBYE.jpg", "the picture shown when it is switched off"}},
           .output = "the splash file to write",
           .footer = "Each JPEG must start with the JPEG start-of-image marker and its first\n"
                     "frame (baseline, extended, progressive or lossless) must be 320x320.\n"
                     "The database name inside the file is FILE's name up to its first dot,\n"
                     "at most its last 31 characters. An existing FILE is replaced only once\n"
                     "the new one is completely written."},
          &Build},
         {{.name = "extract",
           .description = "Write the two images of a splash file, byte for byte, and print their paths.",
           .arguments = {{"FILE.pdb", "the splash file"}},
           .output = "the folder to write the images into",
           .footer = "The images are FOLDER/NAME-welcome.jpg and FOLDER/NAME-goodbye.jpg.\n"
                     "NAME is FILE's own name without its extension (Summer.pdb gives Summer),\n"
                     "not the database name inside the file, which may be empty or hold\n"
                     "characters a file name cannot. FOLDER is created when it does not exist.\n"
                     "Either both images are written or neither is changed."},
          &Extract},
         {{.name = "info",
           .description =
               "Print a splash file's database name, its size, and each image's offset, size and JPEG check.",
           .arguments = {{"FILE.pdb", "the splash file"}},
           .footer = "The JPEG check is the start-of-image marker and a 320x320 frame. Exits 0 for\n"
                     "any readable splash file, also when an image fails the check."},
          &Info}});
}

const RegisterCommand kRegistered{
    {"splash", "build, extract or describe a splash file (two 320x320 JPEGs)", &DefineSplash}};

}  // namespace
}  // namespace corvane::cli
