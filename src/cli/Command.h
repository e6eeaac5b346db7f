// Each top-level command of `corvane` (bitmap, skin, splash...) lives in its
// own file and registers itself here, so main.cpp never changes when one is
// added. Every command declares its subcommands, arguments and options on one
// parser, so help, usage errors and exit codes read the same everywhere.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/Image.h"

namespace corvane::cli {

// The work of the subcommand the user named, set while the words are parsed
// and run once they all made sense. Returns the process exit code.
using Action = std::function<int()>;

struct Command {
    std::string_view name;
    std::string_view summary;  // one line for `corvane --help`
    // Declares the command's subcommands on `command`; the one parsed sets `action`.
    void (*define)(CLI::App& command, Action& action);
};

const std::vector<Command>& Commands();

struct RegisterCommand {
    explicit RegisterCommand(Command command);
};

// Conventions shared by every command: errors go to stderr as one line
// "corvane: ..." and the exit code is 1 for a failed operation, 2 for a usage error.
// Write them through std::cerr, as Fail does.
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
int Fail(const std::string& message);
// The exit code once standard output has been flushed: a failed write or
// flush of it turns success into kExitFailure, with one line on stderr.
int CheckStandardOutput(int exitCode);
// Writes the bytes of an output named "-" and flushes them; a failure is
// reported with the system's reason ("No space left on device").
int WriteStandardOutput(std::span<const std::uint8_t> bytes);
// Every file name the tool prints, on either stream, goes through this: escaped
// like database names, so that no name moves the cursor or starts a line of its own.
std::string Shown(const std::string& path);
// "cannot create the folder 'F': REASON", or nothing when the folder is there or was made.
std::optional<std::string> CreateOutputFolder(const std::string& folder);

// The options several commands share, spelled and checked alike everywhere.
CLI::Option* AddDepthOption(CLI::App& command, int& depth);
CLI::Option* AddOutputOption(CLI::App& command, std::string& path, const std::string& what);
// RRGGBB in hexadecimal, with or without a leading '#'.
CLI::Option* AddColourOption(CLI::App& command, const std::string& name, std::optional<Colour>& colour,
                             const std::string& description);

// Makes the subcommand, once parsed, leave `work(options)` as the action.
template <class Options>
void RunsWith(CLI::App& subcommand, Action& action, std::shared_ptr<Options> options, int (*work)(const Options&)) {
    subcommand.callback([&action, options, work] { action = [options, work] { return work(*options); }; });
}

}  // namespace corvane::cli
