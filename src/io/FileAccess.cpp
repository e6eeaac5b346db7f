#include "io/FileAccess.h"

#include "io/ByteStream.h"

// The standard library cannot ask whether the user may write a file, create
// an unnamed file or clean up on a signal, so the writes use POSIX directly.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <set>
#include <system_error>
#include <utility>

namespace corvane {
namespace {

namespace fs = std::filesystem;

WriteFault g_fault = WriteFault::None;
WriteSeams g_seams;

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

// ---- named temporaries removed on Ctrl+C and SIGTERM ---------------------------

// Paths of the named temporaries that exist right now. The handler only reads
// the slots and calls unlink, both safe inside a signal handler.
constexpr int kTemporarySlots = 64;
std::atomic<char*> g_temporaries[kTemporarySlots];
std::atomic<bool> g_handlersInstalled{false};
struct sigaction g_previousInt;
struct sigaction g_previousTerm;

void RemoveTemporariesAndResignal(int signal) {
    const int savedErrno = errno;
    for (auto& slot : g_temporaries)
        if (const char* path = slot.load()) unlink(path);
    // The previous handler, usually the default one that ends the process,
    // gets the signal once this handler returns.
    sigaction(signal, signal == SIGINT ? &g_previousInt : &g_previousTerm, nullptr);
    g_handlersInstalled = false;
    raise(signal);
    errno = savedErrno;
}

void InstallHandlers() {
    if (g_handlersInstalled.exchange(true)) return;
    struct sigaction action {};
    action.sa_handler = RemoveTemporariesAndResignal;
    sigemptyset(&action.sa_mask);
    for (const auto& [signal, previous] : {std::pair{SIGINT, &g_previousInt}, std::pair{SIGTERM, &g_previousTerm}}) {
        struct sigaction current {};
        sigaction(signal, nullptr, &current);
        if (current.sa_handler == SIG_IGN) continue;  // a process told to ignore it keeps ignoring it
        sigaction(signal, &action, previous);
    }
}

class NamedTemporary {
public:
    explicit NamedTemporary(const std::string& path) {
        InstallHandlers();
        auto* copy = new char[path.size() + 1];
        std::memcpy(copy, path.c_str(), path.size() + 1);
        for (int i = 0; i < kTemporarySlots && slot_ < 0; ++i) {
            char* expected = nullptr;
            if (g_temporaries[i].compare_exchange_strong(expected, copy)) slot_ = i;
        }
        if (slot_ < 0) delete[] copy;  // more at once than any command writes: left to the normal cleanup
    }
    ~NamedTemporary() {
        if (slot_ >= 0) delete[] g_temporaries[slot_].exchange(nullptr);
    }
    NamedTemporary(const NamedTemporary&) = delete;
    NamedTemporary& operator=(const NamedTemporary&) = delete;

private:
    int slot_ = -1;
};

// Holds off the signals that end a process while a set takes its names,
// so that an interrupted set is all old or all new; they arrive afterwards.
class SignalsHeldOff {
public:
    SignalsHeldOff() {
        sigset_t hold;
        sigfillset(&hold);
        // Those the process raises on itself for a fault cannot wait.
        for (const int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT, SIGSYS}) sigdelset(&hold, fault);
        pthread_sigmask(SIG_BLOCK, &hold, &previous_);
    }
    ~SignalsHeldOff() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    SignalsHeldOff(const SignalsHeldOff&) = delete;
    SignalsHeldOff& operator=(const SignalsHeldOff&) = delete;

private:
    sigset_t previous_;
};

// ---- temporaries: named alike, locked while their writer lives ------------------

constexpr std::string_view kTemporaryPrefix = ".corvane-";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kTemporaryDigits = 8;

bool IsTemporaryName(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + kTemporaryDigits + kTemporarySuffix.size() ||
        !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix))
        return false;
    const std::string_view digits = name.substr(kTemporaryPrefix.size(), kTemporaryDigits);
    return digits.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// Every temporary is locked by its writer from its creation on; one nobody
// holds was left by a process that was killed outright (SIGKILL, a power cut).
bool LockTemporary(int fd) { return flock(fd, LOCK_EX | LOCK_NB) == 0; }

// Removes this user's temporaries in the folder that no living writer holds.
void RemoveAbandonedTemporaries(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    const int dirFd = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        if (!IsTemporaryName(entry->d_name)) continue;
        const int fd = openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat opened {}, named {};
        // Another user's file of that name, or one that took the name meanwhile, is not ours to remove.
        if (fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_uid == geteuid() && LockTemporary(fd) &&
            fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == opened.st_dev &&
            named.st_ino == opened.st_ino)
            unlinkat(dirFd, entry->d_name, 0);
        close(fd);
    }
    closedir(dir);
}

// True when the name still leads to the open file: a cleaner that locked it
// in the moment before its writer did has removed the name.
bool StillNamed(int fd, const std::string& name) {
    struct stat opened {}, named {};
    return fstat(fd, &opened) == 0 && lstat(name.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

// ---- steps ------------------------------------------------------------------------

std::string FolderOf(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// The kernel's rule for links in sticky, world-writable folders
// (fs.protected_symlinks): only the link's owner and the folder's owner follow them.
bool KernelWouldFollow(const fs::path& link) {
    struct stat linkStat {}, folderStat {};
    if (lstat(link.c_str(), &linkStat) != 0 || stat(FolderOf(link.string()).c_str(), &folderStat) != 0) return false;
    const bool shared = (folderStat.st_mode & S_ISVTX) && (folderStat.st_mode & S_IWOTH);
    return !shared || linkStat.st_uid == geteuid() || linkStat.st_uid == folderStat.st_uid;
}

// Walks the path as the kernel resolves it, a name at a time, following each
// link on the way (the last name's only when `followLast`), and says whether
// the kernel's link rule lets this user through every one of them: another
// user's link to a folder, used as a folder of the path, counts as much as a
// link at its end. Names that do not exist yet end the walk's interest.
bool KernelWouldResolve(const std::string& path, bool followLast) {
    std::vector<std::string> pending;  // the names still to walk, the next one last
    const auto push = [&pending](const fs::path& names) {
        std::vector<std::string> in;
        for (const fs::path& name : names.relative_path()) in.push_back(name.string());
        pending.insert(pending.end(), in.rbegin(), in.rend());
    };
    std::error_code ec;
    fs::path at = fs::path(path).is_absolute() ? fs::path("/") : fs::current_path(ec);
    if (ec) return true;
    push(path);
    for (int links = 0; !pending.empty();) {
        const std::string name = std::move(pending.back());
        pending.pop_back();
        if (name.empty() || name == ".") continue;
        if (name == "..") {
            at = at.parent_path();
            continue;
        }
        const fs::path next = at / name;
        struct stat named {};
        if (lstat(next.c_str(), &named) != 0 || !S_ISLNK(named.st_mode) || (pending.empty() && !followLast)) {
            at = next;
            continue;
        }
        if (!KernelWouldFollow(next)) return false;
        const fs::path target = fs::read_symlink(next, ec);
        if (ec || ++links > 40) return true;  // the system itself refuses what follows
        if (target.is_absolute()) at = "/";
        push(target);
    }
    return true;
}

// Follows symbolic links to the file they finally name, so that the links
// stay. Whether the kernel would follow them is KernelWouldResolve's to say.
std::string FinalTarget(const std::string& path) {
    fs::path current = path;
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec))) break;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec) break;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current.string();
}

// 0 when the current user may write the existing file, otherwise why not
// (a read-only file, a read-only file system).
int WriteAccess(const std::string& path) {
    if (g_seams.mayWrite) return g_seams.mayWrite(path) ? 0 : EACCES;
    return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

// Unnamed files get their name through /proc; without it they cannot.
bool CanUseUnnamedTemporaries() {
#ifdef O_TMPFILE
    static const bool procMounted = access("/proc/self/fd", X_OK) == 0;
    return procMounted && !g_seams.namedTemporaries;
#else
    return false;
#endif
}

// Every byte written, or false with errno set.
bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    if (g_fault == WriteFault::WriteFails) {
        errno = ENOSPC;
        return false;
    }
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

std::string TemporaryNameIn(const std::string& folder) {
    // Short, so that a target whose name is as long as the file system allows still has room beside it.
    static std::mt19937 rng{std::random_device{}()};
    char name[32];
    std::snprintf(name, sizeof name, ".corvane-%08x.tmp", static_cast<unsigned>(rng()));
    return (fs::path(folder) / name).string();
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
    if (g_fault == WriteFault::CannotOpen) return Failure(WriteOutcome::CouldNotOpen, file.requested, EACCES);
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
    if (const int refused = WriteAccess(file.target)) return Failure(WriteOutcome::CouldNotOpen, file.requested, refused);
    file.kind = Staged::Kind::Replace;
    return {};
}

// Creates the temporary of a replaced file. Where the folder takes no new
// file but the target may be written, the file is rewritten in place instead.
WriteResult OpenTemporary(Staged& file) {
    const std::string folder = FolderOf(file.target);
    int error = EOPNOTSUPP;
#ifdef O_TMPFILE
    if (CanUseUnnamedTemporaries()) {
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
    if (g_seams.temporaryWritten) g_seams.temporaryWritten();
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
    if (g_seams.beforeRename) g_seams.beforeRename();
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

void SetWriteFaultForTesting(WriteFault fault) { g_fault = fault; }
void SetWriteSeamsForTesting(const WriteSeams& seams) { g_seams = seams; }

FileRead ReadFileAtMost(const std::string& path, std::uint64_t limit) {
    FileRead read;
    OpenedStream opened = OpenFileStreamAtMost(path, limit);
    read.problem = opened.problem;
    read.error = opened.error;
    if (!opened.stream) return read;
    read.bytes.reserve(static_cast<std::size_t>(opened.size));
    opened.stream->ReadRest(read.bytes);
    read.problem = opened.stream->Problem();
    read.error = opened.stream->Error();
    return read;
}

std::string ReadProblemText(ReadProblem problem, std::uint64_t limit, std::string_view kind, std::error_code error) {
    const std::string reason = error ? ": " + error.message() : std::string();
    switch (problem) {
        case ReadProblem::None: return "read";
        case ReadProblem::CouldNotOpen: return "cannot open the file for reading" + reason;
        case ReadProblem::NotRegularFile: return "not a regular file (a folder, device or pipe is not read)";
        case ReadProblem::TooLarge:
            return "larger than " + std::to_string(limit >> 20) + " MiB, the limit for " + std::string(kind);
        case ReadProblem::ReadFailed: return "reading the file failed" + reason;
    }
    return "cannot read the file";
}

FileRead ReadStandardInputAtMost(std::uint64_t limit) {
    FileRead read;
    ByteStream stream = StandardInputStreamAtMost(limit);
    stream.ReadRest(read.bytes);
    read.problem = stream.Problem();
    read.error = stream.Error();
    return read;
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

bool NameTaken(const std::string& path) {
    struct stat any {};
    return lstat(path.c_str(), &any) == 0;
}

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

WriteResult WriteFilesAllOrNothing(std::span<const FileToWrite> files, std::span<const std::string> inputs) {
    std::vector<Staged> staged(files.size());
    // Every target is judged before the first byte is written anywhere.
    std::set<std::string> folders;
    for (std::size_t i = 0; i < files.size(); ++i) {
        staged[i].requested = files[i].path;
        staged[i].bytes = files[i].bytes;
        staged[i].links = files[i].links;
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
                                std::span<const std::string> inputs) {
    const FileToWrite file{path, bytes};
    return WriteFilesAllOrNothing(std::span(&file, 1), inputs);
}

WriteOutcome WriteFileReplacing(const std::string& path, std::span<const std::uint8_t> bytes) {
    return WriteFileWithReason(path, bytes).outcome;
}

}  // namespace corvane
