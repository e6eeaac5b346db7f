#include "imaging/JpegDecoder.h"

#include <turbojpeg.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace corvane {
namespace {

struct DestroyHandle {
    void operator()(void* handle) const { tjDestroy(handle); }
};

int Kept(std::uint64_t size, int max) {
    return static_cast<int>(std::min<std::uint64_t>(size, static_cast<std::uint64_t>(std::max(max, 0))));
}

bool EndsWithEoi(std::span<const std::uint8_t> file) {
    return file.size() >= 2 && file[file.size() - 2] == 0xFF && file[file.size() - 1] == 0xD9;
}

}  // namespace

bool IsJpeg(std::span<const std::uint8_t> file) {
    return file.size() >= 3 && file[0] == 0xFF && file[1] == 0xD8 && file[2] == 0xFF;
}

ImageFileResult DecodeJpeg(std::span<const std::uint8_t> file, int maxWidth, int maxHeight) {
    std::unique_ptr<void, DestroyHandle> handle(tjInitDecompress());
    if (!handle) return RefusedPicture(ImageFileProblem::NotAPicture);
    // The library takes a non-const buffer in this version but never writes to it.
    auto* data = const_cast<unsigned char*>(file.data());
    const auto size = static_cast<unsigned long>(file.size());
    int width = 0, height = 0, subsampling = 0, colourSpace = 0;
    if (tjDecompressHeader3(handle.get(), data, size, &width, &height, &subsampling, &colourSpace) != 0)
        return RefusedPicture(EndsWithEoi(file) ? ImageFileProblem::NotAPicture : ImageFileProblem::CutShort);
    const auto w = static_cast<std::uint64_t>(width), h = static_cast<std::uint64_t>(height);
    if (width <= 0 || height <= 0) return RefusedPicture(ImageFileProblem::NotAPicture);
    if (w * h > kMaxPicturePixels) return RefusedPicture(ImageFileProblem::TooManyPixels, w, h);
    if (maxWidth <= 0 || maxHeight <= 0) return DecodedPicture(Image(), w, h);

    // This interface decodes whole pictures only; what is not kept is dropped at once.
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w * h * 3));
    if (tjDecompress2(handle.get(), data, size, pixels.data(), width, 0, height, TJPF_RGB, TJFLAG_STOPONWARNING) != 0) {
        if (tjGetErrorCode(handle.get()) == TJERR_WARNING && !EndsWithEoi(file))
            return RefusedPicture(ImageFileProblem::CutShort);
        return RefusedPicture(ImageFileProblem::Damaged);
    }
    Image image(Kept(w, maxWidth), Kept(h, maxHeight));
    for (int y = 0; y < image.Height(); ++y) {
        const std::uint8_t* row = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w) * 3;
        for (int x = 0; x < image.Width(); ++x, row += 3) image.Set(x, y, Colour{row[0], row[1], row[2]});
    }
    return DecodedPicture(std::move(image), w, h);
}

}  // namespace corvane
