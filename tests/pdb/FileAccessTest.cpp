#include "pdb/FileAccess.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "support/TempDir.h"

namespace corvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class FileAccessTest : public ::testing::Test {
protected:
    void TearDown() override { SetWriteFaultForTesting(WriteFault::None); }
    TempDir dir;
};

TEST_F(FileAccessTest, WritesAndReadsWholeFile) {
    const std::vector<std::uint8_t> bytes{1, 2, 3, 0, 255};
    const auto path = dir.File("a.pdb");
    ASSERT_EQ(WriteFileReplacing(path, bytes), WriteOutcome::Ok);
    EXPECT_EQ(ReadWholeFile(path), bytes);
    EXPECT_TRUE(FileExists(path));
}

TEST_F(FileAccessTest, ReplacingKeepsNoTemporaryBehind) {
    const auto path = dir.File("a.pdb");
    WriteBytes(path, {9, 9, 9, 9, 9, 9});
    ASSERT_EQ(WriteFileReplacing(path, std::vector<std::uint8_t>{1}), WriteOutcome::Ok);
    EXPECT_EQ(ReadBytes(path), std::vector<std::uint8_t>{1});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(FileAccessTest, FailedWriteLeavesPreviousFileIntact) {
    const auto path = dir.File("a.pdb");
    WriteBytes(path, {9, 8, 7});
    SetWriteFaultForTesting(WriteFault::WriteFails);
    EXPECT_EQ(WriteFileReplacing(path, std::vector<std::uint8_t>{1, 2}), WriteOutcome::WriteFailed);
    EXPECT_EQ(ReadBytes(path), (std::vector<std::uint8_t>{9, 8, 7}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(FileAccessTest, UncreatableFileIsCouldNotOpen) {
    EXPECT_EQ(WriteFileReplacing(dir.File("missing/a.pdb"), std::vector<std::uint8_t>{1}), WriteOutcome::CouldNotOpen);
    EXPECT_EQ(WriteFileReplacing(dir.Path().string(), std::vector<std::uint8_t>{1}), WriteOutcome::CouldNotOpen);
    SetWriteFaultForTesting(WriteFault::CannotOpen);
    EXPECT_EQ(WriteFileReplacing(dir.File("b.pdb"), std::vector<std::uint8_t>{1}), WriteOutcome::CouldNotOpen);
    EXPECT_FALSE(FileExists(dir.File("b.pdb")));
}

TEST_F(FileAccessTest, ReadingMissingFileOrFolderGivesNothing) {
    EXPECT_FALSE(ReadWholeFile(dir.File("nope")).has_value());
    EXPECT_FALSE(ReadWholeFile(dir.Path().string()).has_value());
    WriteBytes(dir.File("empty"), {});
    ASSERT_TRUE(ReadWholeFile(dir.File("empty")).has_value());
    EXPECT_TRUE(ReadWholeFile(dir.File("empty"))->empty());
}

// Pipes, devices and folders are refused without being opened (opening a
// pipe would wait for a writer); a file over the limit without being read.
TEST_F(FileAccessTest, ReadsOnlyRegularFilesUpToTheLimit) {
    const auto fifo = dir.File("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero"), dir.Path().string()})
        EXPECT_EQ(ReadFileAtMost(path, kDatabaseFileLimit).problem, ReadProblem::NotRegularFile) << path;

    const auto sparse = dir.File("sparse.pdb");
    WriteBytes(sparse, {});
    std::filesystem::resize_file(sparse, std::uint64_t{2} << 30);
    EXPECT_EQ(ReadFileAtMost(sparse, kDatabaseFileLimit).problem, ReadProblem::TooLarge);
    EXPECT_EQ(ReadProblemText(ReadProblem::TooLarge, kDatabaseFileLimit, "skin files"),
              "larger than 64 MiB, the limit for skin files");

    WriteBytes(dir.File("ten"), std::vector<std::uint8_t>(10, 7));
    EXPECT_EQ(ReadFileAtMost(dir.File("ten"), 10).bytes, std::vector<std::uint8_t>(10, 7));
    EXPECT_EQ(ReadFileAtMost(dir.File("ten"), 9).problem, ReadProblem::TooLarge);
    EXPECT_EQ(ReadFileAtMost(dir.File("nope"), 9).problem, ReadProblem::CouldNotOpen);
}

}  // namespace
}  // namespace corvane
