// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "exchange/LayeredImage.h"

#include <algorithm>
#include <array>

#include "imaging/Ora.h"
#include "imaging/Psd.h"
#include "imaging/Reduce.h"
#include "io/FileAccess.h"
#include "io/PathNames.h"
#include "model/PreviewComposition.h"
#include "model/UserInterface.h"
#include "pdb/PalmText.h"

namespace corvane {
namespace {

constexpr std::string_view kReleasedGroup = "Released";
constexpr std::string_view kPressedGroup = "Pressed";
constexpr std::string_view kStatesGroup = "Speed dial states";
constexpr std::uint8_t kAlphaThreshold = 128;
constexpr LayeredFormat kFirstFormat = LayeredFormat::OpenRaster;

// Every place an element is drawn at, in drawing order: first the released
// screen's, then the pressed screen's; the states no screen shows sit where
// the first speed-dial button is.
std::array<std::vector<Placement>, kElementCount> ElementPlaces() {
    std::array<std::vector<Placement>, kElementCount> places;
    for (const bool pressed : {false, true}) {
        for (const Placement& p : DialScreenPlacements(pressed)) {
            // The title bar and its kin are drawn on both screens, at one place.
            auto& list = places[Index(p.element)];
            if (std::none_of(list.begin(), list.end(), [&](const Placement& q) { return q.x == p.x && q.y == p.y; }))
                list.push_back(p);
        }
    }
    const Placement speedDial = places[Index(Element::SpeedDialNormal)].front();
    for (const SkinElement& e : kSkinElements)
        if (places[Index(e.element)].empty()) places[Index(e.element)].push_back({e.element, speedDial.x, speedDial.y});
    return places;
}

struct Box {
    int left, top, right, bottom;
};

Box Bounds(const std::vector<Placement>& places) {
    const SkinElement& e = ElementInfo(places.front().element);
    Box box{places.front().x, places.front().y, places.front().x + e.width, places.front().y + e.height};
    for (const Placement& p : places) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x + e.width);
        box.bottom = std::max(box.bottom, p.y + e.height);
    }
    return box;
}

// Drawn at every place of the element: see-through where it is transparent.
Layer ElementLayer(const ImageSlot& slot, Element element, const std::vector<Placement>& places) {
    const Box box = Bounds(places);
    Layer layer;
    layer.name = std::string(ElementInfo(element).name);
    layer.x = box.left;
    layer.y = box.top;
    layer.pixels = RgbaImage(box.right - box.left, box.bottom - box.top);
    const Image& picture = slot.Picture();
    for (const Placement& p : places)
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) {
                const Colour c = picture.At(x, y);
                if (!(c == slot.Transparent())) layer.pixels.Set(p.x - box.left + x, p.y - box.top + y, {c.r, c.g, c.b, 255});
            }
    return layer;
}

Layer Group(std::string_view name, bool visible) {
    Layer group;
    group.name = std::string(name);
    group.group = true;
    group.visible = visible;
    return group;
}

RgbaImage Opaque(const Image& image) {
    RgbaImage out(image.Width(), image.Height());
    for (std::size_t i = 0; i < image.Pixels().size(); ++i) {
        const Colour c = image.Pixels()[i];
        out.Pixels()[i] = {c.r, c.g, c.b, 255};
    }
    return out;
}

// ---- import -----------------------------------------------------------------

// The element's picture as the layer paints it over the first place, and
// which of its pixels are opaque.
struct Painted {
    Image picture;
    std::vector<bool> opaque;
    bool outside = false;  // opaque pixels where the element is never drawn
};

bool InsideAny(const std::vector<Placement>& places, int width, int height, long x, long y) {
    return std::any_of(places.begin(), places.end(),
                       [&](const Placement& p) { return x >= p.x && y >= p.y && x < p.x + width && y < p.y + height; });
}

Painted Paint(const Layer& layer, const SkinElement& element, const std::vector<Placement>& places) {
    Painted painted{Image(element.width, element.height, kBlack),
                    std::vector<bool>(static_cast<std::size_t>(element.width * element.height)), false};
    const Placement& first = places.front();
    const RgbaImage& pixels = layer.pixels;
    for (int y = 0; y < pixels.Height(); ++y) {
        for (int x = 0; x < pixels.Width(); ++x) {
            const Rgba p = pixels.At(x, y);
            if (p.a < kAlphaThreshold) continue;
            const long cx = long{layer.x} + x, cy = long{layer.y} + y;
            const long ex = cx - first.x, ey = cy - first.y;
            if (ex >= 0 && ey >= 0 && ex < element.width && ey < element.height) {
                painted.picture.Set(static_cast<int>(ex), static_cast<int>(ey), Colour{p.r, p.g, p.b});
                painted.opaque[static_cast<std::size_t>(ey * element.width + ex)] = true;
            } else if (!InsideAny(places, element.width, element.height, cx, cy)) {
                painted.outside = true;
            }
        }
    }
    return painted;
}

// The picture with its see-through pixels in the colour, reduced at the
// depth as the slot will be; nothing when an opaque pixel reduces to the same colour.
std::optional<Image> Reduced(const Painted& painted, Colour transparent, Depth depth, Dither dither) {
    Image picture = painted.picture;
    for (std::size_t i = 0; i < painted.opaque.size(); ++i)
        if (!painted.opaque[i]) picture.Pixels()[i] = transparent;
    Image reduced = picture;
    Colour reducedTransparent = transparent;
    ReduceImageToDepth(reduced, reducedTransparent, depth, dither);
    for (std::size_t i = 0; i < painted.opaque.size(); ++i)
        if (painted.opaque[i] && reduced.Pixels()[i] == reducedTransparent) return std::nullopt;
    return picture;
}

enum class ColourChoice { Kept, Changed, NoneFree };

ColourChoice ImportInto(ImageSlot& slot, const Painted& painted, Depth depth, Dither dither) {
    const Colour current = slot.Transparent();
    std::optional<Image> picture = Reduced(painted, current, depth, dither);
    Colour chosen = current;
    for (std::size_t i = 0; !picture && i < kSpareTransparentColours.size(); ++i) {
        chosen = kSpareTransparentColours[i];
        picture = Reduced(painted, chosen, depth, dither);
    }
    ColourChoice choice = chosen == current ? ColourChoice::Kept : ColourChoice::Changed;
    if (!picture) {
        // Every colour is taken: the element's own stays, and its opaque
        // pixels in it turn see-through as they would from a picture file.
        choice = ColourChoice::NoneFree;
        chosen = current;
        picture = painted.picture;
        for (std::size_t i = 0; i < painted.opaque.size(); ++i)
            if (!painted.opaque[i]) picture->Pixels()[i] = current;
    }
    slot.SetTransparent(chosen);
    slot.CopyFrom(*picture, 0, 0, depth, dither);
    return choice;
}

int CountNamed(const std::vector<Layer>& layers, std::string_view name) {
    int n = 0;
    for (const Layer& layer : layers) n += (!layer.group && layer.name == name) + CountNamed(layer.children, name);
    return n;
}

void ListUnknown(const std::vector<Layer>& layers, std::vector<std::string>& unknown) {
    for (const Layer& layer : layers) {
        if (layer.group) {
            ListUnknown(layer.children, unknown);
        } else if (!ElementByName(layer.name) && layer.name != kScreenLayer) {
            unknown.push_back(PrintableFileName(layer.name));
        }
    }
}

template <typename Names>
void Notice(std::vector<ImportNotice>& notices, std::string_view heading, const Names& names) {
    if (names.empty()) return;
    notices.push_back({std::string(heading), std::vector<std::string>(names.begin(), names.end())});
}

std::string ExtensionFor(LayeredFormat format) { return format == LayeredFormat::OpenRaster ? "ora" : "psd"; }

}  // namespace

std::optional<LayeredFormat> LayeredFormatOf(std::string_view path) {
    if (path.size() < 4) return std::nullopt;
    std::string extension(path.substr(path.size() - 4));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    if (extension == ".ora") return LayeredFormat::OpenRaster;
    if (extension == ".psd") return LayeredFormat::Photoshop;
    return std::nullopt;
}

namespace {

bool IsZip(std::span<const std::uint8_t> file) { return file.size() >= 4 && file[0] == 'P' && file[1] == 'K'; }

bool IsPsd(std::span<const std::uint8_t> file) {
    return file.size() >= 4 && file[0] == '8' && file[1] == 'B' && file[2] == 'P' && file[3] == 'S';
}

}  // namespace

bool IsLayeredFile(std::string_view path, std::span<const std::uint8_t> file) {
    return LayeredFormatOf(path) && (IsZip(file) || IsPsd(file));
}

Result<LayeredPicture> DecodeLayeredFile(std::span<const std::uint8_t> file, const LayeredRead& read) {
    const auto decode = [&]() -> Result<LayeredPicture> {
        if (IsZip(file)) return DecodeOra(file, read);
        if (IsPsd(file)) return DecodePsd(file, read);
        return Fail("neither an OpenRaster (.ora) nor a Photoshop (.psd) file");
    };
    // The readers' own words are plain text; what they quote from the file
    // (entry and layer names, the mimetype) may hold any bytes.
    auto picture = decode();
    if (!picture) return Fail(PrintableFileName(picture.Reason()));
    for (std::string& notice : picture->notices) notice = PrintableFileName(notice);
    return picture;
}

Result<LayeredPicture> DecodeLayersToImport(const MappedFile& file) {
    LayeredRead read(MergedImage::Skipped);
    read.file = file.Mapped() ? FileBytes::Mapped : FileBytes::InMemory;
    read.onlyLayers.emplace();
    for (const SkinElement& e : kSkinElements) read.onlyLayers->push_back(e.name);
    return DecodeLayeredFile(file.Bytes(), read);
}

Result<std::vector<std::uint8_t>> EncodeLayeredFile(const LayeredPicture& picture, LayeredFormat format) {
    return format == LayeredFormat::OpenRaster ? EncodeOra(picture) : EncodePsd(picture);
}

LayeredPicture SkinLayers(const SlotSet& set, const Image& background) {
    const auto places = ElementPlaces();
    LayeredPicture picture;
    picture.width = background.Width();
    picture.height = background.Height();
    Layer released = Group(kReleasedGroup, true), pressed = Group(kPressedGroup, false),
          states = Group(kStatesGroup, false);
    std::array<bool, kElementCount> placed{};
    // Drawing order bottom up; a stack lists the top first.
    for (const bool isPressed : {false, true}) {
        Layer& group = isPressed ? pressed : released;
        for (const Placement& p : DialScreenPlacements(isPressed)) {
            auto& done = placed[Index(p.element)];
            if (done) continue;
            done = true;
            group.children.insert(group.children.begin(),
                                  ElementLayer(set[Index(p.element)], p.element, places[Index(p.element)]));
        }
    }
    for (const SkinElement& e : kSkinElements)
        if (!placed[Index(e.element)])
            states.children.push_back(ElementLayer(set[Index(e.element)], e.element, places[Index(e.element)]));
    Layer screen;
    screen.name = std::string(kScreenLayer);
    screen.locked = true;
    screen.pixels = Opaque(background);
    picture.layers = {std::move(released), std::move(pressed), std::move(states), std::move(screen)};

    ElementPictures elements{};
    for (std::size_t i = 0; i < elements.size(); ++i) elements[i] = {&set[i].Picture(), set[i].Transparent()};
    Image merged;
    ComposePreview(merged, background, elements, false);
    picture.merged = Opaque(merged);
    return picture;
}

LayerImport ApplyLayers(SkinDocument& document, const LayeredPicture& picture) {
    const auto places = ElementPlaces();
    LayerImport import;
    for (const Element element : kBitmapSetOrder) {
        const SkinElement& e = ElementInfo(element);
        const Layer* layer = FindLayer(picture.layers, e.name);
        if (!layer) {
            import.missing.push_back(e.name);
            continue;
        }
        if (!layer->visible) import.hidden.push_back(e.name);
        if (layer->opacity < 255) import.partlyOpaque.push_back(e.name);
        if (CountNamed(picture.layers, e.name) > 1) import.duplicated.push_back(e.name);
        const Painted painted = Paint(*layer, e, places[Index(element)]);
        if (painted.outside) import.outside.push_back(e.name);
        bool changed = false, noneFree = false;
        for (const Depth depth : kDepths) {
            const ColourChoice choice = ImportInto(document.Slot(depth, element), painted, depth, document.Dithering());
            changed = changed || choice == ColourChoice::Changed;
            noneFree = noneFree || choice == ColourChoice::NoneFree;
        }
        if (noneFree) import.noFreeColour.push_back(e.name);
        else if (changed) import.newTransparent.push_back(e.name);
    }
    ListUnknown(picture.layers, import.unknown);
    import.fromReader = picture.notices;
    return import;
}

std::vector<ImportNotice> LayerImportNotices(const LayerImport& import) {
    std::vector<ImportNotice> notices;
    Notice(notices, "These elements had no layer and were left as they were:", import.missing);
    Notice(notices, "These layers are no element and were ignored:", import.unknown);
    Notice(notices, "These layers had pixels outside their element's place, which were ignored:", import.outside);
    Notice(notices, "These elements got a new transparent colour, as opaque pixels had their old one:",
           import.newTransparent);
    Notice(notices, "These elements have opaque pixels in every spare transparent colour; those in their own became "
                    "see-through:",
           import.noFreeColour);
    Notice(notices, "These elements' layers are hidden and were used all the same:", import.hidden);
    Notice(notices, "These elements' layers are partly see-through (opacity below 100 %); their pixels were taken at full "
                    "opacity:",
           import.partlyOpaque);
    Notice(notices, "These elements have more than one layer; the topmost was used:", import.duplicated);
    for (const std::string& notice : import.fromReader) notices.push_back({notice, {}});
    return notices;
}

std::string LayerImportText(const LayerImport& import) {
    std::string text;
    for (const auto& [heading, names] : LayerImportNotices(import)) {
        text += (text.empty() ? "" : "\n\n") + heading;
        for (const auto& name : names) text += "\n     " + name;
    }
    return text;
}

bool ExportLayeredImage(const SkinDocument& document, UserInterface& user) {
    FilePrompt prompt;
    prompt.title = "Export Layered Image";
    prompt.filter = std::string(kLayeredImageFilter);
    prompt.defaultExtension = ExtensionFor(kFirstFormat);
    prompt.proposedName = BaseName(document.FilePath(), NameCut::AtLastDot) + "." + ExtensionFor(kFirstFormat);
    prompt.confirmOverwrite = true;
    const auto path = user.AskSaveFile(prompt);
    if (!path) return false;
    const LayeredFormat format = LayeredFormatOf(*path).value_or(kFirstFormat);
    const std::string target = LayeredFormatOf(*path) ? *path : *path + "." + ExtensionFor(format);
    auto bytes = EncodeLayeredFile(SkinLayers(document.CurrentSet(), document.PreviewBackground()), format);
    if (!bytes) {
        Tell(user, "Could not export the layered image: " + bytes.Reason() + ".", MessageIcon::Warning);
        return false;
    }
    const FileToWrite file{target, *bytes};
    if (const WriteResult written = WriteFilesAllOrNothing(std::span(&file, 1)); !written.Ok()) {
        Tell(user, "Could not write the file\n\n     " + target + "\n\n" + written.Reason() + ". Any earlier file is unchanged.",
             MessageIcon::Warning);
        return false;
    }
    return true;
}

bool ImportLayeredImage(SkinDocument& document, UserInterface& user) {
    const auto path = AskExistingFile(user, "Import Layered Image", std::string(kLayeredImageFilter));
    if (!path) return false;
    const MappedRead read = MapFileAtMost(*path, kLayeredMappedFileLimit);
    if (!read.Ok()) {
        Tell(user, "Could not read the layered image: " +
                       ReadProblemText(read.problem, kLayeredMappedFileLimit, "layered images", read.error) + ".",
             MessageIcon::Warning);
        return false;
    }
    const auto picture = DecodeLayersToImport(read.file);
    if (!picture) {
        Tell(user, "Could not import the layered image:\n\n" + picture.Reason() + ".", MessageIcon::Warning);
        return false;
    }
    const LayerImport import = ApplyLayers(document, *picture);
    document.MarkModified();
    if (!import.Quiet()) Tell(user, LayerImportText(import), MessageIcon::Information);
    return true;
}

}  // namespace corvane
