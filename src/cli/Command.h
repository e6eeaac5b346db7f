// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Each top-level command of `corvane` (bitmap, skin, splash...) lives in its
// own file and registers itself here, so main.cpp never changes when one is
// added. Every command declares its subcommands, arguments and options on one
// parser, so help, usage errors and exit codes read the same everywhere.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/Depth.h"
#include "imaging/Dither.h"
#include "imaging/Image.h"
#include "io/FileAccess.h"

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

struct RegisterCommand {
    explicit RegisterCommand(Command command);
};

// Conventions shared by every command: errors go to stderr as one line
// "corvane: ..." and the exit code is 1 for a failed operation, 2 for a usage error.
// Write them through std::cerr, as ExitWithError does.
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
int ExitWithError(const std::string& message);

// Every read and write failure of the tool, worded once: "cannot read 'PATH':
// REASON" and "cannot write 'PATH': REASON". Callers add what became of the
// previous files after "; ".
std::string CannotRead(const std::string& path, const std::string& reason);
std::string CannotWrite(const WriteResult& written);
// The exit code once standard output has been flushed: a failed write or
// flush of it turns success into kExitFailure, with one line on stderr.
int CheckStandardOutput(int exitCode);
// "-" as an input or output: standard input or standard output.
inline constexpr std::string_view kStandardStream = "-";
// Writes the bytes of an output named "-" and flushes them; a failure is
// reported with the system's reason ("No space left on device").
int WriteStandardOutput(std::span<const std::uint8_t> bytes);
// Every file name the tool prints, on either stream, goes through this: escaped
// like database names, so that no name moves the cursor or starts a line of its own.
std::string Shown(const std::string& path);
// "cannot create the folder 'F': REASON", or nothing when the folder is there or was made.
std::optional<std::string> CreateOutputFolder(const std::string& folder);

// The options several commands share, spelled and checked alike everywhere.
// Checked as text first, so that the number reaches `depth` only as one of its values.
CLI::Option* AddDepthOption(CLI::App& command, Depth& depth);
CLI::Option* AddOutputOption(CLI::App& command, std::string& path, const std::string& what);
// --dither none|diffusion, for the commands that reduce pictures; none when not given.
CLI::Option* AddDitherOption(CLI::App& command, Dither& dither);
// RRGGBB in hexadecimal, with or without a leading '#'.
CLI::Option* AddColourOption(CLI::App& command, const std::string& name, std::optional<Colour>& colour,
                             const std::string& description);

// Makes the subcommand, once parsed, leave `work(options)` as the action.
template <class Options>
void RunsWith(CLI::App& subcommand, Action& action, std::shared_ptr<Options> options, int (*work)(const Options&)) {
    subcommand.callback([&action, options, work] { action = [options, work] { return work(*options); }; });
}

// One positional argument of a subcommand (FILE.pdb, FOLDER, PICTURE...).
struct Positional {
    Positional(const char* argument, std::string text = {}) : name(argument), description(std::move(text)) {}
    std::string name;
    std::string description;
};

// A subcommand's words: its positional arguments, all required, which fill
// the options' `files` in order; then --depth where it has one; then -o, naming
// what `output` is, where it writes one.
struct SubcommandForm {
    std::string name;
    std::string description;
    std::vector<Positional> arguments;
    std::string output = {};  // no -o when empty
    bool depth = false;
    std::string footer = {};  // the help's closing lines
};

// How every subcommand is declared. The caller adds any further options to
// the subcommand returned; once parsed it leaves `work(*options)` as the action.
template <class Options>
CLI::App* AddSubcommand(CLI::App& parent, Action& action, const SubcommandForm& form, int (*work)(const Options&),
                        std::shared_ptr<Options> options = std::make_shared<Options>()) {
    CLI::App* sub = parent.add_subcommand(form.name, form.description);
    options->files.resize(form.arguments.size());
    for (std::size_t i = 0; i < form.arguments.size(); ++i)
        sub->add_option(form.arguments[i].name, options->files[i], form.arguments[i].description)->type_name("")->required();
    if constexpr (requires { options->depth; })
        if (form.depth) AddDepthOption(*sub, options->depth);
    if (!form.output.empty()) AddOutputOption(*sub, options->output, form.output);
    if (!form.footer.empty()) sub->footer(form.footer);
    RunsWith(*sub, action, options, work);
    return sub;
}

template <class Options>
struct SubcommandOf {
    SubcommandForm form;
    int (*work)(const Options&);
};

// Subcommands that need no options beyond their form.
template <class Options>
void AddSubcommands(CLI::App& parent, Action& action, std::initializer_list<SubcommandOf<Options>> subcommands) {
    for (const SubcommandOf<Options>& sub : subcommands) AddSubcommand(parent, action, sub.form, sub.work);
}

}  // namespace corvane::cli
