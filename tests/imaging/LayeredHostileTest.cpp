// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Layered files made to cost the most or to slip past a check, each built
// here from a few bytes to a few hundred kilobytes: every one is refused
// with its reason before its memory is taken, or read as it says. What the
// refusals cost is measured by bench/hostile-input.sh, not here.

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/Ora.h"
#include "imaging/Png.h"
#include "imaging/ImagingTestUtil.h"
#include "imaging/Psd.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

using testing::AppendChunk;
using testing::StoredZip;

void Append(Bytes& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

// ---- PNG, chunk by chunk --------------------------------------------------------

struct PngParts {
    std::uint32_t width = 1, height = 1;
    std::uint8_t depth = 8, colourType = 6;
    Bytes plte, trns;
    Bytes rows;             // filtered rows, each with its filter byte; none: the header alone
    bool badIdatCrc = false;
};

Bytes Png(const PngParts& p) {
    Bytes png = testing::kPngSignature, ihdr;
    BigEndianWriter w(ihdr);
    w.U32(p.width);
    w.U32(p.height);
    ihdr.insert(ihdr.end(), {p.depth, p.colourType, 0, 0, 0});
    AppendChunk(png, "IHDR", ihdr);
    if (!p.plte.empty()) AppendChunk(png, "PLTE", p.plte);
    if (!p.trns.empty()) AppendChunk(png, "tRNS", p.trns);
    if (!p.rows.empty()) {
        uLongf size = compressBound(static_cast<uLong>(p.rows.size()));
        Bytes idat(size);
        compress(idat.data(), &size, p.rows.data(), static_cast<uLong>(p.rows.size()));
        idat.resize(size);
        AppendChunk(png, "IDAT", idat);
        if (p.badIdatCrc) png.back() ^= 0x01;
    }
    AppendChunk(png, "IEND", {});
    return png;
}

// A 2 x 1 picture: the first pixel of the colour key (or palette entry 0),
// the second not.
Bytes TwoPixels(std::uint8_t colourType, std::uint8_t depth, Bytes first, Bytes second, Bytes plte, Bytes trns) {
    PngParts p;
    p.width = 2;
    p.depth = depth;
    p.colourType = colourType;
    p.plte = std::move(plte);
    p.trns = std::move(trns);
    p.rows = {0};
    p.rows.insert(p.rows.end(), first.begin(), first.end());
    p.rows.insert(p.rows.end(), second.begin(), second.end());
    return Png(p);
}

// ---- OpenRaster -----------------------------------------------------------------

using Entries = std::vector<std::pair<std::string, Bytes>>;

Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }

// An OpenRaster file of the stack and the PNGs as data/0.png, data/1.png...
Bytes Ora(const std::string& stack, const std::vector<Bytes>& pngs = {}) {
    Entries entries{{"mimetype", Text("image/openraster")}, {"stack.xml", Text(stack)}};
    for (std::size_t i = 0; i < pngs.size(); ++i) entries.push_back({"data/" + std::to_string(i) + ".png", pngs[i]});
    return StoredZip(entries);
}

std::string Stack(const std::string& inside, int width = 4, int height = 4) {
    return "<image w=\"" + std::to_string(width) + "\" h=\"" + std::to_string(height) + "\"><stack>" + inside +
           "</stack></image>";
}

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

const Bytes kOnePixel = TwoPixels(6, 8, {1, 2, 3, 255}, {4, 5, 6, 255}, {}, {});

// ---- Photoshop, record by record -------------------------------------------------

struct PsdLayer {
    std::int32_t top = 0, left = 0, bottom = 0, right = 0;
    std::vector<std::pair<std::int16_t, Bytes>> channels;  // id and data (compression first)
    std::uint32_t section = 0;
    std::string name = "L";  // a Pascal string of at most 2 characters, padded to 4 bytes
};

Bytes Psd(std::uint32_t width, std::uint32_t height, const std::vector<PsdLayer>& layers, const Bytes& merged,
          int declaredCount = -1) {
    Bytes out, info;
    BigEndianWriter o(out), i(info);
    Append(out, "8BPS");
    o.U16(1);
    out.insert(out.end(), 6, 0);
    o.U16(3);
    o.U32(height);
    o.U32(width);
    o.U16(8);
    o.U16(3);
    o.U32(0);  // colour mode data
    o.U32(0);  // image resources
    i.U16(static_cast<std::uint16_t>(declaredCount >= 0 ? declaredCount : static_cast<int>(layers.size())));
    for (const PsdLayer& l : layers) {
        for (const std::int32_t side : {l.top, l.left, l.bottom, l.right}) i.U32(static_cast<std::uint32_t>(side));
        i.U16(static_cast<std::uint16_t>(l.channels.size()));
        for (const auto& [id, data] : l.channels) {
            i.U16(static_cast<std::uint16_t>(id));
            i.U32(static_cast<std::uint32_t>(data.size()));
        }
        Append(info, "8BIMnorm");
        info.insert(info.end(), {255, 0, 0, 0});
        Bytes extra;
        BigEndianWriter e(extra);
        e.U32(0);
        e.U32(0);
        extra.push_back(static_cast<std::uint8_t>(l.name.size()));
        Append(extra, l.name);
        extra.resize(8 + 4 * ((1 + l.name.size() + 3) / 4));
        if (l.section) {
            Append(extra, "8BIMlsct");
            e.U32(4);
            e.U32(l.section);
        }
        i.U32(static_cast<std::uint32_t>(extra.size()));
        info.insert(info.end(), extra.begin(), extra.end());
    }
    for (const PsdLayer& l : layers)
        for (const auto& channel : l.channels) info.insert(info.end(), channel.second.begin(), channel.second.end());
    if (info.size() % 2) info.push_back(0);
    o.U32(static_cast<std::uint32_t>(info.size() + 8));
    o.U32(static_cast<std::uint32_t>(info.size()));
    out.insert(out.end(), info.begin(), info.end());
    o.U32(0);  // global layer mask
    out.insert(out.end(), merged.begin(), merged.end());
    return out;
}

// A raw plane of the bytes, after its compression field.
Bytes RawPlane(std::size_t size, std::uint8_t value) {
    Bytes plane{0, 0};
    plane.insert(plane.end(), size, value);
    return plane;
}

// A PackBits plane of one value: per row its count, then runs of 128.
Bytes PackedPlane(int width, int height, std::uint8_t value) {
    Bytes row;
    for (int left = width; left > 0; left -= 128) row.insert(row.end(), {static_cast<std::uint8_t>(1 - std::min(left, 128)), value});
    Bytes plane{0, 1};
    BigEndianWriter w(plane);
    for (int y = 0; y < height; ++y) w.U16(static_cast<std::uint16_t>(row.size()));
    for (int y = 0; y < height; ++y) plane.insert(plane.end(), row.begin(), row.end());
    return plane;
}

PsdLayer PsdPacked(int width, int height) {
    PsdLayer l;
    l.bottom = height;
    l.right = width;
    for (const std::int16_t id : {std::int16_t{-1}, std::int16_t{0}, std::int16_t{1}, std::int16_t{2}})
        l.channels.push_back({id, PackedPlane(width, height, 100)});
    return l;
}

Bytes RawMerged(std::size_t pixels) { return RawPlane(3 * pixels, 9); }

PsdLayer PsdPixels(int width, int height) {
    PsdLayer l;
    l.bottom = height;
    l.right = width;
    const auto size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (const std::int16_t id : {std::int16_t{-1}, std::int16_t{0}, std::int16_t{1}, std::int16_t{2}})
        l.channels.push_back({id, RawPlane(size, 200)});
    return l;
}

// ---- the table ---------------------------------------------------------------

struct Hostile {
    const char* name;
    Bytes file;
    const char* refusal;  // a part of the reason; nullptr: read
};

std::vector<Hostile> HostileFiles() {
    PngParts big;
    big.width = big.height = 8000;
    PngParts big16 = big;
    big16.depth = 16;
    PngParts grey1 = big;
    grey1.depth = 1;
    grey1.colourType = 0;
    PngParts wide;  // 12 megapixels of 1-bit grey, 46 MiB decoded: two fit, the third not
    wide.width = 6000;
    wide.height = 2000;
    wide.depth = 1;
    wide.colourType = 0;
    for (std::uint32_t y = 0; y < wide.height; ++y) wide.rows.insert(wide.rows.end(), 1 + wide.width / 8, 0);
    PngParts badCrc;
    badCrc.rows = {0, 1, 2, 3, 255};
    badCrc.badIdatCrc = true;

    PsdLayer noChannels;
    noChannels.bottom = noChannels.right = 8191;
    PsdLayer shortChannels = PsdPixels(1, 1);
    shortChannels.bottom = shortChannels.right = 4000;
    std::vector<PsdLayer> manyRecords(1001);
    std::vector<PsdLayer> groupsOk;  // 400 closed folders side by side, bottom first: each end, then its folder
    for (int i = 0; i < 800; ++i) {
        groupsOk.push_back({});
        groupsOk.back().section = i % 2 ? 2 : 3;
    }

    return {
        // OpenRaster: layers and groups past the limit, however cheap each is.
        {"ora-1001-empty-layers", Ora(Stack(Repeat("<layer/>", 1001))), "more than 1000 layers and groups"},
        {"ora-1001-empty-groups", Ora(Stack(Repeat("<stack/>", 1001))), "more than 1000 layers and groups"},
        {"ora-1001-nested-and-flat", Ora(Stack(Repeat("<stack><layer/>", 500) + "<layer/>" + Repeat("</stack>", 500))),
         "more than 1000 layers and groups"},
        {"ora-1000-layers-one-png", Ora(Stack(Repeat(R"(<layer src="data/0.png"/>)", 1000)), {kOnePixel}), nullptr},
        // Pixels past the limits, refused from the PNG's header.
        {"ora-8000-rgba8", Ora(Stack(R"(<layer src="data/0.png"/>)"), {Png(big)}), "megapixels"},
        {"ora-8000-rgba16", Ora(Stack(R"(<layer src="data/0.png"/>)"), {Png(big16)}), "megapixels"},
        {"ora-8000-grey1", Ora(Stack(R"(<layer src="data/0.png"/>)"), {Png(grey1)}), "megapixels"},
        {"ora-8000-merged-only", StoredZip({{"mimetype", Text("image/openraster")}, {"stack.xml", Text(Stack(""))},
                                            {"mergedimage.png", Png(big)}}),
         nullptr},
        {"ora-three-12-megapixel-layers",
         Ora(Stack(Repeat(R"(<layer src="data/0.png"/>)", 3)), {Png(wide)}), "megapixels"},
        {"ora-bad-idat-crc", Ora(Stack(R"(<layer src="data/0.png"/>)"), {Png(badCrc)}), "PNG picture"},
        // Coordinates no int holds: refused before they are converted.
        {"ora-x-nan", Ora(Stack(R"(<layer x="nan"/>)")), "not a whole number"},
        {"ora-x-minus-1e40", Ora(Stack(R"(<layer x="-1e40"/>)")), "not a whole number"},
        {"ora-y-inf", Ora(Stack(R"(<layer y="inf"/>)")), "not a whole number"},
        {"ora-x-2e9", Ora(Stack(R"(<layer x="2e9"/>)")), "not a whole number"},
        {"ora-x-half", Ora(Stack(R"(<layer x="2.5"/>)")), "not a whole number"},
        {"ora-x-whole-decimal", Ora(Stack(R"(<layer x="-16777215.0"/>)")), nullptr},
        {"ora-canvas-2e9", Ora(Stack("", 2000000000, 1)), "megapixels a layered picture may have"},
        {"ora-stack-5MB", Ora(Stack(Repeat("<!-- -->", 5 << 17))), "declares"},
        // Photoshop: nothing allocated before the channel data are found.
        {"psd-8191-layer-no-channels", Psd(1, 1, {noChannels}, RawMerged(1)), "no red channel"},
        {"psd-4000-layer-short-channels", Psd(1, 1, {shortChannels}, RawMerged(1)), "too few for its pixels"},
        {"psd-1001-records", Psd(1, 1, manyRecords, RawMerged(1)), "1001 layer records"},
        {"psd-declares-32767-records", Psd(1, 1, {}, RawMerged(1), 32767), "32767 layer records"},
        {"psd-800-group-records", Psd(1, 1, groupsOk, RawMerged(1)), nullptr},
        {"psd-8190-header-only", Psd(8190, 8190, {}, {0, 0}), "megapixels a layered picture may have"},
        {"psd-4000-merged-short", Psd(4000, 4000, {}, RawMerged(1000)), nullptr},  // the merged image left out, told
        {"psd-three-12-megapixel-layers", Psd(5000, 2500, {PsdPacked(5000, 2500), PsdPacked(5000, 2500), PsdPacked(5000, 2500)}, {}),
         "megapixels"},
    };
}

TEST(LayeredHostileTest, EveryHostileFileIsRefusedWithItsReasonOrRead) {
    for (const Hostile& h : HostileFiles()) {
        const bool ora = std::string_view(h.name).starts_with("ora");
        const auto picture = ora ? DecodeOra(h.file) : DecodePsd(h.file);
        if (h.refusal) {
            ASSERT_FALSE(picture.Ok()) << h.name << " was read";
            EXPECT_NE(picture.Reason().find(h.refusal), std::string::npos) << h.name << ": " << picture.Reason();
        } else {
            EXPECT_TRUE(picture.Ok()) << h.name << ": " << picture.Reason();
        }
    }
}

// Import takes each element's topmost layer: any other layer whose pixels
// cannot be read is left out with a notice, and the file is read on; the
// layer taken is read whole, also when a layer before it in the file was
// left out. A layer taken that cannot be read refuses the file.
TEST(LayeredHostileTest, ALayerTheCallerDoesNotTakeIsLeftOutWithANoticeWhenItCannotBeRead) {
    PngParts badCrc;
    badCrc.rows = {0, 1, 2, 3, 255};
    badCrc.badIdatCrc = true;
    const Bytes broken = Png(badCrc);
    PsdLayer shortChannels = PsdPixels(1, 1), good = PsdPixels(1, 1);
    shortChannels.bottom = shortChannels.right = 4000;
    good.name = shortChannels.name = "a";
    PsdLayer notes = shortChannels;
    notes.name = "nt";
    struct Case {
        const char* name;
        Bytes file;
        const char* outcome;  // the notice's start when read; a part of the reason when refused
        bool read;
    };
    const Case cases[] = {
        {"ora-unknown-layer-bad-crc",
         Ora(Stack(R"(<layer name="notes" src="data/0.png"/><layer name="a" src="data/1.png"/>)"), {broken, kOnePixel}),
         "The layer 'notes' was left out: it is a damaged PNG picture", true},
        {"ora-unknown-layer-outside",
         Ora(Stack(R"(<layer name="notes" src="../0.png"/><layer name="a" src="data/0.png"/>)"), {kOnePixel}),
         "The layer 'notes' was left out: it names a file outside the archive.", true},
        {"ora-lower-duplicate-missing",
         Ora(Stack(R"(<layer name="a" src="data/0.png"/><stack><layer name="a" src="data/9.png"/></stack>)"), {kOnePixel}),
         "The layer 'a' was left out: it cannot be read: the archive has no entry 'data/9.png'.", true},
        {"ora-group-named-a-over-broken",
         Ora(Stack(R"(<stack name="a"><layer name="b" src="data/0.png"/></stack><layer name="a" src="data/1.png"/>)"),
             {broken, kOnePixel}),
         "The layer 'b' was left out", true},
        {"ora-topmost-missing",
         Ora(Stack(R"(<layer name="a" src="data/9.png"/><layer name="a" src="data/0.png"/>)"), {kOnePixel}),
         "the layer 'a' cannot be read: the archive has no entry 'data/9.png'", false},
        // Records bottom first: the broken one comes first in the file.
        {"psd-unknown-layer-short-channels", Psd(1, 1, {notes, good}, RawMerged(1)),
         "The layer 'nt' was left out: it cannot be read: its layer 'nt' of 4000 x 4000 pixels has", true},
        {"psd-lower-duplicate-short-channels", Psd(1, 1, {shortChannels, good}, RawMerged(1)),
         "The layer 'a' was left out", true},
        {"psd-topmost-short-channels", Psd(1, 1, {good, shortChannels}, RawMerged(1)), "too few for its pixels", false},
    };
    LayeredRead takesA;
    takesA.onlyLayers = std::vector<std::string_view>{"a"};
    for (const Case& c : cases) {
        const bool ora = std::string_view(c.name).starts_with("ora");
        const auto picture = ora ? DecodeOra(c.file, takesA) : DecodePsd(c.file, takesA);
        if (!c.read) {
            ASSERT_FALSE(picture.Ok()) << c.name << " was read";
            EXPECT_NE(picture.Reason().find(c.outcome), std::string::npos) << c.name << ": " << picture.Reason();
            continue;
        }
        ASSERT_TRUE(picture.Ok()) << c.name << ": " << picture.Reason();
        ASSERT_EQ(picture->notices.size(), 1u) << c.name;
        EXPECT_TRUE(picture->notices[0].starts_with(c.outcome)) << c.name << ": " << picture->notices[0];
        const Layer* a = FindLayer(picture->layers, "a");
        ASSERT_NE(a, nullptr) << c.name;
        ASSERT_FALSE(a->pixels.Empty()) << c.name;
        EXPECT_EQ(a->pixels.At(0, 0), ora ? (Rgba{1, 2, 3, 255}) : (Rgba{200, 200, 200, 200})) << c.name;
        // Asked for every layer, the same file is refused.
        EXPECT_FALSE((ora ? DecodeOra(c.file) : DecodePsd(c.file)).Ok()) << c.name;
    }
}

TEST(LayeredHostileTest, AMergedImageThatCannotBeReadIsLeftOutWithANoticeOrNotReadAtAll) {
    PngParts big;
    big.width = big.height = 8000;
    const Bytes oraFile = StoredZip({{"mimetype", Text("image/openraster")},
                                     {"stack.xml", Text(Stack(R"(<layer src="data/0.png"/>)"))},
                                     {"data/0.png", kOnePixel},
                                     {"mergedimage.png", Png(big)}});
    const Bytes psdFile = Psd(4000, 4000, {PsdPixels(2, 1)}, RawMerged(1000));
    for (const auto& [name, file] : {std::pair{"ora", oraFile}, std::pair{"psd", psdFile}}) {
        const bool ora = std::string_view(name) == "ora";
        const auto read = ora ? DecodeOra(file) : DecodePsd(file);
        ASSERT_TRUE(read.Ok()) << name << ": " << read.Reason();
        EXPECT_TRUE(read->merged.Empty()) << name;
        ASSERT_EQ(read->notices.size(), 1u) << name;
        EXPECT_TRUE(read->notices[0].starts_with("The merged image was left out")) << read->notices[0];
        ASSERT_EQ(read->layers.size(), 1u) << name;
        EXPECT_EQ(read->layers[0].pixels.Width(), 2) << name;
        const auto skipped = ora ? DecodeOra(file, MergedImage::Skipped) : DecodePsd(file, MergedImage::Skipped);
        ASSERT_TRUE(skipped.Ok()) << name;
        EXPECT_TRUE(skipped->notices.empty()) << name << ": unread, so nothing to tell";
        EXPECT_EQ(skipped->layers, read->layers) << name;
    }
}

// tRNS: a palette's alpha entries and a grey or RGB colour key are the
// layer's transparency; a layer with an alpha channel keeps its own.
TEST(LayeredHostileTest, TransparencyByColourKeyOrPaletteIsKeptInEveryColourType) {
    const testing::TwoPixelCase<Rgba> cases[] = {
        {"palette", TwoPixels(3, 8, {0}, {1}, {10, 20, 30, 40, 50, 60}, {0}), {10, 20, 30, 0}, {40, 50, 60, 255}},
        {"palette-partial", TwoPixels(3, 8, {0}, {1}, {10, 20, 30, 40, 50, 60}, {0, 77}), {10, 20, 30, 0}, {40, 50, 60, 77}},
        {"grey-8", TwoPixels(0, 8, {7}, {8}, {}, {0, 7}), {7, 7, 7, 0}, {8, 8, 8, 255}},
        {"grey-16", TwoPixels(0, 16, {7, 7}, {8, 8}, {}, {7, 7}), {7, 7, 7, 0}, {8, 8, 8, 255}},
        {"rgb-8", TwoPixels(2, 8, {1, 2, 3}, {1, 2, 4}, {}, {0, 1, 0, 2, 0, 3}), {1, 2, 3, 0}, {1, 2, 4, 255}},
        {"rgb-16", TwoPixels(2, 16, {1, 1, 2, 2, 3, 3}, {1, 1, 2, 2, 4, 4}, {}, {1, 1, 2, 2, 3, 3}), {1, 2, 3, 0},
         {1, 2, 4, 255}},
        {"grey-alpha", TwoPixels(4, 8, {7, 0}, {8, 200}, {}, {}), {7, 7, 7, 0}, {8, 8, 8, 200}},
        {"rgba", TwoPixels(6, 8, {1, 2, 3, 0}, {1, 2, 4, 99}, {}, {}), {1, 2, 3, 0}, {1, 2, 4, 99}},
    };
    for (const auto& c : cases) {
        PixelBudget budget;
        const auto image = DecodePngRgba(c.file, budget);
        ASSERT_TRUE(image.Ok()) << c.name << ": " << image.Reason();
        EXPECT_EQ(image->Pixels(), (std::vector<Rgba>{c.first, c.second})) << c.name;
    }
}

TEST(LayeredHostileTest, TheBudgetRefusesPastEitherLimitTakingNothing) {
    struct Step {
        char kind;  // 'T' take width x height, 'H' hold bytes, 'R' release bytes
        std::uint64_t a, b;
        const char* refusal;  // nullptr: granted
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    constexpr std::uint64_t MiB = 1 << 20;
    const Case cases[] = {
        {"pixels to the last one", {{'T', 1024, 1024, nullptr}, {'T', 1024, 1024, nullptr}, {'T', 1, 1, "megapixels"}}},
        {"a refused take takes nothing", {{'T', 2048, 1025, "megapixels"}, {'T', 1024, 2048, nullptr}}},
        {"memory before pixels", {{'H', 97 * MiB, 0, nullptr}, {'T', 1024, 1024, "MiB left"}, {'T', 1024, 512, nullptr}}},
        {"held and given back", {{'H', 100 * MiB, 0, nullptr}, {'H', 1, 0, "needs"}, {'R', 100 * MiB, 0, nullptr},
                                 {'H', 100 * MiB, 0, nullptr}}},
        {"width times height past 64 bits", {{'T', std::uint64_t{1} << 40, std::uint64_t{1} << 40, "megapixels"}}},
    };
    for (const Case& c : cases) {
        PixelBudget budget(2 * MiB, 100 * MiB);  // two megapixels, 100 MiB
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            const Step& s = c.steps[i];
            if (s.kind == 'R') {
                budget.Release(s.a);
                continue;
            }
            const Status status = s.kind == 'T' ? budget.Take(s.a, s.b) : budget.Hold(s.a);
            EXPECT_EQ(status.Ok(), s.refusal == nullptr) << c.name << " step " << i;
            if (!status.Ok() && s.refusal) {
                EXPECT_NE(status.Reason().find(s.refusal), std::string::npos) << c.name << ": " << status.Reason();
            }
        }
    }
}

// What a file leaves out is read as every painting program reads it: a layer
// without `visibility` is visible, without `opacity` opaque; and Photoshop's
// closed folders are groups as much as its open ones.
TEST(LayeredHostileTest, AttributesLeftOutAndFolderKindsAreReadAsPaintingProgramsReadThem) {
    struct OraCase {
        const char* attributes;
        bool visible;
        std::uint8_t opacity;
    };
    const OraCase oraCases[] = {
        {"", true, 255},
        {R"(visibility="visible")", true, 255},
        {R"(visibility="hidden")", false, 255},
        {R"(opacity="0.5")", true, 128},
        {R"(opacity="0")", true, 0},
        {R"(opacity="nan")", true, 255},
        {R"(opacity="7")", true, 255},
    };
    for (const OraCase& c : oraCases) {
        const auto read = DecodeOra(Ora(Stack(std::string("<layer name=\"a\" ") + c.attributes + "/>")));
        ASSERT_TRUE(read.Ok()) << c.attributes << ": " << read.Reason();
        ASSERT_EQ(read->layers.size(), 1u);
        EXPECT_EQ(read->layers[0].visible, c.visible) << c.attributes;
        EXPECT_EQ(read->layers[0].opacity, c.opacity) << c.attributes;
    }
    for (const std::uint32_t folder : {1u, 2u}) {
        // Bottom first: the group's end, its layer, then the folder record above them.
        PsdLayer end, inside = PsdPixels(1, 1), open;
        end.section = 3;
        open.section = folder;
        const auto read = DecodePsd(Psd(1, 1, {end, inside, open}, RawMerged(1)));
        ASSERT_TRUE(read.Ok()) << folder << ": " << read.Reason();
        ASSERT_EQ(read->layers.size(), 1u) << folder;
        EXPECT_TRUE(read->layers[0].group) << "section type " << folder;
        EXPECT_EQ(read->layers[0].children.size(), 1u) << folder;
    }
}

}  // namespace
}  // namespace corvane
