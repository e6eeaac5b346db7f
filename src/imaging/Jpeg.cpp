#include "imaging/Jpeg.h"

#include <turbojpeg.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace corvane {
namespace {

struct DestroyHandle {
    void operator()(void* handle) const { tjDestroy(handle); }
};

bool EndsWithEoi(std::span<const std::uint8_t> file) {
    return file.size() >= 2 && file[file.size() - 2] == 0xFF && file[file.size() - 1] == 0xD9;
}

using Handle = std::unique_ptr<void, DestroyHandle>;

// The picture's size from its headers, or the refusal of a file without them.
std::optional<ImageFileResult> ReadSize(void* handle, std::span<const std::uint8_t> file, int& width, int& height) {
    // The library takes a non-const buffer in this version but never writes to it.
    auto* data = const_cast<unsigned char*>(file.data());
    int subsampling = 0, colourSpace = 0;
    if (tjDecompressHeader3(handle, data, static_cast<unsigned long>(file.size()), &width, &height, &subsampling,
                            &colourSpace) != 0)
        return RefusedPicture(EndsWithEoi(file) ? ImageFileProblem::NotAPicture : ImageFileProblem::CutShort);
    if (width <= 0 || height <= 0) return RefusedPicture(ImageFileProblem::NotAPicture);
    return std::nullopt;
}

// Decodes into pixels (RGB rows of width x height, the picture's size at a
// scale the library offers); the refusal when the data do not decode.
std::optional<ImageFileResult> Decompress(void* handle, std::span<const std::uint8_t> file, std::uint8_t* pixels,
                                          int width, int height, int flags) {
    auto* data = const_cast<unsigned char*>(file.data());
    if (tjDecompress2(handle, data, static_cast<unsigned long>(file.size()), pixels, width, 0, height, TJPF_RGB,
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
    int width = 0, height = 0;
    if (auto refused = ReadSize(handle.get(), file, width, height)) return std::move(*refused);
    const auto w = static_cast<std::uint64_t>(width), h = static_cast<std::uint64_t>(height);
    if (w * h > kMaxPicturePixels) return RefusedPicture(ImageFileProblem::TooManyPixels, w, h);
    if (maxWidth <= 0 || maxHeight <= 0) return DecodedPicture(Image(), w, h);

    // This interface decodes whole pictures only; what is not kept is dropped at once.
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w * h * 3));
    if (auto refused = Decompress(handle.get(), file, pixels.data(), width, height, 0)) return std::move(*refused);
    Image image(KeptSide(w, maxWidth), KeptSide(h, maxHeight));
    for (int y = 0; y < image.Height(); ++y) {
        const std::uint8_t* row = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w) * 3;
        for (int x = 0; x < image.Width(); ++x, row += 3) image.Set(x, y, Colour{row[0], row[1], row[2]});
    }
    return DecodedPicture(std::move(image), w, h);
}

ImageFileResult DecodeJpegReduced(std::span<const std::uint8_t> file, int minLongerSide, std::uint64_t maxPixels) {
    Handle handle(tjInitDecompress());
    if (!handle) return RefusedPicture(ImageFileProblem::NotAPicture);
    int width = 0, height = 0;
    if (auto refused = ReadSize(handle.get(), file, width, height)) return std::move(*refused);
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
    // A progressive picture of thousands of tiny scans costs time out of all
    // proportion to its size: such a file is refused rather than decoded.
    if (auto refused = Decompress(handle.get(), file, pixels.data(), scaledWidth, scaledHeight, TJFLAG_LIMITSCANS))
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
