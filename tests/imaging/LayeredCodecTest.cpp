// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The two layered formats, OpenRaster and Photoshop: the same picture back
// from each, PackBits rows, and the files each must refuse.

#include <gtest/gtest.h>
#include <spng.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <string>

#include "imaging/Ora.h"
#include "imaging/ImagingTestUtil.h"
#include "imaging/Psd.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

RgbaImage Pattern(int width, int height, std::uint8_t seed) {
    RgbaImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set(x, y, {static_cast<std::uint8_t>(x * 7 + seed), static_cast<std::uint8_t>(y * 13),
                             static_cast<std::uint8_t>(x * y + seed), static_cast<std::uint8_t>((x + y) % 3 ? 255 : 0)});
    return image;
}

Layer PixelLayer(std::string name, int x, int y, RgbaImage pixels, bool visible = true, bool locked = false) {
    Layer layer;
    layer.name = std::move(name);
    layer.x = x;
    layer.y = y;
    layer.pixels = std::move(pixels);
    layer.visible = visible;
    layer.locked = locked;
    return layer;
}

// Groups two deep, hidden and locked layers, odd sizes, offsets off the
// canvas, names beyond ASCII and a merged image with see-through pixels.
LayeredPicture Sample() {
    LayeredPicture picture;
    picture.width = 47;
    picture.height = 33;
    Layer inner;
    inner.name = "Innen \xC3\xBC \xF0\x9F\x8E\xA8";
    inner.group = true;
    inner.visible = false;
    inner.children = {PixelLayer("#pressed", -3, 5, Pattern(3, 5, 1)), PixelLayer("1x1", 46, 32, Pattern(1, 1, 2))};
    Layer outer;
    outer.name = "Released";
    outer.group = true;
    outer.children = {PixelLayer("star", 10, -2, Pattern(13, 9, 3), false), std::move(inner)};
    picture.layers = {std::move(outer), PixelLayer("Screen", 0, 0, Pattern(47, 33, 4), true, true)};
    picture.merged = Pattern(47, 33, 5);
    return picture;
}

struct Format {
    const char* name;
    Result<Bytes> (*encode)(const LayeredPicture&);
    Result<LayeredPicture> (*decode)(std::span<const std::uint8_t>);
};

const Format kFormats[] = {
    {"OpenRaster", &EncodeOra, [](std::span<const std::uint8_t> file) { return DecodeOra(file); }},
    {"Photoshop", &EncodePsd, [](std::span<const std::uint8_t> file) { return DecodePsd(file); }},
};

TEST(LayeredCodecTest, EachFormatGivesBackLayersGroupsAndTheMergedImage) {
    const LayeredPicture sample = Sample();
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.name);
        const auto bytes = format.encode(sample);
        ASSERT_TRUE(bytes.Ok()) << bytes.Reason();
        const auto decoded = format.decode(*bytes);
        ASSERT_TRUE(decoded.Ok()) << decoded.Reason();
        EXPECT_EQ(*decoded, sample);
    }
}

// Every cut is refused, except one inside the merged image, which comes last
// in a Photoshop file: the layers are whole, and the merged image is left out
// with a notice.
TEST(LayeredCodecTest, EveryCutOfAFileIsRefused) {
    LayeredPicture small;
    small.width = small.height = 4;
    small.layers = {PixelLayer("a", 1, 1, Pattern(2, 3, 9))};
    small.merged = Pattern(4, 4, 1);
    for (const Format& format : kFormats) {
        const auto bytes = format.encode(small);
        ASSERT_TRUE(bytes.Ok());
        for (std::size_t length = 0; length < bytes->size(); length += 7) {
            const auto cut = format.decode(std::span(*bytes).first(length));
            if (!cut) continue;
            EXPECT_EQ(std::string_view(format.name), "Photoshop") << "cut at " << length;
            EXPECT_EQ(cut->layers, small.layers) << format.name << " cut at " << length;
            EXPECT_TRUE(cut->merged.Empty()) << format.name << " cut at " << length;
            EXPECT_EQ(cut->notices.size(), 1u) << format.name << " cut at " << length;
        }
    }
}

TEST(LayeredCodecTest, PackBitsRowsUnpackToThemselves) {
    const Bytes run130(130, 7);
    Bytes alternating, mixed;
    for (int i = 0; i < 300; ++i) alternating.push_back(static_cast<std::uint8_t>(i & 1));
    for (int i = 0; i < 90; ++i) mixed.push_back(static_cast<std::uint8_t>(i < 40 ? i : i < 70 ? 5 : i * 3));
    const Bytes rows[] = {{}, {9}, {1, 1}, {1, 2}, Bytes(128, 3), Bytes(129, 3), run130, alternating, mixed};
    for (const Bytes& row : rows) {
        const Bytes packed = PackBits(row);
        Bytes back(row.size());
        EXPECT_TRUE(UnpackBits(packed, back)) << row.size();
        EXPECT_EQ(back, row);
    }
    EXPECT_EQ(PackBits(Bytes(128, 3)), (Bytes{0x81, 3})) << "a run of 128 is one header";
    EXPECT_EQ(PackBits(Bytes{1, 2, 3}), (Bytes{2, 1, 2, 3}));
    // A pair inside literals stays literal: as a run it would cost a header more.
    EXPECT_EQ(PackBits(Bytes{10, 0, 0, 128, 0}), (Bytes{4, 10, 0, 0, 128, 0}));
}

TEST(LayeredCodecTest, PackBitsRefusesRowsThatDoNotFit) {
    struct Case {
        const char* defect;
        Bytes packed;
        std::size_t width;
    };
    const Case cases[] = {
        {"literal-past-row", {3, 1, 2, 3, 4}, 3},
        {"literal-cut-short", {3, 1, 2}, 4},
        {"run-past-row", {0xFD, 9}, 3},
        {"run-without-byte", {0xFE}, 3},
        {"row-left-short", {0, 1}, 2},
    };
    for (const Case& c : cases) {
        Bytes out(c.width);
        EXPECT_FALSE(UnpackBits(c.packed, out)) << c.defect;
    }
    Bytes out(2);
    EXPECT_TRUE(UnpackBits(Bytes{0x80, 1, 4, 5}, out)) << "-128 is skipped";
}

// ---- Photoshop refusals ---------------------------------------------------------

Bytes SamplePsd() { return *EncodePsd(Sample()); }

TEST(LayeredCodecTest, PhotoshopFilesOfOtherKindsAreRefusedSayingWhy) {
    struct Case {
        const char* defect;
        std::size_t offset;  // big-endian u16 in the header
        std::uint16_t value;
        const char* reason;
    };
    const Case cases[] = {
        {"sixteen-bits", 22, 16, "16 bits per channel"},
        {"thirty-two-bits", 22, 32, "32 bits per channel"},
        {"cmyk", 24, 4, "CMYK"},
        {"greyscale", 24, 1, "greyscale"},
        {"large-document", 4, 2, "PSB"},
        {"version-three", 4, 3, "unknown version"},
    };
    for (const Case& c : cases) {
        Bytes file = SamplePsd();
        file[c.offset] = static_cast<std::uint8_t>(c.value >> 8);
        file[c.offset + 1] = static_cast<std::uint8_t>(c.value);
        const auto decoded = DecodePsd(file);
        ASSERT_FALSE(decoded.Ok()) << c.defect;
        EXPECT_NE(decoded.Reason().find(c.reason), std::string::npos) << c.defect << ": " << decoded.Reason();
    }
    Bytes notPsd = SamplePsd();
    notPsd[0] = 'X';
    EXPECT_EQ(DecodePsd(notPsd).Reason(), "not a Photoshop file");
}

TEST(LayeredCodecTest, PhotoshopLayersPastThePixelLimitAreRefusedBeforeDecoding) {
    Bytes file = SamplePsd();
    // The first layer record follows the 26-byte header, three empty
    // sections' lengths, the layer section's length and the count: make its
    // rectangle 16384 x 16384, past the limit for all layers together and
    // far more than its channels hold: refused from those, before a pixel is taken.
    const std::size_t record = 26 + 4 + 4 + 4 + 4 + 2;
    const std::uint8_t huge[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0, 0, 0x40, 0};
    std::copy(std::begin(huge), std::end(huge), file.begin() + static_cast<std::ptrdiff_t>(record));
    const auto decoded = DecodePsd(file);
    ASSERT_FALSE(decoded.Ok());
    EXPECT_NE(decoded.Reason().find("of 16384 x 16384 pixels has"), std::string::npos) << decoded.Reason();
    EXPECT_NE(decoded.Reason().find("too few for its pixels"), std::string::npos) << decoded.Reason();
}

// ---- OpenRaster refusals --------------------------------------------------------

// A zip of the entries in order, each stored.
Bytes Zip(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::vector<std::pair<std::string, Bytes>> files;
    for (const auto& [name, text] : entries) files.push_back({name, Bytes(text.begin(), text.end())});
    return testing::StoredZip(files);
}

const std::string kStack = R"(<image w="4" h="4"><stack><layer name="a" src="data/a.png"/></stack></image>)";

TEST(LayeredCodecTest, OpenRasterArchivesThatAreNotOursToReadAreRefused) {
    struct Case {
        const char* defect;
        std::vector<std::pair<std::string, std::string>> entries;
        const char* reason;
    };
    const Case cases[] = {
        {"traversal-name", {{"mimetype", "image/openraster"}, {"stack.xml", kStack}, {"../evil.png", "x"}}, "leads out"},
        {"absolute-name", {{"mimetype", "image/openraster"}, {"/etc/evil", "x"}}, "leads out"},
        {"no-mimetype", {{"stack.xml", kStack}}, "no entry 'mimetype'"},
        {"other-mimetype", {{"mimetype", "image/png"}, {"stack.xml", kStack}}, "mimetype is 'image/png'"},
        {"no-stack", {{"mimetype", "image/openraster"}}, "no entry 'stack.xml'"},
        {"stack-not-xml", {{"mimetype", "image/openraster"}, {"stack.xml", "<image"}}, "not well-formed"},
        {"layer-without-png", {{"mimetype", "image/openraster"}, {"stack.xml", kStack}}, "no entry 'data/a.png'"},
        {"layer-not-png", {{"mimetype", "image/openraster"}, {"stack.xml", kStack}, {"data/a.png", "GIF89a"}}, "not a PNG"},
        {"src-leads-out",
         {{"mimetype", "image/openraster"},
          {"stack.xml", R"(<image w="4" h="4"><stack><layer name="a" src="../a.png"/></stack></image>)"}},
         "outside the archive"},
        {"no-size",
         {{"mimetype", "image/openraster"}, {"stack.xml", R"(<image><stack/></image>)"}},
         "no size"},
    };
    for (const Case& c : cases) {
        const auto decoded = DecodeOra(Zip(c.entries));
        ASSERT_FALSE(decoded.Ok()) << c.defect;
        EXPECT_NE(decoded.Reason().find(c.reason), std::string::npos) << c.defect << ": " << decoded.Reason();
    }
}

TEST(LayeredCodecTest, OpenRasterEntryDeclaringTooManyBytesIsRefusedBeforeInflating) {
    Bytes file = *EncodeOra(Sample());
    // The central directory's record of stack.xml: "PK\1\2", then the
    // uncompressed size at offset 24, the name at 46.
    const std::string name = "stack.xml";
    bool patched = false;
    for (std::size_t i = 0; i + 46 + name.size() <= file.size(); ++i) {
        if (file[i] == 'P' && file[i + 1] == 'K' && file[i + 2] == 1 && file[i + 3] == 2 &&
            std::equal(name.begin(), name.end(), file.begin() + static_cast<std::ptrdiff_t>(i + 46))) {
            std::fill_n(file.begin() + static_cast<std::ptrdiff_t>(i + 24), 4, std::uint8_t{0x7F});
            patched = true;
        }
    }
    ASSERT_TRUE(patched);
    const auto decoded = DecodeOra(file);
    ASSERT_FALSE(decoded.Ok());
    EXPECT_NE(decoded.Reason().find("declares"), std::string::npos) << decoded.Reason();
}

TEST(LayeredCodecTest, OpenRasterStartsWithItsStoredMimetype) {
    const Bytes file = *EncodeOra(Sample());
    // The first local header: method (offset 8) 0, the name "mimetype" at 30 and its content right after.
    const std::string start(file.begin() + 30, file.begin() + 30 + 8 + 16);
    EXPECT_EQ(file[8], 0);
    EXPECT_EQ(start, "mimetypeimage/openraster");
}

// A 2 x 1 RGBA PNG of 16 bits per channel with the samples given, host order as libspng takes them.
std::string Png16(const std::array<std::uint16_t, 8>& samples) {
    spng_ctx* context = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(context, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr{};
    ihdr.width = 2;
    ihdr.height = 1;
    ihdr.bit_depth = 16;
    ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    spng_set_ihdr(context, &ihdr);
    std::array<std::uint16_t, 8> big;  // PNG stores samples big-endian
    for (std::size_t i = 0; i < samples.size(); ++i)
        big[i] = static_cast<std::uint16_t>((samples[i] >> 8) | ((samples[i] & 0xFF) << 8));
    spng_encode_image(context, big.data(), sizeof big, SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    std::size_t length = 0;
    int error = 0;
    void* buffer = spng_get_png_buffer(context, &length, &error);
    std::string png(static_cast<const char*>(buffer), length);
    std::free(buffer);
    spng_ctx_free(context);
    return png;
}

TEST(LayeredCodecTest, SixteenBitLayersAreTakenOnlyWhenTheyConvertExactly) {
    const std::string stack = R"(<image w="2" h="1"><stack><layer name="a" src="data/a.png"/></stack></image>)";
    const auto read = [&](const std::array<std::uint16_t, 8>& samples) {
        return DecodeOra(Zip({{"mimetype", "image/openraster"}, {"stack.xml", stack}, {"data/a.png", Png16(samples)}}));
    };
    const auto exact = read({257 * 10, 257 * 20, 0, 65535, 257 * 200, 257, 257 * 3, 0});
    ASSERT_TRUE(exact.Ok()) << exact.Reason();
    EXPECT_EQ(exact->layers[0].pixels.Pixels(), (std::vector<Rgba>{{10, 20, 0, 255}, {200, 1, 3, 0}}));
    const auto fine = read({257 * 10, 257 * 20, 1, 65535, 0, 0, 0, 0});
    ASSERT_FALSE(fine.Ok());
    EXPECT_EQ(fine.Reason(), "the layer 'a' is a picture of 16 bits per channel; save it at 8 bits per channel");
}

TEST(LayeredCodecTest, EntryNamesThatLeaveTheArchiveAreKnown) {
    const std::pair<const char*, bool> cases[] = {
        {"data/layer0.png", true}, {"a..b/c", true},   {"..", false},       {"../x", false}, {"data/../../x", false},
        {"/etc/passwd", false},    {"\\x", false},     {"C:x", false},      {"a\\..\\b", false}, {"", false},
    };
    for (const auto& [name, safe] : cases) EXPECT_EQ(IsSafeEntryName(name), safe) << name;
}

struct Seen {
    std::string path;  // group names and the layer's, joined by '/'
    bool visible, locked;
    std::map<std::pair<int, int>, Rgba> opaque;  // canvas position -> pixel, for alpha above 0

    friend bool operator==(const Seen&, const Seen&) = default;
    friend void PrintTo(const Seen& s, std::ostream* out) {
        *out << "'" << s.path << "'" << (s.visible ? " visible" : " hidden") << (s.locked ? " locked " : " ")
             << s.opaque.size() << " opaque";
    }
};

void Collect(const std::vector<Layer>& layers, const std::string& prefix, std::vector<Seen>& out) {
    for (const Layer& layer : layers) {
        Seen seen{prefix + layer.name, layer.visible, layer.locked, {}};
        for (int y = 0; y < layer.pixels.Height(); ++y)
            for (int x = 0; x < layer.pixels.Width(); ++x)
                if (layer.pixels.At(x, y).a > 0) seen.opaque[{layer.x + x, layer.y + y}] = layer.pixels.At(x, y);
        out.push_back(std::move(seen));
        Collect(layer.children, prefix + layer.name + "/", out);
    }
}

// Krita crops layers, moves them and adds its own root group: the same
// layers, pixels and states come out all the same.
TEST(LayeredCodecTest, FilesKritaWroteGiveTheLayersItWasGiven) {
    const auto read = [](const std::string& name) {
        const auto bytes = testing::ReadBytes(testing::TestData("layered/" + name).string());
        auto picture = name.ends_with(".psd") ? DecodePsd(bytes) : DecodeOra(bytes);
        EXPECT_TRUE(picture.Ok()) << name << ": " << picture.Reason();
        std::vector<Seen> seen;
        if (picture) Collect(picture->layers, "", seen);
        return seen;
    };
    const std::vector<Seen> ours = read("ours.ora");
    ASSERT_EQ(ours.size(), 4u);
    EXPECT_EQ(ours[2].path, "Pressed/Ebene \xC3\xA4");
    for (const char* name : {"krita.ora", "krita.psd"}) {
        std::vector<Seen> theirs = read(name);
        // Krita's OpenRaster wraps the stack in one root group of no name.
        if (!theirs.empty() && theirs.front().path.empty()) {
            theirs.erase(theirs.begin());
            for (Seen& s : theirs) s.path.erase(0, 1);
        }
        std::vector<Seen> expected = ours;
        // Krita's Photoshop writer keeps no layer lock.
        if (std::string_view(name).ends_with(".psd"))
            for (Seen& s : expected) s.locked = false;
        EXPECT_EQ(theirs, expected) << name;
    }
}

}  // namespace
}  // namespace corvane
