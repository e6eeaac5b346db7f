// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Skin files as bytes: a resource database (see ResourceDatabase.h) of type
// 'Skn7', creator 'TSkn', with one bitmap per element, all at one depth,
// under the IDs of kSkinResourceTable. Reading judges a file only by its
// resource IDs and by whether each supported resource could be read; the
// header's type (unless 'logo'), its creator and the entries' type codes do
// not matter.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "imaging/Depth.h"
#include "imaging/Image.h"
#include "pdb/ResourceDatabase.h"
#include "pdb/SkinCatalogue.h"

namespace corvane {

// One element's picture as the writer takes it.
struct SkinPicture {
    const Image* image = nullptr;
    Colour transparent;
};

// The skin file of the elements' pictures at a depth, every resource with
// its transparent colour and the transparency flag set. Nothing when a
// resource was refused.
std::optional<std::vector<std::uint8_t>> EncodeSkinFile(const std::array<SkinPicture, kElementCount>& pictures,
                                                        Depth depth, std::string_view databaseName, std::uint32_t now);

// What a skin file holds for the editor.
struct DecodedSkin {
    DatabaseReadOutcome outcome = DatabaseReadOutcome::Read;
    // By element index; nothing where the resource is absent, unreadable or
    // has no pixels. A picture larger than its element is cut to the
    // element's size from the top left, all the editor keeps of it.
    std::array<std::optional<FoundBitmap>, kElementCount> pictures;
    bool unsupported = false;  // a resource outside SupportedSkinIds
    int missing = 0;           // rows of kSkinResourceTable that gave no picture
    // By element index: the bits per pixel of the picture's resource (0 where
    // there is no picture), and the opaque pixels of an 8-bit picture whose
    // palette colour is the transparent colour under another index. The
    // palette holds such duplicates; once decoded to colours, or written as a
    // picture file, those pixels cannot be told from the see-through ones.
    std::array<int, kElementCount> depths{};
    std::array<int, kElementCount> opaqueInTransparentColour{};
};

DecodedSkin DecodeSkinFile(std::span<const std::uint8_t> bytes);
// The same for a database already read, with the outcome of its reading.
DecodedSkin DecodeSkin(const ResourceDatabase& database, DatabaseReadOutcome outcome);

// One element's picture as DecodeSkin finds it, for a reader that needs
// only some: nothing where the resource is absent, unreadable or has no pixels.
std::optional<FoundBitmap> DecodeSkinElement(const ResourceDatabase& database, Element element);

// The depth the skin's pictures are stored at: 16 when any is, else 8 when
// any is, else nothing. `hasPictureAt(bits)` tells whether any picture is
// stored at that depth.
template <class HasPictureAt>
std::optional<Depth> StoredSkinDepth(HasPictureAt hasPictureAt) {
    if (hasPictureAt(16)) return Depth::Sixteen;
    if (hasPictureAt(8)) return Depth::Eight;
    return std::nullopt;
}
// The same, with 16, the depth of a new skin, where no picture tells.
template <class HasPictureAt>
Depth SkinDepth(HasPictureAt hasPictureAt) {
    return StoredSkinDepth(hasPictureAt).value_or(Depth::Sixteen);
}
std::optional<Depth> DecodedStoredDepth(const DecodedSkin& skin);
Depth DecodedSkinDepth(const DecodedSkin& skin);

}  // namespace corvane
