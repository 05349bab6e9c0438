#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/LinuxFileSystem.h"
#include "platform/MountTable.h"
#include "support/TempDir.h"

namespace zv {
namespace {

// A mount table as a desktop machine with a USB disk, a network share and
// the usual pseudo file systems has it.
const char* const kTable =
    "22 27 0:21 / /proc rw,relatime shared:5 - proc proc rw\n"
    "23 27 0:22 / /sys rw,relatime shared:6 - sysfs sysfs rw\n"
    "24 27 0:6 / /dev rw,relatime shared:2 - devtmpfs udev rw,size=123k\n"
    "25 24 0:23 / /dev/shm rw - tmpfs tmpfs rw\n"
    "26 24 0:24 / /dev/pts rw - devpts devpts rw,mode=600\n"
    "27 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "28 27 0:25 / /run rw - tmpfs tmpfs rw\n"
    "29 28 0:26 / /run/user/1000 rw - tmpfs tmpfs rw\n"
    "30 23 0:27 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
    "31 27 8:17 / /media/u/MY\\040DISK rw,nosuid shared:7 - vfat /dev/sdb1 rw\n"
    "32 27 0:28 / /mnt/share rw - cifs //server/share rw\n"
    "33 27 0:29 / /tmp rw - tmpfs tmpfs rw\n"
    "34 27 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
    "35 27 8:2 / /home rw - btrfs /dev/sda2 rw\n"
    "36 22 0:30 / /proc/sys/fs/binfmt_misc rw - autofs systemd-1 rw\n"
    "37 27 0:31 / /mnt/nfs rw - nfs4 server:/export rw\n"
    "38 27 0:32 / /mnt/ssh rw - fuse.sshfs u@host: rw\n"
    "39 27 8:33 / /run/media/u/STICK rw - ext4 /dev/sdc1 rw\n"
    "garbage line\n"
    "40 27 8:1 / /mnt/twice rw - ext4 /dev/sda1 rw\n"
    "41 27 8:3 / /mnt/twice rw - ext4 /dev/sda3 rw\n";

std::vector<std::string> mountPoints(const std::vector<MountEntry>& mounts) {
    std::vector<std::string> out;
    for (const MountEntry& m : mounts) out.push_back(m.mountPoint);
    return out;
}

TEST(MountTable, ParsesFieldsAndUnescapes) {
    std::vector<MountEntry> all = parseMountInfo(kTable);
    ASSERT_EQ(all.size(), 20u);
    EXPECT_EQ(all[9].mountPoint, "/media/u/MY DISK");
    EXPECT_EQ(all[9].fsType, "vfat");
    EXPECT_EQ(all[9].source, "/dev/sdb1");
    EXPECT_EQ(all[10].source, "//server/share");
}

TEST(MountTable, ParsesLinesWithoutOptionalFields) {
    std::vector<MountEntry> all = parseMountInfo("1 0 8:1 / / rw - ext4 /dev/vda rw");
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].mountPoint, "/");
    EXPECT_EQ(all[0].source, "/dev/vda");
    EXPECT_TRUE(parseMountInfo("1 0 8:1 / / rw ext4 /dev/vda rw").empty());  // no separator
    EXPECT_TRUE(parseMountInfo("1 0 8:1 / / rw - ext4").empty());            // no source
}

TEST(MountTable, UnescapesOctalAndHex) {
    EXPECT_EQ(unescapeOctal("a\\040b\\011c\\134d\\012"), "a b\tc\\d\n");
    EXPECT_EQ(unescapeOctal("trailing\\04"), "trailing\\04");
    EXPECT_EQ(unescapeOctal("\\999"), "\\999");
    EXPECT_EQ(unescapeHex("MY\\x20DISK"), "MY DISK");
    EXPECT_EQ(unescapeHex("Z\\xc3\\xbcrich"), "Z\xc3\xbcrich");
    EXPECT_EQ(unescapeHex("bad\\xZZ\\x2"), "bad\\xZZ\\x2");
}

TEST(MountTable, KeepsOnlyFileSystemsThatHoldUserFilesInTableOrder) {
    std::vector<MountEntry> user = userMounts(parseMountInfo(kTable));
    EXPECT_EQ(mountPoints(user), (std::vector<std::string>{"/", "/media/u/MY DISK", "/mnt/share",
                                                           "/tmp", "/home", "/mnt/nfs", "/mnt/ssh",
                                                           "/run/media/u/STICK", "/mnt/twice"}));
    EXPECT_EQ(user.back().source, "/dev/sda3");  // the visible one of two on the same point
}

TEST(MountTable, SingleFileBindMountsAreNoVolumes) {
    test::TempDir dir;
    test::writeFile(dir / "hosts", "x");
    std::string table = "1 0 8:1 / " + (dir / "hosts") + " rw - ext4 /dev/vda rw\n" + "2 0 8:1 / " +
                        dir.path() + " rw - ext4 /dev/vda rw\n";
    EXPECT_EQ(mountPoints(userMounts(parseMountInfo(table))), std::vector<std::string>{dir.path()});
}

TEST(MountTable, LongestMountPrefixHoldsAPath) {
    std::vector<MountEntry> all = parseMountInfo(kTable);
    EXPECT_EQ(mountHolding(all, "/media/u/MY DISK/Backup")->mountPoint, "/media/u/MY DISK");
    EXPECT_EQ(mountHolding(all, "/media/u/MY DISKETTE")->mountPoint, "/");
    EXPECT_EQ(mountHolding(all, "/home/u")->mountPoint, "/home");
    EXPECT_EQ(mountHolding(all, "/home")->mountPoint, "/home");
    EXPECT_EQ(mountHolding(all, "/homework")->mountPoint, "/");
    EXPECT_EQ(mountHolding(all, "/mnt/twice/x")->source, "/dev/sda3");
    EXPECT_EQ(mountHolding({}, "/x"), nullptr);
}

class InjectedMounts : public ::testing::Test {
  protected:
    void SetUp() override {
        test::writeFile(dir / "mountinfo", kTable);
        test::makeDirs(dir / "by-label");
        link("/dev/sda2", "HOME");
        link("/dev/sdz9", "ELSEWHERE");
        sources.mountInfoPath = dir / "mountinfo";
        sources.byLabelDir = dir / "by-label";
        sources.useBlkid = false;
    }
    void link(const std::string& target, const std::string& name) {
        ASSERT_EQ(symlink(target.c_str(), (dir / ("by-label/" + name)).c_str()), 0);
    }
    test::TempDir dir;
    MountSources sources;
};

TEST_F(InjectedMounts, LabelsComeFromTheByLabelFolder) {
    std::vector<MountEntry> all = parseMountInfo(kTable);
    EXPECT_EQ(labelOf(all[13], sources), "HOME");  // /home on /dev/sda2
    EXPECT_EQ(labelOf(all[10], sources), "");      // network share: no label
    EXPECT_EQ(labelOf(all[5], sources), "");       // /dev/sda1 has none
}

TEST_F(InjectedMounts, RelativeLinksResolveAgainstTheByLabelFolder) {
    test::makeDirs(dir / "dev/disk/by-label");
    ASSERT_EQ(symlink("../../sdb1", (dir / "dev/disk/by-label/MY\\x20DISK").c_str()), 0);
    MountSources s = sources;
    s.byLabelDir = dir / "dev/disk/by-label";
    EXPECT_EQ(labelOf({"/media/u/MY DISK", "vfat", dir / "dev/sdb1"}, s), "MY DISK");
    EXPECT_EQ(labelOf({"/media/u/other", "vfat", dir / "dev/sdb2"}, s), "");
}

TEST_F(InjectedMounts, LinkAndSourceNamingOneDeviceDifferentlyMatch) {
    // As with /dev/mapper names: the source is itself a link to the device.
    test::writeFile(dir / "dev/dm-0", "");
    test::makeDirs(dir / "dev/mapper");
    ASSERT_EQ(symlink("../dm-0", (dir / "dev/mapper/vg-root").c_str()), 0);
    test::makeDirs(dir / "dev/disk/by-label");
    ASSERT_EQ(symlink("../../dm-0", (dir / "dev/disk/by-label/ROOT").c_str()), 0);
    MountSources s = sources;
    s.byLabelDir = dir / "dev/disk/by-label";
    EXPECT_EQ(labelOf({"/", "ext4", dir / "dev/mapper/vg-root"}, s), "ROOT");
}

TEST_F(InjectedMounts, MissingByLabelFolderGivesNoLabel) {
    MountSources s = sources;
    s.byLabelDir = dir / "nothing-here";
    EXPECT_EQ(labelOf({"/home", "btrfs", "/dev/sda2"}, s), "");
}

TEST_F(InjectedMounts, ServiceListsVolumesWithLabels) {
    LinuxFileSystem fs(sources);
    std::vector<Volume> volumes = fs.volumes();
    ASSERT_EQ(volumes.size(), 9u);
    EXPECT_EQ(volumes[0].mountPoint, "/");
    EXPECT_EQ(volumes[0].label, "");
    EXPECT_EQ(volumes[4].mountPoint, "/home");
    EXPECT_EQ(volumes[4].label, "HOME");
}

TEST_F(InjectedMounts, ServiceNamesDriveAndVolumeOfAPath) {
    LinuxFileSystem fs(sources);
    EXPECT_EQ(fs.driveName("/home/u/data"), "/home");
    EXPECT_EQ(fs.driveName("/media/u/MY DISK/Backup"), "/media/u/MY DISK");
    EXPECT_EQ(fs.driveName("/media/u/MY DISK/../x"), "/");
    EXPECT_EQ(fs.driveName("/proc/1"), "/proc");
    std::string label;
    ASSERT_TRUE(fs.volumeName("/home/u/data", label).ok());
    EXPECT_EQ(label, "HOME");
    ASSERT_TRUE(fs.volumeName("/usr", label).ok());
    EXPECT_EQ(label, "");
    EXPECT_EQ(fs.volumeName("", label).number, kErrInvalidArgument);
}

TEST_F(InjectedMounts, UnreadableTableGivesNoVolumesAndNoDrive) {
    MountSources s = sources;
    s.mountInfoPath = dir / "missing";
    LinuxFileSystem fs(s);
    EXPECT_TRUE(fs.volumes().empty());
    EXPECT_EQ(fs.driveName("/home/x"), "/");
    std::string label = "stale";
    EXPECT_EQ(fs.volumeName("/home/x", label).number, kErrPathNotFound);
    EXPECT_EQ(label, "");
}

}  // namespace
}  // namespace zv
