// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The reading half of FileAccess.h.
#include "io/FileAccess.h"

#include "io/ByteStream.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace corvane {
FileRead ReadFileAtMost(const std::string& path, std::uint64_t limit) {
    FileRead read;
    OpenedStream opened = OpenFileStreamAtMost(path, limit);
    read.problem = opened.problem;
    read.error = opened.error;
    if (!opened.stream) return read;
    read.bytes.reserve(static_cast<std::size_t>(opened.size));
    opened.stream->ReadRest(read.bytes);
    read.problem = opened.stream->Problem();
    read.error = opened.stream->Error();
    return read;
}

std::string ReadProblemText(ReadProblem problem, std::uint64_t limit, std::string_view kind, std::error_code error) {
    const std::string reason = error ? ": " + error.message() : std::string();
    switch (problem) {
        case ReadProblem::None: return "read";
        case ReadProblem::CouldNotOpen: return "cannot open the file for reading" + reason;
        case ReadProblem::NotRegularFile: return "not a regular file (a folder, device or pipe is not read)";
        case ReadProblem::TooLarge:
            return "larger than " + std::to_string(limit >> 20) + " MiB, the limit for " + std::string(kind);
        case ReadProblem::ReadFailed: return "reading the file failed" + reason;
    }
    return "cannot read the file";
}

FileRead ReadStandardInputAtMost(std::uint64_t limit) {
    FileRead read;
    ByteStream stream = StandardInputStreamAtMost(limit);
    stream.ReadRest(read.bytes);
    read.problem = stream.Problem();
    read.error = stream.Error();
    return read;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

bool NameTaken(const std::string& path) {
    struct stat any {};
    return lstat(path.c_str(), &any) == 0;
}

}  // namespace corvane
