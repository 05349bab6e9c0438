// Attributes kept in permission bits and in user.DOSATTRIB (as Samba reads
// it), and read-only semantics that hold for every user: the tests run as
// root, who would otherwise be allowed everything.
#include <sys/xattr.h>

#include "PlatformTest.h"
#include "platform/linux/DosAttributes.h"

namespace zv::test {
namespace {

TEST(DosAttribText, LowercaseHexWithPrefixAndNothingElse) {
    EXPECT_EQ(formatDosAttrib(0x26), "0x26");
    EXPECT_EQ(formatDosAttrib(0xab), "0xab");
    EXPECT_EQ(parseDosAttrib("0X2A"), 0x2au);
    EXPECT_EQ(parseDosAttrib("0xa1"), 0xa1u);
    EXPECT_EQ(parseDosAttrib(std::string_view("0x20\0\3\0binary", 13)), 0x20u);  // Samba's tail
    for (const char* bad : {"", "26", "0x", "0xzz", "0x123456789"})
        EXPECT_EQ(parseDosAttrib(bad), 0u) << bad;
}

class AttributesTest : public PlatformTest {
  protected:
    std::uint32_t attributesOf(const std::string& path) {
        std::uint32_t a = 0xffff;
        EXPECT_TRUE(fs.getAttributes(path, a).ok()) << path;
        return a;
    }
    std::string recorded(const std::string& path) {
        char buf[64];
        ssize_t n = lgetxattr(path.c_str(), "user.DOSATTRIB", buf, sizeof buf);
        return n < 0 ? "-" : std::string(buf, static_cast<std::size_t>(n));
    }
};

// Bits set -> what is recorded, the permission bits, the bits read back. The
// read-only bit of a file is its write bits; of a folder (a marked dustbin
// must stay writable) only a record. A leading dot hides without a record;
// a link takes nothing, and what it points at neither.
TEST_F(AttributesTest, BitsAreRecordedExceptWhatThePathAlreadySays) {
    writeFile(dir / "in/f", "x");
    chmod((dir / "in/f").c_str(), 0644);
    makeDirs(dir / "bin");
    chmod((dir / "bin").c_str(), 0755);
    writeFile(dir / ".profile", "x");
    writeFile(dir / "target", "t");
    link("target", dir / "link");
    const struct {
        const char* path;
        std::uint32_t set;
        const char* record;
        mode_t mode;
        std::uint32_t read;
    } cases[] = {{"in/f", 38, "0x26", 0644, 38},
                 {"in/f", kAttrReadOnly | kAttrHidden, "0x2", 0444, kAttrReadOnly | kAttrHidden},
                 {"in/f", 0, "-", 0644, 0},  // gives back the owner's write bit
                 {"in/f", 39, "0x26", 0444, 39},
                 {"bin", 17, "0x1", 0755, 17},
                 {"bin", kAttrSystem, "0x4", 0755, kAttrDirectory | kAttrSystem},
                 {".profile", kAttrHidden, "-", 0644, kAttrHidden},
                 {".profile", 0, "-", 0644, kAttrHidden},
                 {"link", 38, "-", 0777, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " " + std::to_string(c.set));
        ASSERT_TRUE(fs.setAttributes(dir / c.path, c.set).ok());
        EXPECT_EQ(recorded(dir / c.path), c.record);
        EXPECT_EQ(modeOf(dir / c.path), c.mode);
        EXPECT_EQ(attributesOf(dir / c.path), c.read);
    }
    EXPECT_EQ(recorded(dir / "target"), "-");
    makeDirs(dir / ".cache");
    EXPECT_EQ(attributesOf(dir / ".cache"), kAttrDirectory | kAttrHidden);
    std::vector<Entry> files, folders;
    ASSERT_TRUE(fs.listFolder(dir / "in", files, folders).ok());
    EXPECT_EQ(files.at(0).attributes, 39u);
    // A copy carries the bits; a plain copy leaves no stale record behind.
    writeFile(dir / "plain", "p");
    ASSERT_TRUE(fs.setAttributes(dir / "in/f", 36).ok());
    ASSERT_TRUE(fs.copyFile(dir / "in/f", dir / "copy").ok());
    EXPECT_EQ(attributesOf(dir / "copy"), 36u);
    ASSERT_TRUE(fs.copyFile(dir / "plain", dir / "copy").ok());
    EXPECT_EQ(attributesOf(dir / "copy"), 0u);
    // Without extended attributes the bits are dropped silently.
    ScratchMount bare(dir / "ram", ScratchMount::Ramfs);
    if (!bare.ok()) GTEST_SKIP() << bare.why();
    EXPECT_TRUE(fs.copyFile(dir / "copy", bare.path() + "/copy.txt").ok());
    EXPECT_TRUE(fs.setAttributes(bare.path() + "/copy.txt", 38).ok());
    EXPECT_EQ(attributesOf(bare.path() + "/copy.txt"), 0u);
    EXPECT_TRUE(fs.setAttributes(bare.path(), 17).ok());
}

TEST_F(AttributesTest, ReadOnlyFilesAreNeitherOverwrittenNorDeletedWithoutForce) {
    writeFile(dir / "src", "new");
    writeFile(dir / "bits", "old");
    chmod((dir / "bits").c_str(), 0444);
    EXPECT_EQ(attributesOf(dir / "bits"), kAttrReadOnly);
    // As a Samba server may leave it: write bits present, read-only recorded.
    writeFile(dir / "samba", "old");
    ASSERT_EQ(lsetxattr((dir / "samba").c_str(), "user.DOSATTRIB", "0x21", 4, 0), 0);
    EXPECT_EQ(attributesOf(dir / "samba"), kAttrReadOnly | kAttrArchive);
    for (const std::string& target : {dir / "bits", dir / "samba"}) {
        EXPECT_EQ(fs.copyFile(dir / "src", target).number, kErrAccessDenied) << target;
        EXPECT_EQ(fs.deleteFile(target, false).number, kErrAccessDenied) << target;
        EXPECT_EQ(readFile(target), "old");
        // The logic clears the attributes and copies again.
        ASSERT_TRUE(fs.setAttributes(target, kAttrArchive).ok());
        EXPECT_TRUE(fs.copyFile(dir / "src", target).ok());
        EXPECT_EQ(readFile(target), "new");
    }
    chmod((dir / "src").c_str(), 0464);  // a group write bit is enough to be writable
    EXPECT_EQ(attributesOf(dir / "src"), 0u);
    ASSERT_TRUE(fs.setAttributes(dir / "src", kAttrReadOnly).ok());
    EXPECT_TRUE(fs.deleteFile(dir / "src", true).ok());
    EXPECT_FALSE(fs.fileExists(dir / "src"));
}

// A folder delete without force removes nothing while anything inside is
// read-only, a file or a marked folder.
TEST_F(AttributesTest, FolderDeleteWithoutForceRemovesNothingWhenAnythingIsReadOnly) {
    writeFile(dir / "top/a.txt", "a");
    writeFile(dir / "top/sub/deep/locked.txt", "c");
    ASSERT_TRUE(fs.setAttributes(dir / "top/sub/deep/locked.txt", kAttrReadOnly).ok());
    FsError e = fs.deleteFolder(dir / "top", false);
    EXPECT_EQ(e.number, kErrAccessDenied);
    EXPECT_NE(e.description.find("locked.txt"), std::string::npos);
    EXPECT_TRUE(fs.fileExists(dir / "top/a.txt"));
    EXPECT_TRUE(fs.deleteFolder(dir / "top/sub", true).ok());
    makeDirs(dir / "top/marked");
    ASSERT_TRUE(fs.setAttributes(dir / "top/marked", kAttrDirectory | kAttrReadOnly).ok());
    EXPECT_EQ(fs.deleteFolder(dir / "top", false).number, kErrAccessDenied);
    EXPECT_TRUE(fs.folderExists(dir / "top/marked"));
    ASSERT_TRUE(fs.setAttributes(dir / "top/marked", 0).ok());
    EXPECT_TRUE(fs.deleteFolder(dir / "top", false).ok());
    EXPECT_FALSE(fs.folderExists(dir / "top"));
}

}  // namespace
}  // namespace zv::test
