// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// `corvane thumbnail`: the picture a file manager shows for a skin or splash
// file, run by the freedesktop thumbnailer entry as
// `corvane thumbnail --size %s %i %o`.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <new>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "imaging/Png.h"
#include "io/FileAccess.h"
#include "model/Thumbnail.h"

namespace corvane::cli {
namespace {

struct ThumbnailOptions {
    int size = 0;
    std::string input;
    std::string output;
};

#if defined(__SANITIZE_ADDRESS__)
#define CORVANE_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVANE_ADDRESS_SANITIZER 1
#endif
#endif

void Lower(int resource, rlim_t soft, rlim_t hard) {
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0) return;
    limit.rlim_cur = std::min(limit.rlim_cur, soft);
    limit.rlim_max = std::min(limit.rlim_max, hard);
    setrlimit(resource, &limit);
}

// File managers run this on every file they list, downloads included: what
// an input might cost beyond what the readers' bounds foresee, the kernel
// stops at 1 s of processor time and 256 MiB of address space, and the
// command fails as for any unreadable file. (Not under AddressSanitizer,
// whose shadow memory alone takes terabytes of address space.)
void LimitResources() {
    std::signal(SIGXCPU, [](int) {
        constexpr char kMessage[] = "corvane: the thumbnail took more than 1 s of processor time\n";
        [[maybe_unused]] const auto written = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
        _exit(kExitFailure);
    });
    Lower(RLIMIT_CPU, 1, 2);  // SIGXCPU after 1 s, SIGKILL after 2
#ifndef CORVANE_ADDRESS_SANITIZER
    Lower(RLIMIT_AS, rlim_t{256} << 20, rlim_t{256} << 20);
#endif
}

int MakeThumbnailFile(const ThumbnailOptions& options) {
    const FileRead read = ReadFileAtMost(options.input, kDatabaseFileLimit);
    if (!read.Ok())
        return ExitWithError(
            CannotRead(options.input, ReadProblemText(read.problem, kDatabaseFileLimit, "skin and splash files", read.error)));
    const auto thumbnail = MakeThumbnail(read.bytes, options.size);
    if (!thumbnail) return ExitWithError("'" + Shown(options.input) + "' is no readable skin or splash file");
    const std::vector<std::uint8_t> png = EncodePng(*thumbnail, PngEffort::Fastest);
    if (png.empty()) return ExitWithError("cannot encode the thumbnail of '" + Shown(options.input) + "' as PNG");
    if (options.output == kStandardStream) return WriteStandardOutput(png);
    // Written whole or not at all: a file manager takes any PNG it finds for a thumbnail.
    const std::string inputs[] = {options.input};
    if (const WriteResult written = WriteFileWithReason(options.output, png, inputs); !written.Ok())
        return ExitWithError(CannotWrite(written));
    return 0;
}

int RunThumbnail(const ThumbnailOptions& options) {
    LimitResources();
    try {
        return MakeThumbnailFile(options);
    } catch (const std::bad_alloc&) {
        return ExitWithError("'" + Shown(options.input) + "' needs more memory than a thumbnail may take");
    }
}

void DefineThumbnail(CLI::App& command, Action& action) {
    auto options = std::make_shared<ThumbnailOptions>();
    command.add_option("--size", options->size, "the largest width and height of the picture, in pixels")
        ->required()
        ->type_name("PIXELS")
        // The freedesktop sizes go up to 1024 ("xx-large").
        ->check(CLI::Range(1, 1024));
    command.add_option("FILE", options->input, "the skin or splash file (.pdb)")->type_name("")->required();
    command.add_option("OUT.png", options->output, "the PNG file to write; - for standard output")->type_name("")->required();
    command.footer(
        "A skin gives its dial screen with every button released, as the editor's\n"
        "preview shows it at the file's own depth; a splash file its welcome picture.\n"
        "The picture keeps its proportions and is shrunk, never enlarged, to fit\n"
        "PIXELS x PIXELS. Exits 1 and writes nothing for any other file.");
    RunsWith(command, action, options, &RunThumbnail);
}

const RegisterCommand kRegistered{
    {"thumbnail", "write the picture a file manager shows for a skin or splash file", &DefineThumbnail}};

}  // namespace
}  // namespace corvane::cli
