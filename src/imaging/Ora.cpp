// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/Ora.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "imaging/AreaScale.h"
#include "imaging/Png.h"

namespace corvane {
namespace {

constexpr std::string_view kMimeEntry = "mimetype";
constexpr std::string_view kStackEntry = "stack.xml";
constexpr std::string_view kMergedEntry = "mergedimage.png";
constexpr std::string_view kThumbnailEntry = "Thumbnails/thumbnail.png";
constexpr int kThumbnailBox = 256;
// A mimetype larger than this is no painting program's.
constexpr std::uint64_t kSmallEntryLimit = std::uint64_t{16} << 20;
// A stack of kLayeredLayerLimit layers with long names and every attribute a
// painting program writes is a few hundred kilobytes; pugixml's tree of it
// takes about as much again. The writer keeps to it as well.
constexpr std::uint64_t kStackLimit = std::uint64_t{4} << 20;
constexpr std::uint64_t kStackTreeBytes = 3 * kStackLimit;
// What of the mimetype a refusal shows.
constexpr std::size_t kShownMimeType = 40;

// An entry's bytes: a stored one's where they lie in the file, an inflated
// one's copied out, which alone takes memory of its own.
struct EntryBytes {
    std::vector<std::uint8_t> copy;
    std::span<const std::uint8_t> view;

    std::span<const std::uint8_t> Bytes() const { return view.empty() ? std::span<const std::uint8_t>(copy) : view; }
};

// Reads entries, charging what they inflate to to one budget for the
// archive, and, from a mapped file, the packed bytes they are read from.
class EntryReader {
public:
    EntryReader(const ZipReader& archive, PixelBudget& budget, FileBytes file)
        : archive_(archive), budget_(budget), file_(file) {}

    bool Has(std::string_view name) const { return archive_.Find(name) != nullptr; }

    Result<EntryBytes> Read(std::string_view name, std::uint64_t limit) {
        const ZipEntry* entry = archive_.Find(name);
        if (!entry) return Fail("the archive has no entry '" + std::string(name) + "'");
        // The declared size decides before anything is inflated.
        if (entry->size > limit || entry->size > left_)
            return Fail("the archive's entry '" + std::string(name) + "' declares " + std::to_string(entry->size) +
                        " bytes, more than a layered picture may hold");
        // Pages of a mapping stay resident once read: charged for good.
        if (file_ == FileBytes::Mapped)
            if (Status held = budget_.Hold(entry->packedSize); !held)
                return Fail("the archive's entry '" + std::string(name) + "' " + held.Reason());
        EntryBytes out;
        if (entry->deflated) {
            auto bytes = archive_.Read(*entry, left_);
            if (!bytes) return bytes.Error();
            out.copy = std::move(*bytes);
        } else {
            auto view = archive_.View(*entry, left_);
            if (!view) return view.Error();
            out.view = *view;
        }
        left_ -= entry->size;
        return out;
    }

private:
    const ZipReader& archive_;
    PixelBudget& budget_;
    FileBytes file_;
    std::uint64_t left_ = kLayeredFileLimit;
};

bool IsTrue(const pugi::xml_attribute& attribute) {
    const std::string_view value = attribute.value();
    return value == "true" || value == "1";
}

constexpr int kCoordinateLimit = 1 << 24;

// An integer attribute; absent is 0, anything but a whole number a failure.
bool ReadCoordinate(const pugi::xml_node& node, const char* name, int& out) {
    const std::string_view text = node.attribute(name).value();
    out = 0;
    if (text.empty()) return true;
    const char* const last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, out);
    // Out of int's range, NaN and infinities are no numbers here, so nothing
    // undefined is ever converted.
    if (error != std::errc()) return false;
    // Some writers give coordinates as decimals: whole ones only ("12.0").
    // Read by hand: the WebAssembly build's C++ library has no from_chars
    // for doubles, and strtod would follow the toolkit's locale.
    if (end != last && (*end != '.' || !std::all_of(end + 1, last, [](char c) { return c == '0'; }))) return false;
    return out > -kCoordinateLimit && out < kCoordinateLimit;
}

// 0.0 to 1.0 as 0 to 255; absent, or no number, is opaque as for any reader.
std::uint8_t ReadOpacity(const pugi::xml_node& node) {
    const std::string_view text = node.attribute("opacity").value();
    // Read by hand, as coordinates are: "D", "D." or "D.DDD", from 0 to 1.
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const auto digits = [](std::string_view part) { return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; }); };
    if (text.empty() || (whole.empty() && fraction.empty()) || !digits(whole) || !digits(fraction)) return 255;
    const std::size_t first = whole.find_first_not_of('0');
    const bool one = first != std::string_view::npos && whole.substr(first) == "1";
    if (first != std::string_view::npos && !one) return 255;  // more than 1
    double value = one ? 1 : 0, scale = 0.1;
    for (std::size_t i = 0; i < fraction.size() && i < 9; ++i, scale /= 10) value += (fraction[i] - '0') * scale;
    if (value > 1) return 255;
    return static_cast<std::uint8_t>(std::lround(value * 255));
}

// The layers and groups under the stack, counting no further than past the limit.
int CountLayers(const pugi::xml_node& stack, int limit) {
    int count = 0;
    std::vector<pugi::xml_node> pending{stack};
    while (!pending.empty() && count <= limit) {
        const pugi::xml_node node = pending.back();
        pending.pop_back();
        for (const pugi::xml_node& child : node.children()) {
            const std::string_view kind = child.name();
            if (kind != "stack" && kind != "layer") continue;
            if (++count > limit) break;
            if (kind == "stack") pending.push_back(child);
        }
    }
    return count;
}

class StackReader {
public:
    StackReader(EntryReader& entries, PixelBudget& budget, const LayeredRead& read, std::vector<std::string>& notices)
        : entries_(entries), budget_(budget), use_(read), notices_(notices) {}

    Status ReadStack(const pugi::xml_node& stack, std::vector<Layer>& out, int depth) {
        if (depth > kLayeredGroupDepthLimit) return Fail("groups nest deeper than " + std::to_string(kLayeredGroupDepthLimit));
        for (const pugi::xml_node& node : stack.children()) {
            const std::string_view kind = node.name();
            if (kind != "stack" && kind != "layer") continue;
            Layer layer;
            layer.name = node.attribute("name").value();
            layer.visible = std::string_view(node.attribute("visibility").value()) != "hidden";
            layer.locked = IsTrue(node.attribute("edit-locked"));
            layer.opacity = ReadOpacity(node);
            if (!ReadCoordinate(node, "x", layer.x) || !ReadCoordinate(node, "y", layer.y))
                return Fail("the layer '" + layer.name + "' has a position that is not a whole number");
            if (kind == "stack") {
                layer.group = true;
                layer.x = layer.y = 0;  // a stack's own offset is no layer's
                if (Status read = ReadStack(node, layer.children, depth + 1); !read) return read;
            } else if (Status read = ReadPixels(node, layer); !read) {
                // A layer the caller does not take need not be read.
                if (use_.Next(layer.name)) return Fail("the layer '" + layer.name + "' " + read.Reason());
                notices_.push_back(LeftOutNotice(layer.name, read.Reason()));
            } else {
                use_.Next(layer.name);
            }
            out.push_back(std::move(layer));
        }
        return {};
    }

private:
    // The layer's pixels, or what is wrong with them, said of the layer ("is ...").
    Status ReadPixels(const pugi::xml_node& node, Layer& layer) {
        const std::string source = node.attribute("src").value();
        // A layer with no pixels of its own (a painting program's text or
        // vector layer without a rendering) has nothing to give.
        if (source.empty()) return {};
        if (!IsSafeEntryName(source)) return Fail("names a file outside the archive");
        // The entry is held while its pixels are decoded (a copy, if it was
        // inflated): it may be no larger than what the budget has left.
        auto bytes = entries_.Read(source, budget_.BytesLeft());
        if (!bytes) return Fail("cannot be read: " + bytes.Reason());
        if (Status held = budget_.Hold(bytes->copy.size()); !held) return held.Error();
        auto pixels = DecodePngRgba(bytes->Bytes(), budget_);
        budget_.Release(bytes->copy.size());
        if (!pixels) return Fail("is " + pixels.Reason());
        layer.pixels = std::move(*pixels);
        return {};
    }

    EntryReader& entries_;
    PixelBudget& budget_;
    LayerUse use_;
    std::vector<std::string>& notices_;
};

// ---- writing ------------------------------------------------------------------

struct XmlText : pugi::xml_writer {
    std::vector<std::uint8_t> bytes;
    void write(const void* data, size_t size) override {
        const auto* p = static_cast<const std::uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + size);
    }
};

// Builds stack.xml and gathers the PNG of every layer under data/.
class StackWriter {
public:
    Status Write(const std::vector<Layer>& layers, pugi::xml_node stack) {
        for (const Layer& layer : layers) {
            pugi::xml_node node = stack.append_child(layer.group ? "stack" : "layer");
            node.append_attribute("name") = layer.name.c_str();
            node.append_attribute("visibility") = layer.visible ? "visible" : "hidden";
            if (layer.locked) node.append_attribute("edit-locked") = "true";
            // Three decimals tell the 256 steps apart.
            char opacity[8];
            std::snprintf(opacity, sizeof opacity, "%.3f", layer.opacity / 255.0);
            node.append_attribute("opacity") = opacity;
            if (layer.group) {
                node.append_attribute("isolation") = "auto";
                if (Status written = Write(layer.children, node); !written) return written;
                continue;
            }
            node.append_attribute("x") = layer.x;
            node.append_attribute("y") = layer.y;
            node.append_attribute("composite-op") = "svg:src-over";
            // A layer without pixels has no file, as a reader takes a layer without one.
            if (layer.pixels.Empty()) continue;
            const std::string source = "data/layer" + std::to_string(files.size()) + ".png";
            node.append_attribute("src") = source.c_str();
            auto png = EncodePngRgba(layer.pixels);
            if (png.empty()) return Fail("the layer '" + layer.name + "' cannot be encoded");
            files.push_back({source, std::move(png)});
        }
        return {};
    }

    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
};

Image Opaque(const RgbaImage& image) {
    Image out(image.Width(), image.Height());
    for (std::size_t i = 0; i < image.Pixels().size(); ++i) {
        const Rgba p = image.Pixels()[i];
        out.Pixels()[i] = Colour{p.r, p.g, p.b};
    }
    return out;
}

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

}  // namespace

Result<LayeredPicture> DecodeOra(std::span<const std::uint8_t> file, const LayeredRead& read) {
    if (file.size() > LayeredFileLimit(read.file))
        return Fail("larger than " + std::to_string(LayeredFileLimit(read.file) >> 20) + " MiB");
    auto archive = ZipReader::Open(file);
    if (!archive) return archive.Error();

    // Of the file, what stays in memory while it is read: all of it, or of a
    // mapping the directory Open read; the entries' list as much again.
    PixelBudget budget;
    const std::uint64_t resident = read.file == FileBytes::Mapped ? archive->DirectoryBytes() : file.size();
    if (Status held = budget.Hold(resident + archive->DirectoryBytes()); !held) return Fail("the file " + held.Reason());
    EntryReader entries(*archive, budget, read.file);
    auto mime = entries.Read(kMimeEntry, kSmallEntryLimit);
    if (!mime) return Fail("not an OpenRaster file: " + mime.Reason());
    std::string type(mime->Bytes().begin(), mime->Bytes().end());
    while (!type.empty() && (type.back() == '\n' || type.back() == '\r' || type.back() == ' ')) type.pop_back();
    if (type != kOraMimeType)
        return Fail("not an OpenRaster file: its mimetype is '" + type.substr(0, kShownMimeType) +
                    (type.size() > kShownMimeType ? "...'" : "'"));

    // The stack and its tree while it is read.
    if (Status held = budget.Hold(kStackTreeBytes); !held) return Fail("the layer stack " + held.Reason());
    auto stackBytes = entries.Read(kStackEntry, kStackLimit);
    if (!stackBytes) return stackBytes.Error();
    pugi::xml_document document;
    if (!document.load_buffer(stackBytes->Bytes().data(), stackBytes->Bytes().size()))
        return Fail("the layer stack is not well-formed XML");
    const pugi::xml_node image = document.child("image");
    const pugi::xml_node root = image.child("stack");
    if (!image || !root) return Fail("the layer stack has no image");
    LayeredPicture picture;
    picture.width = image.attribute("w").as_int(0);
    picture.height = image.attribute("h").as_int(0);
    if (picture.width <= 0 || picture.height <= 0) return Fail("the picture has no size");
    if (static_cast<std::uint64_t>(picture.width) * static_cast<std::uint64_t>(picture.height) > kLayeredPixelLimit)
        return Fail("the picture is " + std::to_string(picture.width) + " x " + std::to_string(picture.height) +
                    " pixels, more than the " + std::to_string(kLayeredPixelLimit >> 20) +
                    " megapixels a layered picture may have");
    if (const int layers = CountLayers(root, kLayeredLayerLimit); layers > kLayeredLayerLimit)
        return Fail("the layer stack has more than " + std::to_string(kLayeredLayerLimit) +
                    " layers and groups, the most a layered picture may have");

    StackReader reader(entries, budget, read, picture.notices);
    if (Status stack = reader.ReadStack(root, picture.layers, 0); !stack) return stack.Error();
    document.reset();
    budget.Release(kStackTreeBytes);
    if (read.merged == MergedImage::Decoded && entries.Has(kMergedEntry)) {
        // Import never uses the merged image: a damaged one is told, not refused.
        auto mergedBytes = entries.Read(kMergedEntry, budget.BytesLeft());
        Status held = mergedBytes ? budget.Hold(mergedBytes->copy.size()) : Status(mergedBytes.Error());
        auto pixels = held ? DecodePngRgba(mergedBytes->Bytes(), budget) : Result<RgbaImage>(held.Error());
        if (held) budget.Release(mergedBytes->copy.size());
        if (pixels)
            picture.merged = std::move(*pixels);
        else
            picture.notices.push_back("The merged image was left out, as it could not be read: " + pixels.Reason() + ".");
    }
    return picture;
}

Result<std::vector<std::uint8_t>> EncodeOra(const LayeredPicture& picture) {
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node image = document.append_child("image");
    image.append_attribute("version") = "0.0.3";
    image.append_attribute("w") = picture.width;
    image.append_attribute("h") = picture.height;
    pugi::xml_node root = image.append_child("stack");
    // What the reader refuses is never written.
    if (LayerCount(picture.layers) > static_cast<std::uint64_t>(kLayeredLayerLimit))
        return Fail("the picture has more than " + std::to_string(kLayeredLayerLimit) + " layers and groups");
    StackWriter layers;
    if (Status written = layers.Write(picture.layers, root); !written) return written.Error();
    XmlText stack;
    document.save(stack, "  ", pugi::format_default, pugi::encoding_utf8);
    if (stack.bytes.size() > kStackLimit)
        return Fail("the layer stack would take " + std::to_string(stack.bytes.size()) + " bytes, more than the " +
                    std::to_string(kStackLimit >> 20) + " MiB a reader takes");

    const RgbaImage merged = picture.merged.Empty() ? RgbaImage(picture.width, picture.height) : picture.merged;
    const auto mergedPng = EncodePngRgba(merged);
    const PictureSize small = FitWithin(merged.Width(), merged.Height(), kThumbnailBox);
    const auto thumbnailPng = EncodePng(ShrinkByArea(Opaque(merged), small.width, small.height));
    if (mergedPng.empty() || thumbnailPng.empty()) return Fail("the merged image cannot be encoded");

    const auto mime = Bytes(kOraMimeType);
    std::vector<ZipFileToWrite> archive = {{std::string(kMimeEntry), mime, true}, {std::string(kStackEntry), stack.bytes}};
    for (const auto& [name, png] : layers.files) archive.push_back({name, png, true});
    archive.push_back({std::string(kMergedEntry), mergedPng, true});
    archive.push_back({std::string(kThumbnailEntry), thumbnailPng, true});
    return WriteZip(archive);
}

}  // namespace corvane
