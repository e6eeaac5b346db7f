// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <system_error>

#include "cli/ColourText.h"
#include "cli/Command.h"
#include "io/FileAccess.h"
#include "pdb/PalmText.h"

#ifndef CORVANE_VERSION
#define CORVANE_VERSION "0"
#endif
// As GNU tools answer --version: the version, then the copyright and the licence.
#define CORVANE_VERSION_TEXT                                                                  \
    "corvane " CORVANE_VERSION "\n"                                                          \
    "Copyright (C) 2026 The Corvane Desktop developers.\n"                                   \
    "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"      \
    "This is free software: you are free to change and redistribute it.\n"                  \
    "There is NO WARRANTY, to the extent permitted by law.\n"

namespace corvane::cli {
namespace {

std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

// "corvane skin build": the commands the words named before the parser stopped.
std::string CommandPath(const CLI::App& app) {
    std::string path = app.get_name();
    for (const CLI::App* at = &app;;) {
        const auto chosen = at->get_subcommands();
        if (chosen.empty()) return path;
        at = chosen.front();
        path += " " + at->get_name();
    }
}

// The deepest command the words chose.
const CLI::App& ChosenCommand(const CLI::App& app) {
    const CLI::App* at = &app;
    while (!at->get_subcommands().empty()) at = at->get_subcommands().front();
    return *at;
}

// The parser's complaint, except where it misleads: a word where a
// subcommand belongs that names none is an unknown subcommand, not a missing one.
std::string UsageProblem(const CLI::App& app, const CLI::ParseError& error) {
    const CLI::App& at = ChosenCommand(app);
    if (dynamic_cast<const CLI::RequiredError*>(&error) && at.get_require_subcommand_min() > 0)
        for (const std::string& word : at.remaining())
            if (!word.starts_with('-')) return "unknown subcommand '" + word + "'";
    return error.what();
}

int Run(int argc, char** argv) {
    CLI::App app("Batch work on Treo 650/700p phone-application skins and splash files.", "corvane");
    app.set_help_flag("-h,--help", "show this text");
    app.set_version_flag("--version", "corvane " CORVANE_VERSION, "show the version");
    app.require_subcommand(1);
    app.footer("Run 'corvane COMMAND --help' for a command's subcommands and options.");

    auto commands = Registry();
    std::sort(commands.begin(), commands.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
    // Only the command the words name is declared whole: declaring every
    // command's options took two thirds of a run of `corvane --version`, and
    // no other command can be parsed. (There are no options before the
    // command that take a value, so its name is the first word that is no option.)
    const char* const* named = std::find_if(argv + std::min(argc, 1), argv + argc, [](const char* word) { return word[0] != '-'; });
    const std::string_view chosen = named == argv + argc ? std::string_view() : std::string_view(*named);
    Action action;
    for (const Command& c : commands) {
        CLI::App* command = app.add_subcommand(std::string(c.name), std::string(c.summary));
        command->footer("");  // not handed down to the subcommands
        if (c.name != chosen) continue;
        c.define(*command, action);
        // A command without subcommands (thumbnail) takes its arguments itself.
        if (command->get_subcommands({}).empty()) continue;
        command->require_subcommand(1);
        command->footer("Run 'corvane " + std::string(c.name) + " SUBCOMMAND --help' for a subcommand's arguments and options.");
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion&) {
        std::cout << CORVANE_VERSION_TEXT;
        return 0;
    } catch (const CLI::ParseError& e) {
        // The words are the user's: escaped like file names, they cannot reach the terminal raw.
        std::cerr << "corvane: " << Shown(UsageProblem(app, e)) << "\nTry '" << CommandPath(app) << " --help'.\n";
        return kExitUsage;
    }
    return action ? action() : kExitUsage;
}

}  // namespace

RegisterCommand::RegisterCommand(Command command) { Registry().push_back(command); }

int ExitWithError(const std::string& message) {
    std::cerr << "corvane: " << message << "\n";
    return kExitFailure;
}

std::string CannotRead(const std::string& path, const std::string& reason) {
    return "cannot read '" + Shown(path) + "': " + reason;
}

std::string CannotWrite(const WriteResult& written) { return "cannot write '" + Shown(written.path) + "': " + written.Reason(); }

int WriteStandardOutput(std::span<const std::uint8_t> bytes) {
    std::cout.flush();
    errno = 0;
    // The reason is taken at once: a later flush of a stream already in error says nothing.
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0)
        return ExitWithError("cannot write to standard output: " + std::generic_category().message(errno ? errno : EIO));
    return 0;
}

// Output that never reached its file is a failure: a script reading it
// would otherwise go on with an empty or cut list.
int CheckStandardOutput(int exitCode) {
    errno = 0;
    std::cout.flush();
    int error = errno;
    const bool flushed = std::fflush(stdout) == 0;
    if (flushed && !std::ferror(stdout) && std::cout) return exitCode;
    if (!flushed) error = errno;
    std::cerr << "corvane: cannot write to standard output" << (error ? ": " + std::generic_category().message(error) : "")
              << "\n";
    return exitCode != 0 ? exitCode : kExitFailure;
}

std::string Shown(const std::string& path) { return PrintableFileName(path); }

std::optional<std::string> CreateOutputFolder(const std::string& folder) {
    if (const std::error_code error = CreateFolder(folder))
        return "cannot create the folder '" + Shown(folder) + "': " + error.message();
    return std::nullopt;
}

CLI::Option* AddDepthOption(CLI::App& command, Depth& depth) {
    const CLI::Validator isDepth(
        [](std::string& text) {
            return text == "8" || text == "16" ? std::string() : "'" + text + "' is no depth: 8 or 16 bits per pixel";
        },
        "", "depth");
    return command.add_option("--depth", depth, "bits per pixel: 8 (the phone's palette) or 16 (5-6-5 colour)")
        ->required()
        ->type_name("8|16")
        ->check(isDepth);
}

CLI::Option* AddOutputOption(CLI::App& command, std::string& path, const std::string& what) {
    return command.add_option("-o,--output", path, what)->required()->type_name("PATH");
}

CLI::Option* AddDitherOption(CLI::App& command, Dither& dither) {
    const CLI::Validator isDither(
        [](std::string& text) {
            return DitherNamed(text) ? std::string() : "'" + text + "' is no dithering: none or diffusion";
        },
        "", "dither");
    return command
        .add_option_function<std::string>(
            "--dither", [&dither](const std::string& text) { dither = DitherNamed(text).value_or(Dither::None); },
            "how pictures are reduced to the depth: none (each pixel to its nearest colour) or\n"
            "diffusion (Floyd-Steinberg error diffusion, for photographs and gradients); none when not given")
        ->type_name("none|diffusion")
        ->check(isDither);
}

CLI::Option* AddColourOption(CLI::App& command, const std::string& name, std::optional<Colour>& colour,
                             const std::string& description) {
    const CLI::Validator isColour(
        [](std::string& text) {
            return ParseColour(text) ? std::string() : "'" + text + "' is no colour RRGGBB in hexadecimal, such as 00FF00";
        },
        "", "colour");
    return command
        .add_option_function<std::string>(
            name, [&colour](const std::string& text) { colour = ParseColour(text); }, description)
        ->type_name("RRGGBB")
        ->check(isColour);
}

}  // namespace corvane::cli

int main(int argc, char** argv) {
    return corvane::cli::CheckStandardOutput(corvane::cli::Run(argc, argv));
}
