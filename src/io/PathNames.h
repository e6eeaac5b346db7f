// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Names derived from file paths. Both '\' and '/' end a folder name on every
// platform, so paths typed the Windows way keep working everywhere.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The text behind the last '\' or '/', or the whole path when there is none.
std::string LastPathComponent(std::string_view path);

// Where a file's base name ends. Each rule is one that names already in use
// depend on, so they stay distinct:
//  - AtFirstDot: the last component up to its first '.' ("C:\skins\My.Skin.pdb"
//    gives "My"): Palm database names and the names of exported pictures, as
//    the phone and existing bitmap sets know them.
//  - AtLastDot: the last component without its extension, a leading dot kept
//    ("dir/Summer.v2.pdb" gives "Summer.v2", ".pdb" stays ".pdb"): the
//    command-line tool's output names.
//  - LastFourCharacters: the whole path, folders included, less its last four
//    characters ("/x/Summer.pdb" gives "/x/Summer"): the splash editor's
//    proposed picture names, which take every splash file to end in ".pdb".
enum class NameCut { AtFirstDot, AtLastDot, LastFourCharacters };

std::string BaseName(std::string_view path, NameCut cut);

// A path in the folder with the given file name, joined with the platform's separator.
std::string JoinPath(std::string_view folder, std::string_view fileName);

}  // namespace corvane
