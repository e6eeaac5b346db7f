// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/ImageFile.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

#include "imaging/Bmp.h"
#include "imaging/Jpeg.h"
#include "imaging/Png.h"
#include "imaging/Pnm.h"
#include "io/FileAccess.h"

namespace corvane {
namespace {

// A format the core decodes: one row of the table below.
struct PictureFormat {
    const char* name;                                    // as messages name it
    std::string_view extensions;                         // of its files, as pickers offer them, by spaces
    bool (*matches)(std::span<const std::uint8_t>);      // the signature
    PictureHeader (*check)(std::span<const std::uint8_t>);  // nullptr: the decoder alone judges the file
    ImageFileResult (*decode)(std::span<const std::uint8_t>, int maxWidth, int maxHeight);
};

constexpr PictureFormat kFormats[] = {
    {"BMP", ".bmp", IsBmp, CheckBmp, DecodeBmp},
    {"PNG", ".png", IsPng, CheckPng, DecodePng},
    {"JPEG", ".jpg .jpeg", IsJpeg, nullptr, DecodeJpeg},
    {"PNM", ".pbm .pgm .ppm .pnm .pam", IsPnm, nullptr, DecodePnm},
};

const PictureFormat* FormatOf(std::span<const std::uint8_t> bytes) {
    for (const PictureFormat& format : kFormats)
        if (format.matches(bytes)) return &format;
    return nullptr;
}

// "BMP, PNG, JPEG or PNM".
std::string FormatNames() {
    std::string names;
    const std::size_t count = std::size(kFormats);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) names += i + 1 == count ? " or " : ", ";
        names += kFormats[i].name;
    }
    return names;
}

}  // namespace

std::vector<std::string_view> CorePictureExtensions() {
    std::vector<std::string_view> extensions;
    for (const PictureFormat& format : kFormats)
        for (std::string_view rest = format.extensions; !rest.empty();) {
            const std::size_t space = std::min(rest.find(' '), rest.size());
            extensions.push_back(rest.substr(0, space));
            rest.remove_prefix(std::min(space + 1, rest.size()));
        }
    return extensions;
}

namespace {

const PictureReader*& InstalledReader() {
    static const PictureReader* reader = nullptr;
    return reader;
}

// The refusal of a file that could not be read whole.
ImageFileResult RefusalOf(ReadProblem problem, std::error_code error) {
    switch (problem) {
        case ReadProblem::None: break;
        case ReadProblem::NotRegularFile: return RefusedPicture(ImageFileProblem::NotRegularFile);
        case ReadProblem::TooLarge: return RefusedPicture(ImageFileProblem::FileTooLarge);
        case ReadProblem::CouldNotOpen:
        case ReadProblem::ReadFailed: break;
    }
    ImageFileResult refused = RefusedPicture(ImageFileProblem::CouldNotOpen);
    refused.error = error;
    return refused;
}

}  // namespace

const PictureReader* SetPictureReader(const PictureReader* reader) {
    return std::exchange(InstalledReader(), reader);
}

bool FitsDecodeMemory(std::uint64_t bytes) { return bytes <= kDecodeMemoryLimit; }

std::uint64_t KeptPictureBytes(int width, int height) {
    return std::uint64_t{sizeof(Colour)} * static_cast<std::uint64_t>(std::max(width, 0)) *
           static_cast<std::uint64_t>(std::max(height, 0));
}

int KeptSide(std::uint64_t size, int max) {
    return static_cast<int>(std::min<std::uint64_t>(size, static_cast<std::uint64_t>(std::max(max, 0))));
}

ImageFileResult DecodedPicture(Image image, std::uint64_t width, std::uint64_t height) {
    ImageFileResult decoded;
    decoded.image = std::move(image);
    decoded.width = width;
    decoded.height = height;
    return decoded;
}

ImageFileResult RefusedPicture(ImageFileProblem problem, std::uint64_t width, std::uint64_t height) {
    ImageFileResult refused;
    refused.problem = problem;
    refused.width = width;
    refused.height = height;
    return refused;
}

std::optional<ImageFileResult> RefusalOf(const PictureHeader& header) {
    switch (header.check) {
        case PictureCheck::TooManyPixels:
            return RefusedPicture(ImageFileProblem::TooManyPixels, header.width, header.height);
        case PictureCheck::CutShort: return RefusedPicture(ImageFileProblem::CutShort);
        case PictureCheck::Whole:
        case PictureCheck::NotChecked: break;
    }
    return std::nullopt;
}

bool IsCorePictureFormat(std::span<const std::uint8_t> bytes) { return FormatOf(bytes) != nullptr; }

PictureHeader CheckPictureFile(std::span<const std::uint8_t> bytes) {
    const PictureFormat* format = FormatOf(bytes);
    return format && format->check ? format->check(bytes) : PictureHeader{};
}

ImageFileResult DecodeImageBytes(std::span<const std::uint8_t> bytes, int maxWidth, int maxHeight) {
    if (const PictureFormat* format = FormatOf(bytes)) return format->decode(bytes, maxWidth, maxHeight);
    return RefusedPicture(ImageFileProblem::NotAPicture);
}

ImageFileResult ReadImageFile(const std::string& path, int maxWidth, int maxHeight) {
    OpenedStream opened = OpenFileStreamAtMost(path, kPictureFileLimit);
    if (!opened.stream) return RefusalOf(opened.problem, opened.error);
    return ReadImageStream(*opened.stream, opened.size, maxWidth, maxHeight, path);
}

ImageFileResult ReadImageStream(ByteStream& stream, std::uint64_t sizeHint, int maxWidth, int maxHeight,
                                const std::string& fallbackPath) {
    std::vector<std::uint8_t> bytes(kPnmSignatureSize);
    bytes.resize(stream.Read(bytes));
    // Netpbm is decoded as it is read: its raster may be followed by any padding.
    if (bytes.size() == kPnmSignatureSize && IsPnm(bytes)) return DecodePnmStream(bytes, stream, maxWidth, maxHeight);
    bytes.reserve(static_cast<std::size_t>(sizeHint));
    stream.ReadRest(bytes);
    if (stream.Problem() != ReadProblem::None) return RefusalOf(stream.Problem(), stream.Error());
    if (IsCorePictureFormat(bytes)) return DecodeImageBytes(bytes, maxWidth, maxHeight);
    // The fallback reads the file itself: the bytes are given back first.
    bytes = std::vector<std::uint8_t>();
    const PictureReader* reader = InstalledReader();
    if (reader && !fallbackPath.empty()) return reader->Read(fallbackPath, maxWidth, maxHeight);
    return RefusedPicture(ImageFileProblem::NotAPicture);
}

std::string ImageFileProblemText(const ImageFileResult& result) {
    switch (result.problem) {
        case ImageFileProblem::None: return "read";
        case ImageFileProblem::CouldNotOpen: return ReadProblemText(ReadProblem::CouldNotOpen, 0, "", result.error);
        case ImageFileProblem::NotRegularFile: return ReadProblemText(ReadProblem::NotRegularFile, 0, "");
        case ImageFileProblem::FileTooLarge:
            return ReadProblemText(ReadProblem::TooLarge, kPictureFileLimit, "picture files");
        case ImageFileProblem::TooManyPixels:
            return "the picture is " + std::to_string(result.width) + " x " + std::to_string(result.height) +
                   " pixels, more than the " + std::to_string(kMaxPicturePixels >> 20) +
                   " megapixels a picture may have";
        case ImageFileProblem::CutShort: return "the picture file is cut short: its pixel data are incomplete";
        case ImageFileProblem::BadChecksum: return "the picture file is damaged: a PNG chunk fails its checksum";
        case ImageFileProblem::NotAPicture:
            return "not a picture file that can be read (" + FormatNames() + " expected)";
        case ImageFileProblem::Damaged: return "the picture file is damaged: its pixel data cannot be decoded";
        case ImageFileProblem::TooLargeToDecode:
            return "the picture file is too large to decode within " + std::to_string(kMemoryBudget >> 20) + " MB";
    }
    return "cannot read the picture";
}


}  // namespace corvane
