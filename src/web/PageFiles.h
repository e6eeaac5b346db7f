// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Files as the page hands them over: every file's bytes go into the module's
// file system, where the core reads them as the desktop reads files; files
// refused for their size stand in for the bytes the page never read; and the
// limits it checks sizes by.
//
// A command's files live in folders of their own, /in/N/ for what the user
// gave and /out/N/ for what the command wrote, under the names the user
// gave or chose, and go when the command ends: nothing piles up in the
// module however many files pass through it.
#pragma once

#include <string>
#include <string_view>

#include <emscripten/val.h>

namespace corvane {

inline constexpr std::string_view kStagedRoots[] = {"/in", "/out"};

// Removes every file and folder under the staging roots.
void EndCommand();

// The text with every staging folder taken out of the paths it quotes, so a
// message names a file as the user knows it ("Summer.pdb", not
// "/in/3/Summer.pdb").
std::string WithUserNames(std::string_view text);

// The bytes the module's memory spans now (it only ever grows).
double ModuleMemory();

// The files a command wrote into `folder` (one level deep), by name, as one
// zip archive of deflated entries: what a folder is where the user gets
// downloads. Null when one cannot be read or the archive cannot be made.
emscripten::val ZipFolder(std::string folder);

// The next read of the path fails as one of a file of `size` bytes does.
void StageOversized(std::string path, double size);

// By kind: "database" (skin and splash files), "picture", "layered"; 0 or
// empty for another kind.
double FileLimit(std::string kind);
std::string TooLargeText(std::string kind);

}  // namespace corvane
