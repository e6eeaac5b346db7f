// corvane bitmap: one Palm bitmap resource to and from a picture file.
//
// encode reduces the picture to the depth exactly as an image slot of the
// editor does (pixels and transparent colour), then encodes what the slot
// would hold, so the bytes are those the editor saves for that picture.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/ColourText.h"
#include "cli/Command.h"
#include "exchange/BmpFile.h"
#include "imaging/ImageFile.h"
#include "imaging/PalmBitmap.h"
#include "imaging/Reduce.h"
#include "pdb/FileAccess.h"

namespace corvane::cli {
namespace {

constexpr const char* kBitmapHelp =
    "Usage: corvane bitmap encode IN --depth 8|16 [--transparent RRGGBB] -o OUT\n"
    "       corvane bitmap decode IN -o OUT.bmp\n"
    "One Palm bitmap resource, as a skin file holds it, to and from a picture file.\n\n"
    "  encode   reduce the picture (BMP, PNG...) to the depth as the editor does and\n"
    "           write the resource's bytes (a blank placeholder and the version-3\n"
    "           bitmap); the transparent colour defaults to 00FF00\n"
    "  decode   write the resource's picture as a 32-bit .bmp file and print its\n"
    "           transparent colour\n\n"
    "Options:\n"
    "  --depth 8|16          bits per pixel of the encoded bitmap\n"
    "  --transparent RRGGBB  transparent colour in hexadecimal\n"
    "  -o, --output FILE     the file to write; it appears whole or not at all\n"
    "  -h, --help            show this text\n";

struct BitmapOptions {
    std::string action;  // "encode" or "decode"
    std::string input;
    std::string output;
    std::optional<int> depth;
    std::optional<Colour> transparent;
    bool help = false;
};

// Fills the options, or returns the message of a usage error.
std::optional<std::string> ParseBitmapArguments(const std::vector<std::string>& args, BitmapOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> inlineValue;
        if (arg.rfind("--", 0) == 0) {
            if (const auto eq = arg.find('='); eq != std::string::npos) {
                inlineValue = arg.substr(eq + 1);
                arg.erase(eq);
            }
        }
        const auto value = [&]() -> std::optional<std::string> {
            if (inlineValue) return inlineValue;
            if (i + 1 < args.size()) return args[++i];
            return std::nullopt;
        };

        if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "-o" || arg == "--output") {
            const auto v = value();
            if (!v || v->empty()) return "option " + arg + " needs a file name";
            options.output = *v;
        } else if (arg == "--depth") {
            const auto v = value();
            if (v == "8" || v == "16")
                options.depth = std::stoi(*v);
            else
                return "--depth must be 8 or 16";
        } else if (arg == "--transparent") {
            const auto v = value();
            // "#RRGGBB", as colour pickers copy it, is taken too.
            options.transparent =
                v ? ParseColour(std::string_view(*v).substr(!v->empty() && v->front() == '#' ? 1 : 0)) : std::nullopt;
            if (!options.transparent) return "--transparent must be a colour RRGGBB in hexadecimal, such as 00FF00";
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unknown option '" + arg + "'";
        } else if (options.action.empty()) {
            options.action = arg;
        } else if (options.input.empty()) {
            options.input = arg;
        } else {
            return "unexpected argument '" + arg + "'";
        }
    }
    return std::nullopt;
}

int WriteOutput(const std::string& path, std::span<const std::uint8_t> bytes) {
    const WriteResult written = WriteFileWithReason(path, bytes);
    switch (written.outcome) {
        case WriteOutcome::Ok: return 0;
        case WriteOutcome::CouldNotOpen: return Fail(path + ": cannot create the file: " + written.Reason());
        case WriteOutcome::WriteFailed:
            return Fail(path + ": writing the file failed; nothing was written: " + written.Reason());
    }
    return kExitFailure;
}

int Encode(const BitmapOptions& options) {
    if (!options.depth) return UsageError("bitmap encode: --depth 8 or --depth 16 is required");
    ImageFileResult read = ReadImageFile(options.input);
    if (!read.image) {
        if (!FileExists(options.input)) return Fail(options.input + ": no such file");
        return Fail(options.input + ": " + ImageFileProblemText(read));
    }
    std::optional<Image>& picture = read.image;
    if (picture->Empty()) return Fail(options.input + ": the picture has no pixels");
    // What the decoder would refuse to read back is not written either.
    if (!FitsPalmBitmap(picture->Width(), picture->Height(), *options.depth) || picture->Width() > kMaxReadableSide ||
        picture->Height() > kMaxReadableSide)
        return Fail(options.input + ": the picture is " + std::to_string(picture->Width()) + " x " +
                    std::to_string(picture->Height()) + " pixels, too large for a " +
                    std::to_string(*options.depth) + "-bit Palm bitmap");

    Colour transparent = options.transparent.value_or(kPureGreen);
    ReduceImageToDepth(*picture, transparent, *options.depth);
    PalmBitmap bitmap = EncodePalmBitmap(*picture, transparent, true, *options.depth);
    if (bitmap.rejected) return Fail(options.input + ": the picture cannot be encoded as a Palm bitmap");
    std::vector<std::uint8_t> bytes;
    bytes.reserve(bitmap.EncodedSize());
    bitmap.WriteTo(bytes);
    return WriteOutput(options.output, bytes);
}

int Decode(const BitmapOptions& options) {
    if (options.depth || options.transparent)
        return UsageError("bitmap decode: --depth and --transparent belong to encode");
    // A resource lives inside a skin file, so it can be no larger than one.
    const FileRead bytes = ReadFileAtMost(options.input, kDatabaseFileLimit);
    if (!bytes.Ok())
        return Fail(options.input + ": " + ReadProblemText(bytes.problem, kDatabaseFileLimit, "bitmap resources"));
    PalmBitmap bitmap;
    Image picture;
    Colour transparent;
    ToImageResult result = ToImageResult::Rejected;
    if (bitmap.ReadFrom(bytes.bytes)) result = bitmap.ToImage(picture, transparent);
    if (result == ToImageResult::Rejected)
        return Fail(options.input + ": not a Palm bitmap resource of 1, 8 or 16 bits that can be read");
    if (picture.Empty()) return Fail(options.input + ": the bitmap has no pixels, so there is no picture to write");
    const auto bmp = EncodeBmp(picture);
    if (bmp.empty()) return Fail(options.input + ": the picture is too large for a .bmp file");
    if (const int status = WriteOutput(options.output, bmp); status != 0) return status;
    std::cout << "transparent colour: " << FormatColour(transparent)
              << (result == ToImageResult::Transparent ? "" : " (not used: the bitmap has no transparency)") << "\n";
    return 0;
}

int RunBitmap(const std::vector<std::string>& args) {
    BitmapOptions options;
    if (const auto error = ParseBitmapArguments(args, options)) return UsageError("bitmap: " + *error);
    if (options.help) {
        std::cout << kBitmapHelp;
        return 0;
    }
    if (options.action.empty()) return UsageError("bitmap: the action is missing (encode or decode)");
    if (options.action != "encode" && options.action != "decode")
        return UsageError("bitmap: unknown action '" + options.action + "' (encode or decode)");
    if (options.input.empty()) return UsageError("bitmap " + options.action + ": the input file is missing");
    if (options.output.empty()) return UsageError("bitmap " + options.action + ": -o OUT is required");
    return options.action == "encode" ? Encode(options) : Decode(options);
}

const RegisterCommand kRegistered{{"bitmap", "encode and decode one Palm bitmap resource", RunBitmap}};

}  // namespace
}  // namespace corvane::cli
