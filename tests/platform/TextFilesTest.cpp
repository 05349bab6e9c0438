#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "platform/Attributes.h"
#include "platform/LinuxFileSystem.h"
#include "support/TempDir.h"

namespace zv {
namespace {

using test::readFile;
using test::writeFile;

mode_t modeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

class TextFilesTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    LinuxFileSystem fs;
};

TEST_F(TextFilesTest, ReadsBytesUnchanged) {
    const std::string bytes = std::string("a\r\nb\0c\xe9\n", 8);
    writeFile(dir / "f", bytes);
    std::string content = "stale";
    ASSERT_TRUE(fs.readTextFile(dir / "f", content).ok());
    EXPECT_EQ(content, bytes);
}

TEST_F(TextFilesTest, CreateNewFileNeverOverwrites) {
    writeFile(dir / "Error.Log", "old lines\r\n");
    EXPECT_FALSE(fs.createNewFile(dir / "Error.Log").ok());
    EXPECT_EQ(readFile(dir / "Error.Log"), "old lines\r\n");
}

TEST_F(TextFilesTest, AppendAddsAtTheEnd) {
    writeFile(dir / "Error.Log", "old\r\n");
    ASSERT_TRUE(fs.appendToFile(dir / "Error.Log", "new\r\n").ok());
    EXPECT_EQ(readFile(dir / "Error.Log"), "old\r\nnew\r\n");
}

TEST_F(TextFilesTest, AtomicWriteKeepsModeAndRecordedBitsOfTheOldFile) {
    writeFile(dir / "Init.dat", "old");
    chmod((dir / "Init.dat").c_str(), 0640);
    ASSERT_TRUE(fs.setAttributes(dir / "Init.dat", kAttrArchive).ok());
    ASSERT_TRUE(fs.writeFileAtomic(dir / "Init.dat", "new").ok());
    EXPECT_EQ(readFile(dir / "Init.dat"), "new");
    EXPECT_EQ(modeOf(dir / "Init.dat"), 0640u);
    std::uint32_t attributes = 0;
    ASSERT_TRUE(fs.getAttributes(dir / "Init.dat", attributes).ok());
    EXPECT_EQ(attributes, kAttrArchive);
}

TEST_F(TextFilesTest, AtomicWriteThroughALinkReplacesTheLinkedFile) {
    writeFile(dir / "real.dat", "old");
    ASSERT_EQ(symlink("real.dat", (dir / "Init.dat").c_str()), 0);
    ASSERT_TRUE(fs.writeFileAtomic(dir / "Init.dat", "new").ok());
    EXPECT_EQ(readFile(dir / "real.dat"), "new");
    Entry e;
    ASSERT_TRUE(fs.stat(dir / "Init.dat", e).ok());
    EXPECT_EQ(e.kind, EntryKind::Symlink);
}

TEST_F(TextFilesTest, AtomicWriteRefusesAReadOnlyFile) {
    writeFile(dir / "Init.dat", "old");
    chmod((dir / "Init.dat").c_str(), 0444);
    EXPECT_EQ(fs.writeFileAtomic(dir / "Init.dat", "new").number, kErrAccessDenied);
    EXPECT_EQ(readFile(dir / "Init.dat"), "old");
}

TEST_F(TextFilesTest, AtomicWriteOfANewFileUsesTheUsualPermissions) {
    ASSERT_TRUE(fs.writeFileAtomic(dir / "new.dat", "x").ok());
    mode_t mask = umask(022);
    umask(mask);
    EXPECT_EQ(modeOf(dir / "new.dat"), 0666u & ~mask);
}

TEST_F(TextFilesTest, WriteInPlaceRefusesHiddenOrSystemFiles) {
    writeFile(dir / "Desktop.ini", "old");
    ASSERT_TRUE(fs.setAttributes(dir / "Desktop.ini", 38).ok());
    EXPECT_EQ(fs.writeTextFile(dir / "Desktop.ini", "new").number, kErrAccessDenied);
    EXPECT_EQ(readFile(dir / "Desktop.ini"), "old");
    ASSERT_TRUE(fs.setAttributes(dir / "Desktop.ini", kAttrSystem).ok());
    EXPECT_EQ(fs.writeTextFile(dir / "Desktop.ini", "new").number, kErrAccessDenied);
    ASSERT_TRUE(fs.setAttributes(dir / "Desktop.ini", kAttrArchive).ok());
    EXPECT_TRUE(fs.writeTextFile(dir / "Desktop.ini", "new").ok());
    EXPECT_EQ(readFile(dir / "Desktop.ini"), "new");
}

TEST_F(TextFilesTest, WriteInPlaceReplacesShorterContent) {
    writeFile(dir / "f", "a long old content");
    ASSERT_TRUE(fs.writeTextFile(dir / "f", "short").ok());
    EXPECT_EQ(readFile(dir / "f"), "short");
}

TEST_F(TextFilesTest, FolderIsNoTextFile) {
    test::makeDirs(dir / "d");
    std::string content;
    EXPECT_FALSE(fs.readTextFile(dir / "d", content).ok());
    EXPECT_FALSE(fs.writeTextFile(dir / "d", "x").ok());
    EXPECT_FALSE(fs.writeFileAtomic(dir / "d", "x").ok());
    EXPECT_TRUE(fs.folderExists(dir / "d"));
}

}  // namespace
}  // namespace zv
