// `corvane splash`: build a splash file from two JPEGs, take one apart, or
// describe one. The same checks and codecs as the editor, without its dialogs.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "pdb/FileAccess.h"
#include "pdb/PalmDate.h"
#include "pdb/PalmText.h"
#include "pdb/PathNames.h"
#include "pdb/SplashFile.h"

namespace corvane::cli {
namespace {

constexpr const char* kHelp =
    "Usage: corvane splash build WELCOME.jpg GOODBYE.jpg -o FILE.pdb\n"
    "       corvane splash extract FILE.pdb -o FOLDER\n"
    "       corvane splash info FILE.pdb\n"
    "Work on splash files: the two 320x320 JPEG pictures a Treo 650/700p shows\n"
    "when it is switched on (welcome) and off (goodbye).\n"
    "Run 'corvane splash SUBCOMMAND --help' for a subcommand's details.\n";

constexpr const char* kBuildHelp =
    "Usage: corvane splash build WELCOME.jpg GOODBYE.jpg -o FILE.pdb\n"
    "Write a splash file holding the two JPEG files byte for byte.\n"
    "Each JPEG must start with the JPEG start-of-image marker and its first\n"
    "frame (baseline, extended, progressive or lossless) must be 320x320.\n"
    "The database name inside the file is FILE's name up to its first dot,\n"
    "at most its last 31 characters. An existing FILE is replaced only once\n"
    "the new one is completely written.\n"
    "Options:\n"
    "  -o, --output FILE.pdb  the splash file to write (required)\n"
    "  -h, --help             show this text\n";

constexpr const char* kExtractHelp =
    "Usage: corvane splash extract FILE.pdb -o FOLDER\n"
    "Write the two images of a splash file, byte for byte, as\n"
    "FOLDER/NAME-welcome.jpg and FOLDER/NAME-goodbye.jpg, and print their paths.\n"
    "NAME is FILE's own name without its extension (Summer.pdb gives Summer),\n"
    "not the database name inside the file, which may be empty or hold\n"
    "characters a file name cannot. FOLDER is created when it does not exist.\n"
    "Either both images are written or neither is changed.\n"
    "Options:\n"
    "  -o, --output FOLDER  where to write the images (required)\n"
    "  -h, --help           show this text\n";

constexpr const char* kInfoHelp =
    "Usage: corvane splash info FILE.pdb\n"
    "Print a splash file's database name, its size, and for each image its\n"
    "offset, its size and whether it passes the JPEG check (start-of-image\n"
    "marker and a 320x320 frame). Exits 0 for any readable splash file, also\n"
    "when an image fails the check.\n"
    "Options:\n"
    "  -h, --help  show this text\n";

struct Arguments {
    std::vector<std::string> positional;
    std::optional<std::string> output;
    bool help = false;
};

// Splits the words after the subcommand; nothing when they are malformed.
std::optional<Arguments> ParseArguments(const std::vector<std::string>& words, bool takesOutput, std::string& error) {
    Arguments args;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "-h" || word == "--help") {
            args.help = true;
        } else if (takesOutput && (word == "-o" || word == "--output")) {
            if (i + 1 == words.size()) {
                error = "option " + word + " needs a value";
                return std::nullopt;
            }
            args.output = words[++i];
        } else if (word.size() > 1 && word[0] == '-') {
            error = "unknown option '" + word + "'";
            return std::nullopt;
        } else {
            args.positional.push_back(word);
        }
    }
    return args;
}

// A splash file, or a JPEG to go into one: neither can be larger than a splash file may be.
std::optional<std::vector<std::uint8_t>> ReadInput(const std::string& path, std::string& error) {
    FileRead read = ReadFileAtMost(path, kDatabaseFileLimit);
    if (!read.Ok()) {
        error = path + ": " + ReadProblemText(read.problem, kDatabaseFileLimit, "splash files and their images");
        return std::nullopt;
    }
    return std::move(read.bytes);
}

std::string JpegProblem(JpegCheck check) {
    return check == JpegCheck::NotJpeg ? "not a JPEG image (no start-of-image marker or no frame header)"
                                       : "does not have dimension 320x320";
}

std::string WriteProblem(const WriteResult& result) {
    return (result.outcome == WriteOutcome::CouldNotOpen ? "could not open the file for writing: "
                                                         : "error writing the file: ") +
           result.Reason();
}

int Build(const Arguments& args) {
    if (args.positional.size() != 2) return UsageError("splash build needs WELCOME.jpg and GOODBYE.jpg");
    if (!args.output) return UsageError("splash build needs -o FILE.pdb");
    std::vector<std::uint8_t> images[2];
    for (int i = 0; i < 2; ++i) {
        const std::string& path = args.positional[static_cast<std::size_t>(i)];
        std::string error;
        auto bytes = ReadInput(path, error);
        if (!bytes) return Fail(error);
        if (const JpegCheck check = CheckJpeg(*bytes); check != JpegCheck::Ok) return Fail(path + ": " + JpegProblem(check));
        images[i] = std::move(*bytes);
    }
    const std::string& output = *args.output;
    const auto file = BuildSplashFile(DatabaseNameFromPath(output), images[0], images[1], PalmNow());
    if (!file) return Fail(args.positional[0] + ": too large for a splash file");
    if (const WriteResult written = WriteFileWithReason(output, *file); !written.Ok()) {
        const bool started = written.outcome == WriteOutcome::WriteFailed;
        return Fail(output + ": " + WriteProblem(written) + (started ? " (any previous file is unchanged)" : ""));
    }
    return 0;
}

// The file's own name without its extension: "dir/Summer.pdb" gives "Summer".
std::string ExtractBaseName(const std::string& path) {
    std::string name = LastPathComponent(path);
    if (const auto dot = name.rfind('.'); dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

int Extract(const Arguments& args) {
    if (args.positional.size() != 1) return UsageError("splash extract needs one FILE.pdb");
    if (!args.output) return UsageError("splash extract needs -o FOLDER");
    const std::string& input = args.positional[0];
    std::string error;
    const auto bytes = ReadInput(input, error);
    if (!bytes) return Fail(error);
    const auto content = ParseSplashFile(*bytes);
    if (!content) return Fail(input + ": not a splash image file");

    namespace fs = std::filesystem;
    const std::string& folder = *args.output;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        if (fs::exists(folder, ec)) return Fail(folder + ": not a folder");
        fs::create_directories(folder, ec);
        if (ec) return Fail(folder + ": cannot create the folder: " + ec.message());
    }

    const std::string name = ExtractBaseName(input);
    const std::string targets[2] = {JoinPath(folder, name + "-welcome.jpg"), JoinPath(folder, name + "-goodbye.jpg")};
    const FileToWrite files[2] = {{targets[0], content->welcome}, {targets[1], content->goodbye}};
    if (const WriteResult written = WriteFilesAllOrNothing(files); !written.Ok()) {
        return Fail(written.path + ": " + WriteProblem(written) + " (neither image was changed)");
    }
    std::cout << targets[0] << "\n" << targets[1] << "\n";
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

int Info(const Arguments& args) {
    if (args.positional.size() != 1) return UsageError("splash info needs one FILE.pdb");
    const std::string& input = args.positional[0];
    std::string error;
    const auto bytes = ReadInput(input, error);
    if (!bytes) return Fail(error);
    const auto content = ParseSplashFile(*bytes);
    if (!content) return Fail(input + ": not a splash image file");

    std::ostringstream out;
    out << "file:    " << input << "\n"
        << "name:    " << PrintablePalmText(content->name) << "\n"
        << "size:    " << bytes->size() << " bytes\n"
        << "welcome: offset " << content->welcomeOffset << ", " << content->welcome.size() << " bytes, "
        << CheckText(content->welcome) << "\n"
        << "goodbye: offset " << content->goodbyeOffset << ", " << content->goodbye.size() << " bytes, "
        << CheckText(content->goodbye) << "\n";
    std::cout << out.str();
    return 0;
}

int RunSplash(const std::vector<std::string>& words) {
    if (words.empty()) {
        std::cerr << kHelp;
        return kExitUsage;
    }
    const std::string& sub = words[0];
    if (sub == "-h" || sub == "--help") {
        std::cout << kHelp;
        return 0;
    }
    struct Subcommand {
        const char* name;
        const char* help;
        bool takesOutput;
        int (*run)(const Arguments&);
    };
    static const Subcommand subcommands[] = {
        {"build", kBuildHelp, true, &Build},
        {"extract", kExtractHelp, true, &Extract},
        {"info", kInfoHelp, false, &Info},
    };
    for (const auto& s : subcommands) {
        if (sub != s.name) continue;
        std::string error;
        const auto args = ParseArguments(std::vector<std::string>(words.begin() + 1, words.end()), s.takesOutput, error);
        if (!args) return UsageError("splash " + sub + ": " + error);
        if (args->help) {
            std::cout << s.help;
            return 0;
        }
        return s.run(*args);
    }
    return UsageError("splash: unknown subcommand '" + sub + "'");
}

const RegisterCommand kRegistered{{"splash", "build, extract or describe a splash file (two 320x320 JPEGs)", &RunSplash}};

}  // namespace
}  // namespace corvane::cli
