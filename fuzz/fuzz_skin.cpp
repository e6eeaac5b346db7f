// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The skin file reader on arbitrary bytes: read the database and decode it
// as the editor's Open does. Every picture found must be its bitmap cut to
// its element, and must survive an encode and a second read with the same
// pixels, so reader and writer agree.
//
// Each bitmap is decoded once, as far as its element reaches, and only the
// pictures found go round the writer: the harness stays fast enough to try
// some ten thousand inputs a second under the sanitizers. Whole bitmaps of
// any size are the bitmap harness's work.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/SkinFile.h"
#include "pdb/ResourceDatabase.h"

using namespace corvane;

namespace {

const ResourceEntry* FirstEntry(const ResourceDatabase& db, std::uint16_t id) {
    const auto entry = std::find_if(db.Entries().begin(), db.Entries().end(), [id](const ResourceEntry& e) { return e.id == id; });
    return entry == db.Entries().end() ? nullptr : &*entry;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ResourceDatabase db;
    const DatabaseReadOutcome outcome = db.ReadDatabase(std::span<const std::uint8_t>(data, size));
    if (outcome == DatabaseReadOutcome::CarrierLogo) {
        if (db.Count() != 0) __builtin_trap();
        return 0;
    }
    if (db.Count() * kDatabaseEntrySize > size) __builtin_trap();  // every entry needs its ID in the file

    // The editor's view: every supported ID either found or counted missing,
    // each picture its bitmap's top-left part of at most the element's size.
    const DecodedSkin skin = DecodeSkin(db, outcome);
    int found = 0;
    ResourceDatabase again;
    for (const auto& row : kSkinResourceTable) {
        const SkinElement& e = ElementInfo(row.element);
        const auto& picture = skin.pictures[Index(row.element)];
        if (!picture) continue;
        ++found;
        const ResourceEntry* entry = FirstEntry(db, row.id);
        if (!entry || !entry->Readable()) __builtin_trap();
        const PalmBitmap& bitmap = entry->Bitmap();
        if (picture->image.Width() != std::min<int>(bitmap.width, e.width) ||
            picture->image.Height() != std::min<int>(bitmap.height, e.height))
            __builtin_trap();
        // 1-bit bitmaps are read but never written; pictures too large for the writer are refused by it.
        if (bitmap.pixelSize == 8 || bitmap.pixelSize == 16)
            again.AddBitmap(picture->image, row.id, picture->transparent, true, bitmap.pixelSize);
    }
    if (found + skin.missing != kElementCount) __builtin_trap();
    if (again.Count() == 0) return 0;

    const auto bytes = again.WriteDatabase(0);
    if (!bytes) __builtin_trap();
    ResourceDatabase reread;
    if (reread.ReadDatabase(*bytes) != DatabaseReadOutcome::Read || reread.Count() != again.Count()) __builtin_trap();
    const DecodedSkin back = DecodeSkin(reread, DatabaseReadOutcome::Read);
    for (const auto& row : kSkinResourceTable) {
        if (!FirstEntry(again, row.id)) continue;
        const auto& first = skin.pictures[Index(row.element)];
        const auto& second = back.pictures[Index(row.element)];
        if (!second || !(first->image == second->image) || !(first->transparent == second->transparent))
            __builtin_trap();
    }
    return 0;
}
