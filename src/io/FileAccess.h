// Whole-file reads and crash-safe whole-file writes for the commands.
// Codecs never touch files; commands read bytes here, hand them to a codec,
// and hand the codec's bytes back here.
//
// A write honours what is at the target:
//   - a regular file is replaced by a complete new one: the bytes go to a
//     temporary file in the target's folder (an unnamed one where the file
//     system offers it), are flushed to disk, and only then take the target's
//     name, with the old file's permissions. A failed save never destroys the
//     user's previous file, and no temporary outlives the process, also when
//     it is stopped by Ctrl+C or SIGTERM;
//   - a file the user may not write is refused and left alone;
//   - a symbolic link stays a link: the file it points to is replaced;
//   - anything else that exists (a device such as /dev/null, a FIFO) is
//     written directly, never replaced;
//   - a writable file in a folder where nothing can be created is rewritten
//     in place, the only case where a failed write can damage the old file.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <system_error>
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
    CouldNotOpen,  // refused, or neither a temporary file nor the target could be created
    WriteFailed,   // created, but a write, flush, close or the final replace failed
};

WriteOutcome WriteFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes);

// A write's outcome with the system's reason, for messages that say why.
struct WriteResult {
    WriteOutcome outcome = WriteOutcome::Ok;
    std::string path;       // the file that failed
    std::error_code error;  // why; empty when ok
    bool Ok() const { return outcome == WriteOutcome::Ok; }
    // "No space left on device", "Permission denied"...
    std::string Reason() const { return error ? error.message() : std::string("unknown error"); }
};

WriteResult WriteFileWithReason(const std::string& path, std::span<const std::uint8_t> bytes);

struct FileToWrite {
    std::string path;
    std::span<const std::uint8_t> bytes;
};

// A set of files, all or nothing: every file is first written completely to a
// temporary beside its target; only when all are written do they take their
// names. On any failure before that every temporary is removed and every old
// file stays as it was. (Targets rewritten directly or in place, see above,
// are written last.)
WriteResult WriteFilesAllOrNothing(std::span<const FileToWrite> files);

// Tests force the failures that a real disk rarely shows on demand.
enum class WriteFault { None, CannotOpen, WriteFails };
void SetWriteFaultForTesting(WriteFault fault);

struct WriteSeams {
    // Answers "may the current user write this existing file?" instead of
    // the system, whose answer is always yes for root.
    bool (*mayWrite)(const std::string& path) = nullptr;
    // Use a named temporary even where an unnamed one is possible.
    bool namedTemporaries = false;
    // Called once a temporary holds all its bytes, before it takes its name.
    void (*temporaryWritten)() = nullptr;
};
void SetWriteSeamsForTesting(const WriteSeams& seams);

}  // namespace corvane
