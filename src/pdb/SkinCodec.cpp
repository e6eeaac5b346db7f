// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pdb/SkinCodec.h"

#include <algorithm>

namespace corvane {

std::optional<std::vector<std::uint8_t>> EncodeSkinFile(const std::array<SkinPicture, kElementCount>& pictures,
                                                        Depth depth, std::string_view databaseName, std::uint32_t now) {
    ResourceDatabase database;
    database.SetName(databaseName);
    for (const auto& row : kSkinResourceTable) {
        const SkinPicture& picture = pictures[Index(row.element)];
        if (!picture.image || !database.AddBitmap(*picture.image, row.id, picture.transparent, true, Bits(depth)))
            return std::nullopt;
    }
    return database.WriteDatabase(now);
}

DecodedSkin DecodeSkinFile(std::span<const std::uint8_t> bytes) {
    ResourceDatabase database;
    const DatabaseReadOutcome outcome = database.ReadDatabase(bytes);
    return DecodeSkin(database, outcome);
}

DecodedSkin DecodeSkin(const ResourceDatabase& database, DatabaseReadOutcome outcome) {
    DecodedSkin skin;
    skin.outcome = outcome;
    if (skin.outcome == DatabaseReadOutcome::CarrierLogo) return skin;
    for (const auto& row : kSkinResourceTable) {
        auto& picture = skin.pictures[Index(row.element)];
        picture = DecodeSkinElement(database, row.element);
        if (!picture) {
            ++skin.missing;
            continue;
        }
        skin.depths[Index(row.element)] = picture->depth;
        skin.opaqueInTransparentColour[Index(row.element)] = picture->opaqueInTransparentColour;
    }
    skin.unsupported = database.HasUnsupported();
    return skin;
}

std::optional<FoundBitmap> DecodeSkinElement(const ResourceDatabase& database, Element element) {
    const SkinElement& info = ElementInfo(element);
    // The slots take no more than their element's size from the top left.
    std::optional<FoundBitmap> picture = database.FindBitmap(ResourceIdOf(element), info.width, info.height);
    // A bitmap without pixels would change nothing but the slot's transparent colour.
    if (picture && picture->image.Empty()) picture.reset();
    return picture;
}

std::optional<Depth> DecodedStoredDepth(const DecodedSkin& skin) {
    return StoredSkinDepth([&skin](int depth) {
        return std::find(skin.depths.begin(), skin.depths.end(), depth) != skin.depths.end();
    });
}

Depth DecodedSkinDepth(const DecodedSkin& skin) { return DecodedStoredDepth(skin).value_or(Depth::Sixteen); }

}  // namespace corvane
