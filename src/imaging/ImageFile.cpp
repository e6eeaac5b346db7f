#include "imaging/ImageFile.h"

#include <utility>

#include "io/FileAccess.h"

namespace corvane {
namespace {

const PictureReader*& InstalledReader() {
    static const PictureReader* reader = nullptr;
    return reader;
}

}  // namespace

const PictureReader* SetPictureReader(const PictureReader* reader) {
    return std::exchange(InstalledReader(), reader);
}

ImageFileResult ReadImageFile(const std::string& path, int maxWidth, int maxHeight) {
    if (const PictureReader* reader = InstalledReader()) return reader->Read(path, maxWidth, maxHeight);
    ImageFileResult refused;
    refused.problem = ImageFileProblem::NotAPicture;
    return refused;
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
        case ImageFileProblem::NotAPicture: return "not a picture file that can be read (BMP or PNG expected)";
    }
    return "cannot read the picture";
}

std::optional<Image> DecodeImageFile(const std::string& path) { return ReadImageFile(path).image; }

}  // namespace corvane
