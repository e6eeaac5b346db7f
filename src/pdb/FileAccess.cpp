#include "pdb/FileAccess.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

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

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return std::nullopt;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    bool ok = true;
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
        bytes.insert(bytes.end(), buffer, buffer + n);
        if (n < sizeof buffer) {
            ok = !std::ferror(f);
            break;
        }
    }
    std::fclose(f);
    if (!ok) return std::nullopt;
    return bytes;
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
