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
#include "imaging/BmpFile.h"
#include "imaging/ImageFile.h"
#include "imaging/PalmBitmap.h"
#include "imaging/Reduce.h"
#include "io/FileAccess.h"

namespace corvane::cli {
namespace {

struct BitmapOptions {
    std::string input;
    std::string output;
    int depth = 0;
    std::optional<Colour> transparent;
};

int WriteOutput(const std::string& path, std::span<const std::uint8_t> bytes, const std::string& input) {
    const WriteResult written = WriteFileWithReason(path, bytes, std::span(&input, 1));
    switch (written.outcome) {
        case WriteOutcome::Ok: return 0;
        case WriteOutcome::CouldNotOpen: return Fail(Shown(path) + ": cannot create the file: " + written.Reason());
        case WriteOutcome::WriteFailed:
            return Fail(Shown(path) + ": writing the file failed; nothing was written: " + written.Reason());
    }
    return kExitFailure;
}

int Encode(const BitmapOptions& options) {
    ImageFileResult read = ReadImageFile(options.input);
    if (!read.image) {
        if (!FileExists(options.input)) return Fail(Shown(options.input) + ": no such file");
        return Fail(Shown(options.input) + ": " + ImageFileProblemText(read));
    }
    std::optional<Image>& picture = read.image;
    if (picture->Empty()) return Fail(Shown(options.input) + ": the picture has no pixels");
    // What the decoder would refuse to read back is not written either.
    if (!FitsPalmBitmap(picture->Width(), picture->Height(), options.depth) || picture->Width() > kMaxReadableSide ||
        picture->Height() > kMaxReadableSide)
        return Fail(Shown(options.input) + ": the picture is " + std::to_string(picture->Width()) + " x " +
                    std::to_string(picture->Height()) + " pixels, too large for a " +
                    std::to_string(options.depth) + "-bit Palm bitmap");

    Colour transparent = options.transparent.value_or(kPureGreen);
    ReduceImageToDepth(*picture, transparent, options.depth);
    PalmBitmap bitmap = EncodePalmBitmap(*picture, transparent, true, options.depth);
    if (bitmap.rejected) return Fail(Shown(options.input) + ": the picture cannot be encoded as a Palm bitmap");
    std::vector<std::uint8_t> bytes;
    bytes.reserve(bitmap.EncodedSize());
    bitmap.WriteTo(bytes);
    return WriteOutput(options.output, bytes, options.input);
}

int Decode(const BitmapOptions& options) {
    // A resource lives inside a skin file, so it can be no larger than one.
    const FileRead bytes = ReadFileAtMost(options.input, kDatabaseFileLimit);
    if (!bytes.Ok())
        return Fail(Shown(options.input) + ": " + ReadProblemText(bytes.problem, kDatabaseFileLimit, "bitmap resources", bytes.error));
    PalmBitmap bitmap;
    Image picture;
    Colour transparent;
    ToImageResult result = ToImageResult::Rejected;
    if (bitmap.ReadFrom(bytes.bytes)) result = bitmap.ToImage(picture, transparent);
    if (result == ToImageResult::Rejected)
        return Fail(Shown(options.input) + ": not a Palm bitmap resource of 1, 8 or 16 bits that can be read");
    if (picture.Empty()) return Fail(Shown(options.input) + ": the bitmap has no pixels, so there is no picture to write");
    const auto bmp = EncodeBmp(picture);
    if (bmp.empty()) return Fail(Shown(options.input) + ": the picture is too large for a .bmp file");
    if (const int status = WriteOutput(options.output, bmp, options.input); status != 0) return status;
    std::cout << "transparent colour: " << FormatColour(transparent)
              << (result == ToImageResult::Transparent ? "" : " (not used: the bitmap has no transparency)") << "\n";
    return 0;
}

void DefineBitmap(CLI::App& bitmap, Action& action) {
    auto encoding = std::make_shared<BitmapOptions>();
    CLI::App* encode = bitmap.add_subcommand(
        "encode",
        "Reduce the picture (BMP, PNG...) to the depth as the editor does and write the resource's bytes\n"
        "(a blank placeholder and the version-3 bitmap).");
    encode->add_option("IN", encoding->input, "the picture file")->type_name("")->required();
    AddDepthOption(*encode, encoding->depth);
    AddColourOption(*encode, "--transparent", encoding->transparent, "the transparent colour; 00FF00 when not given");
    AddOutputOption(*encode, encoding->output, "the resource file to write; it appears whole or not at all");
    RunsWith(*encode, action, encoding, &Encode);

    auto decoding = std::make_shared<BitmapOptions>();
    CLI::App* decode = bitmap.add_subcommand(
        "decode", "Write the resource's picture as a 32-bit .bmp file and print its transparent colour.");
    decode->add_option("IN", decoding->input, "the bitmap resource file")->type_name("")->required();
    AddOutputOption(*decode, decoding->output, "the .bmp file to write; it appears whole or not at all");
    RunsWith(*decode, action, decoding, &Decode);
}

const RegisterCommand kRegistered{{"bitmap", "encode and decode one Palm bitmap resource", &DefineBitmap}};

}  // namespace
}  // namespace corvane::cli
