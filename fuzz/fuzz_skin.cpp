// The skin file reader on arbitrary bytes: read the database, then look up
// every ID the editor's Open looks up. Whatever is found must have the size
// its bitmap declares and must survive an encode and a second read with the
// same pixels, so reader and writer agree. The skin decoder on the same
// database must cut every picture to its element.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/SkinFile.h"
#include "pdb/ResourceDatabase.h"

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ResourceDatabase db;
    if (db.ReadDatabase(std::span<const std::uint8_t>(data, size)) == DatabaseReadOutcome::CarrierLogo) {
        if (db.Count() != 0) __builtin_trap();
        return 0;
    }
    if (db.Count() * kDatabaseEntrySize > size) __builtin_trap();  // every entry needs its ID in the file

    // The editor's view: pictures no larger than their elements, every
    // supported ID either found or counted missing.
    const DecodedSkin skin = DecodeSkin(db, DatabaseReadOutcome::Read);
    int found = 0;
    for (const auto& e : kSkinElements) {
        const auto& picture = skin.pictures[static_cast<std::size_t>(e.index)];
        if (!picture) continue;
        ++found;
        if (picture->image.Empty() || picture->image.Width() > e.width || picture->image.Height() > e.height)
            __builtin_trap();
    }
    if (found + skin.missing != kElementCount) __builtin_trap();

    ResourceDatabase again;
    for (const auto id : SupportedSkinIds()) {
        const auto found = db.FindBitmap(id);
        if (!found) continue;
        const auto entry = std::find_if(db.Entries().begin(), db.Entries().end(), [id](const ResourceEntry& e) { return e.id == id; });
        if (found->image.Width() != entry->bitmap->width || found->image.Height() != entry->bitmap->height) __builtin_trap();
        // 1-bit bitmaps are read but never written; pictures too large for the writer are refused by it.
        if (entry->bitmap->pixelSize == 8 || entry->bitmap->pixelSize == 16)
            again.AddBitmap(found->image, id, found->transparent, true, entry->bitmap->pixelSize);
    }
    if (again.Count() == 0) return 0;

    const auto bytes = again.WriteDatabase(0);
    if (!bytes) __builtin_trap();
    ResourceDatabase reread;
    if (reread.ReadDatabase(*bytes) != DatabaseReadOutcome::Read || reread.Count() != again.Count()) __builtin_trap();
    for (const auto& entry : again.Entries()) {
        const auto first = db.FindBitmap(entry.id);
        const auto second = reread.FindBitmap(entry.id);
        if (!first || !second || !(first->image == second->image) || !(first->transparent == second->transparent))
            __builtin_trap();
    }
    return 0;
}
