// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/FailingWrites.h"

#include <unistd.h>

#include <filesystem>

namespace corvane::testing {

FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previousSignal_);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limited = previous_;
    limited.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limited);
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    sigaction(SIGXFSZ, &previousSignal_, nullptr);
}

OrdinaryUser::OrdinaryUser() {
#ifndef __EMSCRIPTEN__  // WebAssembly has no users to switch between: the tests that need one skip there
    if (geteuid() != 0) {
        active_ = true;
        return;
    }
    constexpr uid_t kNobody = 65534;
    switched_ = seteuid(kNobody) == 0;
    active_ = switched_;
#endif
}

OrdinaryUser::~OrdinaryUser() {
    if (switched_ && seteuid(0) != 0) _exit(3);  // a test that cannot become root again cannot go on
}

void MakeReadOnly(const std::string& path) {
    namespace fs = std::filesystem;
    fs::permissions(fs::path(path).parent_path(), fs::perms::others_exec | fs::perms::group_exec, fs::perm_options::add);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

}  // namespace corvane::testing
