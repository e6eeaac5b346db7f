// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The header of a Palm OS resource database, the container of skin and
// splash files alike. All numbers big-endian, four-character codes as four
// ASCII bytes.
//
//   offset  size  field
//        0    32  name, zero-terminated, zero-filled
//       32     2  attributes          0x0001 (resource database)
//       34     2  version             0
//       36     4  creationDate        (a Palm date, see PalmDate.h)
//       40     4  modificationDate    the same value
//       44    16  lastBackupDate, modificationNumber, appInfoID, sortInfoID: 0
//       60     4  type                'Skn7' for skins, 'spl3' for splash files
//       64     4  creator             'TSkn'
//       68     8  uniqueIDSeed, nextRecordListID: 0
//       76     2  numRecords          n
//       78  10 n  entries: type (4), id (2), absolute offset of the resource (4)
//
// What follows the entries is each file kind's own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "io/ByteOrder.h"

namespace corvane {

inline constexpr std::size_t kDatabaseHeaderSize = 78;
inline constexpr std::size_t kDatabaseEntrySize = 10;
inline constexpr std::size_t kDatabaseNameSize = 32;
inline constexpr std::size_t kDatabaseTypeOffset = 60;

// The type and creator codes of the two kinds of file.
inline constexpr std::string_view kSkinDatabaseType = "Skn7";
inline constexpr std::string_view kSplashDatabaseType = "spl3";
inline constexpr std::string_view kDatabaseCreator = "TSkn";

using DatabaseNameField = std::array<std::uint8_t, kDatabaseNameSize>;

// At most the first 31 bytes of the text, zero-filled: the field keeps its terminator.
DatabaseNameField MakeDatabaseNameField(std::string_view name);
// The name up to its terminator, or all 32 bytes when a file left none.
std::string DatabaseNameText(const DatabaseNameField& field);

struct DatabaseHeader {
    DatabaseNameField name{};
    std::string type;
    std::string creator;
    std::uint32_t date = 0;  // both dates on writing; not read back
    std::uint16_t count = 0;
};

void WriteDatabaseHeader(BigEndianWriter& out, const DatabaseHeader& header);
// Reads up to the first entry. A header cut short keeps what was there: a
// partial name, empty codes, a count of zero; the reader's failure says so.
DatabaseHeader ReadDatabaseHeader(BigEndianReader& in);

void WriteDatabaseEntry(BigEndianWriter& out, std::string_view type, std::uint16_t id, std::uint32_t offset);

}  // namespace corvane
