// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/PathNames.h"

#include <filesystem>

namespace corvane {

std::string LastPathComponent(std::string_view path) {
    const auto cut = path.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string BaseName(std::string_view path, NameCut cut) {
    if (cut == NameCut::LastFourCharacters) return std::string(path.substr(0, path.size() >= 4 ? path.size() - 4 : 0));
    std::string name = LastPathComponent(path);
    const auto dot = cut == NameCut::AtFirstDot ? name.find('.') : name.rfind('.');
    if (dot != std::string::npos && (cut == NameCut::AtFirstDot || dot > 0)) name.resize(dot);
    return name;
}

std::string JoinPath(std::string_view folder, std::string_view fileName) {
    if (folder.empty()) return std::string(fileName);
    std::string out(folder);
    const char last = out.back();
    if (last != '/' && last != '\\') out += static_cast<char>(std::filesystem::path::preferred_separator);
    out += fileName;
    return out;
}

}  // namespace corvane
