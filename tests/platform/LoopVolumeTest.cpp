// Volume labels of real, loop-mounted images (root only; skipped elsewhere).
#include <gtest/gtest.h>

#include <optional>

#include "ScratchMount.h"
#include "platform/LinuxFileSystem.h"
#include "support/TempDir.h"

namespace zv {
namespace {

std::optional<Volume> volumeAt(const std::vector<Volume>& volumes, const std::string& mountPoint) {
    for (const Volume& v : volumes)
        if (v.mountPoint == mountPoint) return v;
    return std::nullopt;
}

class LoopVolumeTest : public ::testing::Test {
  protected:
    LoopVolumeTest() {
        // This machine's udev may or may not keep a by-label folder; the
        // labels must come through the superblock either way.
        sources.byLabelDir = dir / "no-by-label";
    }
    test::TempDir dir;
    MountSources sources;
};

TEST_F(LoopVolumeTest, LabelOfAnExt4ImageIsReportedThroughTheSuperblock) {
    test::ScratchMount disk =
        test::ScratchMount::image(dir / "disk.img", dir / "mnt ZV ü", "8", "mkfs.ext4 -q -L ZVLBL");
    if (!disk.ok()) GTEST_SKIP() << disk.why();
    LinuxFileSystem fs(sources);
    std::string label;
    ASSERT_TRUE(fs.volumeName(disk.path() + "/Backup/week", label).ok());
    EXPECT_EQ(label, "ZVLBL");
    EXPECT_EQ(fs.driveName(disk.path() + "/Backup/week"), disk.path());
    EXPECT_EQ(fs.driveName(disk.path()), disk.path());
    std::optional<Volume> v = volumeAt(fs.volumes(), disk.path());
    ASSERT_TRUE(v.has_value()) << "mount point with a space and non-ASCII must be listed";
    EXPECT_EQ(v->label, "ZVLBL");
}

TEST_F(LoopVolumeTest, LabelWithASpace) {
    test::ScratchMount disk =
        test::ScratchMount::image(dir / "disk.img", dir / "m", "8", "mkfs.ext4 -q -L 'ZV DISK'");
    if (!disk.ok()) GTEST_SKIP() << disk.why();
    LinuxFileSystem fs(sources);
    std::optional<Volume> v = volumeAt(fs.volumes(), disk.path());
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->label, "ZV DISK");
}

TEST_F(LoopVolumeTest, ImageWithoutLabelHasAnEmptyOne) {
    test::ScratchMount disk =
        test::ScratchMount::image(dir / "disk.img", dir / "m", "8", "mkfs.ext4 -q");
    if (!disk.ok()) GTEST_SKIP() << disk.why();
    LinuxFileSystem fs(sources);
    std::string label = "stale";
    ASSERT_TRUE(fs.volumeName(disk.path(), label).ok());
    EXPECT_EQ(label, "");
    std::optional<Volume> v = volumeAt(fs.volumes(), disk.path());
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->label, "");
}

TEST_F(LoopVolumeTest, TwoLabelledImagesInMountOrder) {
    test::ScratchMount first =
        test::ScratchMount::image(dir / "a.img", dir / "a", "8", "mkfs.ext4 -q -L MYDISK");
    if (!first.ok()) GTEST_SKIP() << first.why();
    test::ScratchMount second =
        test::ScratchMount::image(dir / "b.img", dir / "b", "8", "mkfs.ext4 -q -L MYDISK2");
    if (!second.ok()) GTEST_SKIP() << second.why();
    LinuxFileSystem fs(sources);
    std::vector<Volume> volumes = fs.volumes();
    std::vector<std::string> order;
    for (const Volume& v : volumes)
        if (v.mountPoint == first.path() || v.mountPoint == second.path()) order.push_back(v.label);
    EXPECT_EQ(order, (std::vector<std::string>{"MYDISK", "MYDISK2"}));
}

TEST_F(LoopVolumeTest, ScratchTmpfsIsAVolumeWithoutLabel) {
    test::ScratchMount scratch = test::ScratchMount::tmpfs(dir / "t", "1m");
    if (!scratch.ok()) GTEST_SKIP() << scratch.why();
    LinuxFileSystem fs(sources);
    std::optional<Volume> v = volumeAt(fs.volumes(), scratch.path());
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->label, "");
    EXPECT_EQ(fs.driveName(scratch.path() + "/x"), scratch.path());
}

TEST(MachineVolumes, KernelPseudoFileSystemsAreNeverListed) {
    LinuxFileSystem fs;
    for (const Volume& v : fs.volumes()) {
        EXPECT_NE(v.mountPoint, "/proc");
        EXPECT_NE(v.mountPoint, "/sys");
        EXPECT_NE(v.mountPoint.rfind("/sys/", 0), 0u) << v.mountPoint;
        EXPECT_NE(v.mountPoint, "/dev/pts");
        EXPECT_NE(v.mountPoint, "/dev/shm");
    }
    EXPECT_FALSE(fs.driveName("/").empty());
}

}  // namespace
}  // namespace zv
