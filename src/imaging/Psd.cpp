#include "imaging/Psd.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "io/ByteOrder.h"

namespace corvane {
namespace {

using Reader = ByteReader<std::endian::big>;
using Writer = ByteWriter<std::endian::big>;

constexpr std::string_view kSignature = "8BPS";
constexpr std::string_view kBlockSignature = "8BIM";
constexpr std::string_view kGroupEnd = "</Layer group>";
constexpr int kSideLimit = 30000;  // what Photoshop allows a version-1 file
constexpr std::uint16_t kRgbMode = 3;
constexpr std::uint16_t kRaw = 0, kPackBits = 1;
constexpr std::uint32_t kOpenFolder = 1, kClosedFolder = 2, kFolderEnd = 3;
constexpr std::uint32_t kLockAll = 0x80000000u;
constexpr std::array<std::int16_t, 4> kChannelIds{-1, 0, 1, 2};  // alpha, red, green, blue

std::string ModeName(std::uint16_t mode) {
    switch (mode) {
        case 0: return "a bitmap (1-bit)";
        case 1: return "a greyscale";
        case 2: return "an indexed-colour";
        case 4: return "a CMYK";
        case 7: return "a multichannel";
        case 8: return "a duotone";
        case 9: return "a Lab";
        default: return "an unknown-mode";
    }
}

// ---- UTF-8 and UTF-16 --------------------------------------------------------

std::string Utf8(const std::vector<std::uint32_t>& code) {
    std::string out;
    for (std::uint32_t c : code) {
        if (c == 0) continue;  // some writers end a name with a zero
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string FromUtf16(const std::vector<std::uint16_t>& units) {
    std::vector<std::uint32_t> code;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const std::uint32_t u = units[i];
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            code.push_back(0x10000 + ((u - 0xD800) << 10) + (units[++i] - 0xDC00u));
        } else if (u >= 0xD800 && u < 0xE000) {
            code.push_back(0xFFFD);  // a lone surrogate
        } else {
            code.push_back(u);
        }
    }
    return Utf8(code);
}

// Invalid sequences become U+FFFD, so a name always survives the trip.
std::vector<std::uint16_t> ToUtf16(std::string_view text) {
    std::vector<std::uint16_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<std::uint8_t>(text[i]);
        const int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        std::uint32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1Fu) : extra == 2 ? (b & 0x0Fu) : (b & 0x07u);
        bool valid = extra >= 0 && i + static_cast<std::size_t>(extra) < text.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<std::uint8_t>(text[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3Fu);
        }
        if (!valid || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
            c = 0xFFFD;
            i += 1;
        } else {
            i += static_cast<std::size_t>(extra) + 1;
        }
        if (c >= 0x10000) {
            out.push_back(static_cast<std::uint16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<std::uint16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<std::uint16_t>(c));
        }
    }
    return out;
}

// ---- reading ------------------------------------------------------------------

struct LayerRecord {
    std::int32_t top = 0, left = 0, bottom = 0, right = 0;
    struct Channel {
        std::int16_t id;
        std::uint32_t length;
    };
    std::vector<Channel> channels;
    bool hidden = false;
    bool locked = false;
    std::string name;
    std::uint32_t section = 0;  // lsct type; 0 for a plain layer
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// A u32 length and the bytes it covers, as a reader of their own.
Result<Reader> Section(Reader& in, const char* what) {
    const std::uint32_t length = in.U32();
    const auto bytes = in.Bytes(length);
    if (!in.Ok()) return Fail(std::string("cut short in its ") + what);
    return Reader(bytes);
}

std::string PascalName(Reader& in) {
    const std::uint8_t length = in.U8();
    const auto bytes = in.Bytes(length);
    in.Skip((4 - (1 + std::size_t{length}) % 4) % 4);
    std::vector<std::uint32_t> code(bytes.begin(), bytes.end());  // Latin-1 as the nearest guess
    return Utf8(code);
}

void ReadTaggedBlocks(Reader& in, LayerRecord& record) {
    while (in.Remaining() >= 12) {
        const std::string signature = in.FourCC();
        if (signature != kBlockSignature && signature != "8B64") return;
        const std::string key = in.FourCC();
        auto data = Section(in, "layer records");
        if (!data) return;
        if (key == "luni") {
            const std::uint32_t count = data->U32();
            std::vector<std::uint16_t> units;
            for (std::uint32_t i = 0; i < count && data->Ok(); ++i) units.push_back(data->U16());
            if (data->Ok()) record.name = FromUtf16(units);
        } else if (key == "lsct" || key == "lsdk") {
            record.section = data->U32();
        } else if (key == "lspf") {
            record.locked = data->U32() != 0;
        }
    }
}

Result<LayerRecord> ReadRecord(Reader& in) {
    LayerRecord record;
    record.top = in.I32();
    record.left = in.I32();
    record.bottom = in.I32();
    record.right = in.I32();
    const std::uint16_t channels = in.U16();
    if (!in.Ok()) return Fail("cut short in its layer records");
    if (channels > 56) return Fail("a layer with " + std::to_string(channels) + " channels");
    const std::int64_t width = std::int64_t{record.right} - record.left, height = std::int64_t{record.bottom} - record.top;
    if (width < 0 || height < 0 || width > (1 << 24) || height > (1 << 24)) return Fail("a layer with an impossible size");
    for (std::uint16_t i = 0; i < channels; ++i) {
        const auto id = static_cast<std::int16_t>(in.U16());
        record.channels.push_back({id, in.U32()});
    }
    if (in.FourCC() != kBlockSignature) return Fail("a damaged layer record");
    in.Skip(4 + 1 + 1);  // blend mode, opacity, clipping
    record.hidden = (in.U8() & 0x02) != 0;
    in.Skip(1);
    auto extra = Section(in, "layer records");
    if (!extra) return extra.Error();
    if (auto mask = Section(*extra, "layer records"); !mask) return mask.Error();
    if (auto ranges = Section(*extra, "layer records"); !ranges) return ranges.Error();
    record.name = PascalName(*extra);
    if (!extra->Ok()) return Fail("cut short in its layer records");
    ReadTaggedBlocks(*extra, record);
    return record;
}

// One channel's plane of width x height bytes, raw or PackBits.
Status ReadPlane(Reader& in, int width, int height, std::span<std::uint8_t> plane, std::span<const std::uint16_t> rowLengths,
                 std::uint16_t compression) {
    const auto w = static_cast<std::size_t>(width);
    if (compression == kRaw) {
        const auto bytes = in.Bytes(w * static_cast<std::size_t>(height));
        if (!in.Ok()) return Fail("cut short in its pixels");
        std::copy(bytes.begin(), bytes.end(), plane.begin());
        return {};
    }
    for (int y = 0; y < height; ++y) {
        const auto packed = in.Bytes(rowLengths[static_cast<std::size_t>(y)]);
        if (!in.Ok()) return Fail("cut short in its pixels");
        if (!UnpackBits(packed, plane.subspan(static_cast<std::size_t>(y) * w, w)))
            return Fail("a damaged PackBits row");
    }
    return {};
}

Result<std::uint16_t> ReadCompression(Reader& in, int height, int planes, std::vector<std::uint16_t>& rowLengths) {
    const std::uint16_t compression = in.U16();
    if (!in.Ok()) return Fail("cut short in its pixels");
    if (compression == 2 || compression == 3) return Fail("ZIP-compressed channels, which are not supported; save with PackBits (RLE)");
    if (compression != kRaw && compression != kPackBits) return Fail("an unknown channel compression");
    rowLengths.clear();
    if (compression == kPackBits) {
        const auto count = static_cast<std::size_t>(height) * static_cast<std::size_t>(planes);
        if (in.Remaining() < 2 * count) return Fail("cut short in its pixels");
        for (std::size_t i = 0; i < count; ++i) rowLengths.push_back(in.U16());
    }
    return compression;
}

void StoreChannel(RgbaImage& image, std::int16_t id, std::span<const std::uint8_t> plane) {
    for (std::size_t i = 0; i < image.Pixels().size(); ++i) {
        Rgba& p = image.Pixels()[i];
        (id == -1 ? p.a : id == 0 ? p.r : id == 1 ? p.g : p.b) = plane[i];
    }
}

Result<RgbaImage> ReadLayerPixels(Reader& in, const LayerRecord& record, PixelBudget& budget) {
    const int width = record.Width(), height = record.Height();
    if (!budget.Take(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height)))
        return Fail("more pixels than " + std::to_string(kLayeredPixelLimit >> 20) + " megapixels");
    RgbaImage image(width, height, Rgba{0, 0, 0, 255});
    std::vector<std::uint8_t> plane(image.Pixels().size());
    std::vector<std::uint16_t> rowLengths;
    for (const auto& channel : record.channels) {
        auto bytes = in.Bytes(channel.length);
        if (!in.Ok()) return Fail("cut short in its layer pixels");
        // Masks have sizes of their own, and we draw no mask.
        if (channel.id < -1 || channel.id > 2 || width == 0 || height == 0) continue;
        Reader data(bytes);
        auto compression = ReadCompression(data, height, 1, rowLengths);
        if (!compression) return compression.Error();
        if (Status read = ReadPlane(data, width, height, plane, rowLengths, *compression); !read) return read.Error();
        StoreChannel(image, channel.id, plane);
    }
    return image;
}

// Records come bottom first; groups open at their folder record, above their
// layers, and close at the divider below them.
Status BuildStack(std::vector<LayerRecord>& records, std::vector<RgbaImage>& pixels, std::vector<Layer>& top) {
    std::vector<std::vector<Layer>*> open{&top};
    for (std::size_t k = records.size(); k-- > 0;) {
        LayerRecord& record = records[k];
        if (record.section == kFolderEnd) {
            if (open.size() > 1) open.pop_back();
            continue;
        }
        Layer layer;
        layer.name = std::move(record.name);
        layer.visible = !record.hidden;
        layer.locked = record.locked;
        layer.x = record.left;
        layer.y = record.top;
        if (record.section == kOpenFolder || record.section == kClosedFolder) {
            if (static_cast<int>(open.size()) > kLayeredGroupDepthLimit)
                return Fail("groups nest deeper than " + std::to_string(kLayeredGroupDepthLimit));
            layer.group = true;
            layer.x = layer.y = 0;
            open.back()->push_back(std::move(layer));
            open.push_back(&open.back()->back().children);
            continue;
        }
        layer.pixels = std::move(pixels[k]);
        open.back()->push_back(std::move(layer));
    }
    return {};
}

Status ReadLayers(Reader& in, LayeredPicture& picture, PixelBudget& budget) {
    auto section = Section(in, "layer information");
    if (!section) return section.Error();
    if (section->Size() == 0) return {};
    auto info = Section(*section, "layer information");
    if (!info) return info.Error();
    if (info->Size() == 0) return {};
    const auto count = static_cast<std::int16_t>(info->U16());
    const int layers = count < 0 ? -count : count;
    std::vector<LayerRecord> records;
    for (int i = 0; i < layers; ++i) {
        auto record = ReadRecord(*info);
        if (!record) return record.Error();
        records.push_back(std::move(*record));
    }
    std::vector<RgbaImage> pixels;
    for (const LayerRecord& record : records) {
        auto image = ReadLayerPixels(*info, record, budget);
        if (!image) return image.Error();
        pixels.push_back(std::move(*image));
    }
    return BuildStack(records, pixels, picture.layers);
}

Result<RgbaImage> ReadMerged(Reader& in, int width, int height, int channels, PixelBudget& budget) {
    if (!budget.Take(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height)))
        return Fail("more pixels than " + std::to_string(kLayeredPixelLimit >> 20) + " megapixels");
    RgbaImage image(width, height, Rgba{0, 0, 0, 255});
    std::vector<std::uint16_t> rowLengths;
    auto compression = ReadCompression(in, height, channels, rowLengths);
    if (!compression) return compression.Error();
    std::vector<std::uint8_t> plane(image.Pixels().size());
    const std::size_t rows = static_cast<std::size_t>(height);
    for (int c = 0; c < std::min(channels, 4); ++c) {
        const auto lengths = *compression == kPackBits ? std::span<const std::uint16_t>(rowLengths).subspan(static_cast<std::size_t>(c) * rows, rows)
                                                       : std::span<const std::uint16_t>();
        if (Status read = ReadPlane(in, width, height, plane, lengths, *compression); !read) return read.Error();
        StoreChannel(image, c == 3 ? std::int16_t{-1} : static_cast<std::int16_t>(c), plane);
    }
    return image;
}

// ---- writing ------------------------------------------------------------------

struct Plane {
    std::vector<std::uint8_t> bytes;  // compression, row lengths, rows
};

// Compression PackBits, the row lengths, the rows; with the row lengths of a
// whole image kept apart, for the merged image that lists all first.
void PackPlane(const RgbaImage& image, int channel, std::vector<std::uint16_t>& lengths, std::vector<std::uint8_t>& rows) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(image.Width()));
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const Rgba p = image.At(x, y);
            row[static_cast<std::size_t>(x)] = channel == -1 ? p.a : channel == 0 ? p.r : channel == 1 ? p.g : p.b;
        }
        const auto packed = PackBits(row);
        lengths.push_back(static_cast<std::uint16_t>(packed.size()));
        rows.insert(rows.end(), packed.begin(), packed.end());
    }
}

std::vector<std::uint8_t> ChannelData(const RgbaImage& image, int channel) {
    Writer out;
    if (image.Empty()) {
        out.U16(kRaw);
        return out.Take();
    }
    std::vector<std::uint16_t> lengths;
    std::vector<std::uint8_t> rows;
    PackPlane(image, channel, lengths, rows);
    out.U16(kPackBits);
    for (const std::uint16_t n : lengths) out.U16(n);
    out.Bytes(rows);
    return out.Take();
}

struct FlatRecord {
    const Layer* layer;
    std::uint32_t section;
};

// Bottom first, each group as its divider, its layers, then its folder record.
void Flatten(const std::vector<Layer>& layers, std::vector<FlatRecord>& out) {
    for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
        if (!it->group) {
            out.push_back({&*it, 0});
            continue;
        }
        out.push_back({&*it, kFolderEnd});
        Flatten(it->children, out);
        out.push_back({&*it, kOpenFolder});
    }
}

void WriteBlock(Writer& out, std::string_view key, const std::vector<std::uint8_t>& data) {
    out.FourCC(kBlockSignature);
    out.FourCC(key);
    out.U32(static_cast<std::uint32_t>(data.size()));
    out.Bytes(data);
}

std::vector<std::uint8_t> ExtraData(const std::string& name, std::uint32_t section, bool locked) {
    Writer out;
    out.U32(0);  // no mask
    out.U32(0);  // no blending ranges
    // The Pascal name is for old readers: ASCII, at most 255 bytes.
    std::string ascii;
    for (const char c : name) ascii += static_cast<unsigned char>(c) < 0x80 ? c : '_';
    if (ascii.size() > 255) ascii.resize(255);
    out.U8(static_cast<std::uint8_t>(ascii.size()));
    out.Bytes(std::span(reinterpret_cast<const std::uint8_t*>(ascii.data()), ascii.size()));
    out.Zeros((4 - (1 + ascii.size()) % 4) % 4);

    Writer unicode;
    const auto units = ToUtf16(name);
    unicode.U32(static_cast<std::uint32_t>(units.size()));
    for (const std::uint16_t u : units) unicode.U16(u);
    unicode.Zeros((4 - unicode.Size() % 4) % 4);
    WriteBlock(out, "luni", unicode.Take());
    if (section != 0) {
        Writer divider;
        divider.U32(section);
        divider.FourCC(kBlockSignature);
        divider.FourCC(section == kFolderEnd ? "norm" : "pass");
        WriteBlock(out, "lsct", divider.Take());
    }
    if (locked) {
        Writer protection;
        protection.U32(kLockAll);
        WriteBlock(out, "lspf", protection.Take());
    }
    return out.Take();
}

}  // namespace

std::vector<std::uint8_t> PackBits(std::span<const std::uint8_t> row) {
    std::vector<std::uint8_t> out;
    std::size_t i = 0;
    while (i < row.size()) {
        std::size_t run = 1;
        while (i + run < row.size() && run < 128 && row[i + run] == row[i]) ++run;
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(257 - run));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        // Literals up to the next pair of equal bytes.
        std::size_t length = 1;
        while (i + length < row.size() && length < 128 &&
               !(i + length + 1 < row.size() && row[i + length] == row[i + length + 1]))
            ++length;
        out.push_back(static_cast<std::uint8_t>(length - 1));
        out.insert(out.end(), row.begin() + static_cast<std::ptrdiff_t>(i),
                   row.begin() + static_cast<std::ptrdiff_t>(i + length));
        i += length;
    }
    return out;
}

bool UnpackBits(std::span<const std::uint8_t> packed, std::span<std::uint8_t> out) {
    std::size_t in = 0, at = 0;
    while (in < packed.size()) {
        const auto header = static_cast<std::int8_t>(packed[in++]);
        if (header == -128) continue;
        if (header >= 0) {
            const auto n = static_cast<std::size_t>(header) + 1;
            if (n > packed.size() - in || n > out.size() - at) return false;
            std::copy_n(packed.begin() + static_cast<std::ptrdiff_t>(in), n, out.begin() + static_cast<std::ptrdiff_t>(at));
            in += n;
            at += n;
        } else {
            const auto n = static_cast<std::size_t>(1 - header);
            if (in >= packed.size() || n > out.size() - at) return false;
            std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(at), n, packed[in++]);
            at += n;
        }
    }
    return at == out.size();
}

Result<LayeredPicture> DecodePsd(std::span<const std::uint8_t> file) {
    if (file.size() > kLayeredFileLimit)
        return Fail("larger than " + std::to_string(kLayeredFileLimit >> 20) + " MiB");
    Reader in(file);
    if (in.FourCC() != kSignature) return Fail("not a Photoshop file");
    const std::uint16_t version = in.U16();
    in.Skip(6);
    const std::uint16_t channels = in.U16();
    const std::uint32_t height = in.U32(), width = in.U32();
    const std::uint16_t depth = in.U16(), mode = in.U16();
    if (!in.Ok()) return Fail("cut short in its header");
    if (version == 2) return Fail("a large-document (PSB) file, which is not supported; save it as a Photoshop (.psd) file");
    if (version != 1) return Fail("a Photoshop file of an unknown version");
    if (depth != 8)
        return Fail("a picture of " + std::to_string(depth) + " bits per channel; save it at 8 bits per channel");
    if (mode != kRgbMode) return Fail(ModeName(mode) + " picture; save it in RGB at 8 bits per channel");
    if (channels < 3 || channels > 56 || width == 0 || height == 0 || width > kSideLimit || height > kSideLimit)
        return Fail("a damaged header");

    LayeredPicture picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    PixelBudget budget;
    if (auto colourModeData = Section(in, "colour mode data"); !colourModeData) return colourModeData.Error();
    if (auto resources = Section(in, "image resources"); !resources) return resources.Error();
    if (Status layers = ReadLayers(in, picture, budget); !layers) return layers.Error();
    auto merged = ReadMerged(in, picture.width, picture.height, channels, budget);
    if (!merged) return Fail("a merged image " + merged.Reason());
    picture.merged = std::move(*merged);
    return picture;
}

Result<std::vector<std::uint8_t>> EncodePsd(const LayeredPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0 || picture.width > kSideLimit || picture.height > kSideLimit)
        return Fail("a picture of " + std::to_string(picture.width) + " x " + std::to_string(picture.height) +
                    " pixels cannot be a Photoshop file");
    std::vector<FlatRecord> records;
    Flatten(picture.layers, records);
    if (records.size() > 32767) return Fail("too many layers for a Photoshop file");

    Writer info;
    info.U16(static_cast<std::uint16_t>(-static_cast<std::int16_t>(records.size())));
    std::vector<std::vector<std::uint8_t>> channelData;
    static const RgbaImage kNoPixels;
    for (const auto& [layer, section] : records) {
        const RgbaImage& pixels = section == 0 ? layer->pixels : kNoPixels;
        const int x = section == 0 ? layer->x : 0, y = section == 0 ? layer->y : 0;
        if (pixels.Width() > kSideLimit || pixels.Height() > kSideLimit)
            return Fail("the layer '" + layer->name + "' is too large for a Photoshop file");
        info.I32(y);
        info.I32(x);
        info.I32(y + pixels.Height());
        info.I32(x + pixels.Width());
        info.U16(kChannelIds.size());
        for (const std::int16_t id : kChannelIds) {
            channelData.push_back(ChannelData(pixels, id));
            info.U16(static_cast<std::uint16_t>(id));
            info.U32(static_cast<std::uint32_t>(channelData.back().size()));
        }
        info.FourCC(kBlockSignature);
        info.FourCC(section == kOpenFolder ? "pass" : "norm");
        info.U8(255);  // opaque
        info.U8(0);    // no clipping
        // Bit 1 hides; bits 3 and 4 say a group record's pixels do not count.
        info.U8(static_cast<std::uint8_t>((layer->visible || section == kFolderEnd ? 0 : 0x02) | (section ? 0x18 : 0)));
        info.U8(0);
        const auto extra = ExtraData(section == kFolderEnd ? std::string(kGroupEnd) : layer->name, section,
                                     section == 0 && layer->locked);
        info.U32(static_cast<std::uint32_t>(extra.size()));
        info.Bytes(extra);
    }
    for (const auto& data : channelData) info.Bytes(data);
    if (info.Size() % 2) info.U8(0);

    Writer out;
    out.FourCC(kSignature);
    out.U16(1);
    out.Zeros(6);
    out.U16(4);  // red, green, blue, transparency
    out.U32(static_cast<std::uint32_t>(picture.height));
    out.U32(static_cast<std::uint32_t>(picture.width));
    out.U16(8);
    out.U16(kRgbMode);
    out.U32(0);  // colour mode data
    out.U32(0);  // image resources
    out.U32(static_cast<std::uint32_t>(4 + info.Size() + 4));
    out.U32(static_cast<std::uint32_t>(info.Size()));
    out.Bytes(info.Data());
    out.U32(0);  // global layer mask info

    const RgbaImage merged =
        picture.merged.Width() == picture.width && picture.merged.Height() == picture.height
            ? picture.merged
            : RgbaImage(picture.width, picture.height);
    std::vector<std::uint16_t> lengths;
    std::vector<std::uint8_t> rows;
    for (const int channel : {0, 1, 2, -1}) PackPlane(merged, channel, lengths, rows);
    out.U16(kPackBits);
    for (const std::uint16_t n : lengths) out.U16(n);
    out.Bytes(rows);
    if (out.Size() > kLayeredFileLimit) return Fail("the picture is too large for a layered file");
    return out.Take();
}

}  // namespace corvane
