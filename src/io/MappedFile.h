// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A regular file's bytes mapped read-only, for readers that look at a few
// parts of a large file (a zip's directory and the entries it names, a
// Photoshop file's sections by their offsets): the span costs memory only
// for the pages a reader touches, so a 250 MB file of small layers costs
// what its layers do. Codecs read the span as any bytes; the file is never
// written through it.
//
// Where the system maps nothing (the browser edition's file system) the
// bytes are read whole instead, and Mapped() says so, so that a reader counts
// all of them against its budget. A file that another program cuts short
// while it is mapped ends the process (SIGBUS) when a page past the new end
// is touched: the price of not copying it, as for every program that maps
// its input.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "io/FileAccess.h"

namespace corvane {

struct MappedRead;

class MappedFile {
public:
    MappedFile() = default;
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    std::span<const std::uint8_t> Bytes() const { return mapping_ ? std::span(mapping_, size_) : std::span(copy_); }
    // True when the bytes are a mapping; false when they were read whole.
    bool Mapped() const { return mapping_ != nullptr; }

private:
    friend MappedRead MapFileAtMost(const std::string& path, std::uint64_t limit);

    const std::uint8_t* mapping_ = nullptr;
    std::size_t size_ = 0;
    std::vector<std::uint8_t> copy_;
};

struct MappedRead {
    ReadProblem problem = ReadProblem::None;
    std::error_code error;  // the system's reason for CouldNotOpen and ReadFailed
    MappedFile file;

    bool Ok() const { return problem == ReadProblem::None; }
};

// A regular file of at most `limit` bytes, mapped; a folder, device or pipe
// is never opened, as for ReadFileAtMost, and the problems are the same.
MappedRead MapFileAtMost(const std::string& path, std::uint64_t limit);

}  // namespace corvane
