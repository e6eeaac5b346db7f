// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pdb/DatabaseKind.h"

#include "io/ByteOrder.h"
#include "pdb/DatabaseHeader.h"

namespace corvane {

DatabaseKind KindOfDatabase(std::span<const std::uint8_t> bytes) {
    BigEndianReader in(bytes);
    return ReadDatabaseHeader(in).type == kSplashDatabaseType ? DatabaseKind::Splash : DatabaseKind::Skin;
}

}  // namespace corvane
