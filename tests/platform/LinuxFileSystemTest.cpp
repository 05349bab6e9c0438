#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/Attributes.h"
#include "platform/LinuxFileSystem.h"
#include "support/TempDir.h"

namespace zv {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

std::vector<std::string> names(const std::vector<Entry>& entries) {
    std::vector<std::string> out;
    for (const Entry& e : entries) out.push_back(e.name);
    std::sort(out.begin(), out.end());
    return out;
}

mode_t modeOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode & 07777;
}

class LinuxFileSystemTest : public ::testing::Test {
  protected:
    TempDir dir;
    LinuxFileSystem fs;
};

TEST_F(LinuxFileSystemTest, ListsFilesAndFoldersWithSizesAndDates) {
    writeFile(dir / "a.txt", "hello");
    test::makeDirs(dir / "sub");
    test::setTimes(dir / "a.txt", 1000000000, 1100000000);
    std::vector<Entry> files, folders;
    ASSERT_TRUE(fs.listFolder(dir.path(), files, folders).ok());
    ASSERT_EQ(names(files), std::vector<std::string>{"a.txt"});
    ASSERT_EQ(names(folders), std::vector<std::string>{"sub"});
    EXPECT_EQ(files[0].size, 5u);
    EXPECT_EQ(files[0].kind, EntryKind::File);
    EXPECT_EQ(files[0].modified.time_since_epoch(), std::chrono::seconds(1000000000));
    EXPECT_EQ(files[0].accessed.time_since_epoch(), std::chrono::seconds(1100000000));
    EXPECT_EQ(files[0].attributes, 0u);
    EXPECT_EQ(folders[0].attributes, kAttrDirectory);
}

TEST_F(LinuxFileSystemTest, ListingMissingFolderIsPathNotFound) {
    std::vector<Entry> files, folders;
    EXPECT_EQ(fs.listFolder(dir / "nope", files, folders).number, kErrPathNotFound);
    EXPECT_EQ(fs.listFolder("", files, folders).number, kErrInvalidArgument);
}

TEST_F(LinuxFileSystemTest, ExistenceTests) {
    writeFile(dir / "f", "x");
    test::makeDirs(dir / "d");
    EXPECT_TRUE(fs.fileExists(dir / "f"));
    EXPECT_FALSE(fs.fileExists(dir / "d"));
    EXPECT_TRUE(fs.folderExists(dir / "d"));
    EXPECT_FALSE(fs.folderExists(dir / "f"));
    EXPECT_FALSE(fs.fileExists(dir / "missing"));
    ASSERT_EQ(symlink((dir / "d").c_str(), (dir / "linkToFolder").c_str()), 0);
    ASSERT_EQ(symlink((dir / "f").c_str(), (dir / "linkToFile").c_str()), 0);
    EXPECT_FALSE(fs.folderExists(dir / "linkToFolder"));
    EXPECT_FALSE(fs.fileExists(dir / "linkToFolder"));
    EXPECT_TRUE(fs.fileExists(dir / "linkToFile"));
}

TEST_F(LinuxFileSystemTest, CreateFolderOneLevelOnly) {
    EXPECT_TRUE(fs.createFolder(dir / "one").ok());
    EXPECT_TRUE(fs.folderExists(dir / "one"));
    EXPECT_EQ(fs.createFolder(dir / "x/y").number, kErrPathNotFound);
    EXPECT_FALSE(fs.createFolder(dir / "one").ok());
}

TEST_F(LinuxFileSystemTest, CopyFileReplacesTargetAndKeepsTimesAndMode) {
    writeFile(dir / "src", "new content");
    writeFile(dir / "dst", "old");
    chmod((dir / "src").c_str(), 0640);
    test::setTimes(dir / "src", 1200000000, 1300000000);
    ASSERT_TRUE(fs.copyFile(dir / "src", dir / "dst").ok());
    Entry e;  // before reading the copy, which may touch its access time
    ASSERT_TRUE(fs.stat(dir / "dst", e).ok());
    EXPECT_EQ(e.modified.time_since_epoch(), std::chrono::seconds(1200000000));
    EXPECT_EQ(e.accessed.time_since_epoch(), std::chrono::seconds(1300000000));
    EXPECT_EQ(e.name, "dst");
    EXPECT_EQ(readFile(dir / "dst"), "new content");
    EXPECT_EQ(modeOf(dir / "dst"), 0640u);
}

TEST_F(LinuxFileSystemTest, CopyFileErrors) {
    writeFile(dir / "src", "x");
    EXPECT_EQ(fs.copyFile(dir / "missing", dir / "dst").number, kErrFileNotFound);
    EXPECT_EQ(fs.copyFile(dir / "src", dir / "nofolder/dst").number, kErrPathNotFound);
    EXPECT_EQ(fs.copyFile("", dir / "dst").number, kErrInvalidArgument);
}

TEST_F(LinuxFileSystemTest, DeleteFileAndFolder) {
    writeFile(dir / "f", "x");
    writeFile(dir / "d/e/g", "x");
    EXPECT_TRUE(fs.deleteFile(dir / "f", false).ok());
    EXPECT_FALSE(fs.fileExists(dir / "f"));
    EXPECT_EQ(fs.deleteFile(dir / "f", false).number, kErrFileNotFound);
    EXPECT_TRUE(fs.deleteFolder(dir / "d", false).ok());
    EXPECT_FALSE(fs.folderExists(dir / "d"));
    EXPECT_EQ(fs.deleteFolder(dir / "d", false).number, kErrPathNotFound);
}

TEST_F(LinuxFileSystemTest, FolderSizeSumsTree) {
    writeFile(dir / "t/a", "12345");
    writeFile(dir / "t/s/b", "123");
    std::uint64_t bytes = 0;
    ASSERT_TRUE(fs.folderSize(dir / "t", bytes).ok());
    EXPECT_EQ(bytes, 8u);
}

TEST_F(LinuxFileSystemTest, TextFiles) {
    std::string content;
    EXPECT_EQ(fs.readTextFile(dir / "none", content).number, kErrFileNotFound);
    EXPECT_TRUE(fs.createNewFile(dir / "log").ok());
    EXPECT_FALSE(fs.createNewFile(dir / "log").ok());
    EXPECT_TRUE(fs.appendToFile(dir / "log", "a\r\n").ok());
    EXPECT_TRUE(fs.appendToFile(dir / "log", "b\r\n").ok());
    ASSERT_TRUE(fs.readTextFile(dir / "log", content).ok());
    EXPECT_EQ(content, "a\r\nb\r\n");
    EXPECT_TRUE(fs.writeFileAtomic(dir / "init", "one").ok());
    EXPECT_TRUE(fs.writeFileAtomic(dir / "init", "two").ok());
    EXPECT_EQ(readFile(dir / "init"), "two");
    EXPECT_TRUE(fs.writeTextFile(dir / "plain", "three").ok());
    EXPECT_EQ(readFile(dir / "plain"), "three");
}

TEST_F(LinuxFileSystemTest, PathText) {
    EXPECT_EQ(fs.parentFolder("/a/b"), "/a");
    EXPECT_EQ(fs.parentFolder("/a"), "/");
    EXPECT_EQ(fs.parentFolder("/"), "");
    EXPECT_EQ(fs.parentFolder("DISK/x"), "DISK");
    EXPECT_EQ(fs.parentFolder("DISK"), "");
    EXPECT_EQ(fs.absolutePath("/a/./b/../c"), "/a/c");
}

}  // namespace
}  // namespace zv
