// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

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
//   - a symbolic link stays a link: the file it points to is replaced. The
//     link is followed as the kernel would follow it for this user: in a
//     sticky, world-writable folder (/tmp) a link owned by neither the user
//     nor the folder's owner is refused (fs.protected_symlinks), as reading
//     it here would otherwise let another user point root's write anywhere.
//     A set written into a folder of its own may instead replace the link
//     itself (LinkPolicy::ReplaceLink), so that nothing lands outside it;
//   - anything else that exists (a device such as /dev/null, a FIFO) is
//     written directly, never replaced;
//   - a writable file in a folder where nothing can be created is rewritten
//     in place, the only case where a failed write can damage the old file.
// The same rule holds for a link anywhere in the path: a folder of the path
// that is such a link is refused as the last name is. An output that is the
// same file as one of the command's inputs (standard input, named "-",
// included) is refused before anything is written. While a set takes its names, the signals that
// end a process are held off, so a set is all old or all new; a temporary
// that a SIGKILL left behind is removed by the next write into its folder.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <string_view>
#include <vector>

namespace corvane {

// The memory no command may pass on any input: readers check what an input
// would cost against it before they take the memory (see ImageFile.h).
inline constexpr std::uint64_t kMemoryBudget = std::uint64_t{256} << 20;

// What a reader will take at most. A skin or splash file larger than the
// phone's whole storage cannot be one; a picture file larger than the memory
// budget could not be decoded within it. Both are refused before a byte is
// read, so a sparse or endless file costs nothing.
inline constexpr std::uint64_t kDatabaseFileLimit = std::uint64_t{64} << 20;
inline constexpr std::uint64_t kPictureFileLimit = kMemoryBudget;

// The name by which a command's input is standard input.
inline constexpr std::string_view kStandardInputName = "-";

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
    std::error_code error;            // the system's reason for CouldNotOpen and ReadFailed

    bool Ok() const { return problem == ReadProblem::None; }
    // The content, or nothing when the read failed: for callers that need no reason.
    std::optional<std::vector<std::uint8_t>> Bytes() && {
        return Ok() ? std::optional(std::move(bytes)) : std::nullopt;
    }
};

// The whole content of a regular file of at most `limit` bytes.
FileRead ReadFileAtMost(const std::string& path, std::uint64_t limit);

// One line saying why the read failed, such as "larger than 64 MiB, the limit
// for skin and splash files" or "cannot open the file for reading: Permission
// denied"; `kind` names the files the limit is for, `error` is the system's reason.
std::string ReadProblemText(ReadProblem problem, std::uint64_t limit, std::string_view kind,
                            std::error_code error = {});

// Standard input read to its end, at most `limit` bytes, for commands given "-".
FileRead ReadStandardInputAtMost(std::uint64_t limit);

bool FileExists(const std::string& path);
// Whether anything has that name, a dangling symbolic link included.
bool NameTaken(const std::string& path);

// Creates the folder and any missing parents; empty when it exists or was
// made, otherwise why not ("Not a directory" for a file of that name; a link
// on the way that the kernel would not follow for this user, see above).
std::error_code CreateFolder(const std::string& path);

// Refusals of our own, beside the system's errors, so that WriteResult::Reason reads alike for both.
enum class WriteRefusal {
    LinkInSharedFolder = 1,  // a link the kernel would not follow for this user
    SameAsInput,             // the output is one of the files being read
};
std::error_code MakeErrorCode(WriteRefusal refusal);

enum class WriteOutcome {
    Ok,
    CouldNotOpen,  // refused, or neither a temporary file nor the target could be created
    WriteFailed,   // created, but a write, flush, close or the final replace failed
};

// What a test puts in the system's place where a real disk cannot show a
// case on demand; every write takes it as its last argument, and the programs
// pass none.
struct WriteSeams {
    // Answers "may the current user write this existing file?" instead of
    // the system, whose answer is always yes for root.
    bool (*mayWrite)(const std::string& path) = nullptr;
    // Use a named temporary even where an unnamed one is possible.
    bool namedTemporaries = false;
    // Called once a temporary holds all its bytes, before it takes its name.
    void (*temporaryWritten)() = nullptr;
    // Called just before each temporary takes its name.
    void (*beforeRename)() = nullptr;
};

// A write's outcome with the system's reason, for messages that say why.
struct WriteResult {
    WriteOutcome outcome = WriteOutcome::Ok;
    std::string path;       // the file that failed
    std::error_code error;  // why; empty when ok
    bool Ok() const { return outcome == WriteOutcome::Ok; }
    // "No space left on device", "Permission denied"...
    std::string Reason() const { return error ? error.message() : std::string("unknown error"); }
};

WriteResult WriteFileWithReason(const std::string& path, std::span<const std::uint8_t> bytes,
                                std::span<const std::string> inputs = {}, const WriteSeams* seams = nullptr);

enum class LinkPolicy {
    FollowLink,   // the file a link points to is replaced; the link stays
    ReplaceLink,  // a link at the path is itself replaced by the file
};

struct FileToWrite {
    std::string path;
    std::span<const std::uint8_t> bytes;
    LinkPolicy links = LinkPolicy::FollowLink;
};

// A set of files, all or nothing: every file is first written completely to a
// temporary beside its target; only when all are written do they take their
// names. On any failure before that every temporary is removed and every old
// file stays as it was. (Targets rewritten directly or in place, see above,
// are written last.) `inputs` are the files the command read: an output that
// is the same file as one of them is refused before anything is written.
WriteResult WriteFilesAllOrNothing(std::span<const FileToWrite> files, std::span<const std::string> inputs = {},
                                   const WriteSeams* seams = nullptr);

}  // namespace corvane
