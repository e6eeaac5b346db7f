#include "model/Thumbnail.h"

#include <array>

#include "imaging/AreaScale.h"
#include "imaging/Jpeg.h"
#include "model/DefaultArtwork.h"
#include "model/ImageSlot.h"
#include "model/PreviewComposition.h"
#include "model/SkinFile.h"
#include "pdb/DatabaseKind.h"
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

// The released screen as ComposePreviews draws it for a document that Open
// filled from this skin, at the file's depth: each picture found is copied
// over its element's default and reduced to the depth, the others stay as
// built in. Only the released screen's elements are copied, and only the
// released screen is composed: the editor's second depth and its pressed
// screen are no part of a thumbnail.
std::optional<Image> SkinThumbnail(std::span<const std::uint8_t> file, int box) {
    const DecodedSkin skin = DecodeSkinFile(file);
    if (skin.outcome != DatabaseReadOutcome::Read || skin.missing == kElementCount) return std::nullopt;
    const int depth = DecodedSkinDepth(skin);
    const Defaults& defaults = BuiltIn();
    std::array<ImageSlot, kElementCount> found;
    ElementPictures elements{};
    for (const Placement& p : DialScreenPlacements(false)) {
        const std::size_t i = Index(p.element);
        const ImageSlot* slot = &defaults.slots[i];
        if (const auto& picture = skin.pictures[i]; picture && found[i].Picture().Empty()) {
            found[i] = defaults.slots[i];
            found[i].SetTransparent(picture->transparent);
            found[i].CopyFrom(picture->image, 0, 0, depth);
        }
        if (!found[i].Picture().Empty()) slot = &found[i];
        elements[i] = {&slot->Picture(), slot->Transparent()};
    }
    Image screen;
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
