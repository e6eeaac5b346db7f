// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Reading a picture file. The core decodes BMP, PNG, JPEG and the netpbm
// formats (PBM, PGM, PPM, PAM) itself, from the file's bytes, so every
// program gives the same pixels for them and the command-line tool needs no
// toolkit. Each format is one file pair (Bmp, Png, Jpeg, Pnm) holding its
// signature, header, limits, decoder and encoder; the table in ImageFile.cpp
// maps signatures to them, so a new format is two files and one row. Any
// other format goes to the fallback reader a program may hand in at start-up
// (the editor hands in the toolkit's, src/platform); tests may hand in a
// fake. The core never sees the toolkit.
//
// Every read is bounded before any picture is decoded: the file must be a
// regular file of at most kPictureFileLimit bytes (FileAccess.h), the picture
// at most kMaxPicturePixels, its decode within kDecodeMemoryLimit as judged
// from its headers, and a file must hold all its data. Netpbm files are
// decoded as they are read; the other formats from the whole file in memory. A file name
// is bytes, never converted through a text encoding. Only the part of the
// picture the caller keeps is converted: rows below it are not decoded where
// the format allows stopping, pixels right of it are never held.
#pragma once

#include <climits>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "imaging/Image.h"
#include "io/ByteStream.h"
#include "io/FileAccess.h"

namespace corvane {

// 64 megapixels (an 8192 x 8192 picture): the toolkit's decoded copy of 4
// bytes a pixel and ours of 3 then stay within half a gigabyte together.
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{64} << 20;

// What one decode may hold at once: the file's bytes where they are kept in
// memory, the library's working memory (rows, coefficient buffers) and the
// kept picture. The rest of the budget is the command's own: the picture it
// makes from the decoded one, the file it writes.
inline constexpr std::uint64_t kDecodeMemoryLimit = kMemoryBudget - (std::uint64_t{48} << 20);

// Whether a decode that holds `bytes` at its peak stays within kDecodeMemoryLimit.
bool FitsDecodeMemory(std::uint64_t bytes);

// The bytes of a kept picture of width x height (KeptSide's sides).
std::uint64_t KeptPictureBytes(int width, int height);

enum class ImageFileProblem {
    None,
    CouldNotOpen,
    NotRegularFile,
    FileTooLarge,   // over kPictureFileLimit
    TooManyPixels,  // over kMaxPicturePixels
    CutShort,       // a file whose data end early
    BadChecksum,    // a PNG chunk with a wrong CRC
    NotAPicture,    // no format the program reads, or damaged beyond what the checks see
    Damaged,        // a format the core reads whose data do not decode (a corrupt JPEG)
    TooLargeToDecode,  // its decode, judged from the headers, would pass kDecodeMemoryLimit
};

// What a picture file's headers promise before its pixels are decoded.
enum class PictureCheck {
    Whole,          // every byte the headers announce is there
    NotChecked,     // a format, or a kind of it, whose headers do not say
    TooManyPixels,  // more than kMaxPicturePixels, judged from the header alone
    CutShort,       // the data end before the header's picture does
};

struct PictureHeader {
    PictureCheck check = PictureCheck::NotChecked;
    std::uint64_t width = 0;  // as the header says, where it was read
    std::uint64_t height = 0;
};

struct ImageFileResult {
    std::optional<Image> image;  // the picture at its own size, when problem is None
    ImageFileProblem problem = ImageFileProblem::None;
    // The size the header announced: for TooManyPixels, and for a picture the
    // core decoded, whose image may be only the part asked for.
    std::uint64_t width = 0;
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

// The reader for formats the core does not decode from now on; it must
// outlive its use. Without one, such files read as NotAPicture. Gives the
// reader installed before.
const PictureReader* SetPictureReader(const PictureReader* reader);

// The picture of a file: decoded by the core when it is a format the core
// reads, else by the installed reader. Asked for no pixels (a maximum of 0),
// the core reads the headers and gives the size with an empty picture.
ImageFileResult ReadImageFile(const std::string& path, int maxWidth = INT_MAX, int maxHeight = INT_MAX);

// The picture in a stream (standard input, say), by the core alone unless a
// fallback path is given: netpbm decoded as it is read, the other formats
// from the whole of it. `sizeHint` is the size expected, 0 when unknown.
ImageFileResult ReadImageStream(ByteStream& stream, std::uint64_t sizeHint, int maxWidth = INT_MAX,
                                int maxHeight = INT_MAX, const std::string& fallbackPath = "");

// The picture in a file's bytes, by the core alone.
ImageFileResult DecodeImageBytes(std::span<const std::uint8_t> bytes, int maxWidth = INT_MAX, int maxHeight = INT_MAX);

// Whether the bytes start like a format the core decodes.
bool IsCorePictureFormat(std::span<const std::uint8_t> bytes);

// The file name extensions of the formats the core decodes, with their dot:
// what a picker offers where only the core reads pictures (the browser edition).
std::vector<std::string_view> CorePictureExtensions();

// The check of the format the bytes start like, for a reader that decodes
// them elsewhere (the toolkit's); NotChecked for a format without one.
PictureHeader CheckPictureFile(std::span<const std::uint8_t> bytes);

// How much of a picture's side a decoder keeps when the caller uses at most
// `max` of it (a negative `max` keeps nothing).
int KeptSide(std::uint64_t size, int max);

// A decoded picture whose whole file is width x height, for the decoders.
ImageFileResult DecodedPicture(Image image, std::uint64_t width, std::uint64_t height);

// A refusal, for the decoders.
ImageFileResult RefusedPicture(ImageFileProblem problem, std::uint64_t width = 0, std::uint64_t height = 0);

// The refusal a picture file's header check stands for: too many pixels or
// cut short. Nothing when the check found the file whole or could not judge it.
std::optional<ImageFileResult> RefusalOf(const PictureHeader& header);

// One line for the problem, without the file's name, such as
// "the picture is 9000 x 9000 pixels, more than the 64 megapixels a picture may have".
std::string ImageFileProblemText(const ImageFileResult& result);


}  // namespace corvane
