// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/Subprocess.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "support/TempDir.h"

namespace corvane::testing {

std::string ShellQuote(const std::string& argument) {
    std::string quoted = "'";
    for (const char c : argument) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

ProcessResult RunShell(const std::string& commandLine) {
    // Outputs go to files rather than pipes, so a chatty program can never block on a full pipe.
    TempDir dir;
    const std::string out = dir.File("stdout");
    const std::string err = dir.File("stderr");
    const std::string full = "( " + commandLine + " ) </dev/null >" + ShellQuote(out) + " 2>" + ShellQuote(err);
    const int status = std::system(full.c_str());
    ProcessResult result;
    if (status != -1 && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    const auto o = ReadBytes(out);
    const auto e = ReadBytes(err);
    result.out.assign(o.begin(), o.end());
    result.err.assign(e.begin(), e.end());
    return result;
}

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& stdinFile) {
    std::string line = "exec";
    for (const auto& a : argv) line += " " + ShellQuote(a);
    if (!stdinFile.empty()) line += " <" + ShellQuote(stdinFile);
    return RunShell(line);
}

bool HaveProgram(const std::string& name) {
    return RunShell("command -v " + ShellQuote(name)).exitCode == 0;
}

}  // namespace corvane::testing
