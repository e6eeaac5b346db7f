// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pdb/DatabaseHeader.h"

#include <algorithm>

namespace corvane {
namespace {

constexpr std::uint16_t kResourceDatabaseAttribute = 0x0001;

}  // namespace

DatabaseNameField MakeDatabaseNameField(std::string_view name) {
    DatabaseNameField field{};
    std::copy_n(name.begin(), std::min(name.size(), kDatabaseNameSize - 1), field.begin());
    return field;
}

std::string DatabaseNameText(const DatabaseNameField& field) {
    return std::string(field.begin(), std::find(field.begin(), field.end(), std::uint8_t{0}));
}

void WriteDatabaseHeader(BigEndianWriter& out, const DatabaseHeader& header) {
    out.Bytes(header.name);
    out.U16(kResourceDatabaseAttribute);
    out.U16(0);  // version
    out.U32(header.date);  // created
    out.U32(header.date);  // modified
    out.Zeros(16);         // last backup, modification number, app info, sort info
    out.FourCC(header.type);
    out.FourCC(header.creator);
    out.Zeros(8);  // unique-ID seed, next record list
    out.U16(header.count);
}

DatabaseHeader ReadDatabaseHeader(BigEndianReader& in) {
    DatabaseHeader header;
    const auto name = in.Bytes(std::min(kDatabaseNameSize, in.Remaining()));
    std::copy(name.begin(), name.end(), header.name.begin());
    in.Seek(kDatabaseTypeOffset);
    header.type = in.FourCC();
    header.creator = in.FourCC();
    in.Skip(8);
    header.count = in.U16();
    return header;
}

void WriteDatabaseEntry(BigEndianWriter& out, std::string_view type, std::uint16_t id, std::uint32_t offset) {
    out.FourCC(type);
    out.U16(id);
    out.U32(offset);
}

}  // namespace corvane
