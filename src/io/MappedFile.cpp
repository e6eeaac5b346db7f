// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/MappedFile.h"

#include "io/ByteStream.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace corvane {

MappedFile::MappedFile(MappedFile&& other) noexcept
    : mapping_(std::exchange(other.mapping_, nullptr)), size_(std::exchange(other.size_, 0)),
      copy_(std::move(other.copy_)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    std::swap(mapping_, other.mapping_);
    std::swap(size_, other.size_);
    std::swap(copy_, other.copy_);
    return *this;
}

MappedFile::~MappedFile() {
    if (mapping_) munmap(const_cast<std::uint8_t*>(mapping_), size_);
}

MappedRead MapFileAtMost(const std::string& path, std::uint64_t limit) {
    MappedRead read;
#ifdef __EMSCRIPTEN__
    // Its mmap copies the file into memory all the same: read it as that.
    FileRead whole = ReadFileAtMost(path, limit);
    read.problem = whole.problem;
    read.error = whole.error;
    read.file.copy_ = std::move(whole.bytes);
    return read;
#else
    // The same checks as a whole read, so that both refuse alike.
    OpenedStream opened = OpenFileStreamAtMost(path, limit);
    read.problem = opened.problem;
    read.error = opened.error;
    if (!opened.stream) return read;
    opened.stream.reset();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat status {};
    if (fd < 0 || fstat(fd, &status) != 0) {
        read.problem = fd < 0 ? ReadProblem::CouldNotOpen : ReadProblem::ReadFailed;
        read.error = std::error_code(errno, std::generic_category());
        if (fd >= 0) close(fd);
        return read;
    }
    // The name may have been given to another file since it was looked at
    // (not blocking, should that be a pipe): what is mapped is held to the
    // same rules.
    if (!S_ISREG(status.st_mode) || static_cast<std::uint64_t>(status.st_size) > limit) {
        read.problem = S_ISREG(status.st_mode) ? ReadProblem::TooLarge : ReadProblem::NotRegularFile;
        close(fd);
        return read;
    }
    const auto size = static_cast<std::size_t>(status.st_size);
    if (size > 0) {
        void* mapping = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapping == MAP_FAILED) {
            read.problem = ReadProblem::ReadFailed;
            read.error = std::error_code(errno, std::generic_category());
            close(fd);
            return read;
        }
        read.file.mapping_ = static_cast<const std::uint8_t*>(mapping);
        read.file.size_ = size;
    }
    close(fd);
    return read;
#endif
}

}  // namespace corvane
