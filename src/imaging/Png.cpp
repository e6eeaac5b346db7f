// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/Png.h"

#include <spng.h>
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>

#include "io/ByteOrder.h"

namespace corvane {
namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::uint32_t kMaxChunk = 0x7FFFFFFF;
constexpr std::uint32_t kIhdr = 0x49484452;
constexpr std::uint32_t kIend = 0x49454E44;
constexpr std::uint32_t kIdat = 0x49444154;

struct FreeContext {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, FreeContext>;

// Text, colour profiles and EXIF are never used, but libspng inflates and
// stores them as it meets them: each may take at most this, all together
// twice this, so that a small file cannot inflate to gigabytes. Their CRCs
// are checked all the same.
constexpr std::size_t kStoredChunkLimit = std::size_t{4} << 20;
constexpr int kStoredChunkCount = 256;

// The zlib state of the pixel stream, a window and its tables.
constexpr std::uint64_t kInflateBytes = std::uint64_t{64} << 10;

// Where the pixels of each of an interlaced picture's seven passes start in
// a row, and how far apart they stand.
constexpr int kAdam7XStart[7] = {0, 4, 0, 2, 0, 1, 0};
constexpr int kAdam7XStep[7] = {8, 8, 4, 4, 2, 2, 1};

void LimitStoredChunks(spng_ctx* context) {
    spng_set_chunk_limits(context, kStoredChunkLimit, 2 * kStoredChunkLimit);
    spng_set_option(context, SPNG_CHUNK_COUNT_LIMIT, kStoredChunkCount);
    spng_set_option(context, SPNG_KEEP_UNKNOWN_CHUNKS, 0);
}

std::uint8_t Channel(const std::uint8_t* pixel, std::size_t channel, bool sixteen) {
    if (!sixteen) return pixel[channel];
    std::uint16_t v;  // host order, as libspng gives 16-bit samples
    std::copy_n(pixel + 2 * channel, 2, reinterpret_cast<std::uint8_t*>(&v));
    return static_cast<std::uint8_t>((v + 128u) / 257u);
}

Colour PixelOf(std::span<const std::uint8_t> row, int x, bool sixteen) {
    const std::uint8_t* p = row.data() + static_cast<std::size_t>(x) * (sixteen ? 8 : 4);
    return Colour{Channel(p, 0, sixteen), Channel(p, 1, sixteen), Channel(p, 2, sixteen)};
}

// The refusal for a libspng error: a checksum that fails is named as such,
// and so is a stored chunk past its limit. Sizes that overflow the machine's
// own (a row of a very wide picture where size_t has 32 bits, in the browser
// edition) are a picture too large to decode, as the 64-bit build finds it
// from the header.
ImageFileResult Refusal(int error, ImageFileProblem otherwise) {
    if (error == SPNG_ECHUNK_CRC) return RefusedPicture(ImageFileProblem::BadChecksum);
    if (error == SPNG_ECHUNK_LIMITS || error == SPNG_EOVERFLOW) return RefusedPicture(ImageFileProblem::TooLargeToDecode);
    return RefusedPicture(otherwise);
}

// The memory a decode holds at its peak, from the header alone: the file,
// libspng's two scanlines as stored and its stored chunks, our row of 8 or
// 16-bit RGBA (and libspng's own for an interlaced picture), the kept picture.
std::uint64_t DecodeBytes(const spng_ihdr& ihdr, std::size_t fileSize, std::uint64_t keptBytes) {
    const unsigned channels[7] = {1, 0, 3, 1, 2, 0, 4};
    const std::uint64_t samples = ihdr.color_type < 7 ? channels[ihdr.color_type] : 4;
    const std::uint64_t width = ihdr.width;
    const std::uint64_t scanline = (width * samples * ihdr.bit_depth + 7) / 8 + 1 + 32;
    const std::uint64_t row = width * (ihdr.bit_depth == 16 ? 8 : 4);
    return fileSize + 2 * scanline + 2 * kStoredChunkLimit + kInflateBytes + row * (ihdr.interlace_method ? 2 : 1) +
           keptBytes;
}

// Decodes every row of a picture stored row after row, keeping the first
// ones: the rest are decoded too, or their checksums would go unchecked.
int DecodeRows(spng_ctx* context, std::size_t rowBytes, bool sixteen, Image& image) {
    std::vector<std::uint8_t> row(rowBytes);
    for (int y = 0;; ++y) {
        const int status = spng_decode_row(context, row.data(), row.size());
        if (status != 0 && status != SPNG_EOI) return status;
        for (int x = 0; y < image.Height() && x < image.Width(); ++x) image.Set(x, y, PixelOf(row, x, sixteen));
        if (status == SPNG_EOI) return 0;
    }
}

// The seven passes of an interlaced picture each add pixels to rows all over
// it: a kept row gathers the pixels each pass brings it, straight from the
// one full-width row libspng writes them to.
int DecodeInterlaced(spng_ctx* context, std::size_t rowBytes, bool sixteen, Image& image) {
    std::vector<std::uint8_t> row(rowBytes);
    for (int status = 0; status != SPNG_EOI;) {
        spng_row_info info{};
        if (const int error = spng_get_row_info(context, &info); error != 0) return error;
        status = spng_decode_row(context, row.data(), rowBytes);
        if (status != 0 && status != SPNG_EOI) return status;
        if (info.row_num >= static_cast<std::uint32_t>(image.Height()) || info.pass > 6) continue;
        const int y = static_cast<int>(info.row_num);
        for (int x = kAdam7XStart[info.pass]; x < image.Width(); x += kAdam7XStep[info.pass])
            image.Set(x, y, PixelOf(row, x, sixteen));
    }
    return 0;
}

// libspng stops inflating once the last row is full, so the end of the zlib
// stream (its Adler-32 among it) goes unread when it lies in a later IDAT
// chunk than the last pixel. The stream is inflated once more here, into a
// small scratch buffer, so that its checksum is checked wherever it lies.
bool PixelStreamChecksOut(std::span<const std::uint8_t> file) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return false;
    std::vector<std::uint8_t> scratch(std::size_t{64} << 10);
    BigEndianReader in(file);
    in.Skip(sizeof kSignature);
    int status = Z_OK;
    while (status == Z_OK || status == Z_BUF_ERROR) {
        const std::uint32_t length = in.U32();
        const std::uint32_t type = in.U32();
        const std::size_t data = in.Position();
        in.Skip(std::size_t{length} + 4);
        if (!in.Ok() || type == kIend) break;
        if (type != kIdat) continue;
        stream.next_in = const_cast<Bytef*>(file.data() + data);  // zlib never writes through it
        stream.avail_in = length;
        do {
            stream.next_out = scratch.data();
            stream.avail_out = static_cast<uInt>(scratch.size());
            status = inflate(&stream, Z_NO_FLUSH);
        } while (status == Z_OK && (stream.avail_in > 0 || stream.avail_out == 0));
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END;
}

// An 8-bit PNG of the packed samples; nothing for an empty picture or when
// the library fails.
std::vector<std::uint8_t> EncodeRows(int width, int height, int colourType, std::vector<std::uint8_t>& pixels,
                                     PngEffort effort) {
    if (width <= 0 || height <= 0) return {};
    Context context(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!context) return {};
    spng_set_option(context.get(), SPNG_ENCODE_TO_BUFFER, 1);
    if (effort == PngEffort::Fastest) {
        spng_set_option(context.get(), SPNG_IMG_COMPRESSION_LEVEL, 1);
        // Rows unfiltered: choosing each row's filter by trying all five took
        // three quarters of a thumbnail's encoding, and a skin's screen, flat
        // colours drawn over, packs smaller without (a photograph a little larger).
        spng_set_option(context.get(), SPNG_FILTER_CHOICE, SPNG_DISABLE_FILTERING);
        // An 8 KiB window and small tables: zlib's usual 256 KiB of state is
        // fresh memory whose first touch of each page cost more than the
        // compressing, for a file a twentieth larger.
        spng_set_option(context.get(), SPNG_IMG_MEM_LEVEL, 5);
        spng_set_option(context.get(), SPNG_IMG_WINDOW_BITS, 13);
    }
    spng_ihdr ihdr{};
    ihdr.width = static_cast<std::uint32_t>(width);
    ihdr.height = static_cast<std::uint32_t>(height);
    ihdr.bit_depth = 8;
    ihdr.color_type = static_cast<std::uint8_t>(colourType);
    if (spng_set_ihdr(context.get(), &ihdr) != 0) return {};
    if (spng_encode_image(context.get(), pixels.data(), pixels.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) != 0)
        return {};
    std::size_t length = 0;
    int error = 0;
    std::unique_ptr<void, decltype(&std::free)> buffer(spng_get_png_buffer(context.get(), &length, &error), &std::free);
    if (!buffer || error != 0) return {};
    const auto* bytes = static_cast<const std::uint8_t*>(buffer.get());
    return std::vector<std::uint8_t>(bytes, bytes + length);
}

}  // namespace

bool IsPng(std::span<const std::uint8_t> file) {
    return file.size() >= sizeof kSignature && std::equal(std::begin(kSignature), std::end(kSignature), file.begin());
}

PictureHeader CheckPng(std::span<const std::uint8_t> file) {
    if (!IsPng(file)) return {};
    BigEndianReader in(file);
    in.Skip(sizeof kSignature);
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    for (bool first = true;; first = false) {
        const std::uint32_t length = in.U32();
        const std::uint32_t type = in.U32();
        if (!in.Ok()) return {PictureCheck::CutShort, width, height};
        if (length > kMaxChunk) return {PictureCheck::NotChecked, width, height};
        if (first) {
            // Without IHDR first this is no PNG the toolkit reads.
            if (type != kIhdr || length < 8) return {};
            BigEndianReader header(file.subspan(in.Position(), std::min<std::size_t>(8, in.Remaining())));
            width = header.U32();
            height = header.U32();
            if (!header.Ok()) return {PictureCheck::CutShort};
            if (width * height > kMaxPicturePixels) return {PictureCheck::TooManyPixels, width, height};
        }
        in.Skip(std::size_t{length} + 4);  // the data and the CRC
        if (!in.Ok()) return {PictureCheck::CutShort, width, height};
        if (type == kIend) return {PictureCheck::Whole, width, height};
    }
}

ImageFileResult DecodePng(std::span<const std::uint8_t> file, int maxWidth, int maxHeight) {
    const PictureHeader header = CheckPng(file);
    if (auto refused = RefusalOf(header)) return std::move(*refused);
    // A PNG the check could not judge is no PNG libspng reads either.
    if (header.check != PictureCheck::Whole) return RefusedPicture(ImageFileProblem::NotAPicture);
    Context context(spng_ctx_new(0));
    if (!context || spng_set_png_buffer(context.get(), file.data(), file.size()) != 0)
        return RefusedPicture(ImageFileProblem::NotAPicture);
    // libspng discards an ancillary chunk whose CRC fails; a damaged file is refused instead.
    spng_set_crc_action(context.get(), SPNG_CRC_ERROR, SPNG_CRC_ERROR);
    LimitStoredChunks(context.get());
    spng_ihdr ihdr{};
    if (const int error = spng_get_ihdr(context.get(), &ihdr); error != 0)
        return Refusal(error, ImageFileProblem::NotAPicture);

    const bool sixteen = ihdr.bit_depth == 16;
    const int format = sixteen ? SPNG_FMT_RGBA16 : SPNG_FMT_RGBA8;
    const int keptWidth = KeptSide(ihdr.width, maxWidth), keptHeight = KeptSide(ihdr.height, maxHeight);
    if (!FitsDecodeMemory(DecodeBytes(ihdr, file.size(), KeptPictureBytes(keptWidth, keptHeight))))
        return RefusedPicture(ImageFileProblem::TooLargeToDecode, ihdr.width, ihdr.height);
    Image image(keptWidth, keptHeight);
    const std::size_t rowBytes = std::size_t{ihdr.width} * (sixteen ? 8 : 4);
    // The colours are the same with the transparency of tRNS or without;
    // it is taken as the layers take it, so that every decode here agrees.
    if (const int error = spng_decode_image(context.get(), nullptr, 0, format, SPNG_DECODE_PROGRESSIVE | SPNG_DECODE_TRNS);
        error != 0)
        return Refusal(error, ImageFileProblem::NotAPicture);
    const int error = ihdr.interlace_method != 0 ? DecodeInterlaced(context.get(), rowBytes, sixteen, image)
                                                 : DecodeRows(context.get(), rowBytes, sixteen, image);
    if (error != 0) return Refusal(error, ImageFileProblem::Damaged);
    // The chunks behind the pixels, up to IEND, have their CRCs checked too.
    if (const int trailing = spng_decode_chunks(context.get()); trailing != 0)
        return Refusal(trailing, ImageFileProblem::Damaged);
    if (!PixelStreamChecksOut(file)) return RefusedPicture(ImageFileProblem::Damaged);
    return DecodedPicture(std::move(image), ihdr.width, ihdr.height);
}

std::vector<std::uint8_t> EncodePng(const Image& image, PngEffort effort) {
    std::vector<std::uint8_t> pixels(image.Pixels().size() * 3);
    std::uint8_t* sample = pixels.data();
    for (const Colour c : image.Pixels()) {
        sample[0] = c.r;
        sample[1] = c.g;
        sample[2] = c.b;
        sample += 3;
    }
    return EncodeRows(image.Width(), image.Height(), SPNG_COLOR_TYPE_TRUECOLOR, pixels, effort);
}

Result<RgbaImage> DecodePngRgba(std::span<const std::uint8_t> file, PixelBudget& budget) {
    Context context(spng_ctx_new(0));
    if (!context || spng_set_png_buffer(context.get(), file.data(), file.size()) != 0) return Fail("not a PNG picture");
    // A layer is held to the same checksums as a picture file.
    spng_set_crc_action(context.get(), SPNG_CRC_ERROR, SPNG_CRC_ERROR);
    LimitStoredChunks(context.get());
    spng_ihdr ihdr{};
    if (const int error = spng_get_ihdr(context.get(), &ihdr); error != 0)
        return Fail(error == SPNG_ECHUNK_CRC ? "a PNG picture whose checksum fails" : "not a PNG picture");
    if (ihdr.width > INT_MAX || ihdr.height > INT_MAX) return Fail("a PNG picture of an impossible size");
    // libspng's rows and stored chunks and our row, held while the layer is
    // decoded; the layer itself is taken as its 4 bytes a pixel.
    const std::uint64_t working = DecodeBytes(ihdr, 0, 0);
    if (Status held = budget.Hold(working); !held) return Fail("a PNG picture that " + held.Reason());
    const HeldBytes release{budget, working};
    if (Status taken = budget.Take(ihdr.width, ihdr.height); !taken) return taken.Error();

    const bool sixteen = ihdr.bit_depth == 16;
    const int format = sixteen ? SPNG_FMT_RGBA16 : SPNG_FMT_RGBA8;
    // tRNS: a palette's alpha entries and a grey or RGB picture's colour key
    // are its transparency as much as an alpha channel is.
    if (const int error = spng_decode_image(context.get(), nullptr, 0, format, SPNG_DECODE_PROGRESSIVE | SPNG_DECODE_TRNS);
        error != 0)
        return Fail(error == SPNG_ECHUNK_CRC ? "a PNG picture whose checksum fails" : "a damaged PNG picture");
    RgbaImage image(static_cast<int>(ihdr.width), static_cast<int>(ihdr.height));
    std::vector<std::uint8_t> row(std::size_t{ihdr.width} * (sixteen ? 8 : 4));
    bool inexact = false;
    for (int status = 0; status != SPNG_EOI;) {
        spng_row_info info{};
        if (spng_get_row_info(context.get(), &info) != 0) return Fail("a damaged PNG picture");
        status = spng_decode_row(context.get(), row.data(), row.size());
        if (status != 0 && status != SPNG_EOI)
            return Fail(status == SPNG_ECHUNK_CRC ? "a PNG picture whose checksum fails" : "a damaged PNG picture");
        if (info.row_num >= ihdr.height) continue;
        // A pass of an interlaced picture brings some of a row's pixels, at
        // their places in the full-width row libspng writes them to.
        const bool interlaced = ihdr.interlace_method != 0 && info.pass <= 6;
        const int first = interlaced ? kAdam7XStart[info.pass] : 0, step = interlaced ? kAdam7XStep[info.pass] : 1;
        for (int x = first; x < image.Width(); x += step) {
            const std::uint8_t* p = row.data() + static_cast<std::size_t>(x) * (sixteen ? 8 : 4);
            if (sixteen)
                for (std::size_t c = 0; c < 4; ++c) {
                    std::uint16_t v;  // host order, as libspng gives 16-bit samples
                    std::copy_n(p + 2 * c, 2, reinterpret_cast<std::uint8_t*>(&v));
                    inexact = inexact || v % 257 != 0;
                }
            image.Set(x, static_cast<int>(info.row_num),
                      {Channel(p, 0, sixteen), Channel(p, 1, sixteen), Channel(p, 2, sixteen), Channel(p, 3, sixteen)});
        }
    }
    if (spng_decode_chunks(context.get()) != 0 || !PixelStreamChecksOut(file)) return Fail("a damaged PNG picture");
    if (inexact) return Fail("a picture of 16 bits per channel; save it at 8 bits per channel");
    return image;
}

std::vector<std::uint8_t> EncodePngRgba(const RgbaImage& image) {
    std::vector<std::uint8_t> pixels;
    pixels.reserve(image.Pixels().size() * 4);
    for (const Rgba c : image.Pixels()) pixels.insert(pixels.end(), {c.r, c.g, c.b, c.a});
    return EncodeRows(image.Width(), image.Height(), SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, pixels, PngEffort::Smallest);
}

}  // namespace corvane
