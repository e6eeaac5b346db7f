// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/Psd.h"

#include <string>
#include <string_view>

#include "imaging/PsdFormat.h"
#include "imaging/Utf16.h"

namespace corvane {
namespace {

using namespace psd;

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
    const auto units = Utf8ToUtf16(name);
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

// One record of the layer info; its channels' data are kept for after all records.
void WriteRecord(Writer& info, const FlatRecord& record, std::vector<std::vector<std::uint8_t>>& channelData) {
    static const RgbaImage kNoPixels;
    const auto& [layer, section] = record;
    const RgbaImage& pixels = section == 0 ? layer->pixels : kNoPixels;
    const int x = section == 0 ? layer->x : 0, y = section == 0 ? layer->y : 0;
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
    info.U8(section == kFolderEnd ? 255 : layer->opacity);
    info.U8(0);    // no clipping
    // Bit 1 hides; bits 3 and 4 say a group record's pixels do not count.
    info.U8(static_cast<std::uint8_t>((layer->visible || section == kFolderEnd ? 0 : 0x02) | (section ? 0x18 : 0)));
    info.U8(0);
    const auto extra =
        ExtraData(section == kFolderEnd ? std::string(kGroupEnd) : layer->name, section, section == 0 && layer->locked);
    info.U32(static_cast<std::uint32_t>(extra.size()));
    info.Bytes(extra);
}

// The layer info: the count, every record, then every record's channels, padded to even.
Result<std::vector<std::uint8_t>> LayerInfo(const std::vector<Layer>& layers) {
    std::vector<FlatRecord> records;
    Flatten(layers, records);
    if (records.size() > 32767) return Fail("too many layers for a Photoshop file");
    Writer info;
    info.U16(static_cast<std::uint16_t>(-static_cast<std::int16_t>(records.size())));
    std::vector<std::vector<std::uint8_t>> channelData;
    for (const FlatRecord& record : records) {
        const RgbaImage& pixels = record.layer->pixels;
        if (record.section == 0 && (pixels.Width() > kSideLimit || pixels.Height() > kSideLimit))
            return Fail("the layer '" + record.layer->name + "' is too large for a Photoshop file");
        WriteRecord(info, record, channelData);
    }
    for (const auto& data : channelData) info.Bytes(data);
    if (info.Size() % 2) info.U8(0);
    return info.Take();
}

// The merged image, every channel's row lengths before all rows; a merged
// image of another size than the canvas is written see-through.
void WriteMerged(Writer& out, const LayeredPicture& picture) {
    const RgbaImage merged = picture.merged.Width() == picture.width && picture.merged.Height() == picture.height
                                 ? picture.merged
                                 : RgbaImage(picture.width, picture.height);
    std::vector<std::uint16_t> lengths;
    std::vector<std::uint8_t> rows;
    for (const int channel : {0, 1, 2, -1}) PackPlane(merged, channel, lengths, rows);
    out.U16(kPackBits);
    for (const std::uint16_t n : lengths) out.U16(n);
    out.Bytes(rows);
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
        // Literals up to the next three equal bytes: a pair cut out of a literal
        // run costs its two bytes plus a header for the literals after it.
        std::size_t length = 1;
        while (i + length < row.size() && length < 128 &&
               !(i + length + 2 < row.size() && row[i + length] == row[i + length + 1] &&
                 row[i + length] == row[i + length + 2]))
            ++length;
        out.push_back(static_cast<std::uint8_t>(length - 1));
        out.insert(out.end(), row.begin() + static_cast<std::ptrdiff_t>(i),
                   row.begin() + static_cast<std::ptrdiff_t>(i + length));
        i += length;
    }
    return out;
}

Result<std::vector<std::uint8_t>> EncodePsd(const LayeredPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0 || picture.width > kSideLimit || picture.height > kSideLimit)
        return Fail("a picture of " + std::to_string(picture.width) + " x " + std::to_string(picture.height) +
                    " pixels cannot be a Photoshop file");
    const Result<std::vector<std::uint8_t>> info = LayerInfo(picture.layers);
    if (!info) return info.Error();

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
    out.U32(static_cast<std::uint32_t>(4 + info->size() + 4));
    out.U32(static_cast<std::uint32_t>(info->size()));
    out.Bytes(*info);
    out.U32(0);  // global layer mask info
    WriteMerged(out, picture);
    if (out.Size() > kLayeredFileLimit) return Fail("the picture is too large for a layered file");
    return out.Take();
}

}  // namespace corvane
