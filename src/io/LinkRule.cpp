// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/LinkRule.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <vector>

namespace corvane {
namespace {

namespace fs = std::filesystem;

// The kernel's rule for links in sticky, world-writable folders
// (fs.protected_symlinks): only the link's owner and the folder's owner follow them.
bool KernelWouldFollow(const fs::path& link) {
    struct stat linkStat {}, folderStat {};
    if (lstat(link.c_str(), &linkStat) != 0 || stat(FolderOf(link.string()).c_str(), &folderStat) != 0) return false;
    const bool shared = (folderStat.st_mode & S_ISVTX) && (folderStat.st_mode & S_IWOTH);
    return !shared || linkStat.st_uid == geteuid() || linkStat.st_uid == folderStat.st_uid;
}

}  // namespace

std::string FolderOf(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

bool KernelWouldResolve(const std::string& path, bool followLast) {
    std::vector<std::string> pending;  // the names still to walk, the next one last
    const auto push = [&pending](const fs::path& names) {
        std::vector<std::string> in;
        for (const fs::path& name : names.relative_path()) in.push_back(name.string());
        pending.insert(pending.end(), in.rbegin(), in.rend());
    };
    std::error_code ec;
    fs::path at = fs::path(path).is_absolute() ? fs::path("/") : fs::current_path(ec);
    if (ec) return true;
    push(path);
    for (int links = 0; !pending.empty();) {
        const std::string name = std::move(pending.back());
        pending.pop_back();
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            at = at.parent_path();
            continue;
        }
        const fs::path next = at / name;
        struct stat named {};
        if (lstat(next.c_str(), &named) != 0 || !S_ISLNK(named.st_mode) || (pending.empty() && !followLast)) {
            at = next;
            continue;
        }
        if (!KernelWouldFollow(next)) return false;
        const fs::path target = fs::read_symlink(next, ec);
        if (ec || ++links > 40) return true;  // the system itself refuses what follows
        if (target.is_absolute()) at = "/";
        push(target);
    }
    return true;
}

std::string FinalTarget(const std::string& path) {
    fs::path current = path;
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec))) break;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec) break;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current.string();
}

}  // namespace corvane
