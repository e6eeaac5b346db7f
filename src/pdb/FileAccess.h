// Whole-file reads and crash-safe whole-file writes for the commands.
// Codecs never touch files; commands read bytes here, hand them to a codec,
// and hand the codec's bytes back here.
//
// A write goes to a temporary file in the target's folder and replaces the
// target only once every byte was written, flushed and closed, so a failed
// save never destroys the user's previous file.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// What a reader will take at most. A skin or splash file larger than the
// phone's whole storage cannot be one; a picture file larger than the biggest
// picture the editor loads (see ImageFile.h) cannot be one either. Both are
// refused before a byte is read, so a sparse or endless file costs nothing.
inline constexpr std::uint64_t kDatabaseFileLimit = std::uint64_t{64} << 20;
inline constexpr std::uint64_t kPictureFileLimit = std::uint64_t{256} << 20;

enum class ReadProblem {
    None,
    CouldNotOpen,    // missing, or no permission
    NotRegularFile,  // a folder, a device or a pipe: never opened, so nothing blocks
    TooLarge,        // over the limit the caller gave
    ReadFailed,      // opened, but reading failed
};

struct FileRead {
    ReadProblem problem = ReadProblem::None;
    std::vector<std::uint8_t> bytes;  // the whole content when problem is None

    bool Ok() const { return problem == ReadProblem::None; }
};

// The whole content of a regular file of at most `limit` bytes.
FileRead ReadFileAtMost(const std::string& path, std::uint64_t limit);

// One line saying why the read failed, such as "larger than 64 MiB, the limit
// for skin and splash files"; `kind` names the files the limit is for.
std::string ReadProblemText(ReadProblem problem, std::uint64_t limit, std::string_view kind);

// ReadFileAtMost with the picture-file limit, for callers that need no reason.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

bool FileExists(const std::string& path);

enum class WriteOutcome {
    Ok,
    CouldNotOpen,  // neither the temporary file nor the target could be created
    WriteFailed,   // created, but a write, flush, close or the final replace failed
};

WriteOutcome WriteFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes);

// Tests force the failures that a real disk rarely shows on demand.
enum class WriteFault { None, CannotOpen, WriteFails };
void SetWriteFaultForTesting(WriteFault fault);

}  // namespace corvane
