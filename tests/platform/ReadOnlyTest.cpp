// Read-only semantics that hold for every user; the tests run as root, who
// would otherwise be allowed everything.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include "platform/Attributes.h"
#include "platform/LinuxFileSystem.h"
#include "support/TempDir.h"

namespace zv {
namespace {

using test::readFile;
using test::writeFile;

class ReadOnlyTest : public ::testing::Test {
  protected:
    void makeReadOnly(const std::string& path) {
        ASSERT_TRUE(fs.setAttributes(path, kAttrReadOnly).ok());
    }
    test::TempDir dir;
    LinuxFileSystem fs;
};

TEST_F(ReadOnlyTest, CopyOntoReadOnlyTargetIsRefusedAndLeavesIt) {
    writeFile(dir / "src", "new");
    writeFile(dir / "dst", "old");
    makeReadOnly(dir / "dst");
    EXPECT_EQ(fs.copyFile(dir / "src", dir / "dst").number, kErrAccessDenied);
    EXPECT_EQ(readFile(dir / "dst"), "old");
    // The logic clears the attributes and copies again.
    ASSERT_TRUE(fs.setAttributes(dir / "dst", 0).ok());
    EXPECT_TRUE(fs.copyFile(dir / "src", dir / "dst").ok());
    EXPECT_EQ(readFile(dir / "dst"), "new");
}

TEST_F(ReadOnlyTest, AFileWithoutAnyWriteBitIsReadOnly) {
    writeFile(dir / "f", "x");
    chmod((dir / "f").c_str(), 0444);
    std::uint32_t attributes = 0;
    ASSERT_TRUE(fs.getAttributes(dir / "f", attributes).ok());
    EXPECT_EQ(attributes, kAttrReadOnly);
    chmod((dir / "f").c_str(), 0464);  // a group write bit is enough to be writable
    ASSERT_TRUE(fs.getAttributes(dir / "f", attributes).ok());
    EXPECT_EQ(attributes, 0u);
}

TEST_F(ReadOnlyTest, DeleteWithoutForceRefusesReadOnlyFile) {
    writeFile(dir / "f", "x");
    makeReadOnly(dir / "f");
    EXPECT_EQ(fs.deleteFile(dir / "f", false).number, kErrAccessDenied);
    EXPECT_TRUE(fs.fileExists(dir / "f"));
    EXPECT_TRUE(fs.deleteFile(dir / "f", true).ok());
    EXPECT_FALSE(fs.fileExists(dir / "f"));
}

TEST_F(ReadOnlyTest, FolderDeleteWithoutForceRemovesNothingWhenSomethingIsReadOnly) {
    writeFile(dir / "top/a.txt", "a");
    writeFile(dir / "top/sub/b.txt", "b");
    writeFile(dir / "top/sub/deep/locked.txt", "c");
    writeFile(dir / "top/z.txt", "z");
    makeReadOnly(dir / "top/sub/deep/locked.txt");
    FsError e = fs.deleteFolder(dir / "top", false);
    EXPECT_EQ(e.number, kErrAccessDenied);
    EXPECT_NE(e.description.find("locked.txt"), std::string::npos);
    EXPECT_TRUE(fs.fileExists(dir / "top/a.txt"));
    EXPECT_TRUE(fs.fileExists(dir / "top/sub/b.txt"));
    EXPECT_TRUE(fs.fileExists(dir / "top/z.txt"));
    EXPECT_TRUE(fs.fileExists(dir / "top/sub/deep/locked.txt"));
    EXPECT_TRUE(fs.deleteFolder(dir / "top", true).ok());
    EXPECT_FALSE(fs.folderExists(dir / "top"));
}

TEST_F(ReadOnlyTest, ReadOnlyMarkOnAFolderInsideAlsoStopsTheDelete) {
    test::makeDirs(dir / "top/marked");
    ASSERT_TRUE(fs.setAttributes(dir / "top/marked", kAttrDirectory | kAttrReadOnly).ok());
    EXPECT_EQ(fs.deleteFolder(dir / "top", false).number, kErrAccessDenied);
    EXPECT_TRUE(fs.folderExists(dir / "top/marked"));
    // The mark itself is cleared the way the empty-folder pass does it.
    ASSERT_TRUE(fs.setAttributes(dir / "top/marked", 0).ok());
    EXPECT_TRUE(fs.deleteFolder(dir / "top", false).ok());
}

TEST_F(ReadOnlyTest, MarkedFolderStaysWritable) {
    test::makeDirs(dir / "bin");
    struct stat before {};
    ::stat((dir / "bin").c_str(), &before);
    ASSERT_TRUE(fs.setAttributes(dir / "bin", 17).ok());
    std::uint32_t attributes = 0;
    ASSERT_TRUE(fs.getAttributes(dir / "bin", attributes).ok());
    EXPECT_EQ(attributes, 17u);
    struct stat after {};
    ::stat((dir / "bin").c_str(), &after);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_TRUE(fs.writeTextFile(dir / "bin/inside.txt", "x").ok());
    EXPECT_TRUE(fs.copyFile(dir / "bin/inside.txt", dir / "bin/copy.txt").ok());
}

TEST_F(ReadOnlyTest, ReadOnlyFileCanBeRemovedFromTheTreeWithForce) {
    writeFile(dir / "top/f", "x");
    chmod((dir / "top/f").c_str(), 0400);
    EXPECT_EQ(fs.deleteFolder(dir / "top", false).number, kErrAccessDenied);
    EXPECT_TRUE(fs.deleteFolder(dir / "top", true).ok());
}

TEST_F(ReadOnlyTest, RecordedReadOnlyBitOnAFileCountsToo) {
    // As a Samba server may leave it: write bits present, read-only recorded.
    writeFile(dir / "f", "x");
    writeFile(dir / "src", "y");
    ASSERT_EQ(lsetxattr((dir / "f").c_str(), "user.DOSATTRIB", "0x21", 4, 0), 0);
    std::uint32_t attributes = 0;
    ASSERT_TRUE(fs.getAttributes(dir / "f", attributes).ok());
    EXPECT_EQ(attributes, kAttrReadOnly | kAttrArchive);
    EXPECT_EQ(fs.deleteFile(dir / "f", false).number, kErrAccessDenied);
    EXPECT_EQ(fs.copyFile(dir / "src", dir / "f").number, kErrAccessDenied);
    ASSERT_TRUE(fs.setAttributes(dir / "f", kAttrArchive).ok());
    ASSERT_TRUE(fs.getAttributes(dir / "f", attributes).ok());
    EXPECT_EQ(attributes, kAttrArchive);
    EXPECT_TRUE(fs.copyFile(dir / "src", dir / "f").ok());
}

}  // namespace
}  // namespace zv
