#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "ScratchMount.h"
#include "platform/Attributes.h"
#include "platform/LinuxFileSystem.h"
#include "support/TempDir.h"

namespace zv {
namespace {

using test::readFile;
using test::writeFile;

std::vector<std::string> folderNames(const std::string& path) {
    std::vector<std::string> out;
    if (DIR* d = opendir(path.c_str())) {
        while (dirent* e = readdir(d)) {
            std::string name = e->d_name;
            if (name != "." && name != "..") out.push_back(name);
        }
        closedir(d);
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::string pattern(std::size_t size) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>('a' + (i * 7 + i / 4096) % 26);
    return s;
}

class FileCopyTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    LinuxFileSystem fs;
};

TEST_F(FileCopyTest, FullDiskLeavesTheOldTargetAndNoTemporaryFile) {
    test::ScratchMount small = test::ScratchMount::tmpfs(dir / "small", "1m");
    if (!small.ok()) GTEST_SKIP() << small.why();
    writeFile(dir / "big", pattern(2 * 1024 * 1024));
    writeFile(small.path() + "/target", "old backup copy");
    FsError e = fs.copyFile(dir / "big", small.path() + "/target");
    EXPECT_EQ(e.number, kErrDiskFull) << e.description;
    EXPECT_EQ(readFile(small.path() + "/target"), "old backup copy");
    EXPECT_EQ(folderNames(small.path()), std::vector<std::string>{"target"});
    // A new file that does not fit leaves nothing behind either.
    EXPECT_EQ(fs.copyFile(dir / "big", small.path() + "/fresh").number, kErrDiskFull);
    EXPECT_EQ(folderNames(small.path()), std::vector<std::string>{"target"});
}

TEST_F(FileCopyTest, CopiesAcrossFileSystemsCompletely) {
    test::ScratchMount other = test::ScratchMount::tmpfs(dir / "other", "8m");
    if (!other.ok()) GTEST_SKIP() << other.why();
    std::string content = pattern(3 * 1024 * 1024 + 17);
    writeFile(dir / "src", content);
    ASSERT_TRUE(fs.copyFile(dir / "src", other.path() + "/dst").ok());
    EXPECT_EQ(readFile(other.path() + "/dst"), content);
    ASSERT_TRUE(fs.copyFile(other.path() + "/dst", dir / "back").ok());
    EXPECT_EQ(readFile(dir / "back"), content);
    // Sizes around the copy buffer's smallest size, and nothing at all.
    for (const std::size_t size : {std::size_t{0}, std::size_t{100}, std::size_t{65535},
                                   std::size_t{65536}, std::size_t{65537}}) {
        const std::string small = pattern(size);
        writeFile(dir / "small", small);
        ASSERT_TRUE(fs.copyFile(dir / "small", other.path() + "/small").ok()) << size;
        EXPECT_EQ(readFile(other.path() + "/small"), small) << size;
    }
}

TEST_F(FileCopyTest, CopiesLargeAndEmptyFilesOnOneFileSystem) {
    std::string content = pattern(5 * 1024 * 1024 + 3);
    writeFile(dir / "src", content);
    ASSERT_TRUE(fs.copyFile(dir / "src", dir / "dst").ok());
    EXPECT_EQ(readFile(dir / "dst"), content);
    writeFile(dir / "empty", "");
    writeFile(dir / "dst", "something");
    ASSERT_TRUE(fs.copyFile(dir / "empty", dir / "dst").ok());
    EXPECT_EQ(readFile(dir / "dst"), "");
}

TEST_F(FileCopyTest, LeavesNoTemporaryFileBehind) {
    writeFile(dir / "a/src", "x");
    test::makeDirs(dir / "b");
    ASSERT_TRUE(fs.copyFile(dir / "a/src", dir / "b/dst").ok());
    EXPECT_EQ(folderNames(dir / "b"), std::vector<std::string>{"dst"});
}

TEST_F(FileCopyTest, CarriesPermissionBitsButNotSetUserBits) {
    writeFile(dir / "tool", "#!/bin/sh\n");
    chmod((dir / "tool").c_str(), 04755);
    ASSERT_TRUE(fs.copyFile(dir / "tool", dir / "copy").ok());
    struct stat st {};
    ::stat((dir / "copy").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0755u);
}

TEST_F(FileCopyTest, CarriesSubSecondTimes) {
    writeFile(dir / "src", "x");
    timespec times[2] = {{1500000000, 123456789}, {1400000000, 987654321}};
    ASSERT_EQ(utimensat(AT_FDCWD, (dir / "src").c_str(), times, 0), 0);
    ASSERT_TRUE(fs.copyFile(dir / "src", dir / "dst").ok());
    Entry src, dst;
    ASSERT_TRUE(fs.stat(dir / "src", src).ok());
    ASSERT_TRUE(fs.stat(dir / "dst", dst).ok());
    EXPECT_EQ(dst.modified, src.modified);
    EXPECT_EQ(dst.accessed, src.accessed);
    EXPECT_EQ(dst.modified.time_since_epoch(),
              std::chrono::seconds(1400000000) + std::chrono::nanoseconds(987654321));
}

TEST_F(FileCopyTest, ReadingTheSourceLeavesItsAccessTime) {
    writeFile(dir / "src", "x");
    test::setTimes(dir / "src", 1000000000, 1000000000);  // relatime would update this
    ASSERT_TRUE(fs.copyFile(dir / "src", dir / "dst").ok());
    Entry src;
    ASSERT_TRUE(fs.stat(dir / "src", src).ok());
    EXPECT_EQ(src.accessed.time_since_epoch(), std::chrono::seconds(1000000000));
}

TEST_F(FileCopyTest, SymbolicLinksAreCopiedAsLinks) {
    test::makeDirs(dir / "realFolder");
    ASSERT_EQ(symlink("realFolder", (dir / "toFolder").c_str()), 0);
    ASSERT_EQ(symlink("../nowhere", (dir / "dangling").c_str()), 0);
    test::makeDirs(dir / "out");
    ASSERT_TRUE(fs.copyFile(dir / "toFolder", dir / "out/toFolder").ok());
    ASSERT_TRUE(fs.copyFile(dir / "dangling", dir / "out/dangling").ok());
    char target[64] = {};
    ASSERT_GT(readlink((dir / "out/toFolder").c_str(), target, sizeof target - 1), 0);
    EXPECT_STREQ(target, "realFolder");
    Entry e;
    ASSERT_TRUE(fs.stat(dir / "out/dangling", e).ok());
    EXPECT_EQ(e.kind, EntryKind::Symlink);
    // Copying again replaces the link itself, never what it points to.
    writeFile(dir / "plain", "p");
    ASSERT_TRUE(fs.copyFile(dir / "plain", dir / "out/toFolder").ok());
    EXPECT_EQ(readFile(dir / "out/toFolder"), "p");
    EXPECT_TRUE(fs.folderExists(dir / "realFolder"));
    EXPECT_EQ(folderNames(dir / "out"), (std::vector<std::string>{"dangling", "toFolder"}));
}

TEST_F(FileCopyTest, FifoSourceIsRefusedAtOnce) {
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0644), 0);
    auto start = std::chrono::steady_clock::now();
    FsError e = fs.copyFile(dir / "pipe", dir / "copy");
    EXPECT_EQ(e.number, kErrAccessDenied);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(fs.fileExists(dir / "copy"));
}

TEST_F(FileCopyTest, DeviceSourceIsRefused) {
    EXPECT_EQ(fs.copyFile("/dev/null", dir / "copy").number, kErrAccessDenied);
    EXPECT_EQ(fs.copyFile("/dev/zero", dir / "copy").number, kErrAccessDenied);
    EXPECT_FALSE(fs.fileExists(dir / "copy"));
}

TEST_F(FileCopyTest, FolderAsTargetIsRefusedAndFolderAsSourceIsNoFile) {
    writeFile(dir / "src", "x");
    test::makeDirs(dir / "folder");
    EXPECT_EQ(fs.copyFile(dir / "src", dir / "folder").number, kErrAccessDenied);
    EXPECT_TRUE(fs.folderExists(dir / "folder"));
    EXPECT_EQ(fs.copyFile(dir / "folder", dir / "x").number, kErrFileNotFound);
}

TEST_F(FileCopyTest, NamesWithSpacesAndNonAscii) {
    const std::string name = "Vakantie foto's — Zürich é 日本.txt";
    writeFile(dir / ("bron map/" + name), "inhoud");
    test::makeDirs(dir / "doel map ü");
    ASSERT_TRUE(fs.copyFile(dir / ("bron map/" + name), dir / ("doel map ü/" + name)).ok());
    EXPECT_EQ(readFile(dir / ("doel map ü/" + name)), "inhoud");
    std::vector<Entry> files, folders;
    ASSERT_TRUE(fs.listFolder(dir / "doel map ü", files, folders).ok());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].name, name);
}

TEST_F(FileCopyTest, RelativePathsWork) {
    writeFile(dir / "src", "rel");
    char* old = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    FsError e = fs.copyFile("src", "dst");
    EXPECT_EQ(chdir(old), 0);
    free(old);
    EXPECT_TRUE(e.ok()) << e.description;
    EXPECT_EQ(readFile(dir / "dst"), "rel");
}

}  // namespace
}  // namespace zv
