// Each top-level command of `corvane` (bitmap, skin, splash...) lives in its
// own file and registers itself here, so main.cpp never changes when one is added.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane::cli {

struct Command {
    std::string_view name;
    std::string_view summary;  // one line for `corvane --help`
    // Arguments after the command's name. Returns the process exit code.
    int (*run)(const std::vector<std::string>& args);
};

const std::vector<Command>& Commands();

struct RegisterCommand {
    explicit RegisterCommand(Command command);
};

// Conventions shared by every command: errors go to stderr as one line
// "corvane: ..." and the exit code is 1 for a failed operation, 2 for a usage error.
// Write them through std::cerr (as Fail and UsageError do): the C stream
// stderr is silenced, as the image libraries write their own complaints there
// (see ToolkitMessages.cpp).
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
int Fail(const std::string& message);
int UsageError(const std::string& message);
// The exit code once standard output has been flushed: a failed write or
// flush of it turns success into kExitFailure, with one line on stderr.
int CheckStandardOutput(int exitCode);

}  // namespace corvane::cli
