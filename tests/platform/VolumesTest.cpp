#include "PlatformTest.h"
#include "platform/linux/MountTable.h"

namespace zv::test {
namespace {

// A desktop machine's: a USB disk, network shares, pseudo file systems, a bind-mounted file.
const char* const kTable =
    "22 27 0:21 / /proc rw,relatime shared:5 - proc proc rw\n"
    "27 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "28 27 0:25 / /run rw - tmpfs tmpfs rw\n"
    "31 27 8:17 / /media/u/MY\\040DISK rw,nosuid shared:7 - vfat /dev/sdb1 rw\n"
    "32 27 0:28 / /mnt/share rw - cifs //server/share rw\n"
    "33 27 0:29 / /tmp rw - tmpfs tmpfs rw\n"
    "34 27 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
    "35 27 8:2 / /home rw - btrfs /dev/sda2 rw\n"
    "37 27 0:31 / /mnt/nfs rw - nfs4 server:/export rw\n"
    "38 27 0:32 / /mnt/ssh rw - fuse.sshfs u@host: rw\n"
    "39 27 8:33 / /run/media/u/STICK rw - ext4 /dev/sdc1 rw\n"
    "40 27 8:1 / /mnt/twice rw - ext4 /dev/sda1 rw\n"
    "41 27 8:3 / /mnt/twice rw - ext4 /dev/sda3 rw\n"
    "42 27 8:1 /hosts /etc/hosts rw - ext4 /dev/sda1 rw\n"
    "43 27 8:4 / /cut-short\n"
    "44 27 8:5 / /no-source rw - ext4\n";

std::vector<std::string> mountPoints(const std::vector<MountEntry>& mounts) {
    std::vector<std::string> out;
    for (const MountEntry& m : mounts) out.push_back(m.mountPoint + "=" + m.source);
    return out;
}

// User file systems in table order (the visible one of two); a path on the longest prefix.
TEST(MountTable, KeepsFileSystemsThatHoldUserFilesInTableOrder) {
    const std::vector<MountEntry> all = parseMountInfo(kTable);
    EXPECT_EQ(all.size(), 14u);
    EXPECT_EQ(mountPoints(userMounts(all)),
              (std::vector<std::string>{
                  "/=/dev/sda1", "/media/u/MY DISK=/dev/sdb1", "/mnt/share=//server/share",
                  "/tmp=tmpfs", "/home=/dev/sda2", "/mnt/nfs=server:/export",
                  "/mnt/ssh=u@host:", "/run/media/u/STICK=/dev/sdc1", "/mnt/twice=/dev/sda3"}));
    // Path -> the mount that holds it.
    const std::pair<const char*, const char*> holding[] = {
        {"/media/u/MY DISK/Backup", "/media/u/MY DISK=/dev/sdb1"},
        {"/home/u", "/home=/dev/sda2"},
        {"/homework", "/=/dev/sda1"},
        {"/mnt/twice/x", "/mnt/twice=/dev/sda3"}};
    for (const auto& [path, mount] : holding)
        EXPECT_EQ(mountPoints({*mountHolding(all, path)})[0], mount) << path;
    EXPECT_EQ(mountHolding({}, "/x"), nullptr);
}

using InjectedMounts = PlatformTest;

// Labels from the by-label folder (udev's escapes, links); a drive holds a path.
TEST_F(InjectedMounts, LabelsDrivesAndVolumes) {
    const std::string byLabel = dir / "dev/disk/by-label";
    writeFile(dir / "mountinfo", kTable);
    writeFile(dir / "dev/dm-0", "");
    makeDirs(dir / "dev/mapper");
    makeDirs(byLabel);
    link("/dev/sda2", byLabel + "/HOME");
    link("/dev/sdz9", byLabel + "/ELSEWHERE");
    link("../../sdb1", byLabel + "/MY\\x20DISK");
    link("../dm-0", dir / "dev/mapper/vg-root");
    link("../../dm-0", byLabel + "/ROOT");
    MountSources sources{dir / "mountinfo", byLabel, false};
    const std::pair<MountEntry, const char*> cases[] = {
        {{"/home", "btrfs", "/dev/sda2"}, "HOME"},
        {{"/", "ext4", "/dev/sda1"}, ""},
        {{"/mnt/share", "cifs", "//server/share"}, ""},
        {{"/m", "vfat", dir / "dev/sdb1"}, "MY DISK"},
        {{"/m", "vfat", dir / "dev/sdb2"}, ""},
        {{"/", "ext4", dir / "dev/mapper/vg-root"}, "ROOT"}};
    for (const auto& [mount, label] : cases)
        EXPECT_EQ(labelOf(mount, sources), label) << mount.source;
    LinuxFileSystem injected(sources);
    EXPECT_EQ(injected.driveName("/home/u/data") + injected.driveName("/media/u/MY DISK/../x"),
              "/home/");
    std::string label;
    EXPECT_EQ(injected.volumeName("", label).number, kErrInvalidArgument);
    sources.byLabelDir = dir / "nothing-here";
    EXPECT_EQ(labelOf({"/home", "btrfs", "/dev/sda2"}, sources), "");
    sources.mountInfoPath = dir / "missing";
    LinuxFileSystem unreadable(sources);
    EXPECT_EQ(unreadable.diskIsMounted("/home/x").number, kErrObjectNotAvailable);
    label = "stale";
    EXPECT_EQ(unreadable.volumeName("/home/x", label).number, kErrPathNotFound);
    EXPECT_EQ(label, "");
}

// A disk meant to be mounted and not: an unmounted fstab entry, or a folder below a
// removable-media folder on that folder's own file system.
TEST(MountTable, FoldersWhereADiskIsMissing) {
    const std::vector<std::string> fstab = parseFstabMountPoints(
        "# comment\nUUID=1 / ext4 defaults 0 1\nUUID=2 /home btrfs defaults 0 2\n"
        "LABEL=USB\t/mnt/usb\text4 noauto 0 0\n/swapfile none swap sw 0 0\n"
        "/dev/sdb1 /mnt/my\\040disk vfat noauto 0 0\nserver:/x /mnt/nfs/ nfs4 defaults 0 0\n"
        "/dev/sdd1 /mnt/swap swap sw 0 0\nincomplete line\n/dev/sde1 /mnt/th\\ree ext4\n");
    EXPECT_EQ(fstab, (std::vector<std::string>{"/home", "/mnt/usb", "/mnt/my disk", "/mnt/nfs",
                                               "/mnt/th\\ree"}));
    // Path -> the folder where a disk is missing ("" where none is).
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"/home/u/Backup", ""},                        {"/mnt/usb/Backup", "/mnt/usb"},
        {"/mnt/usb", "/mnt/usb"},                      {"/mnt/usbx/Backup", ""},
        {"/mnt/my disk/Week/B", "/mnt/my disk"},       {"/mnt/nfs/a", ""},
        {"/media/u/MY DISK/Backup", ""},               {"/media/u/OTHER/Backup", "/media/u/OTHER/Backup"},
        {"/media", ""},                                {"/run/media/u/STICK/x", ""},
        {"/run/media/u/GONE/x", "/run/media/u/GONE/x"}, {"/data/Backup", ""}};
    // clang-format on
    for (const auto& [path, missing] : cases)
        EXPECT_EQ(missingDiskFolder(parseMountInfo(kTable), fstab, {"/media", "/run/media"}, path),
                  missing)
            << path;
}

}  // namespace
}  // namespace zv::test
