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
    std::size_t rasterStart = 0;
};

// The header's words, read without ever passing the end of the bytes.
class Words {
public:
    explicit Words(std::span<const std::uint8_t> bytes, std::size_t at) : bytes_(bytes), at_(at) {}

    std::size_t Position() const { return at_; }

    // The next word, after white space and comments; empty at the end.
    std::string_view Next() {
        SkipSpaceAndComments();
        const std::size_t start = at_;
        while (at_ < bytes_.size() && !IsSpace(bytes_[at_]) && bytes_[at_] != '#') ++at_;
        return {reinterpret_cast<const char*>(bytes_.data()) + start, at_ - start};
    }

    // A decimal number of at most `limit`; nullopt for anything else.
    std::optional<std::uint64_t> Number(std::uint64_t limit) { return ParseNumber(Next(), limit); }

    bool AtEnd() {
        SkipSpaceAndComments();
        return at_ >= bytes_.size();
    }

    // One plain-PBM bit: '0' or '1', which need no space between them.
    std::optional<std::uint64_t> Bit() {
        SkipSpaceAndComments();
        if (at_ >= bytes_.size() || (bytes_[at_] != '0' && bytes_[at_] != '1')) return std::nullopt;
        return bytes_[at_++] - '0';
    }

    static std::optional<std::uint64_t> ParseNumber(std::string_view word, std::uint64_t limit) {
        if (word.empty() || word.size() > 12) return std::nullopt;
        std::uint64_t value = 0;
        for (const char c : word) {
            if (c < '0' || c > '9') return std::nullopt;
            value = value * 10 + static_cast<std::uint64_t>(c - '0');
        }
        if (value > limit) return std::nullopt;
        return value;
    }

    static bool IsSpace(std::uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

private:
    void SkipSpaceAndComments() {
        while (at_ < bytes_.size()) {
            if (IsSpace(bytes_[at_])) {
                ++at_;
            } else if (bytes_[at_] == '#') {
                while (at_ < bytes_.size() && bytes_[at_] != '\n') ++at_;
            } else {
                break;
            }
        }
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t at_;
};

constexpr std::uint64_t kSideLimit = 0xFFFFFFFFu;

bool ReadClassicHeader(std::span<const std::uint8_t> file, PnmHeader& header) {
    Words words(file, 2);
    const auto width = words.Number(kSideLimit);
    const auto height = words.Number(kSideLimit);
    if (!width || !height) return false;
    header.width = *width;
    header.height = *height;
    const bool bitmap = header.kind == '1' || header.kind == '4';
    if (bitmap) {
        header.maxval = 1;
        header.blackIsOne = true;
    } else {
        const auto maxval = words.Number(65535);
        if (!maxval || *maxval == 0) return false;
        header.maxval = static_cast<std::uint32_t>(*maxval);
    }
    header.depth = header.kind == '3' || header.kind == '6' ? 3 : 1;
    header.plain = header.kind <= '3';
    // Exactly one white-space byte ends the header of a binary raster; a plain one is words anyway.
    if (header.plain) {
        header.rasterStart = words.Position();
        return true;
    }
    if (words.Position() >= file.size() || !Words::IsSpace(file[words.Position()])) return false;
    header.rasterStart = words.Position() + 1;
    return true;
}

bool ReadPamHeader(std::span<const std::uint8_t> file, PnmHeader& header) {
    Words words(file, 2);
    std::string_view tupleType;
    for (;;) {
        const std::string_view key = words.Next();
        if (key.empty()) return false;
        if (key == "ENDHDR") break;
        if (key == "TUPLTYPE") {
            tupleType = words.Next();
            continue;
        }
        const auto value = words.Number(kSideLimit);
        if (!value) return false;
        if (key == "WIDTH") header.width = *value;
        else if (key == "HEIGHT") header.height = *value;
        else if (key == "DEPTH") header.depth = static_cast<std::uint32_t>(std::min<std::uint64_t>(*value, 5));
        else if (key == "MAXVAL") header.maxval = static_cast<std::uint32_t>(std::min<std::uint64_t>(*value, 65536));
        else return false;
    }
    (void)tupleType;  // the depth says all the decoder needs
    if (header.depth < 1 || header.depth > 4 || header.maxval < 1 || header.maxval > 65535) return false;
    // ENDHDR ends its line.
    std::size_t at = words.Position();
    while (at < file.size() && file[at] != '\n') {
        if (!Words::IsSpace(file[at])) return false;
        ++at;
    }
    if (at >= file.size()) return false;
    header.rasterStart = at + 1;
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

ImageFileResult DecodePlain(std::span<const std::uint8_t> file, const PnmHeader& header, Image& image) {
    Words words(file, header.rasterStart);
    std::uint64_t samples[4] = {};
    for (std::uint64_t y = 0; y < header.height; ++y)
        for (std::uint64_t x = 0; x < header.width; ++x) {
            for (std::uint32_t s = 0; s < header.depth; ++s) {
                if (words.AtEnd()) return RefusedPicture(ImageFileProblem::CutShort);
                const auto value = header.kind == '1' ? words.Bit() : words.Number(header.maxval);
                if (!value) return RefusedPicture(ImageFileProblem::Damaged);
                samples[s] = *value;
            }
            if (x < static_cast<std::uint64_t>(image.Width()) && y < static_cast<std::uint64_t>(image.Height()))
                image.Set(static_cast<int>(x), static_cast<int>(y), ToColour(samples, header));
        }
    return DecodedPicture(std::move(image), header.width, header.height);
}

std::uint64_t BinaryRowBytes(const PnmHeader& header) {
    const std::uint64_t sampleBytes = header.maxval > 255 ? 2 : 1;
    return header.kind == '4' ? (header.width + 7) / 8 : header.width * header.depth * sampleBytes;
}

// The fewest bytes the raster can take: a binary one its rows, a plain one a
// digit a sample (P1 needs no space between its digits).
std::uint64_t RasterBytesNeeded(const PnmHeader& header) {
    if (!header.plain) return BinaryRowBytes(header) * header.height;
    return header.width * header.height * header.depth * (header.kind == '1' ? 1 : 2) - (header.kind == '1' ? 0 : 1);
}

ImageFileResult DecodeBinary(std::span<const std::uint8_t> file, const PnmHeader& header, Image& image) {
    const std::uint64_t sampleBytes = header.maxval > 255 ? 2 : 1;
    const std::uint64_t rowBytes = BinaryRowBytes(header);
    std::uint64_t samples[4] = {};
    for (int y = 0; y < image.Height(); ++y) {
        const std::uint8_t* row = file.data() + header.rasterStart + static_cast<std::uint64_t>(y) * rowBytes;
        for (int x = 0; x < image.Width(); ++x) {
            const auto ux = static_cast<std::uint64_t>(x);
            if (header.kind == '4') {
                samples[0] = (row[ux / 8] >> (7 - ux % 8)) & 1;
            } else {
                const std::uint8_t* p = row + ux * header.depth * sampleBytes;
                for (std::uint32_t s = 0; s < header.depth; ++s, p += sampleBytes) {
                    samples[s] = sampleBytes == 2 ? (std::uint64_t{p[0]} << 8 | p[1]) : p[0];
                    if (samples[s] > header.maxval) return RefusedPicture(ImageFileProblem::Damaged);
                }
            }
            image.Set(x, y, ToColour(samples, header));
        }
    }
    return DecodedPicture(std::move(image), header.width, header.height);
}

}  // namespace

bool IsPnm(std::span<const std::uint8_t> file) {
    return file.size() >= 3 && file[0] == 'P' && file[1] >= '1' && file[1] <= '7' && Words::IsSpace(file[2]);
}

ImageFileResult DecodePnm(std::span<const std::uint8_t> file, int maxWidth, int maxHeight) {
    if (!IsPnm(file)) return RefusedPicture(ImageFileProblem::NotAPicture);
    PnmHeader header;
    header.kind = static_cast<char>(file[1]);
    const bool read = header.kind == '7' ? ReadPamHeader(file, header) : ReadClassicHeader(file, header);
    if (!read) return RefusedPicture(ImageFileProblem::NotAPicture);
    if (header.width == 0 || header.height == 0) return RefusedPicture(ImageFileProblem::NotAPicture);
    if (header.width * header.height > kMaxPicturePixels)
        return RefusedPicture(ImageFileProblem::TooManyPixels, header.width, header.height);
    // Checked before the picture is allocated: a header alone costs nothing.
    if (RasterBytesNeeded(header) > file.size() - std::min<std::size_t>(header.rasterStart, file.size()))
        return RefusedPicture(ImageFileProblem::CutShort);
    Image image(KeptSide(header.width, maxWidth), KeptSide(header.height, maxHeight));
    return header.plain ? DecodePlain(file, header, image) : DecodeBinary(file, header, image);
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
