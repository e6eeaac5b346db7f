#include "imaging/Jpeg.h"

#include <turbojpeg.h>

#include <algorithm>
#include <array>
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

// Decodes into pixels (RGB rows of width x height, the picture's size at a
// scale the library offers); the refusal when the data do not decode.
std::optional<ImageFileResult> Decompress(void* handle, std::span<const std::uint8_t> file, std::uint8_t* pixels,
                                          int width, int height, int pixelFormat, int flags) {
    auto* data = const_cast<unsigned char*>(file.data());
    if (tjDecompress2(handle, data, static_cast<unsigned long>(file.size()), pixels, width, 0, height, pixelFormat,
                      flags | TJFLAG_STOPONWARNING) == 0)
        return std::nullopt;
    if (tjGetErrorCode(handle) == TJERR_WARNING && !EndsWithEoi(file)) return RefusedPicture(ImageFileProblem::CutShort);
    return RefusedPicture(ImageFileProblem::Damaged);
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

    // This interface decodes whole pictures only; what is not kept is dropped at once.
    const bool cmyk = IsCmyk(colourSpace);
    const std::uint64_t pixelBytes = cmyk ? 4 : 3;
    const std::optional<Frame> frame = ReadFrame(file);
    if (!frame) return RefusedPicture(ImageFileProblem::NotAPicture);
    const int keptWidth = KeptSide(w, maxWidth), keptHeight = KeptSide(h, maxHeight);
    if (!FitsDecodeMemory(file.size() + w * h * pixelBytes + LibraryBytes(*frame, w, h) +
                          KeptPictureBytes(keptWidth, keptHeight)))
        return RefusedPicture(ImageFileProblem::TooLargeToDecode, w, h);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w * h * pixelBytes));
    // A progressive picture of thousands of tiny scans costs time out of all
    // proportion to its size: such a file is refused rather than decoded.
    if (auto refused = Decompress(handle.get(), file, pixels.data(), width, height, cmyk ? TJPF_CMYK : TJPF_RGB,
                                  TJFLAG_LIMITSCANS))
        return std::move(*refused);
    Image image(keptWidth, keptHeight);
    for (int y = 0; y < image.Height(); ++y) {
        const std::uint8_t* row = pixels.data() + static_cast<std::size_t>(static_cast<std::uint64_t>(y) * w * pixelBytes);
        for (int x = 0; x < image.Width(); ++x, row += pixelBytes)
            image.Set(x, y, cmyk ? FromInvertedCmyk(row) : Colour{row[0], row[1], row[2]});
    }
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
