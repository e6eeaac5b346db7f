// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// corvane bitmap: one Palm bitmap resource to and from a picture file.
//
// encode reduces the picture to the depth exactly as an image slot of the
// editor does (pixels and transparent colour), then encodes what the slot
// would hold, so the bytes are those the editor saves for that picture.
//
// "-" as the input reads standard input, "-o -" writes standard output, so
// both commands sit in a pipeline; decode then says the transparent colour
// on standard error, where it cannot mix with the picture.
#include <algorithm>
#include <cctype>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/ColourText.h"
#include "cli/Command.h"
#include "imaging/Bmp.h"
#include "imaging/ImageFile.h"
#include "imaging/Palm.h"
#include "imaging/Png.h"
#include "imaging/Pnm.h"
#include "imaging/Reduce.h"
#include "io/ByteStream.h"
#include "io/FileAccess.h"

namespace corvane::cli {
namespace {

struct BitmapOptions {
    std::vector<std::string> files;  // the subcommand's IN argument
    std::string output;
    Depth depth = Depth::Sixteen;
    Dither dither = Dither::None;
    std::optional<Colour> transparent;
    std::string format;  // decode: bmp, png, ppm or pam; empty to follow the output's extension
};

int WriteOutput(const std::string& path, std::span<const std::uint8_t> bytes, const std::string& input) {
    if (path == kStandardStream) return WriteStandardOutput(bytes);
    const WriteResult written = WriteFileWithReason(path, bytes, std::span(&input, 1));
    switch (written.outcome) {
        case WriteOutcome::Ok: return 0;
        case WriteOutcome::CouldNotOpen: return ExitWithError(CannotWrite(written));
        case WriteOutcome::WriteFailed: return ExitWithError(CannotWrite(written) + "; nothing was written");
    }
    return kExitFailure;
}

// A file is read twice: first only as far as its size, so that one too
// large for a bitmap is refused before its pixels are decoded, then as much
// of it as a bitmap can hold. Standard input can be read once only: its
// picture is decoded as far as a bitmap can hold at once, which the decoders
// bound. The size is the whole picture's either way.
ImageFileResult ReadPicture(const std::string& input) {
    if (input == kStandardStream) {
        ByteStream stream = StandardInputStreamAtMost(kPictureFileLimit);
        return ReadImageStream(stream, 0, kMaxReadableSide, kMaxReadableSide);
    }
    ImageFileResult size = ReadImageFile(input, 0, 0);
    if (!size.image || size.width > kMaxReadableSide || size.height > kMaxReadableSide) return size;
    return ReadImageFile(input, kMaxReadableSide, kMaxReadableSide);
}

int Encode(const BitmapOptions& options) {
    const std::string& input = options.files[0];
    const std::string name = input == kStandardStream ? "standard input" : Shown(input);
    ImageFileResult read = ReadPicture(input);
    if (!read.image) {
        if (input != kStandardStream && !FileExists(input)) return ExitWithError(name + ": no such file");
        return ExitWithError(name + ": " + ImageFileProblemText(read));
    }
    std::optional<Image>& picture = read.image;
    const std::uint64_t width = std::max<std::uint64_t>(read.width, static_cast<std::uint64_t>(picture->Width()));
    const std::uint64_t height = std::max<std::uint64_t>(read.height, static_cast<std::uint64_t>(picture->Height()));
    // What the decoder would refuse to read back is not written either.
    if (width > kMaxReadableSide || height > kMaxReadableSide ||
        !FitsPalmBitmap(static_cast<int>(width), static_cast<int>(height), Bits(options.depth)))
        return ExitWithError(name + ": the picture is " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels, too large for a " + std::to_string(Bits(options.depth)) + "-bit Palm bitmap");
    if (picture->Empty()) return ExitWithError(name + ": the picture has no pixels");

    Colour transparent = options.transparent.value_or(kPureGreen);
    ReduceImageToDepth(*picture, transparent, options.depth, options.dither);
    const Result<EncodedPalmBitmap> bitmap = EncodePalmBitmap(*picture, transparent, true, Bits(options.depth));
    if (!bitmap) return ExitWithError(name + ": the picture cannot be encoded as a Palm bitmap");
    return WriteOutput(options.output, bitmap->bytes, input);
}

// The picture format of `--format`, else of the output's extension; BMP when neither says.
std::string OutputFormat(const BitmapOptions& options) {
    if (!options.format.empty()) return options.format;
    const auto dot = options.output.rfind('.');
    if (dot == std::string::npos || options.output.find('/', dot) != std::string::npos) return "bmp";
    std::string extension = options.output.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "pnm") return "ppm";
    return extension == "png" || extension == "ppm" || extension == "pam" ? extension : "bmp";
}

std::vector<std::uint8_t> EncodePicture(const Image& picture, const std::string& format) {
    if (format == "png") return EncodePng(picture);
    if (format == "ppm") return EncodePnm(picture, PnmKind::Ppm);
    if (format == "pam") return EncodePnm(picture, PnmKind::Pam);
    return EncodeBmp(picture);
}

int Decode(const BitmapOptions& options) {
    const std::string& input = options.files[0];
    // A resource lives inside a skin file, so it can be no larger than one.
    const FileRead bytes = input == kStandardStream ? ReadStandardInputAtMost(kDatabaseFileLimit)
                                                     : ReadFileAtMost(input, kDatabaseFileLimit);
    if (!bytes.Ok())
        return ExitWithError(CannotRead(input, ReadProblemText(bytes.problem, kDatabaseFileLimit, "bitmap resources", bytes.error)));
    const Result<PalmPicture> decoded = DecodePalmBitmap(bytes.bytes);
    if (!decoded) return ExitWithError(Shown(input) + ": not a Palm bitmap resource of 1, 8 or 16 bits that can be read");
    const Image& picture = decoded->image;
    if (picture.Empty()) return ExitWithError(Shown(input) + ": the bitmap has no pixels, so there is no picture to write");
    const std::string format = OutputFormat(options);
    const auto encoded = EncodePicture(picture, format);
    if (encoded.empty()) return ExitWithError(Shown(input) + ": the picture is too large for a ." + format + " file");
    if (const int status = WriteOutput(options.output, encoded, input); status != 0) return status;
    (options.output == kStandardStream ? std::cerr : std::cout) << "transparent colour: " << FormatColour(decoded->transparent)
              << (decoded->hasTransparency ? "" : " (not used: the bitmap has no transparency)") << "\n";
    return 0;
}

void DefineBitmap(CLI::App& bitmap, Action& action) {
    // -o comes last in encode's help, after the colour: it is added once the colour is.
    auto encoding = std::make_shared<BitmapOptions>();
    CLI::App* encode = AddSubcommand(
        bitmap, action,
        {.name = "encode",
         .description = "Reduce the picture (BMP, PNG...) to the depth as the editor does and write the resource's "
                        "bytes\n(a blank placeholder and the version-3 bitmap).",
         .arguments = {{"IN", "the picture file (BMP, PNG, JPEG, PBM/PGM/PPM/PAM); - for standard input"}},
         .depth = true},
        &Encode, encoding);
    AddColourOption(*encode, "--transparent", encoding->transparent, "the transparent colour; 00FF00 when not given");
    AddDitherOption(*encode, encoding->dither);
    AddOutputOption(*encode, encoding->output,
                    "the resource file to write; it appears whole or not at all; - for standard output");

    auto decoding = std::make_shared<BitmapOptions>();
    CLI::App* decode = AddSubcommand(
        bitmap, action,
        {.name = "decode",
         .description =
             "Write the resource's picture as a 32-bit .bmp file (or PNG, PPM, PAM) and print its transparent colour.",
         .arguments = {{"IN", "the bitmap resource file; - for standard input"}},
         .output = "the picture file to write, its format from its extension (.bmp, .png, .ppm, .pam); it appears\n"
                   "whole or not at all; - for standard output"},
        &Decode, decoding);
    decode->add_option("--format", decoding->format, "the picture format, whatever the output's name")
        ->type_name("bmp|png|ppm|pam")
        ->check(CLI::IsMember({"bmp", "png", "ppm", "pam"}).description(""));
}

const RegisterCommand kRegistered{{"bitmap", "encode and decode one Palm bitmap resource", &DefineBitmap}};

}  // namespace
}  // namespace corvane::cli
