// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/Pnm.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {
namespace {

struct PnmHeader {
    char kind = 0;  // '1'..'7'
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    std::uint32_t maxval = 0;
    std::uint32_t depth = 0;  // samples a pixel
    bool blackIsOne = false;  // PBM
    bool plain = false;
};

// The file's bytes, from memory or from a stream read a piece at a time:
// only the piece being decoded is held, whatever the file's size.
class PnmInput {
public:
    explicit PnmInput(std::span<const std::uint8_t> bytes) : window_(bytes) {}
    PnmInput(std::span<const std::uint8_t> head, ByteStream& stream)
        : stream_(&stream), buffer_(head.begin(), head.end()), window_(buffer_) {}

    // The next byte, or -1 at the end of the data.
    int Peek() { return at_ < window_.size() || Refill() ? window_[at_] : -1; }
    int Get() {
        const int c = Peek();
        if (c >= 0) ++at_;
        return c;
    }

    // Fills `out` whole; false when the data end first.
    bool Read(std::span<std::uint8_t> out) {
        for (std::size_t done = 0; done < out.size();) {
            if (at_ >= window_.size() && !Refill()) return false;
            const std::size_t n = std::min(out.size() - done, window_.size() - at_);
            std::copy_n(window_.begin() + static_cast<std::ptrdiff_t>(at_), n, out.begin() + static_cast<std::ptrdiff_t>(done));
            at_ += n;
            done += n;
        }
        return true;
    }

    // Passes over `count` bytes; false when the data end first.
    bool Skip(std::uint64_t count) {
        while (count > 0) {
            if (at_ >= window_.size() && !Refill()) return false;
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, window_.size() - at_));
            at_ += n;
            count -= n;
        }
        return true;
    }

    // The bytes left when the whole file is in memory; nothing for a stream.
    std::optional<std::uint64_t> MemoryLeft() const {
        if (stream_) return std::nullopt;
        return window_.size() - at_;
    }

    // Why the data ended early: a cut-short file, or a stream that failed or passed its limit.
    ImageFileProblem EndProblem() const {
        if (!stream_) return ImageFileProblem::CutShort;
        switch (stream_->Problem()) {
            case ReadProblem::TooLarge: return ImageFileProblem::FileTooLarge;
            case ReadProblem::ReadFailed: return ImageFileProblem::CouldNotOpen;
            default: return ImageFileProblem::CutShort;
        }
    }

private:
    bool Refill() {
        if (!stream_) return false;
        buffer_.resize(kPiece);
        buffer_.resize(stream_->Read(buffer_));
        window_ = buffer_;
        at_ = 0;
        return !buffer_.empty();
    }

    static constexpr std::size_t kPiece = std::size_t{64} << 10;
    ByteStream* stream_ = nullptr;
    std::vector<std::uint8_t> buffer_;
    std::span<const std::uint8_t> window_;
    std::size_t at_ = 0;
};

bool IsSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// A '#' starts a comment up to the end of its line.
void SkipComment(PnmInput& in) {
    for (int c = in.Get(); c >= 0 && c != '\n';) c = in.Get();
}

void SkipSpaceAndComments(PnmInput& in) {
    for (int c = in.Peek(); c >= 0; c = in.Peek()) {
        if (c == '#') SkipComment(in);
        else if (IsSpace(c)) in.Get();
        else break;
    }
}

// The next word, after white space and comments; empty at the end. Words
// longer than any the header has are cut, which no number survives.
std::string NextWord(PnmInput& in) {
    SkipSpaceAndComments(in);
    std::string word;
    for (int c = in.Peek(); c >= 0 && !IsSpace(c) && c != '#'; c = in.Peek()) {
        if (word.size() < 64) word.push_back(static_cast<char>(c));
        in.Get();
    }
    return word;
}

std::optional<std::uint64_t> ParseNumber(std::string_view word, std::uint64_t limit) {
    if (word.empty() || word.size() > 12) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : word) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value > limit) return std::nullopt;
    return value;
}

// A decimal number of at most `limit`; nullopt for anything else.
std::optional<std::uint64_t> Number(PnmInput& in, std::uint64_t limit) { return ParseNumber(NextWord(in), limit); }

// One plain-PBM bit: '0' or '1', which need no space between them.
std::optional<std::uint64_t> Bit(PnmInput& in) {
    SkipSpaceAndComments(in);
    const int c = in.Peek();
    if (c != '0' && c != '1') return std::nullopt;
    in.Get();
    return static_cast<std::uint64_t>(c - '0');
}

constexpr std::uint64_t kSideLimit = 0xFFFFFFFFu;

bool ReadClassicHeader(PnmInput& in, PnmHeader& header) {
    const auto width = Number(in, kSideLimit);
    const auto height = Number(in, kSideLimit);
    if (!width || !height) return false;
    header.width = *width;
    header.height = *height;
    const bool bitmap = header.kind == '1' || header.kind == '4';
    if (bitmap) {
        header.maxval = 1;
        header.blackIsOne = true;
    } else {
        const auto maxval = Number(in, 65535);
        if (!maxval || *maxval == 0) return false;
        header.maxval = static_cast<std::uint32_t>(*maxval);
    }
    header.depth = header.kind == '3' || header.kind == '6' ? 3 : 1;
    header.plain = header.kind <= '3';
    // A plain raster is words anyway. A binary one starts after exactly one
    // white-space byte, or after a comment that ends the header's last line.
    if (header.plain) return true;
    const int end = in.Get();
    if (end == '#') SkipComment(in);
    return end == '#' || IsSpace(end);
}

bool ReadPamHeader(PnmInput& in, PnmHeader& header) {
    for (;;) {
        const std::string key = NextWord(in);
        if (key.empty()) return false;
        if (key == "ENDHDR") break;
        if (key == "TUPLTYPE") {
            NextWord(in);  // the depth says all the decoder needs
            continue;
        }
        const auto value = Number(in, kSideLimit);
        if (!value) return false;
        if (key == "WIDTH") header.width = *value;
        else if (key == "HEIGHT") header.height = *value;
        else if (key == "DEPTH") header.depth = static_cast<std::uint32_t>(std::min<std::uint64_t>(*value, 5));
        else if (key == "MAXVAL") header.maxval = static_cast<std::uint32_t>(std::min<std::uint64_t>(*value, 65536));
        else return false;
    }
    if (header.depth < 1 || header.depth > 4 || header.maxval < 1 || header.maxval > 65535) return false;
    // ENDHDR ends its line.
    for (int c = in.Get(); c != '\n'; c = in.Get())
        if (c < 0 || !IsSpace(c)) return false;
    return true;
}

std::uint8_t Scale(std::uint64_t value, std::uint32_t maxval) {
    return static_cast<std::uint8_t>((value * 255 + maxval / 2) / maxval);
}

Colour ToColour(const std::uint64_t* samples, const PnmHeader& header) {
    if (header.blackIsOne) return samples[0] ? kBlack : kWhite;
    if (header.depth < 3) {
        const std::uint8_t grey = Scale(samples[0], header.maxval);
        return Colour{grey, grey, grey};
    }
    return Colour{Scale(samples[0], header.maxval), Scale(samples[1], header.maxval), Scale(samples[2], header.maxval)};
}

ImageFileResult DecodePlain(PnmInput& in, const PnmHeader& header, Image& image) {
    std::uint64_t samples[4] = {};
    for (std::uint64_t y = 0; y < header.height; ++y)
        for (std::uint64_t x = 0; x < header.width; ++x) {
            for (std::uint32_t s = 0; s < header.depth; ++s) {
                SkipSpaceAndComments(in);
                if (in.Peek() < 0) return RefusedPicture(in.EndProblem());
                const auto value = header.kind == '1' ? Bit(in) : Number(in, header.maxval);
                if (!value) return RefusedPicture(ImageFileProblem::Damaged);
                samples[s] = *value;
            }
            if (x < static_cast<std::uint64_t>(image.Width()) && y < static_cast<std::uint64_t>(image.Height()))
                image.Set(static_cast<int>(x), static_cast<int>(y), ToColour(samples, header));
        }
    return DecodedPicture(std::move(image), header.width, header.height);
}

std::uint64_t RowBytes(const PnmHeader& header, std::uint64_t width) {
    const std::uint64_t sampleBytes = header.maxval > 255 ? 2 : 1;
    return header.kind == '4' ? (width + 7) / 8 : width * header.depth * sampleBytes;
}

// The fewest bytes the raster can take: a binary one its rows, a plain one a
// digit a sample (P1 needs no space between its digits).
std::uint64_t RasterBytesNeeded(const PnmHeader& header) {
    if (!header.plain) return RowBytes(header, header.width) * header.height;
    return header.width * header.height * header.depth * (header.kind == '1' ? 1 : 2) - (header.kind == '1' ? 0 : 1);
}

// Reads the raster a row at a time: of each row only the kept part is held,
// the rest is passed over, and rows below the kept ones are read only so
// that the file is known to hold them.
ImageFileResult DecodeBinary(PnmInput& in, const PnmHeader& header, Image& image) {
    const std::uint64_t sampleBytes = header.maxval > 255 ? 2 : 1;
    const std::uint64_t rowBytes = RowBytes(header, header.width);
    std::vector<std::uint8_t> kept(static_cast<std::size_t>(RowBytes(header, static_cast<std::uint64_t>(image.Width()))));
    std::uint64_t samples[4] = {};
    for (std::uint64_t y = 0; y < header.height; ++y) {
        const bool keep = y < static_cast<std::uint64_t>(image.Height());
        if (!(keep ? in.Read(kept) && in.Skip(rowBytes - kept.size()) : in.Skip(rowBytes)))
            return RefusedPicture(in.EndProblem());
        for (int x = 0; keep && x < image.Width(); ++x) {
            const auto ux = static_cast<std::uint64_t>(x);
            if (header.kind == '4') {
                samples[0] = (kept[ux / 8] >> (7 - ux % 8)) & 1;
            } else {
                const std::uint8_t* p = kept.data() + ux * header.depth * sampleBytes;
                for (std::uint32_t s = 0; s < header.depth; ++s, p += sampleBytes) {
                    samples[s] = sampleBytes == 2 ? (std::uint64_t{p[0]} << 8 | p[1]) : p[0];
                    if (samples[s] > header.maxval) return RefusedPicture(ImageFileProblem::Damaged);
                }
            }
            image.Set(x, static_cast<int>(y), ToColour(samples, header));
        }
    }
    return DecodedPicture(std::move(image), header.width, header.height);
}

// Decodes from the input, whose first two bytes ("P" and the kind) are read;
// `heldBytes` is what the caller keeps in memory meanwhile.
ImageFileResult Decode(PnmInput& in, char kind, std::uint64_t heldBytes, int maxWidth, int maxHeight) {
    PnmHeader header;
    header.kind = kind;
    const bool read = header.kind == '7' ? ReadPamHeader(in, header) : ReadClassicHeader(in, header);
    if (!read) return RefusedPicture(ImageFileProblem::NotAPicture);
    if (header.width == 0 || header.height == 0) return RefusedPicture(ImageFileProblem::NotAPicture);
    if (header.width * header.height > kMaxPicturePixels)
        return RefusedPicture(ImageFileProblem::TooManyPixels, header.width, header.height);
    // Judged before the picture is allocated where the file's size is known: a header alone costs nothing.
    if (const auto left = in.MemoryLeft(); left && RasterBytesNeeded(header) > *left)
        return RefusedPicture(ImageFileProblem::CutShort);
    const int keptWidth = KeptSide(header.width, maxWidth), keptHeight = KeptSide(header.height, maxHeight);
    const std::uint64_t rowBytes = RowBytes(header, static_cast<std::uint64_t>(keptWidth));
    if (!FitsDecodeMemory(heldBytes + KeptPictureBytes(keptWidth, keptHeight) + rowBytes))
        return RefusedPicture(ImageFileProblem::TooLargeToDecode, header.width, header.height);
    Image image(keptWidth, keptHeight);
    return header.plain ? DecodePlain(in, header, image) : DecodeBinary(in, header, image);
}

}  // namespace

bool IsPnm(std::span<const std::uint8_t> file) {
    return file.size() >= kPnmSignatureSize && file[0] == 'P' && file[1] >= '1' && file[1] <= '7' && IsSpace(file[2]);
}

ImageFileResult DecodePnm(std::span<const std::uint8_t> file, int maxWidth, int maxHeight) {
    if (!IsPnm(file)) return RefusedPicture(ImageFileProblem::NotAPicture);
    PnmInput in(file.subspan(2));
    return Decode(in, static_cast<char>(file[1]), file.size(), maxWidth, maxHeight);
}

ImageFileResult DecodePnmStream(std::span<const std::uint8_t> head, ByteStream& rest, int maxWidth, int maxHeight) {
    if (!IsPnm(head)) return RefusedPicture(ImageFileProblem::NotAPicture);
    PnmInput in(head.subspan(2), rest);
    return Decode(in, static_cast<char>(head[1]), 0, maxWidth, maxHeight);
}

std::vector<std::uint8_t> EncodePnm(const Image& image, PnmKind kind) {
    if (image.Empty()) return {};
    const std::string size = std::to_string(image.Width()) + (kind == PnmKind::Ppm ? " " : "\nHEIGHT ") +
                             std::to_string(image.Height());
    const std::string header = kind == PnmKind::Ppm
                                   ? "P6\n" + size + "\n255\n"
                                   : "P7\nWIDTH " + size + "\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n";
    std::vector<std::uint8_t> out(header.begin(), header.end());
    out.reserve(out.size() + image.Pixels().size() * 3);
    for (const Colour c : image.Pixels()) out.insert(out.end(), {c.r, c.g, c.b});
    return out;
}

}  // namespace corvane
