// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A file or standard input read piece by piece, for readers that decode as
// they read and so never hold the whole input (netpbm rasters, whose file may
// be padded far past its pixels).
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "io/FileAccess.h"

namespace corvane {

class ByteStream {
public:
    ByteStream(std::FILE* file, bool owned, std::uint64_t limit) : file_(file), owned_(owned), limit_(limit) {}
    ByteStream(ByteStream&& other) noexcept;
    ByteStream& operator=(ByteStream&&) = delete;
    ~ByteStream();

    // Up to out.size() bytes; fewer only at the end of the data, past the
    // limit (Problem() is then TooLarge) or on a read error (ReadFailed).
    std::size_t Read(std::span<std::uint8_t> out);

    // The rest of the data, appended to `bytes`; on a problem `bytes` is emptied.
    void ReadRest(std::vector<std::uint8_t>& bytes);

    ReadProblem Problem() const { return problem_; }
    std::error_code Error() const { return error_; }

private:
    std::FILE* file_;
    bool owned_;
    std::uint64_t limit_;
    std::uint64_t read_ = 0;
    ReadProblem problem_ = ReadProblem::None;
    std::error_code error_;
};

struct OpenedStream {
    ReadProblem problem = ReadProblem::None;  // CouldNotOpen, NotRegularFile or TooLarge when there is no stream
    std::error_code error;
    std::optional<ByteStream> stream;
    std::uint64_t size = 0;  // the file's size when it was opened
};

// A regular file of at most `limit` bytes, opened for reading; a folder,
// device or pipe is never opened, so nothing blocks.
OpenedStream OpenFileStreamAtMost(const std::string& path, std::uint64_t limit);

// Standard input, of which at most `limit` bytes are read.
ByteStream StandardInputStreamAtMost(std::uint64_t limit);

}  // namespace corvane
