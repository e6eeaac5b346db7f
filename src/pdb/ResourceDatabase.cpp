// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pdb/ResourceDatabase.h"

#include <algorithm>
#include <limits>
#include <map>
#include <memory>

#include "io/ByteOrder.h"

namespace corvane {
namespace {

constexpr std::string_view kCarrierLogoType = "logo";

}  // namespace

void ResourceDatabase::SetName(std::string_view name) {
    name_ = MakeDatabaseNameField(name);
}

std::string ResourceDatabase::Name() const { return DatabaseNameText(name_); }

bool ResourceDatabase::AddBitmap(const Image& image, std::uint16_t id, Colour transparent, bool hasTransparency,
                                 int depth) {
    if (depth != 8 && depth != 16) return false;
    if (entries_.size() >= std::numeric_limits<std::uint16_t>::max()) return false;
    // Refused for a picture too large for the format's 16-bit fields.
    Result<EncodedPalmBitmap> encoded = EncodePalmBitmap(image, transparent, hasTransparency, depth);
    if (!encoded) return false;
    ResourceEntry entry;
    entry.id = id;
    entry.bitmap = std::move(encoded->bitmap);
    entry.encoded = std::move(encoded->bytes);
    const auto at = std::find_if(entries_.begin(), entries_.end(), [id](const ResourceEntry& e) { return e.id >= id; });
    entries_.insert(at, std::move(entry));
    return true;
}

std::optional<std::vector<std::uint8_t>> ResourceDatabase::WriteDatabase(std::uint32_t now) {
    if (entries_.empty()) return std::nullopt;
    // Only bitmaps this database encoded itself can be written back.
    for (const auto& e : entries_)
        if (!e.Readable()) return std::nullopt;

    const std::size_t count = entries_.size();
    std::uint64_t offset = kDatabaseHeaderSize + kDatabaseEntrySize * count + 2;
    const std::uint64_t firstOffset = offset;
    for (auto& e : entries_) {
        e.offset = static_cast<std::uint32_t>(offset);
        if (e.encoded.empty()) return std::nullopt;  // a bitmap read from a file keeps no pixels to write
        offset += e.encoded.size();
        if (offset > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    }

    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(offset));
    BigEndianWriter w(out);
    WriteDatabaseHeader(w, {name_, std::string(kSkinDatabaseType), std::string(kDatabaseCreator), now,
                            static_cast<std::uint16_t>(count)});
    for (const auto& e : entries_) WriteDatabaseEntry(w, ResourceEntry::kType, e.id, e.offset);
    w.Zeros(2);
    if (out.size() != firstOffset) return std::nullopt;
    for (const auto& e : entries_) w.Bytes(e.encoded);
    if (out.size() != offset) return std::nullopt;
    return out;
}

DatabaseReadOutcome ResourceDatabase::ReadDatabase(std::span<const std::uint8_t> bytes) {
    *this = ResourceDatabase();
    type_.clear();
    creator_.clear();
    // Kept for FindBitmap, which decodes pixels only when they are asked for:
    // 35 bitmaps decoded up front could take gigabytes.
    file_ = std::make_shared<const std::vector<std::uint8_t>>(bytes.begin(), bytes.end());
    bytes = *file_;
    BigEndianReader r(bytes);

    DatabaseHeader header = ReadDatabaseHeader(r);
    name_ = header.name;
    name_.back() = 0;  // the name stays a terminated text whatever the file holds
    type_ = std::move(header.type);
    if (type_ == kCarrierLogoType) return DatabaseReadOutcome::CarrierLogo;
    creator_ = std::move(header.creator);
    // A header cut short reads as zero entries.
    const std::uint16_t count = header.count;

    std::vector<std::uint16_t> parsedIds;
    // Entries that share an offset share one check of their bitmap, however many there are.
    std::map<std::uint32_t, Result<PalmBitmap>> checked;
    for (std::uint16_t i = 0; i < count; ++i) {
        r.Skip(4);  // the entry's own type code: every entry is taken as a bitmap
        ResourceEntry entry;
        entry.id = r.U16();
        if (!r.Ok()) break;  // the list ends inside this entry's ID: there is no entry
        entry.offset = r.U32();
        const bool offsetRead = r.Ok();

        if (IsSupportedSkinId(entry.id)) {
            if (std::find(parsedIds.begin(), parsedIds.end(), entry.id) != parsedIds.end()) {
                // Only the first entry of an ID is ever looked up; parsing the
                // others would let a small file with thousands of entries
                // pointing at one large bitmap cost gigabytes.
                entry.shadowed = true;
            } else {
                parsedIds.push_back(entry.id);
                if (!offsetRead || entry.offset >= bytes.size()) {
                    entry.bitmap = Fail("the entry points outside the file");
                } else if (const auto known = checked.find(entry.offset); known != checked.end()) {
                    entry.bitmap = known->second;
                } else {
                    entry.bitmap = ReadPalmBitmap(bytes.subspan(entry.offset));
                    checked.emplace(entry.offset, *entry.bitmap);
                }
            }
        }
        entries_.push_back(std::move(entry));
        if (!offsetRead) break;
    }
    return DatabaseReadOutcome::Read;
}

const ResourceEntry* ResourceDatabase::FindEntry(std::uint16_t id) const {
    const auto entry = std::find_if(entries_.begin(), entries_.end(), [id](const ResourceEntry& e) { return e.id == id; });
    return entry == entries_.end() ? nullptr : &*entry;
}

std::optional<FoundBitmap> ResourceDatabase::FindBitmap(std::uint16_t id, int maxWidth, int maxHeight) const {
    const ResourceEntry* entry = FindEntry(id);
    if (!entry || !entry->Readable()) return std::nullopt;
    std::span<const std::uint8_t> resource = entry->encoded;
    if (resource.empty() && file_ && entry->offset < file_->size())
        resource = std::span<const std::uint8_t>(*file_).subspan(entry->offset);
    Result<PalmPicture> picture = DecodePalmBitmap(resource, entry->Bitmap(), maxWidth, maxHeight);
    if (!picture) return std::nullopt;
    return FoundBitmap{std::move(picture->image), picture->transparent, entry->Bitmap().pixelSize,
                       picture->opaqueInTransparentColour};
}

std::vector<std::optional<std::size_t>> ResourceDatabase::ResourceLengths() const {
    const std::size_t fileSize = file_ ? file_->size() : 0;
    std::vector<std::size_t> starts;
    for (const auto& e : entries_) starts.push_back(e.offset);
    std::sort(starts.begin(), starts.end());
    std::vector<std::optional<std::size_t>> lengths;
    for (const auto& e : entries_) {
        if (e.offset >= fileSize) {
            lengths.emplace_back();
            continue;
        }
        const auto next = std::upper_bound(starts.begin(), starts.end(), std::size_t{e.offset});
        lengths.emplace_back((next == starts.end() ? fileSize : std::min(*next, fileSize)) - e.offset);
    }
    return lengths;
}

bool ResourceDatabase::HasUnsupported() const {
    return std::any_of(entries_.begin(), entries_.end(), [](const ResourceEntry& e) { return !IsSupportedSkinId(e.id); });
}

}  // namespace corvane
