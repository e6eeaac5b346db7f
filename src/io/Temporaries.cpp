// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/Temporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string_view>
#include <utility>

namespace corvane {
namespace {

// Paths of the named temporaries that exist right now. The handler only reads
// the slots and calls unlink, both safe inside a signal handler.
constexpr int kTemporarySlots = 64;
std::atomic<char*> g_temporaries[kTemporarySlots];
std::atomic<bool> g_handlersInstalled{false};
struct sigaction g_previousInt;
struct sigaction g_previousTerm;

void RemoveTemporariesAndResignal(int signal) {
    const int savedErrno = errno;
    for (auto& slot : g_temporaries)
        if (const char* path = slot.load()) unlink(path);
    // The previous handler, usually the default one that ends the process,
    // gets the signal once this handler returns.
    sigaction(signal, signal == SIGINT ? &g_previousInt : &g_previousTerm, nullptr);
    g_handlersInstalled = false;
    raise(signal);
    errno = savedErrno;
}

void InstallHandlers() {
    if (g_handlersInstalled.exchange(true)) return;
    struct sigaction action {};
    action.sa_handler = RemoveTemporariesAndResignal;
    sigemptyset(&action.sa_mask);
    for (const auto& [signal, previous] : {std::pair{SIGINT, &g_previousInt}, std::pair{SIGTERM, &g_previousTerm}}) {
        struct sigaction current {};
        sigaction(signal, nullptr, &current);
        if (current.sa_handler == SIG_IGN) continue;  // a process told to ignore it keeps ignoring it
        sigaction(signal, &action, previous);
    }
}

constexpr std::string_view kTemporaryPrefix = ".corvane-";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kTemporaryDigits = 8;

bool IsTemporaryName(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + kTemporaryDigits + kTemporarySuffix.size() ||
        !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix))
        return false;
    const std::string_view digits = name.substr(kTemporaryPrefix.size(), kTemporaryDigits);
    return digits.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

}  // namespace

NamedTemporary::NamedTemporary(const std::string& path) {
    InstallHandlers();
    auto* copy = new char[path.size() + 1];
    std::memcpy(copy, path.c_str(), path.size() + 1);
    for (int i = 0; i < kTemporarySlots && slot_ < 0; ++i) {
        char* expected = nullptr;
        if (g_temporaries[i].compare_exchange_strong(expected, copy)) slot_ = i;
    }
    if (slot_ < 0) delete[] copy;  // more at once than any command writes: left to the normal cleanup
}

NamedTemporary::~NamedTemporary() {
    if (slot_ >= 0) delete[] g_temporaries[slot_].exchange(nullptr);
}

SignalsHeldOff::SignalsHeldOff() {
    sigset_t hold;
    sigfillset(&hold);
    // Those the process raises on itself for a fault cannot wait.
    for (const int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT, SIGSYS}) sigdelset(&hold, fault);
    pthread_sigmask(SIG_BLOCK, &hold, &previous_);
}

SignalsHeldOff::~SignalsHeldOff() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

std::string TemporaryNameIn(const std::string& folder) {
    // Short, so that a target whose name is as long as the file system allows still has room beside it.
    static std::mt19937 rng{std::random_device{}()};
    char digits[kTemporaryDigits + 1];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(rng()));
    const std::string name = std::string(kTemporaryPrefix) + digits + std::string(kTemporarySuffix);
    return (std::filesystem::path(folder) / name).string();
}

bool LockTemporary(int fd) { return flock(fd, LOCK_EX | LOCK_NB) == 0; }

void RemoveAbandonedTemporaries(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    const int dirFd = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        if (!IsTemporaryName(entry->d_name)) continue;
        const int fd = openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat opened {}, named {};
        // Another user's file of that name, or one that took the name meanwhile, is not ours to remove.
        if (fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_uid == geteuid() && LockTemporary(fd) &&
            fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == opened.st_dev &&
            named.st_ino == opened.st_ino)
            unlinkat(dirFd, entry->d_name, 0);
        close(fd);
    }
    closedir(dir);
}

bool StillNamed(int fd, const std::string& name) {
    struct stat opened {}, named {};
    return fstat(fd, &opened) == 0 && lstat(name.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

}  // namespace corvane
