// `corvane thumbnail`: the picture a file manager shows for a skin or splash
// file, run by the freedesktop thumbnailer entry as
// `corvane thumbnail --size %s %i %o`.
#include <string>

#include "cli/Command.h"
#include "imaging/PngCodec.h"
#include "io/FileAccess.h"
#include "model/Thumbnail.h"

namespace corvane::cli {
namespace {

struct ThumbnailOptions {
    int size = 0;
    std::string input;
    std::string output;
};

int RunThumbnail(const ThumbnailOptions& options) {
    const FileRead read = ReadFileAtMost(options.input, kDatabaseFileLimit);
    if (!read.Ok())
        return Fail("cannot read '" + Shown(options.input) + "': " +
                    ReadProblemText(read.problem, kDatabaseFileLimit, "skin and splash files", read.error));
    const auto thumbnail = MakeThumbnail(read.bytes, options.size);
    if (!thumbnail) return Fail("'" + Shown(options.input) + "' is no readable skin or splash file");
    // Written whole or not at all: a file manager takes any PNG it finds for a thumbnail.
    const std::string inputs[] = {options.input};
    if (const WriteResult written = WriteFileWithReason(options.output, EncodePng(*thumbnail), inputs); !written.Ok())
        return Fail("cannot write '" + Shown(options.output) + "': " + written.Reason());
    return 0;
}

void DefineThumbnail(CLI::App& command, Action& action) {
    auto options = std::make_shared<ThumbnailOptions>();
    command.add_option("--size", options->size, "the largest width and height of the picture, in pixels")
        ->required()
        ->type_name("PIXELS")
        ->check(CLI::Range(1, 4096));
    command.add_option("FILE", options->input, "the skin or splash file (.pdb)")->type_name("")->required();
    command.add_option("OUT.png", options->output, "the PNG file to write")->type_name("")->required();
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
