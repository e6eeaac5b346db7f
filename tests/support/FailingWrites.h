// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Real write failures on demand, for tests of what a failed save leaves
// behind. Each holds for its own scope only: keep that scope to the write,
// as both hold for the whole process.
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/types.h>

#include <cstdint>
#include <string>

// WebAssembly has no file size limits and no signal a process survives: a
// test that needs them is skipped there (the Node build of the tests), saying why.
#ifdef __EMSCRIPTEN__
#define CORVANE_SKIP_IN_WEBASSEMBLY(why) GTEST_SKIP() << (why)
#else
#define CORVANE_SKIP_IN_WEBASSEMBLY(why) static_cast<void>(0)
#endif

namespace corvane::testing {

// Files may grow to at most `bytes` while it lives: a write past that fails
// with "File too large" instead of raising the signal that ends the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uint64_t bytes = 0);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    struct sigaction previousSignal_ {};
};

// The process acts as an ordinary user while it lives, so that a read-only
// file is read-only also to tests that run as root. Active() is false where
// root may not take another identity (a container that maps no other user).
class OrdinaryUser {
public:
    OrdinaryUser();
    ~OrdinaryUser();
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

    bool Active() const { return active_; }

private:
    bool switched_ = false;
    bool active_ = false;
};

// Read-only for everyone, in a folder everyone may enter: what an ordinary
// user meets who may read the file but not write it.
void MakeReadOnly(const std::string& path);

}  // namespace corvane::testing
