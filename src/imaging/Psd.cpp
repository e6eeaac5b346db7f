// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/Psd.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/PsdFormat.h"
#include "imaging/Utf16.h"

namespace corvane {
namespace {

using namespace psd;

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
    std::uint8_t opacity = 255;
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
    // Latin-1 as the nearest guess: its code points are UTF-16 units as they are.
    return Utf16ToUtf8(std::vector<std::uint16_t>(bytes.begin(), bytes.end()));
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
            if (data->Ok()) record.name = Utf16ToUtf8(units);
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
    in.Skip(4);  // blend mode
    record.opacity = in.U8();
    in.Skip(1);  // clipping
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

// The fewest bytes a plane of width x height takes: raw, every byte; packed,
// the row counts and at least a header and a byte for every 128 of a row.
std::uint64_t LeastPlaneBytes(std::uint16_t compression, std::uint64_t width, std::uint64_t height) {
    if (compression == kRaw) return width * height;
    return height * (2 + 2 * ((width + 127) / 128));
}

bool IsDrawn(std::int16_t id) { return id >= -1 && id <= 2; }

const char* ChannelName(std::int16_t id) { return id == -1 ? "alpha" : id == 0 ? "red" : id == 1 ? "green" : "blue"; }

// Before a layer's pixels are taken: its colour channels are all there, and
// each drawn channel's data are in the file and long enough for its plane.
Status CheckChannels(Reader in, const LayerRecord& record) {
    const std::uint64_t width = static_cast<std::uint64_t>(record.Width()), height = static_cast<std::uint64_t>(record.Height());
    const auto has = [&](std::int16_t id) {
        return std::any_of(record.channels.begin(), record.channels.end(), [id](const auto& c) { return c.id == id; });
    };
    for (const std::int16_t id : {std::int16_t{0}, std::int16_t{1}, std::int16_t{2}})
        if (!has(id))
            return Fail("its layer '" + record.name + "' of " + std::to_string(width) + " x " + std::to_string(height) +
                        " pixels has no " + ChannelName(id) + " channel");
    for (const auto& channel : record.channels) {
        const auto bytes = in.Bytes(channel.length);
        if (!in.Ok()) return Fail("cut short in its layer pixels");
        if (!IsDrawn(channel.id)) continue;
        Reader data(bytes);
        const std::uint16_t compression = data.U16();
        if (!data.Ok() || (compression != kRaw && compression != kPackBits)) continue;  // told when it is read
        if (data.Remaining() < LeastPlaneBytes(compression, width, height))
            return Fail("its layer '" + record.name + "' of " + std::to_string(width) + " x " + std::to_string(height) +
                        " pixels has " + std::to_string(channel.length) + " bytes for its " + ChannelName(channel.id) +
                        " channel, too few for its pixels");
    }
    return {};
}

// The layer's pixels from its channels' data, `in` holding just those.
Result<RgbaImage> ReadLayerPixels(Reader in, const LayerRecord& record, PixelBudget& budget) {
    const int width = record.Width(), height = record.Height();
    if (width > 0 && height > 0) {
        if (Status checked = CheckChannels(in, record); !checked) return checked.Error();
        if (Status taken = budget.Take(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height)); !taken)
            return Fail("its layer '" + record.name + "' is " + taken.Reason());
        if (Status held = budget.Hold(static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height)); !held)
            return Fail("its layer '" + record.name + "' " + held.Reason());
    }
    const HeldBytes release{budget, width > 0 && height > 0 ? static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) : 0};
    RgbaImage image(width, height, Rgba{0, 0, 0, 255});
    std::vector<std::uint8_t> plane(image.Pixels().size());
    std::vector<std::uint16_t> rowLengths;
    for (const auto& channel : record.channels) {
        auto bytes = in.Bytes(channel.length);
        if (!in.Ok()) return Fail("cut short in its layer pixels");
        // Masks have sizes of their own, and we draw no mask.
        if (!IsDrawn(channel.id) || width == 0 || height == 0) continue;
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
        layer.opacity = record.opacity;
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

// Of each name the topmost layer, as FindLayer goes: records from the top,
// each group's layers right after its folder record.
std::vector<bool> TakenLayers(const std::vector<LayerRecord>& records, const LayeredRead& read) {
    LayerUse use(read);
    std::vector<bool> taken(records.size());
    for (std::size_t k = records.size(); k-- > 0;) {
        const std::uint32_t section = records[k].section;
        if (section != kFolderEnd && section != kOpenFolder && section != kClosedFolder) taken[k] = use.Next(records[k].name);
    }
    return taken;
}

Status ReadLayers(Reader& section, LayeredPicture& picture, PixelBudget& budget, const LayeredRead& read) {
    if (section.Size() == 0) return {};
    auto info = Section(section, "layer information");
    if (!info) return info.Error();
    if (info->Size() == 0) return {};
    const auto count = static_cast<std::int16_t>(info->U16());
    const int layers = count < 0 ? -count : count;
    // A group takes two records, its folder and its end: the limit counts records.
    if (layers > kLayeredLayerLimit)
        return Fail("it declares " + std::to_string(layers) + " layer records, more than the " +
                    std::to_string(kLayeredLayerLimit) + " layers and groups a layered picture may have");
    std::vector<LayerRecord> records;
    for (int i = 0; i < layers; ++i) {
        auto record = ReadRecord(*info);
        if (!record) return record.Error();
        records.push_back(std::move(*record));
    }
    const std::vector<bool> taken = TakenLayers(records, read);
    std::vector<RgbaImage> pixels;
    for (std::size_t k = 0; k < records.size(); ++k) {
        const LayerRecord& record = records[k];
        std::uint64_t length = 0;
        for (const auto& channel : record.channels) length += channel.length;
        // Sliced whole first, so that a layer left out leaves the next where it begins.
        const auto data = info->Bytes(static_cast<std::size_t>(std::min<std::uint64_t>(length, SIZE_MAX)));
        auto image = info->Ok() ? ReadLayerPixels(Reader(data), record, budget) : Result<RgbaImage>(Fail("cut short in its layer pixels"));
        if (!image && taken[k]) return image.Error();
        if (!image) picture.notices.push_back(LeftOutNotice(record.name, "cannot be read: " + image.Reason()));
        pixels.push_back(image ? std::move(*image) : RgbaImage());
    }
    return BuildStack(records, pixels, picture.layers);
}

Result<RgbaImage> ReadMerged(Reader& in, int width, int height, int channels, PixelBudget& budget) {
    const auto w = static_cast<std::uint64_t>(width), h = static_cast<std::uint64_t>(height);
    std::vector<std::uint16_t> rowLengths;
    auto compression = ReadCompression(in, height, channels, rowLengths);
    if (!compression) return compression.Error();
    // The planes must be there before their pixels are taken.
    const int drawn = std::min(channels, 4);
    if (in.Remaining() / static_cast<std::uint64_t>(drawn) < LeastPlaneBytes(*compression, w, h) - (*compression == kPackBits ? 2 * h : 0))
        return Fail("cut short in its pixels");
    if (Status taken = budget.Take(w, h); !taken) return taken.Error();
    if (Status held = budget.Hold(w * h); !held) return held.Error();
    const HeldBytes release{budget, w * h};
    RgbaImage image(width, height, Rgba{0, 0, 0, 255});
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

}  // namespace

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

Result<LayeredPicture> DecodePsd(std::span<const std::uint8_t> file, const LayeredRead& read) {
    if (file.size() > LayeredFileLimit(read.file))
        return Fail("larger than " + std::to_string(LayeredFileLimit(read.file) >> 20) + " MiB");
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

    if (std::uint64_t{width} * height > kLayeredPixelLimit)
        return Fail("a picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels, more than the " +
                    std::to_string(kLayeredPixelLimit >> 20) + " megapixels a layered picture may have");
    LayeredPicture picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    PixelBudget budget;
    // Held by the caller all along, or mapped: then the sections are found by
    // their lengths, and only the layers' (and the merged image's) are read.
    const bool mapped = read.file == FileBytes::Mapped;
    if (Status held = budget.Hold(mapped ? 0 : file.size()); !held) return Fail("the file " + held.Reason());
    if (auto colourModeData = Section(in, "colour mode data"); !colourModeData) return colourModeData.Error();
    if (auto resources = Section(in, "image resources"); !resources) return resources.Error();
    auto layers = Section(in, "layer information");
    if (!layers) return layers.Error();
    if (Status held = budget.Hold(mapped ? layers->Size() : 0); !held) return Fail("the layer information " + held.Reason());
    if (Status layered = ReadLayers(*layers, picture, budget, read); !layered) return layered.Error();
    if (read.merged == MergedImage::Skipped) return picture;
    // Import never uses the merged image: a damaged one is told, not refused.
    Status held = budget.Hold(mapped ? in.Remaining() : 0);
    auto image = held ? ReadMerged(in, picture.width, picture.height, channels, budget) : Result<RgbaImage>(held.Error());
    if (image)
        picture.merged = std::move(*image);
    else
        picture.notices.push_back("The merged image was left out, as it could not be read: " + image.Reason() + ".");
    return picture;
}

}  // namespace corvane
