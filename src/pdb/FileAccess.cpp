#include "pdb/FileAccess.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>
#include <utility>

namespace corvane {
namespace {

WriteFault g_fault = WriteFault::None;

std::string TemporaryNameBeside(const std::string& path) {
    static std::mt19937 rng{std::random_device{}()};
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08x~", static_cast<unsigned>(rng()));
    return path + suffix;
}

}  // namespace

void SetWriteFaultForTesting(WriteFault fault) { g_fault = fault; }

FileRead ReadFileAtMost(const std::string& path, std::uint64_t limit) {
    namespace fs = std::filesystem;
    FileRead read;
    std::error_code ec;
    // Looked at before opening: opening a pipe for reading waits for a writer.
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        read.problem = ReadProblem::CouldNotOpen;
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
        return read;
    }
    if (!ec) read.bytes.reserve(static_cast<std::size_t>(size));
    // The size may have changed since it was asked: the limit holds for what is read.
    std::uint8_t buffer[65536];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
        if (read.bytes.size() + n > limit) {
            read.problem = ReadProblem::TooLarge;
            break;
        }
        read.bytes.insert(read.bytes.end(), buffer, buffer + n);
        if (n < sizeof buffer) {
            if (std::ferror(f)) read.problem = ReadProblem::ReadFailed;
            break;
        }
    }
    std::fclose(f);
    if (!read.Ok()) read.bytes = std::vector<std::uint8_t>();
    return read;
}

std::string ReadProblemText(ReadProblem problem, std::uint64_t limit, std::string_view kind) {
    switch (problem) {
        case ReadProblem::None: return "read";
        case ReadProblem::CouldNotOpen: return "cannot open the file for reading";
        case ReadProblem::NotRegularFile: return "not a regular file (a folder, device or pipe is not read)";
        case ReadProblem::TooLarge:
            return "larger than " + std::to_string(limit >> 20) + " MiB, the limit for " + std::string(kind);
        case ReadProblem::ReadFailed: return "reading the file failed";
    }
    return "cannot read the file";
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

WriteOutcome WriteFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (g_fault == WriteFault::CannotOpen || fs::is_directory(path, ec)) return WriteOutcome::CouldNotOpen;

    const std::string temporary = TemporaryNameBeside(path);
    std::FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) return WriteOutcome::CouldNotOpen;

    bool ok = g_fault != WriteFault::WriteFails;
    if (ok && !bytes.empty()) ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (ok) {
        // Keep the permissions the user gave the file they are replacing.
        const auto old = fs::status(path, ec);
        if (!ec && fs::exists(old)) fs::permissions(temporary, old.permissions(), ec);
        fs::rename(temporary, path, ec);
        ok = !ec;
    }
    if (!ok) {
        fs::remove(temporary, ec);
        return WriteOutcome::WriteFailed;
    }
    return WriteOutcome::Ok;
}

}  // namespace corvane
