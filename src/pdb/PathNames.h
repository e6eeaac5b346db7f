// Names derived from file paths. Both '\' and '/' end a folder name on every
// platform, so paths typed the Windows way keep working everywhere.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The text behind the last '\' or '/', or the whole path when there is none.
std::string LastPathComponent(std::string_view path);

// The Palm database name for a file: the last path component cut at its
// first '.', in the phone's character set (see PalmText.h), keeping at most
// its last 31 characters ("C:\skins\My.Skin.pdb" gives "My").
std::string DatabaseNameFromPath(std::string_view path);

// A path in the folder with the given file name, joined with the platform's separator.
std::string JoinPath(std::string_view folder, std::string_view fileName);

}  // namespace corvane
