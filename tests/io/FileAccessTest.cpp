// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "io/FileAccess.h"
#include "io/MappedFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>

#include <sys/stat.h>

#include <filesystem>

#include "support/FailingWrites.h"
#include "support/TempDir.h"

namespace corvane {
namespace {

using testing::FileSizeLimit;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class FileAccessTest : public ::testing::Test {
protected:
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    TempDir dir;
};

const std::vector<std::uint8_t> kOld{9, 8, 7, 6};
const std::vector<std::uint8_t> kNew{1, 2};

TEST_F(FileAccessTest, WritesAndReadsWholeFile) {
    const std::vector<std::uint8_t> bytes{1, 2, 3, 0, 255};
    const auto path = dir.File("a.pdb");
    ASSERT_EQ(WriteFileWithReason(path, bytes).outcome, WriteOutcome::Ok);
    EXPECT_EQ(ReadFileAtMost(path, kPictureFileLimit).Bytes(), bytes);
    EXPECT_TRUE(FileExists(path));
}

TEST_F(FileAccessTest, ReplacingKeepsNoTemporaryBehind) {
    const auto path = dir.File("a.pdb");
    WriteBytes(path, {9, 9, 9, 9, 9, 9});
    ASSERT_EQ(WriteFileWithReason(path, std::vector<std::uint8_t>{1}).outcome, WriteOutcome::Ok);
    EXPECT_EQ(ReadBytes(path), std::vector<std::uint8_t>{1});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// Failures of the disk itself: a file that may not grow (a full quota, a
// file system's size limit) and a device that is full.
TEST_F(FileAccessTest, FailedWriteLeavesPreviousFileIntact) {
    CORVANE_SKIP_IN_WEBASSEMBLY("no file size limits in WebAssembly");
    const auto path = dir.File("a.pdb");
    WriteBytes(path, {9, 8, 7});
    const struct {
        std::string path;
        std::uint64_t sizeLimit;
        const char* reason;
    } kCases[] = {{path, 1, "File too large"}, {path, 0, "File too large"}, {"/dev/full", 1 << 20, "No space left on device"}};
    for (const auto& [target, sizeLimit, reason] : kCases) {
        WriteResult result;
        {
            const FileSizeLimit limit(sizeLimit);
            result = WriteFileWithReason(target, std::vector<std::uint8_t>{1, 2});
        }
        EXPECT_EQ(result.outcome, WriteOutcome::WriteFailed) << target;
        EXPECT_EQ(result.Reason(), reason) << target;
    }
    EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{9, 8, 7}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(FileAccessTest, UncreatableFileIsCouldNotOpen) {
    EXPECT_EQ(WriteFileWithReason(dir.File("missing/a.pdb"), std::vector<std::uint8_t>{1}).outcome, WriteOutcome::CouldNotOpen);
    EXPECT_EQ(WriteFileWithReason(dir.Path().string(), std::vector<std::uint8_t>{1}).outcome, WriteOutcome::CouldNotOpen);
    WriteBytes(dir.File("a.pdb"), kOld);  // a file where a folder should be
    EXPECT_EQ(WriteFileWithReason(dir.File("a.pdb/b.pdb"), std::vector<std::uint8_t>{1}).outcome, WriteOutcome::CouldNotOpen);
    EXPECT_EQ(ReadBytes(dir.File("a.pdb")), kOld);
}

TEST_F(FileAccessTest, ReadingMissingFileOrFolderGivesNothing) {
    EXPECT_FALSE(ReadFileAtMost(dir.File("nope"), kPictureFileLimit).Bytes().has_value());
    EXPECT_FALSE(ReadFileAtMost(dir.Path().string(), kPictureFileLimit).Bytes().has_value());
    WriteBytes(dir.File("empty"), {});
    ASSERT_TRUE(ReadFileAtMost(dir.File("empty"), kPictureFileLimit).Bytes().has_value());
    EXPECT_TRUE(ReadFileAtMost(dir.File("empty"), kPictureFileLimit).Bytes()->empty());
}

// ---- what is at the target ------------------------------------------------------

TEST_F(FileAccessTest, ReplacedFileKeepsItsPermissionsAndNewFilesFollowTheUmask) {
    CORVANE_SKIP_IN_WEBASSEMBLY("Node's file system has no umask");
    const auto path = dir.File("a.pdb");
    WriteBytes(path, kOld);
    ::chmod(path.c_str(), 0640);
    ASSERT_EQ(WriteFileWithReason(path, kNew).outcome, WriteOutcome::Ok);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    const mode_t mask = ::umask(022);
    ::umask(mask);
    ASSERT_EQ(WriteFileWithReason(dir.File("new.pdb"), kNew).outcome, WriteOutcome::Ok);
    ASSERT_EQ(::stat(dir.File("new.pdb").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0666u & ~mask);
}

TEST_F(FileAccessTest, FileTheUserMayNotWriteIsRefusedAndUntouched) {
    // Root may write any file; the seam answers as the system would for anyone else.
    const auto path = dir.File("a.pdb");
    WriteBytes(path, kOld);
    const WriteSeams readOnly{.mayWrite = [](const std::string&) { return false; }};
    const WriteResult result = WriteFileWithReason(path, kNew, {}, &readOnly);
    EXPECT_EQ(result.outcome, WriteOutcome::CouldNotOpen);
    EXPECT_EQ(result.Reason(), "Permission denied");
    EXPECT_EQ(ReadBytes(path), kOld);
    EXPECT_EQ(Names(), std::vector<std::string>{"a.pdb"});
}

TEST_F(FileAccessTest, SymbolicLinksStayAndTheirFileIsReplaced) {
    std::filesystem::create_directory(dir.Path() / "real");
    WriteBytes(dir.File("real/a.pdb"), kOld);
    std::filesystem::create_symlink("real/a.pdb", dir.Path() / "link.pdb");
    std::filesystem::create_symlink("link.pdb", dir.Path() / "chain.pdb");
    std::filesystem::create_symlink("real/missing.pdb", dir.Path() / "dangling.pdb");

    ASSERT_EQ(WriteFileWithReason(dir.File("chain.pdb"), kNew).outcome, WriteOutcome::Ok);
    ASSERT_EQ(WriteFileWithReason(dir.File("dangling.pdb"), kOld).outcome, WriteOutcome::Ok);
    for (const char* link : {"link.pdb", "chain.pdb", "dangling.pdb"})
        EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / link)) << link;
    EXPECT_EQ(ReadBytes(dir.File("real/a.pdb")), kNew);
    EXPECT_EQ(ReadBytes(dir.File("real/missing.pdb")), kOld);
}

TEST_F(FileAccessTest, FifoIsWrittenDirectlyNotReplaced) {
    CORVANE_SKIP_IN_WEBASSEMBLY("Node's file system makes no FIFO");
    const auto fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_EQ(WriteFileWithReason(fifo, kNew).outcome, WriteOutcome::Ok);
    std::uint8_t got[8] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 2);
    ::close(reader);
    EXPECT_EQ(got[0], 1);
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST_F(FileAccessTest, NamesAsLongAsTheFileSystemAllowsAreWrittenAndReplaced) {
    const auto path = dir.File(std::string(255, 'n'));
    ASSERT_EQ(WriteFileWithReason(path, kOld).outcome, WriteOutcome::Ok);
    ASSERT_EQ(WriteFileWithReason(path, kNew).outcome, WriteOutcome::Ok);
    EXPECT_EQ(ReadBytes(path), kNew);
    EXPECT_EQ(Names().size(), 1u);
}

// ---- sets and interruptions -----------------------------------------------------------

TEST_F(FileAccessTest, SetIsWrittenWholeOrNotAtAll) {
    CORVANE_SKIP_IN_WEBASSEMBLY("no file size limits in WebAssembly");
    WriteBytes(dir.File("a.bmp"), kOld);
    WriteBytes(dir.File("b.bmp"), kOld);
    const std::vector<FileToWrite> failing{
        {dir.File("a.bmp"), kNew}, {dir.File("b.bmp"), kNew}, {dir.File("c.bmp"), kNew}, {dir.File("gone/d.bmp"), kNew}};
    const WriteResult failed = WriteFilesAllOrNothing(failing);
    EXPECT_EQ(failed.outcome, WriteOutcome::CouldNotOpen);
    EXPECT_EQ(failed.path, dir.File("gone/d.bmp"));
    EXPECT_EQ(failed.Reason(), "No such file or directory");
    EXPECT_EQ(ReadBytes(dir.File("a.bmp")), kOld);
    EXPECT_EQ(ReadBytes(dir.File("b.bmp")), kOld);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.bmp", "b.bmp"}));

    for (const bool named : {false, true}) {
        const WriteSeams seams{.namedTemporaries = named};
        WriteResult result;
        {
            const FileSizeLimit limit(1);
            result = WriteFilesAllOrNothing(std::span(failing).first(3), {}, &seams);
        }
        EXPECT_EQ(result.Reason(), "File too large");
        EXPECT_EQ(Names(), (std::vector<std::string>{"a.bmp", "b.bmp"}));
    }

    ASSERT_TRUE(WriteFilesAllOrNothing(std::span(failing).first(3)).Ok());
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) EXPECT_EQ(ReadBytes(dir.File(name)), kNew) << name;
}

// GoogleTest has no death tests in WebAssembly, and no signal there ends a
// process a test could watch: these two are the native build's alone.
#ifndef __EMSCRIPTEN__
TEST_F(FileAccessTest, TemporaryDoesNotOutliveAProcessStoppedBySigterm) {
    const auto path = dir.File("a.pdb");
    WriteBytes(path, kOld);
    for (const bool named : {false, true}) {
        const WriteSeams seams{.namedTemporaries = named, .temporaryWritten = [] { std::raise(SIGTERM); }};
        EXPECT_EXIT(
            {
                WriteFileWithReason(path, kNew, {}, &seams);
            },
            ::testing::KilledBySignal(SIGTERM), "");
        EXPECT_EQ(ReadBytes(path), kOld);
        EXPECT_EQ(Names(), std::vector<std::string>{"a.pdb"}) << (named ? "named" : "unnamed");
    }
}

// A signal that comes while a set takes its names waits until all have them.
TEST_F(FileAccessTest, SignalDuringTheRenamesLeavesTheWholeNewSet) {
    const std::vector<std::string> names{"a.bmp", "b.bmp", "c.bmp"};
    const std::vector<FileToWrite> set{{dir.File("a.bmp"), kNew}, {dir.File("b.bmp"), kNew}, {dir.File("c.bmp"), kNew}};
    for (const bool named : {false, true}) {
        for (const auto& name : names) WriteBytes(dir.File(name), kOld);
        const WriteSeams seams{.namedTemporaries = named, .beforeRename = [] { std::raise(SIGTERM); }};
        EXPECT_EXIT(
            {
                WriteFilesAllOrNothing(set, {}, &seams);
            },
            ::testing::KilledBySignal(SIGTERM), "");
        for (const auto& name : names) EXPECT_EQ(ReadBytes(dir.File(name)), kNew) << name;
        EXPECT_EQ(Names(), names) << (named ? "named" : "unnamed");
    }
}
#endif  // __EMSCRIPTEN__

// What a SIGKILL leaves is removed by the next write into the folder, but a
// temporary whose writer is alive (it holds the lock) and another user's are not.
TEST_F(FileAccessTest, NextWriteRemovesTemporariesNoLivingWriterHolds) {
    CORVANE_SKIP_IN_WEBASSEMBLY("Node's file system has no flock");
    WriteBytes(dir.File(".corvane-0badc0de.tmp"), kOld);
    WriteBytes(dir.File(".corvane-00c0ffee.tmp"), kOld);
    WriteBytes(dir.File(".corvane-notours.tmp"), kOld);
    const int alive = open(dir.File(".corvane-00c0ffee.tmp").c_str(), O_RDONLY);
    ASSERT_EQ(flock(alive, LOCK_EX), 0);
    ASSERT_TRUE(WriteFileWithReason(dir.File("a.pdb"), kNew).Ok());
    close(alive);
    EXPECT_EQ(Names(), (std::vector<std::string>{".corvane-00c0ffee.tmp", ".corvane-notours.tmp", "a.pdb"}));
}

// The kernel lets only the link's owner and the folder's owner follow a link
// in a sticky, world-writable folder; root reading the link itself must too.
TEST_F(FileAccessTest, LinkOfAnotherUserInASharedStickyFolderIsNotFollowed) {
    CORVANE_SKIP_IN_WEBASSEMBLY("Node's file system gives no file to another user");
    if (geteuid() != 0) GTEST_SKIP() << "a link owned by another user needs root to make";
    const auto shared = dir.File("shared"), secret = dir.File("secret"), link = shared + "/out.pdb";
    std::filesystem::create_directory(shared);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    WriteBytes(secret, kOld);
    std::filesystem::create_symlink(secret, link);
    ASSERT_EQ(lchown(link.c_str(), 65534, 65534), 0);
    EXPECT_EQ(WriteFileWithReason(link, kNew).Reason(),
              "a symbolic link in a shared sticky folder that belongs to another user is not followed");
    EXPECT_EQ(ReadBytes(secret), kOld);

    ASSERT_EQ(chmod(shared.c_str(), 0755), 0);  // an ordinary folder: the link is followed
    ASSERT_TRUE(WriteFileWithReason(link, kNew).Ok());
    EXPECT_EQ(ReadBytes(secret), kNew);
}

// The rule needs both: a folder only sticky or only world-writable lets the
// link through; and it holds for a link used as a folder of the path, where
// nothing may be created or written through it.
TEST_F(FileAccessTest, AnotherUsersLinkToAFolderIsRefusedAnywhereInThePath) {
    CORVANE_SKIP_IN_WEBASSEMBLY("Node's file system gives no file to another user");
    if (geteuid() != 0) GTEST_SKIP() << "a link owned by another user needs root to make";
    const auto shared = dir.File("sticky"), theirs = dir.File("theirs"), link = shared + "/link";
    std::filesystem::create_directory(shared);
    std::filesystem::create_directory(theirs);
    std::filesystem::create_directory_symlink(theirs, link);
    ASSERT_EQ(lchown(link.c_str(), 65534, 65534), 0);
    const std::string refused = "a symbolic link in a shared sticky folder that belongs to another user is not followed";
    const FileToWrite set[] = {{link + "/0.bmp", kNew}, {link + "/1.bmp", kNew}};
    const struct {
        mode_t mode;
        bool followed;
    } kModes[] = {{01777, false}, {01755, true}, {0777, true}};
    for (const auto& [mode, followed] : kModes) {
        SCOPED_TRACE(mode);
        std::filesystem::remove_all(theirs);
        std::filesystem::create_directory(theirs);
        ASSERT_EQ(chmod(shared.c_str(), mode), 0);
        const WriteResult one = WriteFileWithReason(link + "/x.pdb", kNew);
        const WriteResult both = WriteFilesAllOrNothing(set);
        const std::error_code made = CreateFolder(link + "/sub/deeper");
        const WriteResult through = WriteFileWithReason(link + "/../sticky/link/y.pdb", kNew);
        if (followed) {
            EXPECT_TRUE(one.Ok() && both.Ok() && through.Ok() && !made);
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(theirs), {}), 5);
        } else {
            EXPECT_EQ(one.Reason(), refused);
            EXPECT_EQ(both.Reason(), refused);
            EXPECT_EQ(made.message(), refused);
            EXPECT_EQ(through.Reason(), refused);
            EXPECT_TRUE(std::filesystem::is_empty(theirs));
        }
    }
}

// A command that reads standard input must not replace the file behind it,
// whether the output names it or /dev/stdin.
TEST_F(FileAccessTest, TheFileBehindStandardInputIsAnInput) {
    const auto picture = dir.File("p.png");
    WriteBytes(picture, kOld);
    const int saved = dup(STDIN_FILENO);
    const int file = open(picture.c_str(), O_RDONLY);
    ASSERT_GE(file, 0);
    ASSERT_EQ(dup2(file, STDIN_FILENO), STDIN_FILENO);
    const std::string stdinOnly[] = {std::string(kStandardInputName)};
    const WriteResult named = WriteFileWithReason(picture, kNew, stdinOnly);
    const WriteResult device = WriteFileWithReason("/dev/stdin", kNew, stdinOnly);
    const WriteResult other = WriteFileWithReason(dir.File("other.png"), kNew, stdinOnly);
    dup2(saved, STDIN_FILENO);
    close(saved);
    close(file);
    EXPECT_EQ(named.error, MakeErrorCode(WriteRefusal::SameAsInput));
    EXPECT_EQ(device.error, MakeErrorCode(WriteRefusal::SameAsInput));
    EXPECT_TRUE(other.Ok());
    EXPECT_EQ(ReadBytes(picture), kOld);
}

// Pipes, devices and folders are refused without being opened (opening a
// pipe would wait for a writer); a file over the limit without being read.
// A mapping holds to the same rules as a whole read and gives the same bytes.
TEST_F(FileAccessTest, ReadsOnlyRegularFilesUpToTheLimitWholeOrMapped) {
    struct Got {
        ReadProblem problem;
        std::vector<std::uint8_t> bytes;
    };
    struct Reader {
        const char* name;
        Got (*read)(const std::string& path, std::uint64_t limit);
    };
    const Reader readers[] = {
        {"whole", [](const std::string& path, std::uint64_t limit) {
             FileRead read = ReadFileAtMost(path, limit);
             return Got{read.problem, std::move(read.bytes)};
         }},
        {"mapped", [](const std::string& path, std::uint64_t limit) {
             const MappedRead read = MapFileAtMost(path, limit);
             const auto bytes = read.file.Bytes();
             // Whatever is not empty is mapped, not copied.
             EXPECT_EQ(read.file.Mapped(), !bytes.empty()) << path;
             return Got{read.problem, {bytes.begin(), bytes.end()}};
         }},
    };
    CORVANE_SKIP_IN_WEBASSEMBLY("Node's file system makes no FIFO");
    const auto fifo = dir.File("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const auto sparse = dir.File("sparse.pdb");
    WriteBytes(sparse, {});
    std::filesystem::resize_file(sparse, std::uint64_t{2} << 30);
    WriteBytes(dir.File("ten"), std::vector<std::uint8_t>(10, 7));
    WriteBytes(dir.File("empty"), {});
    struct Case {
        std::string path;
        std::uint64_t limit;
        ReadProblem problem;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {fifo, kDatabaseFileLimit, ReadProblem::NotRegularFile, {}},
        {"/dev/zero", kDatabaseFileLimit, ReadProblem::NotRegularFile, {}},
        {dir.Path().string(), kDatabaseFileLimit, ReadProblem::NotRegularFile, {}},
        {sparse, kDatabaseFileLimit, ReadProblem::TooLarge, {}},
        {dir.File("ten"), 10, ReadProblem::None, std::vector<std::uint8_t>(10, 7)},
        {dir.File("ten"), 9, ReadProblem::TooLarge, {}},
        {dir.File("empty"), 9, ReadProblem::None, {}},
        {dir.File("nope"), 9, ReadProblem::CouldNotOpen, {}},
    };
    for (const Reader& reader : readers) {
        for (const Case& c : cases) {
            const Got got = reader.read(c.path, c.limit);
            EXPECT_EQ(got.problem, c.problem) << reader.name << " " << c.path << " at most " << c.limit;
            EXPECT_EQ(got.bytes, c.bytes) << reader.name << " " << c.path;
        }
    }
    EXPECT_EQ(ReadProblemText(ReadProblem::TooLarge, kDatabaseFileLimit, "skin files"),
              "larger than 64 MiB, the limit for skin files");
}

}  // namespace
}  // namespace corvane
