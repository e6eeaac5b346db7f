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
#include "pdb/SkinCatalogue.h"
#include "pdb/SkinCodec.h"
#include "pdb/SplashCodec.h"

namespace corvane {
namespace {

Image Shrunk(Image picture, int box) {
    const PictureSize size = FitWithin(picture.Width(), picture.Height(), box);
    if (size.width == picture.Width() && size.height == picture.Height()) return picture;
    return ShrinkByArea(picture, size.width, size.height);
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
    const Depth depth = SkinDepth([&pictures](int bits) { return pictures.AnyAt(bits); });

    std::array<ImageSlot, kElementCount> slots;
    ElementPictures elements{};
    for (const Placement& p : placements) {
        const std::size_t i = Index(p.element);
        ImageSlot& slot = slots[i];
        if (slot.Picture().Empty()) {
            // The element's built-in picture, as in a document the editor has
            // just opened, under the file's: only its size where the file's
            // covers it all. Unpacking the built-in pictures that no pixel of
            // shows took a tenth of a thumbnail.
            const SkinElement& info = ElementInfo(p.element);
            const auto& picture = pictures.Of(p.element);
            const bool covered = picture && picture->image.Width() >= info.width && picture->image.Height() >= info.height;
            slot.LoadDefault(covered ? Image(info.width, info.height) : DefaultElementImage(p.element), depth);
            if (picture) {
                slot.SetTransparent(picture->transparent);
                slot.CopyFrom(picture->image, 0, 0, depth);
            }
        }
        elements[i] = {&slot.Picture(), slot.Transparent()};
    }
    // The background is unpacked straight into the screen that is drawn on
    // (ComposePreview's copy of the background onto itself does nothing): a
    // run of the tool makes one thumbnail, and a kept background copied onto
    // a screen of its own cost a second screen's worth of fresh memory, whose
    // first touch of each page cost more than unpacking it again.
    Image screen = PreviewBackgroundImage();
    ComposePreview(screen, screen, elements, false);
    return Shrunk(std::move(screen), box);
}

std::optional<Image> SplashThumbnail(std::span<const std::uint8_t> file, int box, std::uint64_t maxPixels) {
    const auto content = ParseSplashFile(file);
    if (!content) return std::nullopt;
    ImageFileResult welcome = DecodeJpegReduced(content->welcome, box, maxPixels);
    if (!welcome.image) return std::nullopt;
    return Shrunk(std::move(*welcome.image), box);
}

}  // namespace

std::optional<Image> MakeThumbnail(std::span<const std::uint8_t> file, int box, std::uint64_t maxWelcomePixels) {
    if (box <= 0) return std::nullopt;
    if (KindOfDatabase(file) == DatabaseKind::Splash) return SplashThumbnail(file, box, maxWelcomePixels);
    return SkinThumbnail(file, box);
}

}  // namespace corvane
