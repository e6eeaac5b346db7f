#include "pdb/PathNames.h"

#include <filesystem>

#include "pdb/PalmText.h"

namespace corvane {

std::string LastPathComponent(std::string_view path) {
    const auto cut = path.find_last_of("\\/");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string DatabaseNameFromPath(std::string_view path) {
    std::string base = LastPathComponent(path);
    if (const auto dot = base.find('.'); dot != std::string::npos) base.resize(dot);
    // Cut only once every character is one byte, never inside a character.
    base = Utf8ToPalmText(base);
    constexpr std::size_t kMaxName = 31;  // 32-byte field with its terminating zero
    if (base.size() > kMaxName) base.erase(0, base.size() - kMaxName);
    return base;
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
