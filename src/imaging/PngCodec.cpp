#include "imaging/PngCodec.h"

#include <spng.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "imaging/PictureFile.h"

namespace corvane {
namespace {

struct FreeContext {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, FreeContext>;

std::uint8_t Channel(const std::uint8_t* pixel, std::size_t channel, bool sixteen) {
    if (!sixteen) return pixel[channel];
    std::uint16_t v;  // host order, as libspng gives 16-bit samples
    std::copy_n(pixel + 2 * channel, 2, reinterpret_cast<std::uint8_t*>(&v));
    return static_cast<std::uint8_t>((v + 128u) / 257u);
}

void StoreRow(std::span<const std::uint8_t> row, bool sixteen, int y, Image& image) {
    const std::size_t pixelBytes = sixteen ? 8 : 4;
    for (int x = 0; x < image.Width(); ++x) {
        const std::uint8_t* p = row.data() + static_cast<std::size_t>(x) * pixelBytes;
        image.Set(x, y, Colour{Channel(p, 0, sixteen), Channel(p, 1, sixteen), Channel(p, 2, sixteen)});
    }
}

}  // namespace

ImageFileResult DecodePng(std::span<const std::uint8_t> file, int maxWidth, int maxHeight) {
    const PictureHeader header = CheckPictureFile(file);
    if (auto refused = RefusalOf(header)) return std::move(*refused);
    // A PNG the check could not judge is no PNG libspng reads either.
    if (header.check != PictureCheck::Whole) return RefusedPicture(ImageFileProblem::NotAPicture);
    Context context(spng_ctx_new(0));
    if (!context || spng_set_png_buffer(context.get(), file.data(), file.size()) != 0)
        return RefusedPicture(ImageFileProblem::NotAPicture);
    spng_ihdr ihdr{};
    if (spng_get_ihdr(context.get(), &ihdr) != 0) return RefusedPicture(ImageFileProblem::NotAPicture);

    const bool sixteen = ihdr.bit_depth == 16;
    const int format = sixteen ? SPNG_FMT_RGBA16 : SPNG_FMT_RGBA8;
    Image image(KeptSide(ihdr.width, maxWidth), KeptSide(ihdr.height, maxHeight));
    const std::size_t rowBytes = std::size_t{ihdr.width} * (sixteen ? 8 : 4);
    if (spng_decode_image(context.get(), nullptr, 0, format, SPNG_DECODE_PROGRESSIVE) != 0)
        return RefusedPicture(ImageFileProblem::NotAPicture);
    if (ihdr.interlace_method != 0) {
        // The seven passes each add pixels to rows all over the picture: the
        // kept rows gather theirs, a pass's other rows go to a scratch row.
        std::vector<std::uint8_t> kept(rowBytes * static_cast<std::size_t>(image.Height()));
        std::vector<std::uint8_t> scratch(rowBytes);
        for (int status = 0; status != SPNG_EOI;) {
            spng_row_info row{};
            if (spng_get_row_info(context.get(), &row) != 0) return RefusedPicture(ImageFileProblem::Damaged);
            const bool keep = row.row_num < static_cast<std::uint32_t>(image.Height());
            std::uint8_t* out = keep ? kept.data() + std::size_t{row.row_num} * rowBytes : scratch.data();
            status = spng_decode_row(context.get(), out, rowBytes);
            if (status != 0 && status != SPNG_EOI) return RefusedPicture(ImageFileProblem::Damaged);
        }
        for (int y = 0; y < image.Height(); ++y)
            StoreRow(std::span<const std::uint8_t>(kept).subspan(static_cast<std::size_t>(y) * rowBytes, rowBytes), sixteen,
                     y, image);
        return DecodedPicture(std::move(image), ihdr.width, ihdr.height);
    }
    std::vector<std::uint8_t> row(rowBytes);
    for (int y = 0; y < image.Height(); ++y) {
        const int status = spng_decode_row(context.get(), row.data(), row.size());
        if (status != 0 && status != SPNG_EOI) return RefusedPicture(ImageFileProblem::Damaged);
        StoreRow(row, sixteen, y, image);
    }
    return DecodedPicture(std::move(image), ihdr.width, ihdr.height);
}

Result<RgbaImage> DecodePngRgba(std::span<const std::uint8_t> file, PixelBudget& budget) {
    Context context(spng_ctx_new(0));
    if (!context || spng_set_png_buffer(context.get(), file.data(), file.size()) != 0) return Fail("not a PNG picture");
    spng_ihdr ihdr{};
    if (spng_get_ihdr(context.get(), &ihdr) != 0) return Fail("not a PNG picture");
    if (ihdr.width > INT_MAX || ihdr.height > INT_MAX || !budget.Take(ihdr.width, ihdr.height))
        return Fail("more pixels than " + std::to_string(kLayeredPixelLimit >> 20) + " megapixels");
    const bool sixteen = ihdr.bit_depth == 16;
    std::size_t size = 0;
    const int format = sixteen ? SPNG_FMT_RGBA16 : SPNG_FMT_RGBA8;
    if (spng_decoded_image_size(context.get(), format, &size) != 0) return Fail("not a PNG picture");
    std::vector<std::uint8_t> decoded(size);
    if (spng_decode_image(context.get(), decoded.data(), decoded.size(), format, 0) != 0)
        return Fail("a damaged PNG picture");
    if (sixteen) {
        for (std::size_t i = 0; i + 1 < decoded.size(); i += 2) {
            std::uint16_t v;  // host order, as libspng gives 16-bit samples
            std::copy_n(decoded.data() + i, 2, reinterpret_cast<std::uint8_t*>(&v));
            if (v % 257 != 0) return Fail("a picture of 16 bits per channel; save it at 8 bits per channel");
        }
    }
    RgbaImage image(static_cast<int>(ihdr.width), static_cast<int>(ihdr.height));
    const std::size_t pixelBytes = sixteen ? 8 : 4;
    for (std::size_t i = 0; i < image.Pixels().size(); ++i) {
        const std::uint8_t* p = decoded.data() + i * pixelBytes;
        image.Pixels()[i] = {Channel(p, 0, sixteen), Channel(p, 1, sixteen), Channel(p, 2, sixteen), Channel(p, 3, sixteen)};
    }
    return image;
}

std::vector<std::uint8_t> EncodePngRgba(const RgbaImage& image) {
    if (image.Empty()) return {};
    Context context(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!context) return {};
    spng_set_option(context.get(), SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr{};
    ihdr.width = static_cast<std::uint32_t>(image.Width());
    ihdr.height = static_cast<std::uint32_t>(image.Height());
    ihdr.bit_depth = 8;
    ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    if (spng_set_ihdr(context.get(), &ihdr) != 0) return {};
    std::vector<std::uint8_t> pixels;
    pixels.reserve(image.Pixels().size() * 4);
    for (const Rgba c : image.Pixels()) pixels.insert(pixels.end(), {c.r, c.g, c.b, c.a});
    if (spng_encode_image(context.get(), pixels.data(), pixels.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) != 0)
        return {};
    std::size_t length = 0;
    int error = 0;
    std::unique_ptr<void, decltype(&std::free)> buffer(spng_get_png_buffer(context.get(), &length, &error), &std::free);
    if (!buffer || error != 0) return {};
    const auto* bytes = static_cast<const std::uint8_t*>(buffer.get());
    return std::vector<std::uint8_t>(bytes, bytes + length);
}

std::vector<std::uint8_t> EncodePng(const Image& image, PngEffort effort) {
    if (image.Empty()) return {};
    Context context(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!context) return {};
    spng_set_option(context.get(), SPNG_ENCODE_TO_BUFFER, 1);
    if (effort == PngEffort::Fastest) spng_set_option(context.get(), SPNG_IMG_COMPRESSION_LEVEL, 1);
    spng_ihdr ihdr{};
    ihdr.width = static_cast<std::uint32_t>(image.Width());
    ihdr.height = static_cast<std::uint32_t>(image.Height());
    ihdr.bit_depth = 8;
    ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    if (spng_set_ihdr(context.get(), &ihdr) != 0) return {};
    std::vector<std::uint8_t> pixels;
    pixels.reserve(image.Pixels().size() * 3);
    for (const Colour c : image.Pixels()) pixels.insert(pixels.end(), {c.r, c.g, c.b});
    if (spng_encode_image(context.get(), pixels.data(), pixels.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) != 0)
        return {};
    std::size_t length = 0;
    int error = 0;
    std::unique_ptr<void, decltype(&std::free)> buffer(spng_get_png_buffer(context.get(), &length, &error), &std::free);
    if (!buffer || error != 0) return {};
    const auto* bytes = static_cast<const std::uint8_t*>(buffer.get());
    return std::vector<std::uint8_t>(bytes, bytes + length);
}

}  // namespace corvane
