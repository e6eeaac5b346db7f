// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/FileAccess.h"

// The writing half of FileAccess.h. The standard library cannot ask whether
// the user may write a file or create an unnamed file, so the writes use POSIX directly.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <set>
#include <system_error>
#include <utility>

#include "io/LinkRule.h"
#include "io/Temporaries.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

// What a write asks of the system when no test stands in for it.
const WriteSeams kSystem;

std::error_code SystemError(int code) { return {code, std::generic_category()}; }

WriteResult Failure(WriteOutcome outcome, const std::string& path, int code) {
    return WriteResult{outcome, path, SystemError(code)};
}

WriteResult Refusal(const std::string& path, WriteRefusal refusal) {
    return WriteResult{WriteOutcome::CouldNotOpen, path, MakeErrorCode(refusal)};
}

class RefusalCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "corvane write"; }
    std::string message(int code) const override {
        switch (static_cast<WriteRefusal>(code)) {
            case WriteRefusal::LinkInSharedFolder:
                return "a symbolic link in a shared sticky folder that belongs to another user is not followed";
            case WriteRefusal::SameAsInput:
                return "it is the same file as one of the inputs, which are never overwritten";
        }
        return "refused";
    }
};

// ---- steps ------------------------------------------------------------------------

// 0 when the current user may write the existing file, otherwise why not
// (a read-only file, a read-only file system).
int WriteAccess(const std::string& path, const WriteSeams& seams) {
    if (seams.mayWrite) return seams.mayWrite(path) ? 0 : EACCES;
    return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

// Unnamed files get their name through /proc; without it they cannot.
bool CanUseUnnamedTemporaries(const WriteSeams& seams) {
#ifdef O_TMPFILE
    static const bool procMounted = access("/proc/self/fd", X_OK) == 0;
    return procMounted && !seams.namedTemporaries;
#else
    return false;
#endif
}

// Every byte written, or false with errno set.
bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

bool CloseChecked(int& fd) {
    const int result = close(fd);
    fd = -1;
    return result == 0;
}

// One file of a write: where it goes and how.
struct Staged {
    enum class Kind { Replace, Direct, InPlace };
    std::string requested;  // the path as given, for messages
    std::string target;     // symbolic links followed
    std::span<const std::uint8_t> bytes;
    LinkPolicy links = LinkPolicy::FollowLink;
    Kind kind = Kind::Replace;
    bool existed = false;
    struct stat old {};
    int fd = -1;                                 // the temporary, while it is open
    std::string temporary;                       // its name, once it has one
    std::unique_ptr<NamedTemporary> cleanup;     // removes it on a signal
    const WriteSeams* seams = &kSystem;

    Staged() = default;
    Staged(const Staged&) = delete;
    Staged& operator=(const Staged&) = delete;
    ~Staged() { Discard(); }

    void Discard() {
        if (fd >= 0) close(fd);
        fd = -1;
        if (!temporary.empty()) unlink(temporary.c_str());
        temporary.clear();
        cleanup.reset();
    }
};

// Decides how the file is written; the outcome is Ok or a refusal.
WriteResult Plan(Staged& file) {
    if (file.requested.empty()) return Failure(WriteOutcome::CouldNotOpen, file.requested, ENOENT);
    if (!KernelWouldResolve(file.requested, file.links == LinkPolicy::FollowLink))
        return Refusal(file.requested, WriteRefusal::LinkInSharedFolder);
    file.target = file.links == LinkPolicy::ReplaceLink ? file.requested : FinalTarget(file.requested);
    if (lstat(file.target.c_str(), &file.old) != 0) {
        if (errno != ENOENT) return Failure(WriteOutcome::CouldNotOpen, file.requested, errno);
        file.kind = Staged::Kind::Replace;
        return {};
    }
    if (S_ISLNK(file.old.st_mode) && file.links == LinkPolicy::ReplaceLink) {
        file.kind = Staged::Kind::Replace;  // a new file with its own permissions, as where nothing was
        return {};
    }
    file.existed = true;
    if (S_ISLNK(file.old.st_mode)) return Failure(WriteOutcome::CouldNotOpen, file.requested, ELOOP);
    if (S_ISDIR(file.old.st_mode)) return Failure(WriteOutcome::CouldNotOpen, file.requested, EISDIR);
    if (!S_ISREG(file.old.st_mode)) {
        file.kind = Staged::Kind::Direct;
        return {};
    }
    if (const int refused = WriteAccess(file.target, *file.seams)) return Failure(WriteOutcome::CouldNotOpen, file.requested, refused);
    file.kind = Staged::Kind::Replace;
    return {};
}

// Creates the temporary of a replaced file. Where the folder takes no new
// file but the target may be written, the file is rewritten in place instead.
WriteResult OpenTemporary(Staged& file) {
    const std::string folder = FolderOf(file.target);
    int error = EOPNOTSUPP;
#ifdef O_TMPFILE
    if (CanUseUnnamedTemporaries(*file.seams)) {
        file.fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (file.fd >= 0) {
            LockTemporary(file.fd);  // unnamed: nobody else can reach it yet
            return {};
        }
        error = errno;
    }
#endif
    // File systems without unnamed files say so in one of three ways.
    if (error == EOPNOTSUPP || error == EISDIR || error == EINVAL) {
        for (int attempt = 0; attempt < 16; ++attempt) {
            std::string name = TemporaryNameIn(folder);
            auto cleanup = std::make_unique<NamedTemporary>(name);
            file.fd = open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
            if (file.fd >= 0) {
                if (LockTemporary(file.fd) && StillNamed(file.fd, name)) {
                    file.temporary = std::move(name);
                    file.cleanup = std::move(cleanup);
                    return {};
                }
                close(file.fd);  // taken for abandoned by another writer's cleaning: another name
                file.fd = -1;
                error = EEXIST;
                continue;
            }
            error = errno;
            if (error != EEXIST) break;
        }
    }
    if (file.existed && (error == EACCES || error == EPERM || error == ENAMETOOLONG)) {
        file.kind = Staged::Kind::InPlace;
        return {};
    }
    return Failure(WriteOutcome::CouldNotOpen, file.requested, error);
}

// The complete temporary of a replaced file, flushed to disk, with the old file's permissions.
WriteResult WriteTemporary(Staged& file) {
    if (WriteResult opened = OpenTemporary(file); !opened.Ok()) return opened;
    if (file.kind != Staged::Kind::Replace) return {};
    if (file.existed) {
        // Root replacing someone's file gives it back to them; nobody else can, nor needs to.
        if (geteuid() == 0 && fchown(file.fd, file.old.st_uid, file.old.st_gid) != 0) {
            // then root keeps it, as when it had written a new file
        }
        fchmod(file.fd, file.old.st_mode & 07777);
    }
    if (!WriteAll(file.fd, file.bytes) || fsync(file.fd) != 0) {
        const int error = errno;
        file.Discard();
        return Failure(WriteOutcome::WriteFailed, file.requested, error);
    }
    if (file.seams->temporaryWritten) file.seams->temporaryWritten();
    return {};
}

// Writes into the existing file itself: a device or FIFO, or a file whose folder takes no temporary.
WriteResult WriteIntoTarget(const Staged& file) {
    int fd = open(file.target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return Failure(WriteOutcome::CouldNotOpen, file.requested, errno);
    bool ok = WriteAll(fd, file.bytes);
    // Written over before it is cut to length: on a full disk a file no
    // longer than before is rewritten without needing a single new block.
    if (ok && file.kind == Staged::Kind::InPlace)
        ok = ftruncate(fd, static_cast<off_t>(file.bytes.size())) == 0 && fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (!CloseChecked(fd) && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) return Failure(WriteOutcome::WriteFailed, file.requested, error);
    return {};
}

// Gives a complete temporary the target's name.
WriteResult MoveIntoPlace(Staged& file) {
    if (file.temporary.empty()) {
        // An unnamed temporary: a new file takes the target's name at once;
        // an existing one is replaced through a named step, as a link cannot overwrite.
        const std::string self = "/proc/self/fd/" + std::to_string(file.fd);
        if (!file.existed && linkat(AT_FDCWD, self.c_str(), AT_FDCWD, file.target.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            file.Discard();
            return {};
        }
        for (int attempt = 0; attempt < 16 && file.temporary.empty(); ++attempt) {
            std::string name = TemporaryNameIn(FolderOf(file.target));
            auto cleanup = std::make_unique<NamedTemporary>(name);
            if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                file.temporary = std::move(name);
                file.cleanup = std::move(cleanup);
            } else if (errno != EEXIST) {
                break;
            }
        }
        if (file.temporary.empty()) {
            const int error = errno;
            file.Discard();
            return Failure(WriteOutcome::WriteFailed, file.requested, error);
        }
    }
    if (file.seams->beforeRename) file.seams->beforeRename();
    // Closed only once renamed, as the lock tells a cleaner that the temporary
    // is alive; its bytes are on disk since the fsync, so the close cannot lose them.
    if (rename(file.temporary.c_str(), file.target.c_str()) != 0) {
        const int error = errno;
        file.Discard();
        return Failure(WriteOutcome::WriteFailed, file.requested, error);
    }
    file.temporary.clear();
    file.Discard();
    return {};
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// An input named "-" is standard input: a file given with `< p.png` is read
// as surely as one named, and `-o p.png` or `-o /dev/stdin` would replace it.
bool StatInput(const std::string& input, struct stat& read) {
    if (input != kStandardInputName) return stat(input.c_str(), &read) == 0;
    return fstat(STDIN_FILENO, &read) == 0 && S_ISREG(read.st_mode);
}

// Refuses a target that is one of the inputs, however it is reached (a
// link, another name of the same file).
WriteResult RefuseInput(const Staged& file, std::span<const std::string> inputs) {
    struct stat target {};
    if (file.links == LinkPolicy::ReplaceLink ? lstat(file.target.c_str(), &target) != 0
                                              : stat(file.target.c_str(), &target) != 0)
        return {};
    for (const std::string& input : inputs) {
        struct stat read {};
        if (StatInput(input, read) && SameFile(read, target))
            return Refusal(file.requested, WriteRefusal::SameAsInput);
    }
    return {};
}

WriteResult Stage(Staged& file) {
    if (file.kind == Staged::Kind::Replace) return WriteTemporary(file);
    return {};
}

WriteResult Commit(Staged& file) {
    if (file.kind == Staged::Kind::Replace) return MoveIntoPlace(file);
    return WriteIntoTarget(file);
}

}  // namespace

std::error_code CreateFolder(const std::string& path) {
    if (!KernelWouldResolve(path, true)) return MakeErrorCode(WriteRefusal::LinkInSharedFolder);
    std::error_code ec;
    if (fs::create_directories(path, ec) || fs::is_directory(path)) return {};
    if (ec) return ec;
    // create_directories says nothing when a file already has the name.
    return SystemError(fs::exists(path) ? ENOTDIR : ENOENT);
}

std::error_code MakeErrorCode(WriteRefusal refusal) {
    static const RefusalCategory category;
    return {static_cast<int>(refusal), category};
}

WriteResult WriteFilesAllOrNothing(std::span<const FileToWrite> files, std::span<const std::string> inputs,
                                   const WriteSeams* seams) {
    std::vector<Staged> staged(files.size());
    // Every target is judged before the first byte is written anywhere.
    std::set<std::string> folders;
    for (std::size_t i = 0; i < files.size(); ++i) {
        staged[i].requested = files[i].path;
        staged[i].bytes = files[i].bytes;
        staged[i].links = files[i].links;
        if (seams) staged[i].seams = seams;
        if (WriteResult planned = Plan(staged[i]); !planned.Ok()) return planned;
        if (WriteResult refused = RefuseInput(staged[i], inputs); !refused.Ok()) return refused;
        if (staged[i].kind == Staged::Kind::Replace) folders.insert(FolderOf(staged[i].target));
    }
    for (const std::string& folder : folders) RemoveAbandonedTemporaries(folder);
    for (Staged& file : staged)
        // A failure here discards every temporary made so far; no target has been touched.
        if (WriteResult result = Stage(file); !result.Ok()) return result;
    // Replaced files first: they cannot fail for want of space any more.
    {
        const SignalsHeldOff heldOff;
        for (Staged& file : staged)
            if (file.kind == Staged::Kind::Replace)
                if (WriteResult result = Commit(file); !result.Ok()) return result;
    }
    // A FIFO may wait for a reader: Ctrl+C must still end that wait.
    for (Staged& file : staged)
        if (file.kind != Staged::Kind::Replace)
            if (WriteResult result = Commit(file); !result.Ok()) return result;
    return {};
}

WriteResult WriteFileWithReason(const std::string& path, std::span<const std::uint8_t> bytes,
                                std::span<const std::string> inputs, const WriteSeams* seams) {
    const FileToWrite file{path, bytes};
    return WriteFilesAllOrNothing(std::span(&file, 1), inputs, seams);
}

}  // namespace corvane
