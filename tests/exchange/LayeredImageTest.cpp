// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The skin as a layered picture of its dial screen: the layout painting
// programs see, the way back through both formats at both depths, and what
// import makes of the layers programs really write.

#include "exchange/LayeredImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "imaging/Reduce.h"
#include "model/PreviewComposition.h"
#include "model/SkinFile.h"
#include "support/ScriptedUser.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using testing::ReadBytes;
using testing::ScriptedUser;
using testing::TempDir;

constexpr Colour kMagenta{255, 0, 255}, kCyan{0, 255, 255}, kRed{255, 0, 0};

const SkinElement& Named(std::string_view name) { return *ElementByName(name); }

// Every element painted with colours off both grids, see-through corners of
// pure green, and the document composed at the depth.
SkinDocument Painted(Depth depth) {
    SkinDocument document;
    for (const SkinElement& e : kSkinElements) {
        Image picture(e.width, e.height);
        for (int y = 0; y < e.height; ++y)
            for (int x = 0; x < e.width; ++x)
                picture.Set(x, y, x < 3 && y < 3 ? kPureGreen
                                                 : Colour{static_cast<std::uint8_t>(x * 3 + static_cast<int>(e.element)),
                                                          static_cast<std::uint8_t>(y * 11), static_cast<std::uint8_t>(200 - static_cast<int>(e.element))});
        EXPECT_TRUE(document.Slot(depth, e.element).CopyFrom(picture, 0, 0, depth));
    }
    ComposePreviews(document, depth);
    return document;
}

std::vector<std::string> Names(const std::vector<Layer>& layers) {
    std::vector<std::string> names;
    for (const Layer& layer : layers) names.push_back(layer.name);
    return names;
}

TEST(LayeredImageTest, ExportAndImportGiveTheSameSkinInBothFormatsAtBothDepths) {
    for (const LayeredFormat format : {LayeredFormat::OpenRaster, LayeredFormat::Photoshop}) {
        for (const Depth depth : kDepths) {
            SCOPED_TRACE((format == LayeredFormat::OpenRaster ? "ora at " : "psd at ") + std::to_string(Bits(depth)));
            const SkinDocument source = Painted(depth);
            const auto bytes = EncodeLayeredFile(SkinLayers(source.Set(depth), source.PreviewBackground()), format);
            ASSERT_TRUE(bytes.Ok()) << bytes.Reason();
            const auto picture = DecodeLayeredFile(*bytes);
            ASSERT_TRUE(picture.Ok()) << picture.Reason();
            SkinDocument target;
            EXPECT_TRUE(ApplyLayers(target, *picture).Quiet()) << LayerImportText(ApplyLayers(target, *picture));
            EXPECT_EQ(*EncodeSkinFile(target.Set(depth), depth, "Skin", 0), *EncodeSkinFile(source.Set(depth), depth, "Skin", 0));
            // Opens looking like the phone: the merged image is the released preview.
            for (std::size_t i = 0; i < picture->merged.Pixels().size(); ++i) {
                const Colour c = source.ReleasedPreview().Pixels()[i];
                ASSERT_EQ(picture->merged.Pixels()[i], (Rgba{c.r, c.g, c.b, 255})) << "pixel " << i;
            }
        }
    }
}

TEST(LayeredImageTest, LayersAreGroupedAndPlacedAsThePhoneDrawsThem) {
    const SkinDocument document = Painted(Depth::Sixteen);
    const LayeredPicture picture = SkinLayers(document.Set(Depth::Sixteen), document.PreviewBackground());
    ASSERT_EQ(Names(picture.layers), (std::vector<std::string>{"Released", "Pressed", "Speed dial states", "Screen"}));
    const Layer &released = picture.layers[0], &pressed = picture.layers[1], &states = picture.layers[2],
                &screen = picture.layers[3];
    EXPECT_TRUE(released.visible);
    EXPECT_FALSE(pressed.visible);
    EXPECT_FALSE(states.visible);
    EXPECT_TRUE(screen.locked && !screen.group && screen.pixels.Width() == 320 && screen.pixels.Height() == 320);
    // The top of the stack is what the phone draws last.
    EXPECT_EQ(released.children.front().name, "#");
    EXPECT_EQ(released.children.back().name, "titlebar");
    EXPECT_EQ(Names(states.children), (std::vector<std::string>{"scempty", "scemptypressed", "schighlighted"}));
    std::size_t layers = released.children.size() + pressed.children.size() + states.children.size();
    EXPECT_EQ(layers, static_cast<std::size_t>(kElementCount));
    for (const SkinElement& e : kSkinElements) EXPECT_NE(FindLayer(picture.layers, e.name), nullptr) << e.name;

    struct Place {
        std::string_view name;
        int x, y, width, height;
    };
    const Place places[] = {
        {"5", 108, 136, 102, 46},        {"5pressed", 108, 136, 102, 46}, {"titlebar", 0, 27, 320, 30},
        {"dialbutton", 6, 90, 306, 184}, {"scnormal", 2, 288, 315, 32},   {"scempty", 2, 288, 156, 32},
        {"scarrow", 150, 310, 18, 10},
    };
    for (const Place& p : places) {
        const Layer& layer = *FindLayer(picture.layers, p.name);
        EXPECT_EQ((std::array{layer.x, layer.y, layer.pixels.Width(), layer.pixels.Height()}),
                  (std::array{p.x, p.y, p.width, p.height}))
            << p.name;
    }
    // Transparency is alpha: the green corner is see-through, the rest opaque.
    const Layer& five = *FindLayer(picture.layers, "5");
    EXPECT_EQ(five.pixels.At(0, 0).a, 0);
    EXPECT_EQ(five.pixels.At(3, 0).a, 255);
}

Layer Cropped(std::string name, int x, int y, int width, int height, Colour colour) {
    Layer layer;
    layer.name = std::move(name);
    layer.x = x;
    layer.y = y;
    layer.pixels = RgbaImage(width, height, {colour.r, colour.g, colour.b, 255});
    return layer;
}

TEST(LayeredImageTest, ImportTakesCroppedMovedAndNestedLayersAndListsTheRest) {
    const SkinElement& five = Named("5");
    const int fiveX = 108, fiveY = 136;  // the "5" key's place on the screen
    LayeredPicture picture;
    picture.width = picture.height = 320;
    Layer inner;
    inner.group = true;
    inner.name = "my keys";
    // Cropped to a 10 x 4 patch at (20, 10) of the key, half of it past the key's right edge.
    inner.children = {Cropped("5", fiveX + 97, fiveY + 10, 10, 4, kRed), Cropped("Sketch", 0, 0, 5, 5, kRed)};
    Layer outer;
    outer.group = true;
    outer.name = "Released";
    outer.children = {std::move(inner)};
    picture.layers = {std::move(outer), Cropped("star", -400, -400, 2, 2, kRed)};

    SkinDocument document;
    const SkinDocument before;
    const LayerImport import = ApplyLayers(document, picture);
    for (const Depth depth : kDepths) {
        const ImageSlot& slot = document.Slot(depth, five.element);
        for (int y = 0; y < five.height; ++y)
            for (int x = 0; x < five.width; ++x) {
                const bool painted = x >= 97 && y >= 10 && y < 14;
                ASSERT_EQ(slot.Picture().At(x, y) == slot.Transparent(), !painted) << depth << " " << x << "," << y;
            }
        EXPECT_EQ(document.Slot(depth, Named("titlebar").element), before.Slot(depth, Named("titlebar").element));
    }
    EXPECT_EQ(import.unknown, (std::vector<std::string>{"Sketch"}));
    EXPECT_EQ(import.outside, (std::vector<std::string_view>{"5", "star"}));
    EXPECT_EQ(import.missing.size(), static_cast<std::size_t>(kElementCount - 2));
    const std::string text = LayerImportText(import);
    EXPECT_NE(text.find("These layers are no element and were ignored:\n     Sketch"), std::string::npos) << text;
    EXPECT_NE(text.find("no layer and were left as they were:\n     0\n"), std::string::npos) << text;
}

TEST(LayeredImageTest, ATakenTransparentColourGivesWayToTheFirstFreeOne) {
    struct Case {
        std::vector<Colour> opaque;  // colours painted into the key, besides see-through pixels
        Colour expected8, expected16;
    };
    const Case cases[] = {
        {{kRed}, kPureGreen, kPureGreen},
        {{kPureGreen}, kMagenta, kMagenta},
        {{kPureGreen, kMagenta}, kCyan, kCyan},
        // Green once reduced to 5-6-5; at 8 bits the palette keeps it apart.
        {{Colour{0, 254, 1}}, kPureGreen, kMagenta},
    };
    const SkinElement& key = Named("7");
    for (const Case& c : cases) {
        Layer layer = Cropped("7", 6, 182, key.width, key.height, kRed);
        layer.pixels.Set(0, 0, {});  // one see-through pixel
        for (std::size_t i = 0; i < c.opaque.size(); ++i) layer.pixels.Set(static_cast<int>(i) + 1, 0, {c.opaque[i].r, c.opaque[i].g, c.opaque[i].b, 255});
        LayeredPicture picture;
        picture.width = picture.height = 320;
        picture.layers = {layer};
        SkinDocument document;
        const LayerImport import = ApplyLayers(document, picture);
        for (const Depth depth : kDepths) {
            const ImageSlot& slot = document.Slot(depth, key.element);
            const Colour colour = depth == Depth::Eight ? c.expected8 : c.expected16;
            Image expected(1, 1, colour);
            Colour reduced = colour;
            ReduceImageToDepth(expected, reduced, depth);
            EXPECT_EQ(slot.Transparent(), reduced) << depth;
            EXPECT_EQ(slot.Picture().At(0, 0), slot.Transparent());
            for (std::size_t i = 0; i < c.opaque.size(); ++i)
                EXPECT_NE(slot.Picture().At(static_cast<int>(i) + 1, 0), slot.Transparent()) << depth;
        }
        EXPECT_EQ(import.newTransparent.size(), c.expected16 == kPureGreen ? 0u : 1u);
    }
}

// The edges of import's rules: alpha 128 is opaque and 127 see-through; a
// group is never an element's layer, whatever its name; the last spare
// colour is tried; and with none free the see-through pixels take the
// element's own colour.
TEST(LayeredImageTest, ImportRulesHoldAtTheirEdges) {
    const SkinElement& key = Named("7");
    const Colour kSpares[] = {kPureGreen, kMagenta, kCyan, {255, 255, 0}, {0, 0, 255}, kRed, {255, 255, 255}};
    const auto import = [&](std::vector<Layer> layers, SkinDocument& document) {
        LayeredPicture picture;
        picture.width = picture.height = 320;
        picture.layers = std::move(layers);
        return ApplyLayers(document, picture);
    };
    const auto keyLayer = [&](const std::vector<Colour>& opaque) {
        Layer layer = Cropped("7", 6, 182, key.width, key.height, {10, 100, 200});
        layer.pixels.Set(0, 0, {}); // one see-through pixel
        for (std::size_t i = 0; i < opaque.size(); ++i)
            layer.pixels.Set(static_cast<int>(i) + 1, 1, {opaque[i].r, opaque[i].g, opaque[i].b, 255});
        return layer;
    };

    {  // alpha at the threshold
        Layer layer = keyLayer({});
        layer.pixels.Set(1, 0, {10, 100, 200, 128});
        layer.pixels.Set(2, 0, {10, 100, 200, 127});
        SkinDocument document;
        import({layer}, document);
        const ImageSlot& slot = document.Slot(Depth::Sixteen, key.element);
        EXPECT_NE(slot.Picture().At(1, 0), slot.Transparent()) << "alpha 128 is opaque";
        EXPECT_EQ(slot.Picture().At(2, 0), slot.Transparent()) << "alpha 127 is see-through";
    }
    {  // a group named as the element, above its layer
        Layer group;
        group.group = true;
        group.name = "7";
        group.children = {Cropped("Sketch", 0, 0, 2, 2, kRed)};
        SkinDocument viaGroup, direct;
        const LayerImport told = import({group, keyLayer({})}, viaGroup);
        import({keyLayer({})}, direct);
        EXPECT_EQ(viaGroup.Slot(Depth::Sixteen, key.element), direct.Slot(Depth::Sixteen, key.element));
        EXPECT_TRUE(told.duplicated.empty()) << "a group is no second layer";
    }
    for (const Depth depth : kDepths) {
        SCOPED_TRACE(depth);
        // Every spare but black taken: black, the last, is the colour.
        SkinDocument lastFree;
        const std::vector<Colour> allButBlack(std::begin(kSpares), std::end(kSpares));
        const LayerImport last = import({keyLayer(allButBlack)}, lastFree);
        Image black(1, 1, kBlack);
        Colour reducedBlack = kBlack;
        ReduceImageToDepth(black, reducedBlack, depth);
        EXPECT_EQ(lastFree.Slot(depth, key.element).Transparent(), reducedBlack);
        EXPECT_TRUE(last.noFreeColour.empty());
        // Black taken too: the element keeps its colour, and its see-through pixel takes it.
        SkinDocument noneFree;
        std::vector<Colour> every = allButBlack;
        every.push_back(kBlack);
        const LayerImport none = import({keyLayer(every)}, noneFree);
        const ImageSlot& slot = noneFree.Slot(depth, key.element);
        Image green(1, 1, kPureGreen);
        Colour reducedGreen = kPureGreen;
        ReduceImageToDepth(green, reducedGreen, depth);
        EXPECT_EQ(slot.Transparent(), reducedGreen);
        EXPECT_EQ(slot.Picture().At(0, 0), reducedGreen);
        EXPECT_EQ(none.noFreeColour, (std::vector<std::string_view>{"7"}));
    }
}

// Hidden and partly see-through layers are used, and a second layer of a
// name ignored; each is told in one line.
TEST(LayeredImageTest, HiddenPartlyOpaqueAndDuplicatedLayersAreTold) {
    Layer hidden = Cropped("7", 6, 182, 2, 2, kRed), faint = Cropped("8", 0, 0, 2, 2, kRed),
          first = Cropped("9", 0, 0, 2, 2, kRed), second = Cropped("9", 0, 0, 2, 2, kCyan);
    hidden.visible = false;
    faint.opacity = 128;
    LayeredPicture picture;
    picture.width = picture.height = 320;
    picture.layers = {hidden, faint, first, second};
    picture.notices = {"The merged image was left out, as it could not be read: cut short in its pixels."};
    SkinDocument document;
    const LayerImport import = ApplyLayers(document, picture);
    EXPECT_EQ(import.hidden, (std::vector<std::string_view>{"7"}));
    EXPECT_EQ(import.partlyOpaque, (std::vector<std::string_view>{"8"}));
    EXPECT_EQ(import.duplicated, (std::vector<std::string_view>{"9"}));
    const std::string text = LayerImportText(import);
    for (const char* line : {"hidden and were used all the same:\n     7", "opacity below 100 %",
                             "more than one layer; the topmost was used:\n     9", "The merged image was left out"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
    EXPECT_NE(document.Slot(Depth::Sixteen, Named("7").element), SkinDocument().Slot(Depth::Sixteen, Named("7").element)) << "used";
}

// Names from inside a file are printed as file names are: controls, C1,
// DEL, '\', bytes that are no UTF-8 and the direction controls escaped.
TEST(LayeredImageTest, NamesFromInsideTheFileAreEscapedWhereverTheyArePrinted) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain \xC3\xA4", "plain \xC3\xA4"},
        {"bell\a", "bell\\x07"},
        {"\x1B[31mred", "\\x1B[31mred"},
        {"line\ncorvane: error: fake", "line\\x0Acorvane: error: fake"},
        {"cr\r", "cr\\x0D"},
        {"del\x7F", "del\\x7F"},
        {"c1\xC2\x9B", "c1\\xC2\\x9B"},
        {"bad\xFF", "bad\\xFF"},
        {"back\\slash", "back\\x5Cslash"},
        {"gpj.\xE2\x80\xAE" "exe", "gpj.\\xE2\\x80\\xAEexe"},
        {"\xE2\x81\xA6isolate", "\\xE2\\x81\\xA6isolate"},
    };
    LayeredPicture picture;
    picture.width = picture.height = 320;
    for (const auto& [name, shown] : cases) picture.layers.push_back(Cropped(name, 0, 0, 1, 1, kRed));
    SkinDocument document;
    const std::vector<ImportNotice> notices = LayerImportNotices(ApplyLayers(document, picture));
    const auto unknown = std::find_if(notices.begin(), notices.end(),
                                      [](const ImportNotice& n) { return n.heading.find("no element") != std::string::npos; });
    ASSERT_NE(unknown, notices.end());
    ASSERT_EQ(unknown->names.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(unknown->names[i], cases[i].second) << i;

    // A refusal quoting a layer's name: its rectangle made far larger than its pixels.
    LayeredPicture evil;
    evil.width = evil.height = 4;
    evil.layers = {Cropped("\x1B]0;x\a\ncorvane: ok", 0, 0, 2, 2, kRed)};
    auto file = *EncodeLayeredFile(evil, LayeredFormat::Photoshop);
    const std::size_t record = 26 + 4 + 4 + 4 + 4 + 2;
    const std::uint8_t huge[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0, 0x10, 0};
    std::copy(std::begin(huge), std::end(huge), file.begin() + static_cast<std::ptrdiff_t>(record));
    const auto refused = DecodeLayeredFile(file);
    ASSERT_FALSE(refused.Ok());
    EXPECT_NE(refused.Reason().find("'\\x1B]0;x\\x07\\x0Acorvane: ok'"), std::string::npos) << refused.Reason();
    EXPECT_EQ(refused.Reason().find('\n'), std::string::npos);
}

TEST(LayeredImageTest, TheEditorsCommandsWriteReadAndTell) {
    TempDir dir;
    SkinDocument source = Painted(Depth::Sixteen);
    ScriptedUser exporter;
    exporter.ChoosesFile(dir.File("skin.psd")).ChoosesFile(std::nullopt);
    ASSERT_TRUE(ExportLayeredImage(source, exporter));
    EXPECT_FALSE(ExportLayeredImage(source, exporter)) << "cancelled";
    EXPECT_EQ(exporter.FileCalls().front().prompt.filter, kLayeredImageFilter);
    EXPECT_TRUE(exporter.Messages().empty());

    SkinDocument target;
    ScriptedUser importer;
    importer.ChoosesFile(dir.File("skin.psd"));
    ASSERT_TRUE(ImportLayeredImage(target, importer));
    EXPECT_TRUE(target.IsModified());
    EXPECT_EQ(target.Set(Depth::Sixteen), source.Set(Depth::Sixteen));
    EXPECT_TRUE(importer.Messages().empty());

    const std::string junk = dir.File("junk.ora");
    testing::WriteBytes(junk, {'P', 'K', 3, 4, 0});
    SkinDocument untouched;
    ScriptedUser refused;
    refused.ChoosesFile(junk);
    EXPECT_FALSE(ImportLayeredImage(untouched, refused));
    EXPECT_FALSE(untouched.IsModified());
    ASSERT_EQ(refused.MessageTexts().size(), 1u);
    EXPECT_EQ(refused.MessageTexts()[0], "Could not import the layered image:\n\nnot a zip archive, or one cut short.");
}

TEST(LayeredImageTest, FormatsAreKnownByExtensionAndByContent) {
    EXPECT_EQ(LayeredFormatOf("a/Summer.ORA"), LayeredFormat::OpenRaster);
    EXPECT_EQ(LayeredFormatOf("Summer.psd"), LayeredFormat::Photoshop);
    EXPECT_EQ(LayeredFormatOf("Summer.pdb"), std::nullopt);
    EXPECT_EQ(LayeredFormatOf("ora"), std::nullopt);
    const std::vector<std::uint8_t> bmp{'B', 'M', 0, 0, 0, 0};
    EXPECT_EQ(DecodeLayeredFile(bmp).Reason(), "neither an OpenRaster (.ora) nor a Photoshop (.psd) file");
}

}  // namespace
}  // namespace corvane
