// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Running other programs from tests: the built `corvane` tool and the format
// tools used as oracles (netpbm, ImageMagick).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::testing {

struct ProcessResult {
    int exitCode = -1;  // -1 when the program could not be run or was killed
    std::string out;
    std::string err;
};

// Runs the program with the arguments (no shell), with stdin from the file
// (or /dev/null), and collects both outputs.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& stdinFile = "");

// Runs a /bin/sh command line (pipelines), stdin from /dev/null.
ProcessResult RunShell(const std::string& commandLine);

// The argument quoted for /bin/sh.
std::string ShellQuote(const std::string& argument);

// True when the program is on the PATH.
bool HaveProgram(const std::string& name);

}  // namespace corvane::testing
