// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/ByteStream.h"

#include <cerrno>
#include <filesystem>
#include <utility>

namespace corvane {

ByteStream::ByteStream(ByteStream&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)), owned_(other.owned_), limit_(other.limit_), read_(other.read_),
      problem_(other.problem_), error_(other.error_) {}

ByteStream::~ByteStream() {
    if (file_ && owned_) std::fclose(file_);
}

std::size_t ByteStream::Read(std::span<std::uint8_t> out) {
    if (!file_ || problem_ != ReadProblem::None || out.empty()) return 0;
    const std::uint64_t room = limit_ - read_;
    if (room == 0) {
        // At the limit: one more byte means the data pass it.
        if (std::fgetc(file_) != EOF) problem_ = ReadProblem::TooLarge;
        return 0;
    }
    const std::size_t n = std::fread(out.data(), 1, static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), room)),
                                     file_);
    read_ += n;
    if (n < out.size() && std::ferror(file_)) {
        problem_ = ReadProblem::ReadFailed;
        error_ = std::error_code(errno, std::generic_category());
    }
    return n;
}

void ByteStream::ReadRest(std::vector<std::uint8_t>& bytes) {
    std::uint8_t buffer[65536];
    for (;;) {
        const std::size_t n = Read(buffer);
        bytes.insert(bytes.end(), buffer, buffer + n);
        if (n == 0) break;
    }
    if (problem_ != ReadProblem::None) bytes = std::vector<std::uint8_t>();
}

OpenedStream OpenFileStreamAtMost(const std::string& path, std::uint64_t limit) {
    namespace fs = std::filesystem;
    OpenedStream opened;
    std::error_code ec;
    // Looked at before opening: opening a pipe for reading waits for a writer.
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        opened.problem = ReadProblem::CouldNotOpen;
        opened.error = ec ? ec : std::error_code(ENOENT, std::generic_category());
        return opened;
    }
    if (!fs::is_regular_file(status)) {
        opened.problem = ReadProblem::NotRegularFile;
        return opened;
    }
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > limit) {
        opened.problem = ReadProblem::TooLarge;
        return opened;
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        opened.problem = ReadProblem::CouldNotOpen;
        opened.error = std::error_code(errno, std::generic_category());
        return opened;
    }
    opened.size = ec ? 0 : size;
    // The size may change once it was asked: the limit holds for what is read.
    opened.stream.emplace(f, true, limit);
    return opened;
}

ByteStream StandardInputStreamAtMost(std::uint64_t limit) { return ByteStream(stdin, false, limit); }

}  // namespace corvane
