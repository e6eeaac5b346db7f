// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A Palm OS resource database holding bitmap resources: the container of a
// skin file. All numbers big-endian, four-character codes as four ASCII bytes.
//
// The header is that of every Palm database (see DatabaseHeader.h), type
// 'Skn7', creator 'TSkn'; behind it:
//
//   offset  size  field
//       78  10 n  entries: type 'Tbmp' (4), id (2), absolute offset of the resource (4)
//  78+10 n     2  zero gap
//  80+10 n   ...  the resources, one after another in entry order, no padding
//
// Written entries are in ascending ID order. A file is read in its own entry
// order; only supported skin IDs are parsed as bitmaps, and a database of type
// 'logo' (a carrier logo) is refused before any entry is read.
//
// Real files may be cut short or carry offsets anywhere: a resource whose
// entry or bytes lie outside the file is kept as an unreadable entry, and
// nothing is ever read outside the given bytes.
//
// Hostile files may point every entry at one huge bitmap. Reading checks each
// resource once per offset, without decoding its pixels; FindBitmap decodes
// only the rows of the part it is asked for. So reading costs about the
// file's size in memory whatever the entries say.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/Image.h"
#include "imaging/Palm.h"
#include "pdb/DatabaseHeader.h"
#include "pdb/PalmDate.h"
#include "pdb/SkinCatalogue.h"

namespace corvane {

// The 35 resource IDs a skin may hold, ascending.
inline constexpr std::array<std::uint16_t, kElementCount> SupportedSkinIds() {
    std::array<std::uint16_t, kElementCount> ids{};
    for (std::size_t i = 0; i < ids.size(); ++i) {
        // Insertion sort of the resource table's IDs.
        std::size_t j = i;
        for (; j > 0 && ids[j - 1] > kSkinResourceTable[i].id; --j) ids[j] = ids[j - 1];
        ids[j] = kSkinResourceTable[i].id;
    }
    return ids;
}


struct ResourceEntry {
    std::uint16_t id = 0;
    // Where the resource starts; the writer fills it in as it lays the file out.
    std::uint32_t offset = 0;
    // None for an ID outside SupportedSkinIds. A bitmap that could not be
    // read stays attached as the problem that refused it.
    std::optional<Result<PalmBitmap>> bitmap;
    // The resource's bytes, for an entry AddBitmap made; entries read from a
    // file find theirs in the file.
    std::vector<std::uint8_t> encoded;
    // A read entry whose supported ID an earlier entry already has. It is
    // never looked up, so it is not parsed and carries no bitmap.
    bool shadowed = false;

    // Entries are always bitmaps, whatever the file said.
    static constexpr std::string_view kType = "Tbmp";

    bool Readable() const { return bitmap && bitmap->Ok(); }
    // The header of a readable entry's bitmap.
    const PalmBitmap& Bitmap() const { return **bitmap; }
};

enum class DatabaseReadOutcome { Read, CarrierLogo };

struct FoundBitmap {
    Image image;
    Colour transparent;
    int depth = 0;
    // See PalmPicture.
    int opaqueInTransparentColour = 0;
};

class ResourceDatabase {
public:
    // Copies at most 31 bytes of the text and zero-fills the rest of the field.
    void SetName(std::string_view name);
    const DatabaseNameField& NameField() const { return name_; }
    // The name up to its terminator.
    std::string Name() const;

    // Type and creator as read from a file; "Skn7" and "TSkn" for a new database.
    const std::string& Type() const { return type_; }
    const std::string& Creator() const { return creator_; }

    // Encodes the picture and inserts it in ascending ID order, in front of an
    // equal ID. False, changing nothing, for a depth other than 8 or 16, for a
    // picture the bitmap format cannot hold, or for a 65,536th entry, which
    // the 16-bit count cannot hold.
    bool AddBitmap(const Image& image, std::uint16_t id, Colour transparent, bool hasTransparency, int depth);

    // The file's bytes with both dates set to `now` (a Palm date); nothing
    // when the database has no entry.
    std::optional<std::vector<std::uint8_t>> WriteDatabase(std::uint32_t now);

    // Replaces the contents with the database in the bytes. Bitmaps read this
    // way keep only their headers (see ReadPalmBitmap): the database can be
    // queried but not written back.
    DatabaseReadOutcome ReadDatabase(std::span<const std::uint8_t> bytes);

    // The first entry with the ID, the only one ever looked up; null when there is none.
    const ResourceEntry* FindEntry(std::uint16_t id) const;

    // The first entry with the ID, decoded, its picture cut to the top-left
    // maxWidth x maxHeight; nothing when there is none or it has no readable bitmap.
    std::optional<FoundBitmap> FindBitmap(std::uint16_t id, int maxWidth = kMaxReadableSide,
                                          int maxHeight = kMaxReadableSide) const;

    // True when an entry's ID lies outside SupportedSkinIds.
    bool HasUnsupported() const;

    std::size_t Count() const { return entries_.size(); }
    const std::vector<ResourceEntry>& Entries() const { return entries_; }
    // For each entry of the database read, how many bytes its resource spans:
    // up to the next resource's start or the end of the file; nothing for an
    // entry whose offset lies outside the file.
    std::vector<std::optional<std::size_t>> ResourceLengths() const;

private:
    DatabaseNameField name_{};
    std::string type_{kSkinDatabaseType};
    std::string creator_{kDatabaseCreator};
    std::vector<ResourceEntry> entries_;
    std::shared_ptr<const std::vector<std::uint8_t>> file_;  // the bytes read, for FindBitmap
};

}  // namespace corvane
