// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Zip archives as bytes: the entries a central directory lists, one entry's
// bytes, and an archive of stored or deflated entries written to bytes. A
// codec: it never opens a file. Reading is bounded before anything is
// inflated: at most kZipEntryLimit entries in kZipDirectoryLimit bytes, none
// encrypted, none compressed other than stored or deflated, no name that
// leads out of the archive, and an entry's declared size checked against the
// caller's limit before its bytes are allocated; the bytes it inflates to
// must be those it declares, with their checksum.
//
// The archive format goes through zlib's own minizip, which needs nothing
// but zlib: the other zip libraries bring a cryptography library and bzip2
// into every start of the tool for archives it never reads.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "io/Result.h"

namespace corvane {

// More entries than a layered picture of the editor's could ever have: a
// directory listing this many is refused before it is read further.
inline constexpr std::uint64_t kZipEntryLimit = 4096;
// The most bytes the directory may take: as many entries with names and
// extra fields of a few hundred bytes each. Walked no further, so that long
// names cannot make the entries' list cost more than this.
inline constexpr std::uint64_t kZipDirectoryLimit = std::uint64_t{4} << 20;

struct ZipEntry {
    std::string name;
    std::uint64_t size = 0;        // as declared by the central directory
    std::uint64_t packedSize = 0;  // the same, of the bytes in the archive
    bool deflated = false;         // else stored
};

class ZipReader {
public:
    // The archive's directory, or why it is not one we read.
    static Result<ZipReader> Open(std::span<const std::uint8_t> archive);

    ZipReader(ZipReader&&) noexcept;
    ZipReader& operator=(ZipReader&&) noexcept;
    ~ZipReader();

    const std::vector<ZipEntry>& Entries() const { return entries_; }
    // The entry of that name, or null.
    const ZipEntry* Find(std::string_view name) const;
    // The bytes of the archive that Open read: from the directory's first
    // entry to the end. At most kZipDirectoryLimit and the end record.
    std::uint64_t DirectoryBytes() const { return directoryBytes_; }

    // The entry's bytes, refused unread when it declares more than `limit`.
    Result<std::vector<std::uint8_t>> Read(const ZipEntry& entry, std::uint64_t limit) const;
    // A stored entry's bytes where they lie in the archive, checked as Read
    // checks them and not copied: a stored picture costs no second copy.
    Result<std::span<const std::uint8_t>> View(const ZipEntry& entry, std::uint64_t limit) const;

private:
    struct State;
    explicit ZipReader(std::unique_ptr<State> state);
    std::size_t Index(const ZipEntry& entry) const { return static_cast<std::size_t>(&entry - entries_.data()); }
    // The entry's packed bytes, found and bounded; its declared size checked against the limit.
    Result<std::span<const std::uint8_t>> Packed(const ZipEntry& entry, std::uint64_t limit) const;
    bool HasItsChecksum(const ZipEntry& entry, std::span<const std::uint8_t> bytes) const;

    std::unique_ptr<State> state_;
    std::vector<ZipEntry> entries_;
    std::uint64_t directoryBytes_ = 0;
};

struct ZipFileToWrite {
    std::string name;
    std::span<const std::uint8_t> bytes;
    bool store = false;  // stored as they are, else deflated
};

// The archive of the files in order, each dated 1980-01-01 so the same files
// are always the same bytes.
Result<std::vector<std::uint8_t>> WriteZip(std::span<const ZipFileToWrite> files);

// Whether a zip entry's name stays inside the archive when unpacked.
bool IsSafeEntryName(std::string_view name);

}  // namespace corvane
