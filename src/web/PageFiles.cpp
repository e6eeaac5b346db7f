// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "web/PageFiles.h"

#include <emscripten/val.h>

#include <cstdint>

#include "imaging/LayeredPicture.h"
#include "io/FileAccess.h"

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

}  // namespace

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
