// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/Jpeg.h"

#include <turbojpeg.h>

// libjpeg's interface, of the same library, for the decodes that stop early.
#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <memory>
#include <optional>
#include <vector>

#include "io/ByteOrder.h"

namespace corvane {
namespace {

struct DestroyHandle {
    void operator()(void* handle) const { tjDestroy(handle); }
};

bool EndsWithEoi(std::span<const std::uint8_t> file) {
    return file.size() >= 2 && file[file.size() - 2] == 0xFF && file[file.size() - 1] == 0xD9;
}

using Handle = std::unique_ptr<void, DestroyHandle>;

// What the frame header (SOFn) says that the library's memory depends on.
struct Frame {
    bool progressive = false;
    int components = 0;
    std::array<int, 4> horizontal{};  // sampling factors, 1 to 4
    std::array<int, 4> vertical{};
};

bool IsFrameMarker(std::uint8_t marker) {
    // SOF0 to SOF15 but DHT (C4), JPG (C8) and DAC (CC), which share the range.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// The frame header, found by walking the segments before it; nothing when
// the file ends, or its entropy-coded data start, before one.
std::optional<Frame> ReadFrame(std::span<const std::uint8_t> file) {
    BigEndianReader in(file);
    in.Skip(2);  // SOI
    while (in.Ok()) {
        if (in.U8() != 0xFF) return std::nullopt;
        const std::uint8_t marker = in.U8();
        if (marker == 0xFF) {  // fill bytes before a marker
            in.Seek(in.Position() - 1);
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // markers without a length
        const std::uint16_t length = in.U16();
        if (!in.Ok() || length < 2 || marker == 0xDA) return std::nullopt;
        if (!IsFrameMarker(marker)) {
            in.Skip(length - 2u);
            continue;
        }
        Frame frame;
        frame.progressive = marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
        in.Skip(5);  // precision, height, width
        frame.components = in.U8();
        if (frame.components < 1 || frame.components > 4) return std::nullopt;
        for (int c = 0; c < frame.components; ++c) {
            in.U8();  // its identifier
            const std::uint8_t factors = in.U8();
            in.U8();  // its quantisation table
            frame.horizontal[static_cast<std::size_t>(c)] = std::clamp(factors >> 4, 1, 4);
            frame.vertical[static_cast<std::size_t>(c)] = std::clamp(factors & 0x0F, 1, 4);
        }
        if (!in.Ok()) return std::nullopt;
        return frame;
    }
    return std::nullopt;
}

// The memory the library holds beside the pixels it writes: a progressive
// picture keeps every 8 x 8 block's 64 two-byte coefficients of every
// component until its last scan; any picture keeps a few rows of blocks for
// upsampling and colour conversion.
std::uint64_t LibraryBytes(const Frame& frame, std::uint64_t width, std::uint64_t height) {
    const int hMax = *std::max_element(frame.horizontal.begin(), frame.horizontal.end());
    const int vMax = *std::max_element(frame.vertical.begin(), frame.vertical.end());
    std::uint64_t bytes = width * static_cast<std::uint64_t>(frame.components * vMax) * 8 * 4;
    if (!frame.progressive) return bytes;
    for (std::size_t c = 0; c < static_cast<std::size_t>(frame.components); ++c) {
        const auto h = static_cast<std::uint64_t>(frame.horizontal[c]), v = static_cast<std::uint64_t>(frame.vertical[c]);
        const std::uint64_t blocksWide = (width * h / static_cast<std::uint64_t>(hMax) + 7) / 8 + h;
        const std::uint64_t blocksHigh = (height * v / static_cast<std::uint64_t>(vMax) + 7) / 8 + v;
        bytes += blocksWide * blocksHigh * 64 * 2;
    }
    return bytes;
}

// CMYK and YCCK pictures come as CMYK, four bytes a pixel, to be brought to RGB.
bool IsCmyk(int colourSpace) { return colourSpace == TJCS_CMYK || colourSpace == TJCS_YCCK; }

// The colour of a stored CMYK pixel. Files of this kind are written by
// Adobe's programs, which store every ink inverted (255 is no ink), so
// that red is cyan x black / 255 as stored, as djpeg and ImageMagick take it.
Colour FromInvertedCmyk(const std::uint8_t* p) {
    const auto ink = [&](std::uint8_t stored) {
        return static_cast<std::uint8_t>((stored * p[3] + 127) / 255);
    };
    return Colour{ink(p[0]), ink(p[1]), ink(p[2])};
}

// The picture's size from its headers, or the refusal of a file without them.
std::optional<ImageFileResult> ReadSize(void* handle, std::span<const std::uint8_t> file, int& width, int& height,
                                       int& colourSpace) {
    // The library takes a non-const buffer in this version but never writes to it.
    auto* data = const_cast<unsigned char*>(file.data());
    int subsampling = 0;
    // A file that ends inside its headers is cut short whatever else is wrong
    // with it. One that ends before its frame header reads as tables alone,
    // without a size.
    if (tjDecompressHeader3(handle, data, static_cast<unsigned long>(file.size()), &width, &height, &subsampling,
                            &colourSpace) != 0 ||
        width <= 0 || height <= 0)
        return RefusedPicture(EndsWithEoi(file) ? ImageFileProblem::NotAPicture : ImageFileProblem::CutShort);
    return std::nullopt;
}

// A decode stopped by a warning of the library (data that end early, bytes
// out of place) is cut short when the file also lacks its end; any other stop is damage.
ImageFileResult Refusal(bool warning, std::span<const std::uint8_t> file) {
    return RefusedPicture(warning && !EndsWithEoi(file) ? ImageFileProblem::CutShort : ImageFileProblem::Damaged);
}

// Decodes into pixels (RGB rows of width x height, the picture's size at a
// scale the library offers); the refusal when the data do not decode.
std::optional<ImageFileResult> Decompress(void* handle, std::span<const std::uint8_t> file, std::uint8_t* pixels,
                                          int width, int height, int pixelFormat, int flags) {
    auto* data = const_cast<unsigned char*>(file.data());
    if (tjDecompress2(handle, data, static_cast<unsigned long>(file.size()), pixels, width, 0, height, pixelFormat,
                      flags | TJFLAG_STOPONWARNING) == 0)
        return std::nullopt;
    return Refusal(tjGetErrorCode(handle) == TJERR_WARNING, file);
}

// The libjpeg decode stops as the whole decode above does: at the first
// warning and at any error (whose default handler would end the process),
// without a word on stderr, and after 500 scans, where TJFLAG_LIMITSCANS stops.
struct Stop {
    jpeg_error_mgr library;
    std::jmp_buf at;
    bool warning;
};

constexpr int kMostScans = 500;

[[noreturn]] void StopAtError(j_common_ptr info) { std::longjmp(reinterpret_cast<Stop*>(info->err)->at, 1); }

void StopAtWarning(j_common_ptr info, int level) {
    if (level >= 0) return;  // a trace, not a warning
    reinterpret_cast<Stop*>(info->err)->warning = true;
    std::longjmp(reinterpret_cast<Stop*>(info->err)->at, 1);
}

void SayNothing(j_common_ptr) {}

void StopAfterMostScans(j_common_ptr info) {
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMostScans)
        StopAtError(info);
}

// The rows of image from the top of the started decode; row holds one of its
// scanlines. Nothing here may need destroying: an error jumps out of it.
void ReadKept(jpeg_decompress_struct& info, Image& image, std::uint8_t* row, bool cmyk) {
    const int pixelBytes = cmyk ? 4 : 3;
    for (int y = 0; y < image.Height(); ++y) {
        JSAMPROW rows[1] = {row};
        if (jpeg_read_scanlines(&info, rows, 1) != 1) StopAtError(reinterpret_cast<j_common_ptr>(&info));
        const std::uint8_t* at = row;
        for (int x = 0; x < image.Width(); ++x, at += pixelBytes)
            image.Set(x, y, cmyk ? FromInvertedCmyk(at) : Colour{at[0], at[1], at[2]});
    }
}

// The rows below the kept ones are still read through to the end of the
// file, so that damage or a cut there refuses the picture as the whole decode
// does; skipping them leaves out their transforms and colours. The last row
// is read, not skipped: a skip to the bottom ends the decode unread.
void ReadPast(jpeg_decompress_struct& info, std::uint8_t* row) {
    if (info.output_height - info.output_scanline > 1)
        jpeg_skip_scanlines(&info, info.output_height - info.output_scanline - 1);
    JSAMPROW rows[1] = {row};
    while (info.output_scanline < info.output_height)
        if (jpeg_read_scanlines(&info, rows, 1) != 1) StopAtError(reinterpret_cast<j_common_ptr>(&info));
    jpeg_finish_decompress(&info);
}

// Decodes the picture's top-left image.Width() x image.Height() pixels into
// image, the columns only as far as an iMCU past the kept ones: the
// upsampling of the last decoded column differs from the whole decode's.
// row holds a scanline of the whole width.
std::optional<ImageFileResult> DecodeKept(std::span<const std::uint8_t> file, Image& image, std::span<std::uint8_t> row,
                                          bool cmyk) {
    jpeg_decompress_struct info{};
    Stop stop{};
    info.err = jpeg_std_error(&stop.library);
    stop.library.error_exit = StopAtError;
    stop.library.emit_message = StopAtWarning;
    stop.library.output_message = SayNothing;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = StopAfterMostScans;
    if (setjmp(stop.at) != 0) {
        jpeg_destroy_decompress(&info);
        return Refusal(stop.warning, file);
    }
    jpeg_create_decompress(&info);
    info.progress = &progress;
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGB;
    jpeg_start_decompress(&info);
    const auto unit = static_cast<JDIMENSION>(info.max_h_samp_factor * info.min_DCT_scaled_size);
    JDIMENSION left = 0, width = (static_cast<JDIMENSION>(image.Width()) + unit - 1) / unit * unit + unit;
    if (width < info.output_width) jpeg_crop_scanline(&info, &left, &width);
    const std::uint64_t rowBytes = std::uint64_t{info.output_width} * static_cast<std::uint64_t>(info.output_components);
    if (rowBytes > row.size() || info.output_width < static_cast<JDIMENSION>(image.Width()) ||
        info.output_height < static_cast<JDIMENSION>(image.Height()))
        StopAtError(reinterpret_cast<j_common_ptr>(&info));  // not the picture whose header was read
    ReadKept(info, image, row.data(), cmyk);
    ReadPast(info, row.data());
    jpeg_destroy_decompress(&info);
    return std::nullopt;
}

}  // namespace

bool IsJpeg(std::span<const std::uint8_t> file) {
    return file.size() >= 3 && file[0] == 0xFF && file[1] == 0xD8 && file[2] == 0xFF;
}

ImageFileResult DecodeJpeg(std::span<const std::uint8_t> file, int maxWidth, int maxHeight) {
    Handle handle(tjInitDecompress());
    if (!handle) return RefusedPicture(ImageFileProblem::NotAPicture);
    int width = 0, height = 0, colourSpace = 0;
    if (auto refused = ReadSize(handle.get(), file, width, height, colourSpace)) return std::move(*refused);
    const auto w = static_cast<std::uint64_t>(width), h = static_cast<std::uint64_t>(height);
    if (w * h > kMaxPicturePixels) return RefusedPicture(ImageFileProblem::TooManyPixels, w, h);
    if (maxWidth <= 0 || maxHeight <= 0) return DecodedPicture(Image(), w, h);

    const bool cmyk = IsCmyk(colourSpace);
    const std::uint64_t pixelBytes = cmyk ? 4 : 3;
    const std::optional<Frame> frame = ReadFrame(file);
    if (!frame) return RefusedPicture(ImageFileProblem::NotAPicture);
    const int keptWidth = KeptSide(w, maxWidth), keptHeight = KeptSide(h, maxHeight);
    // A part is decoded a scanline at a time, the whole picture at once. A
    // progressive picture's scans are all decoded before its first row comes,
    // so that a part costs nearly the time of the whole: it is judged as whole.
    const bool whole = static_cast<std::uint64_t>(keptWidth) == w && static_cast<std::uint64_t>(keptHeight) == h;
    const std::uint64_t judgedRows = whole || frame->progressive ? h : 1;
    if (!FitsDecodeMemory(file.size() + w * judgedRows * pixelBytes + LibraryBytes(*frame, w, h) +
                          KeptPictureBytes(keptWidth, keptHeight)))
        return RefusedPicture(ImageFileProblem::TooLargeToDecode, w, h);
    Image image(keptWidth, keptHeight);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>((whole ? w * h : w) * pixelBytes));
    if (!whole) {
        if (auto refused = DecodeKept(file, image, pixels, cmyk)) return std::move(*refused);
        return DecodedPicture(std::move(image), w, h);
    }
    // A progressive picture of thousands of tiny scans costs time out of all
    // proportion to its size: such a file is refused rather than decoded.
    if (auto refused = Decompress(handle.get(), file, pixels.data(), width, height, cmyk ? TJPF_CMYK : TJPF_RGB,
                                  TJFLAG_LIMITSCANS))
        return std::move(*refused);
    const std::uint8_t* at = pixels.data();
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x, at += pixelBytes)
            image.Set(x, y, cmyk ? FromInvertedCmyk(at) : Colour{at[0], at[1], at[2]});
    return DecodedPicture(std::move(image), w, h);
}

ImageFileResult DecodeJpegReduced(std::span<const std::uint8_t> file, int minLongerSide, std::uint64_t maxPixels) {
    Handle handle(tjInitDecompress());
    if (!handle) return RefusedPicture(ImageFileProblem::NotAPicture);
    int width = 0, height = 0, colourSpace = 0;
    if (auto refused = ReadSize(handle.get(), file, width, height, colourSpace)) return std::move(*refused);
    const auto w = static_cast<std::uint64_t>(width), h = static_cast<std::uint64_t>(height);
    if (w * h > std::min(maxPixels, kMaxPicturePixels)) return RefusedPicture(ImageFileProblem::TooManyPixels, w, h);

    int scaledWidth = width, scaledHeight = height;
    for (const int denominator : {8, 4, 2}) {
        const tjscalingfactor factor{1, denominator};
        if (std::max(TJSCALED(width, factor), TJSCALED(height, factor)) >= minLongerSide) {
            scaledWidth = TJSCALED(width, factor);
            scaledHeight = TJSCALED(height, factor);
            break;
        }
    }
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(scaledWidth) * static_cast<std::size_t>(scaledHeight) * 3);
    if (auto refused = Decompress(handle.get(), file, pixels.data(), scaledWidth, scaledHeight, TJPF_RGB, TJFLAG_LIMITSCANS))
        return std::move(*refused);
    Image image(scaledWidth, scaledHeight);
    const std::uint8_t* at = pixels.data();
    for (Colour& pixel : image.Pixels()) {
        pixel = Colour{at[0], at[1], at[2]};
        at += 3;
    }
    return DecodedPicture(std::move(image), w, h);
}

}  // namespace corvane
