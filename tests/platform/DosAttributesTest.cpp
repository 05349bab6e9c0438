#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include "ScratchMount.h"
#include "platform/Attributes.h"
#include "platform/DosAttributes.h"
#include "platform/LinuxFileSystem.h"
#include "support/TempDir.h"

namespace zv {
namespace {

using test::writeFile;

// The raw recorded value, or "(none)".
std::string recordedText(const std::string& path) {
    char buf[64];
    ssize_t n = lgetxattr(path.c_str(), "user.DOSATTRIB", buf, sizeof buf);
    return n < 0 ? "(none)" : std::string(buf, static_cast<std::size_t>(n));
}

mode_t modeOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(DosAttribText, FormatsLowercaseHexWithPrefix) {
    EXPECT_EQ(formatDosAttrib(0x26), "0x26");
    EXPECT_EQ(formatDosAttrib(1), "0x1");
    EXPECT_EQ(formatDosAttrib(0xab), "0xab");
}

TEST(DosAttribText, ParsesHexAndIgnoresWhatFollowsANul) {
    EXPECT_EQ(parseDosAttrib("0x26"), 0x26u);
    EXPECT_EQ(parseDosAttrib("0X2A"), 0x2au);
    EXPECT_EQ(parseDosAttrib(std::string_view("0x20\0\3\0binary", 13)), 0x20u);
    EXPECT_EQ(parseDosAttrib(""), 0u);
    EXPECT_EQ(parseDosAttrib("26"), 0u);
    EXPECT_EQ(parseDosAttrib("0x"), 0u);
    EXPECT_EQ(parseDosAttrib("0xzz"), 0u);
    EXPECT_EQ(parseDosAttrib("0x123456789"), 0u);
}

class AttributeStore : public ::testing::Test {
  protected:
    std::uint32_t attributesOf(const std::string& path) {
        std::uint32_t a = 0xffff;
        EXPECT_TRUE(fs.getAttributes(path, a).ok()) << path;
        return a;
    }
    test::TempDir dir;
    LinuxFileSystem fs;
};

TEST_F(AttributeStore, FileBitsRoundTripThroughTheExtendedAttribute) {
    writeFile(dir / "Desktop.ini", "x");
    ASSERT_TRUE(fs.setAttributes(dir / "Desktop.ini", 38).ok());
    EXPECT_EQ(recordedText(dir / "Desktop.ini"), "0x26");
    EXPECT_EQ(attributesOf(dir / "Desktop.ini"), 38u);
    ASSERT_TRUE(fs.setAttributes(dir / "Desktop.ini", kAttrArchive).ok());
    EXPECT_EQ(recordedText(dir / "Desktop.ini"), "0x20");
    EXPECT_EQ(attributesOf(dir / "Desktop.ini"), kAttrArchive);
}

TEST_F(AttributeStore, ZeroRemovesTheRecordAndGivesBackOwnerWrite) {
    writeFile(dir / "f", "x");
    chmod((dir / "f").c_str(), 0644);
    ASSERT_TRUE(fs.setAttributes(dir / "f", kAttrReadOnly | kAttrHidden).ok());
    EXPECT_EQ(modeOf(dir / "f"), 0444u);
    EXPECT_EQ(recordedText(dir / "f"), "0x2");
    EXPECT_EQ(attributesOf(dir / "f"), kAttrReadOnly | kAttrHidden);
    ASSERT_TRUE(fs.setAttributes(dir / "f", 0).ok());
    EXPECT_EQ(modeOf(dir / "f"), 0644u);
    EXPECT_EQ(recordedText(dir / "f"), "(none)");
    EXPECT_EQ(attributesOf(dir / "f"), 0u);
}

TEST_F(AttributeStore, ReadOnlyOnAFileIsNeverRecorded) {
    writeFile(dir / "f", "x");
    ASSERT_TRUE(fs.setAttributes(dir / "f", kAttrReadOnly).ok());
    EXPECT_EQ(recordedText(dir / "f"), "(none)");
    EXPECT_EQ(modeOf(dir / "f") & 0222, 0u);
}

TEST_F(AttributeStore, FolderAlwaysReportsTheDirectoryBit) {
    test::makeDirs(dir / "d");
    EXPECT_EQ(attributesOf(dir / "d"), kAttrDirectory);
    ASSERT_TRUE(fs.setAttributes(dir / "d", 0).ok());
    EXPECT_EQ(attributesOf(dir / "d"), kAttrDirectory);
    ASSERT_TRUE(fs.setAttributes(dir / "d", kAttrDirectory | kAttrSystem | kAttrReadOnly).ok());
    EXPECT_EQ(recordedText(dir / "d"), "0x5");
    EXPECT_EQ(attributesOf(dir / "d"), kAttrDirectory | kAttrSystem | kAttrReadOnly);
}

TEST_F(AttributeStore, DotNamesAreHiddenWithoutARecord) {
    writeFile(dir / ".profile", "x");
    test::makeDirs(dir / ".cache");
    EXPECT_EQ(attributesOf(dir / ".profile"), kAttrHidden);
    EXPECT_EQ(attributesOf(dir / ".cache"), kAttrDirectory | kAttrHidden);
    ASSERT_TRUE(fs.setAttributes(dir / ".profile", kAttrHidden).ok());
    EXPECT_EQ(recordedText(dir / ".profile"), "(none)");
    ASSERT_TRUE(fs.setAttributes(dir / ".profile", 0).ok());
    EXPECT_EQ(attributesOf(dir / ".profile"), kAttrHidden);  // the name still hides it
}

TEST_F(AttributeStore, UnchangedValueIsNotWrittenAgain) {
    writeFile(dir / "f", "x");
    ASSERT_TRUE(fs.setAttributes(dir / "f", kAttrArchive).ok());
    struct stat first {};
    ::stat((dir / "f").c_str(), &first);
    ASSERT_TRUE(fs.setAttributes(dir / "f", kAttrArchive).ok());
    ASSERT_TRUE(fs.setAttributes(dir / "f", kAttrArchive).ok());
    struct stat second {};
    ::stat((dir / "f").c_str(), &second);
    EXPECT_EQ(second.st_ctim.tv_sec, first.st_ctim.tv_sec);
    EXPECT_EQ(second.st_ctim.tv_nsec, first.st_ctim.tv_nsec);
}

TEST_F(AttributeStore, ListingAndStatCarryTheSameAttributes) {
    writeFile(dir / "in/f", "x");
    ASSERT_TRUE(fs.setAttributes(dir / "in/f", 39).ok());
    std::vector<Entry> files, folders;
    ASSERT_TRUE(fs.listFolder(dir / "in", files, folders).ok());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].attributes, 39u);
    Entry e;
    ASSERT_TRUE(fs.stat(dir / "in/f", e).ok());
    EXPECT_EQ(e.attributes, 39u);
}

TEST_F(AttributeStore, CopyCarriesTheRecordedBits) {
    writeFile(dir / "src", "x");
    writeFile(dir / "dst", "old");
    ASSERT_TRUE(fs.setAttributes(dir / "src", 36).ok());
    ASSERT_TRUE(fs.setAttributes(dir / "dst", 2).ok());
    ASSERT_TRUE(fs.copyFile(dir / "src", dir / "dst").ok());
    EXPECT_EQ(attributesOf(dir / "dst"), 36u);
    writeFile(dir / "plain", "p");
    ASSERT_TRUE(fs.copyFile(dir / "plain", dir / "dst").ok());
    EXPECT_EQ(attributesOf(dir / "dst"), 0u);  // the old record goes with the old file
}

TEST_F(AttributeStore, LinksAndSpecialFilesTakeNothing) {
    ASSERT_EQ(symlink("nowhere", (dir / "link").c_str()), 0);
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0644), 0);
    EXPECT_TRUE(fs.setAttributes(dir / "link", 38).ok());
    EXPECT_TRUE(fs.setAttributes(dir / "fifo", 38).ok());
    EXPECT_EQ(attributesOf(dir / "link"), 0u);
    EXPECT_EQ(attributesOf(dir / "fifo"), 0u);
}

TEST_F(AttributeStore, FileSystemWithoutExtendedAttributesDropsThemSilently) {
    test::ScratchMount bare = test::ScratchMount::ramfs(dir / "ram");
    if (!bare.ok()) GTEST_SKIP() << bare.why();
    std::string f = bare.path() + "/file.txt";
    writeFile(f, "x");
    EXPECT_TRUE(fs.setAttributes(f, 38).ok());
    EXPECT_EQ(attributesOf(f), 0u);
    EXPECT_TRUE(fs.setAttributes(bare.path(), 17).ok());
    writeFile(dir / "src", "y");
    ASSERT_TRUE(fs.setAttributes(dir / "src", 38).ok());
    EXPECT_TRUE(fs.copyFile(dir / "src", bare.path() + "/copy.txt").ok());
    EXPECT_EQ(test::readFile(bare.path() + "/copy.txt"), "y");
}

}  // namespace
}  // namespace zv
