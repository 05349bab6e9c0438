// Attributes kept in permission bits and in user.DOSATTRIB (as Samba reads it).
#include "PlatformTest.h"
#include "platform/linux/DosAttributes.h"

namespace zv::test {
namespace {

TEST(DosAttribText, LowercaseHexWithPrefixAndNothingElse) {
    EXPECT_EQ(formatDosAttrib(0x26) + formatDosAttrib(0xab), "0x260xab");
    // Text -> bits; Samba may leave binary data after the text.
    const std::pair<std::string, std::uint32_t> cases[] = {
        {"0X2A", 0x2a}, {"0xa1", 0xa1},    {std::string("0x20\0\3\0binary", 13), 0x20},
        {"", 0},        {"26", 0},         {"0x", 0},
        {"0xzz", 0},    {"0x123456789", 0}};
    for (const auto& [text, bits] : cases) EXPECT_EQ(parseDosAttrib(text), bits) << text;
}

using AttributesTest = PlatformTest;

// Bits set -> record, permission bits, bits read back. A file's read-only bit is its write
// bits, a folder's only a record; a leading dot hides; a link (nor its target) takes nothing.
TEST_F(AttributesTest, BitsAreRecordedExceptWhatThePathAlreadySays) {
    writeFile(dir / "in/f", "x");
    chmod((dir / "in/f").c_str(), 0644);
    makeDirs(dir / "bin");
    chmod((dir / "bin").c_str(), 0755);
    writeFile(dir / ".profile", "x");
    writeFile(dir / "target", "t");
    link("target", dir / "link");
    const auto attributesOf = [&](const std::string& path) {
        std::uint32_t a = 0xffff;
        EXPECT_TRUE(fs.getAttributes(path, a).ok()) << path;
        return a;
    };
    const std::tuple<const char*, std::uint32_t, const char*, mode_t, std::uint32_t> cases[] = {
        {"in/f", 38, "0x26", 0644, 38},
        {"in/f", kAttrReadOnly | kAttrHidden, "0x2", 0444, kAttrReadOnly | kAttrHidden},
        {"in/f", 0, "-", 0644, 0},  // gives back the owner's write bit
        {"in/f", 39, "0x26", 0444, 39},
        {"in/f", 39, "0x26", 0444, 39},  // stays read-only
        {"bin", 17, "0x1", 0755, 17},
        {"bin", kAttrSystem, "0x4", 0755, kAttrDirectory | kAttrSystem},
        {".profile", kAttrHidden, "-", 0644, kAttrHidden},
        {".profile", 0, "-", 0644, kAttrHidden},
        {"link", 38, "-", 0777, 0}};
    for (const auto& [path, set, record, mode, read] : cases) {
        SCOPED_TRACE(std::string(path) + " " + std::to_string(set));
        ASSERT_TRUE(fs.setAttributes(dir / path, set).ok());
        EXPECT_EQ(xattrOf(dir / path, "user.DOSATTRIB"), record);
        EXPECT_EQ(std::pair(modeOf(dir / path), attributesOf(dir / path)), std::pair(mode, read));
    }
    EXPECT_EQ(xattrOf(dir / "target", "user.DOSATTRIB"), "-");
    // A plain copy leaves no stale record behind.
    writeFile(dir / "plain", "p");
    ASSERT_TRUE(fs.setAttributes(dir / "in/f", 36).ok());
    ASSERT_TRUE(fs.copyFile(dir / "plain", dir / "in/f").ok());
    EXPECT_EQ(attributesOf(dir / "in/f"), 0u);
    // A record that cannot be taken away (a read-only disk) is a failure.
    ScratchMount disk(dir / "disk", ScratchMount::Tmpfs, "1m");
    if (!disk.ok()) GTEST_SKIP() << disk.why();
    makeDirs(disk.path() + "/bin");
    ASSERT_TRUE(fs.setAttributes(disk.path() + "/bin", kAttrSystem).ok());
    ASSERT_EQ(mount(nullptr, disk.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    EXPECT_EQ(fs.setAttributes(disk.path() + "/bin", 0).number, kErrAccessDenied);
}

}  // namespace
}  // namespace zv::test
