#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <system_error>

#include "cli/Command.h"

#ifndef CORVANE_VERSION
#define CORVANE_VERSION "0"
#endif

namespace corvane::cli {
namespace {

std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

void PrintHelp() {
    std::cout << "Usage: corvane COMMAND [ARGS...]\n"
                 "Batch work on Treo 650/700p phone-application skins and splash files.\n\n"
                 "Commands:\n";
    auto sorted = Commands();
    std::sort(sorted.begin(), sorted.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
    for (const auto& c : sorted) std::printf("  %-10.*s %.*s\n", int(c.name.size()), c.name.data(), int(c.summary.size()), c.summary.data());
    std::cout << "\nRun 'corvane COMMAND --help' for a command's own options.\n"
                 "Options:\n  --help     show this text\n  --version  show the version\n";
}

}  // namespace

const std::vector<Command>& Commands() { return Registry(); }

RegisterCommand::RegisterCommand(Command command) { Registry().push_back(command); }

int Fail(const std::string& message) {
    std::cerr << "corvane: " << message << "\n";
    return kExitFailure;
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

int UsageError(const std::string& message) {
    std::cerr << "corvane: " << message << "\nTry 'corvane --help'.\n";
    return kExitUsage;
}

}  // namespace corvane::cli

namespace {

int Run(int argc, char** argv) {
    using namespace corvane::cli;
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintHelp();
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        PrintHelp();
        return 0;
    }
    if (args[0] == "--version") {
        std::cout << "corvane " CORVANE_VERSION "\n";
        return 0;
    }
    for (const auto& c : Commands()) {
        if (c.name == args[0]) return c.run(std::vector<std::string>(args.begin() + 1, args.end()));
    }
    return UsageError("unknown command '" + args[0] + "'");
}

}  // namespace

int main(int argc, char** argv) { return corvane::cli::CheckStandardOutput(Run(argc, argv)); }
