// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The kernel's rule for symbolic links in sticky, world-writable folders
// (fs.protected_symlinks), applied by the writes before the kernel would:
// root reading a link itself must not follow one the rule would refuse.
#pragma once

#include <string>

namespace corvane {

// The folder a path names its file in; "." for a bare name.
std::string FolderOf(const std::string& path);

// Walks the path as the kernel resolves it, a name at a time, following each
// link on the way (the last name's only when `followLast`), and says whether
// the kernel's link rule lets this user through every one of them: another
// user's link to a folder, used as a folder of the path, counts as much as a
// link at its end. Names that do not exist yet end the walk's interest.
bool KernelWouldResolve(const std::string& path, bool followLast);

// Follows symbolic links to the file they finally name, so that the links
// stay. Whether the kernel would follow them is KernelWouldResolve's to say.
std::string FinalTarget(const std::string& path);

}  // namespace corvane
