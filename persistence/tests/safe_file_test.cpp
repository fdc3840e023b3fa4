#include "safe_file.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <ostream>
#include <stdexcept>

#include "file_fixtures.hpp"

namespace kelvra {
namespace {

namespace fs = std::filesystem;
using testing::AsOrdinaryUser;
using testing::FolderNames;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kOld = "[DEFAULTS]\r\nmode=1\r\nmine=precious\r\n";

TEST(SafeFileTest, WritesANewFileAndReplacesAnOldOne) {
    TempFolder folder;
    const fs::path file = folder / "kelvra71.ini";
    ASSERT_TRUE(WriteFileSafely(file, "first"));
    EXPECT_EQ(ReadBytes(file), "first");
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(WriteFileSafely(file, [](std::ostream& out) { out << "second"; }));
    EXPECT_EQ(ReadBytes(file), "second");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(FolderNames(folder.path()), std::vector<std::string>{"kelvra71.ini"});
}

// A failure while the contents are produced - a stream that reports a full disk, or a fault -
// leaves the old file as it was and no temporary file behind.
TEST(SafeFileTest, FailingContentsLeaveTheOldFile) {
    TempFolder folder;
    const fs::path file = folder / "project.kvj";
    WriteBytes(file, kOld);

    const IoStatus full = WriteFileSafely(file, [](std::ostream& out) {
        out << "[DEFAULTS]\r\nmo";
        out.setstate(std::ios::badbit);  // what a stream does when the disk is full
        out << "de=2\r\n";
    });
    EXPECT_FALSE(full);
    EXPECT_EQ(full.message, "Error writing " + file.string());

    const IoStatus thrown = WriteFileSafely(file, [](std::ostream& out) {
        out << "[DEFAULTS]\r\n";
        throw std::runtime_error("no more memory");
    });
    EXPECT_FALSE(thrown);
    EXPECT_EQ(thrown.message, "Error writing " + file.string());
    EXPECT_EQ(thrown.detail, "no more memory");

    EXPECT_EQ(ReadBytes(file), kOld);
    EXPECT_EQ(FolderNames(folder.path()), std::vector<std::string>{"project.kvj"});
}

// The disk fills up while the data is written: the file-size limit makes the system refuse the
// write exactly as a full disk does.
TEST(SafeFileTest, FullDiskLeavesTheOldFile) {
    TempFolder folder;
    const fs::path file = folder / "table.dat";
    WriteBytes(file, kOld);

    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const IoStatus status = WriteFileSafely(file, std::string(100000, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(status);
    EXPECT_EQ(status.message, "Error writing " + file.string());
    EXPECT_FALSE(status.detail.empty());
    EXPECT_EQ(ReadBytes(file), kOld);
    EXPECT_EQ(FolderNames(folder.path()), std::vector<std::string>{"table.dat"});
}

TEST(SafeFileTest, ReadOnlyFolderLeavesTheOldFile) {
    TempFolder folder;
    const fs::path file = folder / "kelvra71.ini";
    WriteBytes(file, kOld);
    ::chmod(folder.path().c_str(), 0555);
    IoStatus status;
    {
        AsOrdinaryUser user;
        if (!user.active) GTEST_SKIP() << "cannot drop root rights";
        status = WriteFileSafely(file, "new contents");
    }
    EXPECT_FALSE(status);
    EXPECT_EQ(status.message, "Unable to write to " + file.string());
    EXPECT_EQ(ReadBytes(file), kOld);
}

TEST(SafeFileTest, ReadOnlyFileIsNotReplaced) {
    TempFolder folder;
    const fs::path sub = folder / "user";
    fs::create_directory(sub);
    ::chmod(sub.c_str(), 0777);
    const fs::path file = sub / "kelvra71.ini";
    WriteBytes(file, kOld);
    ::chmod(file.c_str(), 0444);
    IoStatus status;
    {
        AsOrdinaryUser user;
        if (!user.active) GTEST_SKIP() << "cannot drop root rights";
        status = WriteFileSafely(file, "new contents");
    }
    EXPECT_FALSE(status);
    EXPECT_EQ(status.message, "Unable to write to " + file.string());
    EXPECT_EQ(ReadBytes(file), kOld);
}

TEST(SafeFileTest, MissingFolderOrAFolderInTheWay) {
    TempFolder folder;
    const fs::path missing = folder / "no such folder" / "kelvra71.ini";
    const IoStatus noFolder = WriteFileSafely(missing, "x");
    EXPECT_FALSE(noFolder);
    EXPECT_EQ(noFolder.message, "Unable to write to " + missing.string());

    const fs::path inTheWay = folder / "table.dat";
    fs::create_directory(inTheWay);
    const IoStatus isFolder = WriteFileSafely(inTheWay, "x");
    EXPECT_FALSE(isFolder);
    EXPECT_EQ(isFolder.message, "Unable to write to " + inTheWay.string());
    EXPECT_TRUE(fs::is_directory(inTheWay));
}

TEST(SafeFileTest, SymbolicLinkStaysALink) {
    TempFolder folder;
    const fs::path real = folder / "real.ini";
    const fs::path link = folder / "kelvra71.ini";
    WriteBytes(real, kOld);
    fs::create_symlink("real.ini", link);
    ASSERT_TRUE(WriteFileSafely(link, "replaced"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), "replaced");
}

TEST(SafeFileTest, ReadingRefusesWhatIsNoFileOrTooLarge) {
    TempFolder folder;
    const fs::path file = folder / "a.ini";
    WriteBytes(file, "0123456789");

    const FileContents whole = ReadWholeFile(file);
    EXPECT_TRUE(whole.status);
    EXPECT_EQ(whole.bytes, "0123456789");

    const FileContents large = ReadWholeFile(file, 9);
    EXPECT_FALSE(large.status);
    EXPECT_TRUE(large.exists);
    EXPECT_EQ(large.status.message, "Unable to read " + file.string());
    EXPECT_TRUE(large.bytes.empty());

    const FileContents missing = ReadWholeFile(folder / "none.ini");
    EXPECT_FALSE(missing.status);
    EXPECT_FALSE(missing.exists);

    const FileContents isFolder = ReadWholeFile(folder.path());
    EXPECT_FALSE(isFolder.status);
    EXPECT_TRUE(isFolder.exists);

    // A pipe would block a reader until someone writes into it: it is refused unopened.
    const fs::path pipe = folder / "pipe.ini";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const FileContents fromPipe = ReadWholeFile(pipe);
    EXPECT_FALSE(fromPipe.status);
}

}  // namespace
}  // namespace kelvra
