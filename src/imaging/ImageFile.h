// Reading a picture file (BMP in all its common variants, PNG) is the one
// thing the core cannot do with the standard library alone. The core owns the
// interface; each program hands in the toolkit's reader (src/platform) when it
// starts, and tests may hand in a fake. The core never sees the toolkit.
//
// Every read is bounded before any picture is decoded: the file must be a
// regular file of at most kPictureFileLimit bytes (FileAccess.h), the picture
// at most kMaxPicturePixels, and a BMP or PNG must hold all its data.
#pragma once

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

#include "imaging/Image.h"

namespace corvane {

// 64 megapixels (an 8192 x 8192 picture): the toolkit's decoded copy of 4
// bytes a pixel and ours of 3 then stay within half a gigabyte together.
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{64} << 20;

enum class ImageFileProblem {
    None,
    CouldNotOpen,
    NotRegularFile,
    FileTooLarge,   // over kPictureFileLimit
    TooManyPixels,  // over kMaxPicturePixels
    CutShort,       // a BMP or PNG whose data end early
    BadChecksum,    // a PNG chunk with a wrong CRC
    NotAPicture,    // no format the program reads, or damaged beyond what the checks see
};

struct ImageFileResult {
    std::optional<Image> image;  // the picture at its own size, when problem is None
    ImageFileProblem problem = ImageFileProblem::None;
    std::uint64_t width = 0;  // the size the header announced, for TooManyPixels
    std::uint64_t height = 0;
    std::error_code error;  // the system's reason for CouldNotOpen
};

// Reads a picture file: the picture, or its top-left part of at most
// maxWidth x maxHeight (all an image slot keeps of it), the file checked
// whole either way.
class PictureReader {
public:
    virtual ~PictureReader() = default;
    virtual ImageFileResult Read(const std::string& path, int maxWidth, int maxHeight) const = 0;
};

// The reader every picture load goes through from now on; it must outlive
// its use. Without one, every file reads as NotAPicture. Gives the reader
// installed before.
const PictureReader* SetPictureReader(const PictureReader* reader);

// The installed reader's Read.
ImageFileResult ReadImageFile(const std::string& path, int maxWidth = INT_MAX, int maxHeight = INT_MAX);

// One line for the problem, without the file's name, such as
// "the picture is 9000 x 9000 pixels, more than the 64 megapixels a picture may have".
std::string ImageFileProblemText(const ImageFileResult& result);

// ReadImageFile's picture, for callers that need no reason.
std::optional<Image> DecodeImageFile(const std::string& path);

}  // namespace corvane
