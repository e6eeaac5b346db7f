// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/Thumbnail.h"

#include <array>

#include "imaging/AreaScale.h"
#include "imaging/Jpeg.h"
#include "model/DefaultArtwork.h"
#include "model/ImageSlot.h"
#include "model/PreviewComposition.h"
#include "pdb/DatabaseKind.h"
#include "pdb/ResourceDatabase.h"
#include "pdb/SkinCodec.h"
#include "pdb/SplashCodec.h"

namespace corvane {
namespace {

Image Shrunk(const Image& picture, int box) {
    const PictureSize size = FitWithin(picture.Width(), picture.Height(), box);
    if (size.width == picture.Width() && size.height == picture.Height()) return picture;
    return ShrinkByArea(picture, size.width, size.height);
}

// The editor's built-in pictures, decoded once: every element the file
// lacks shows its default, as in a document the editor has just opened.
struct Defaults {
    Image background = PreviewBackgroundImage();
    std::array<ImageSlot, kElementCount> slots;
    Defaults() {
        for (const SkinElement& e : kSkinElements) slots[Index(e.element)].LoadDefault(DefaultElementImage(e.element));
    }
};

const Defaults& BuiltIn() {
    static const Defaults defaults;
    return defaults;
}

// A skin's pictures, each decoded the first time it is asked for: the
// released screen shows fewer than half of them, and the others matter only
// to the file's depth, which their headers mostly settle undecoded.
class SkinPictures {
public:
    explicit SkinPictures(const ResourceDatabase& database) : database_(database) {}

    const std::optional<FoundBitmap>& Of(Element element) {
        auto& decoded = decoded_[Index(element)];
        if (!decoded) decoded = DecodeSkinElement(database_, element);
        return *decoded;
    }

    // Whether any element has a picture stored at the depth (any depth for
    // 0), as Open would find: only a bitmap whose header says that depth is
    // decoded, and only until one gives a picture.
    bool AnyAt(int depth) {
        for (const SkinElement& e : kSkinElements)
            if (const auto& d = decoded_[Index(e.element)]; d && *d && (depth == 0 || (*d)->depth == depth)) return true;
        for (const SkinElement& e : kSkinElements) {
            const ResourceEntry* entry = database_.FindEntry(ResourceIdOf(e.element));
            if (entry && entry->Readable() && (depth == 0 || entry->Bitmap().pixelSize == depth) && Of(e.element))
                return true;
        }
        return false;
    }

private:
    const ResourceDatabase& database_;
    std::array<std::optional<std::optional<FoundBitmap>>, kElementCount> decoded_;
};

// The released screen as ComposePreviews draws it for a document that Open
// filled from this skin, at the file's depth: each picture found is copied
// over its element's default and reduced to the depth, the others stay as
// built in. Only the released screen's elements are copied, and only the
// released screen is composed: the editor's second depth and its pressed
// screen are no part of a thumbnail.
std::optional<Image> SkinThumbnail(std::span<const std::uint8_t> file, int box) {
    ResourceDatabase database;
    if (database.ReadDatabase(file) != DatabaseReadOutcome::Read) return std::nullopt;
    SkinPictures pictures(database);
    const std::vector<Placement> placements = DialScreenPlacements(false);
    for (const Placement& p : placements) pictures.Of(p.element);
    if (!pictures.AnyAt(0)) return std::nullopt;
    const int depth = SkinDepth([&pictures](int d) { return pictures.AnyAt(d); });

    const Defaults& defaults = BuiltIn();
    std::array<ImageSlot, kElementCount> found;
    ElementPictures elements{};
    for (const Placement& p : placements) {
        const std::size_t i = Index(p.element);
        const ImageSlot* slot = &defaults.slots[i];
        if (const auto& picture = pictures.Of(p.element); picture && found[i].Picture().Empty()) {
            found[i] = defaults.slots[i];
            found[i].SetTransparent(picture->transparent);
            found[i].CopyFrom(picture->image, 0, 0, depth);
        }
        if (!found[i].Picture().Empty()) slot = &found[i];
        elements[i] = {&slot->Picture(), slot->Transparent()};
    }
    // One screen a thread, drawn over for each skin: a file manager asks for
    // a folder's thumbnails one after another, and a screen made afresh is
    // fresh memory from the system each time, which cost more than drawing it.
    thread_local Image screen;
    ComposePreview(screen, defaults.background, elements, false);
    return Shrunk(screen, box);
}

std::optional<Image> SplashThumbnail(std::span<const std::uint8_t> file, int box, std::uint64_t maxPixels) {
    const auto content = ParseSplashFile(file);
    if (!content) return std::nullopt;
    ImageFileResult welcome = DecodeJpegReduced(content->welcome, box, maxPixels);
    if (!welcome.image) return std::nullopt;
    return Shrunk(*welcome.image, box);
}

}  // namespace

std::optional<Image> MakeThumbnail(std::span<const std::uint8_t> file, int box, std::uint64_t maxWelcomePixels) {
    if (box <= 0) return std::nullopt;
    if (KindOfDatabase(file) == DatabaseKind::Splash) return SplashThumbnail(file, box, maxWelcomePixels);
    return SkinThumbnail(file, box);
}

}  // namespace corvane
