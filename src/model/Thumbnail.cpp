#include "model/Thumbnail.h"

#include "imaging/AreaScale.h"
#include "imaging/Jpeg.h"
#include "model/PreviewComposition.h"
#include "model/SkinDocument.h"
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

std::optional<Image> SkinThumbnail(std::span<const std::uint8_t> file, int box) {
    const DecodedSkin skin = DecodeSkinFile(file);
    if (skin.outcome != DatabaseReadOutcome::Read || skin.missing == kElementCount) return std::nullopt;
    // As the editor's Open leaves the document, at the file's own depth.
    SkinDocument document;
    ApplyDecodedSkin(skin, document);
    document.SetTargetDepth(DecodedSkinDepth(skin));
    ComposePreviews(document, document.TargetDepth());
    return Shrunk(document.ReleasedPreview(), box);
}

std::optional<Image> SplashThumbnail(std::span<const std::uint8_t> file, int box) {
    const auto content = ParseSplashFile(file);
    if (!content) return std::nullopt;
    ImageFileResult welcome = DecodeJpegReduced(content->welcome, box, kMaxThumbnailJpegPixels);
    if (!welcome.image) return std::nullopt;
    return Shrunk(*welcome.image, box);
}

}  // namespace

std::optional<Image> MakeThumbnail(std::span<const std::uint8_t> file, int box) {
    if (box <= 0) return std::nullopt;
    return KindOfDatabase(file) == DatabaseKind::Splash ? SplashThumbnail(file, box) : SkinThumbnail(file, box);
}

}  // namespace corvane
