// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Which editor a .pdb file is for, told by the type field of its database
// header (see DatabaseHeader.h): 'spl3' is a splash file; anything else is
// handed to the skin editor, which judges a skin by its resources and names
// what is wrong with a file that is none.
#pragma once

#include <cstdint>
#include <span>

namespace corvane {

enum class DatabaseKind { Skin, Splash };

DatabaseKind KindOfDatabase(std::span<const std::uint8_t> bytes);

}  // namespace corvane
