// The reading half of FileAccess.h.
#include "io/FileAccess.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace corvane {
namespace {

namespace fs = std::filesystem;

std::error_code SystemError(int code) { return {code, std::generic_category()}; }

// Appends the stream to read.bytes up to its end, or fails at `limit` bytes
// or on a read error; a failed read keeps no bytes.
void ReadStreamAtMost(std::FILE* stream, std::uint64_t limit, FileRead& read) {
    std::uint8_t buffer[65536];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, stream);
        if (read.bytes.size() + n > limit) {
            read.problem = ReadProblem::TooLarge;
            break;
        }
        read.bytes.insert(read.bytes.end(), buffer, buffer + n);
        if (n < sizeof buffer) {
            if (std::ferror(stream)) {
                read.problem = ReadProblem::ReadFailed;
                read.error = SystemError(errno);
            }
            break;
        }
    }
    if (!read.Ok()) read.bytes = std::vector<std::uint8_t>();
}

}  // namespace

FileRead ReadFileAtMost(const std::string& path, std::uint64_t limit) {
    FileRead read;
    std::error_code ec;
    // Looked at before opening: opening a pipe for reading waits for a writer.
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        read.problem = ReadProblem::CouldNotOpen;
        read.error = ec ? ec : SystemError(ENOENT);
        return read;
    }
    if (!fs::is_regular_file(status)) {
        read.problem = ReadProblem::NotRegularFile;
        return read;
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > limit) {
        read.problem = ReadProblem::TooLarge;
        return read;
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        read.problem = ReadProblem::CouldNotOpen;
        read.error = SystemError(errno);
        return read;
    }
    if (!ec) read.bytes.reserve(static_cast<std::size_t>(size));
    // The size may have changed since it was asked: the limit holds for what is read.
    ReadStreamAtMost(f, limit, read);
    std::fclose(f);
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
    ReadStreamAtMost(stdin, limit, read);
    return read;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
    FileRead read = ReadFileAtMost(path, kPictureFileLimit);
    if (!read.Ok()) return std::nullopt;
    return std::move(read.bytes);
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
