// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "web/PageFiles.h"

#include <emscripten/val.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

#include "imaging/LayeredPicture.h"
#include "io/FileAccess.h"
#include "io/ZipArchive.h"
#include "web/PageValues.h"

namespace corvane {
namespace {

using emscripten::val;

// ---- limits --------------------------------------------------------------------

struct FileKind {
    const char* name;
    std::uint64_t limit;
    const char* files;  // as the desktop's messages name them
};
constexpr FileKind kFileKinds[] = {
    {"database", kDatabaseFileLimit, "skin and splash files"},
    {"picture", kPictureFileLimit, "picture files"},
    {"layered", kLayeredFileLimit, "layered images"},
};

const FileKind* KindNamed(const std::string& name) {
    for (const FileKind& kind : kFileKinds)
        if (name == kind.name) return &kind;
    return nullptr;
}

// Whether `text` holds one of the staging folders at `at`: a root, then a
// folder of digits and a separator; gives the length, else 0.
std::size_t StagingFolderAt(std::string_view text, std::size_t at) {
    // Only where a path starts: "/work/in/3/" is some other path.
    if (at > 0) {
        const auto before = static_cast<unsigned char>(text[at - 1]);
        if (std::isalnum(before) || before == '/' || before == '.' || before == '_' || before == '-') return 0;
    }
    for (const std::string_view root : kStagedRoots) {
        if (text.substr(at, root.size()) != root) continue;
        std::size_t end = at + root.size();
        if (end >= text.size() || text[end] != '/') continue;
        const std::size_t digits = ++end;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
        if (end > digits && end < text.size() && text[end] == '/') return end + 1 - at;
    }
    return 0;
}

}  // namespace

void EndCommand() {
    std::error_code ignored;
    for (const std::string_view root : kStagedRoots)
        for (const auto& entry : std::filesystem::directory_iterator(std::string(root), ignored))
            std::filesystem::remove_all(entry.path(), ignored);
}

std::string WithUserNames(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (const std::size_t folder = text[at] == '/' ? StagingFolderAt(text, at) : 0) {
            at += folder;
            continue;
        }
        shown += text[at++];
    }
    return shown;
}

val ZipFolder(std::string folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.is_regular_file(error)) names.push_back(entry.path().filename().string());
    if (error) return val::null();
    std::sort(names.begin(), names.end());
    std::vector<std::vector<std::uint8_t>> contents;
    std::vector<ZipFileToWrite> files;
    contents.reserve(names.size());
    for (const std::string& name : names) {
        auto bytes = std::move(ReadFileAtMost(folder + "/" + name, kPictureFileLimit)).Bytes();
        if (!bytes) return val::null();
        contents.push_back(std::move(*bytes));
        files.push_back({name, contents.back()});
    }
    const auto archive = WriteZip(files);
    return archive ? ByteArray(*archive) : val::null();
}

double ModuleMemory() { return static_cast<double>(__builtin_wasm_memory_size(0)) * 65536; }

double FileLimit(std::string kind) {
    const FileKind* found = KindNamed(kind);
    return found ? static_cast<double>(found->limit) : 0;
}
std::string TooLargeText(std::string kind) {
    const FileKind* found = KindNamed(kind);
    return found ? ReadProblemText(ReadProblem::TooLarge, found->limit, found->files) : std::string();
}

// A file the page refused for its size, standing where it would have been:
// the next read of the path then fails as the desktop's does, for the
// desktop's message, without the bytes ever entering the module.
void StageOversized(std::string path, double size) {
    const val fs = val::module_property("FS");
    fs.call<val>("writeFile", path, val::global("Uint8Array").new_(0));
    fs.call<val>("lookupPath", path)["node"].set("usedBytes", size);
}

}  // namespace corvane
