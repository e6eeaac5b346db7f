// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Files as the page hands them over: every file's bytes go into the module's
// file system, where the core reads them as the desktop reads files; files
// refused for their size stand in for the bytes the page never read; and the
// limits it checks sizes by.
#pragma once

#include <string>

namespace corvane {

// The next read of the path fails as one of a file of `size` bytes does.
void StageOversized(std::string path, double size);

// By kind: "database" (skin and splash files), "picture", "layered"; 0 or
// empty for another kind.
double FileLimit(std::string kind);
std::string TooLargeText(std::string kind);

}  // namespace corvane
