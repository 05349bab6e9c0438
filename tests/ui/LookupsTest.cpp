#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/LinuxFileSystem.h"
#include "support/TestRig.h"

namespace zv::test {
namespace {

// A mount table with three user volumes (one without a label) and the
// kernel's own file systems, which are no drives.
class DriveListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        makeDirs(rig.root / "labels");
        makeDirs(rig.root / "media/DATA1");
        makeDirs(rig.root / "media/nolabel");
        makeDirs(rig.root / "media/BACKUP");
        ASSERT_EQ(symlink("/dev/zvtest-a1", (rig.root / "labels/DATA1").c_str()), 0);
        ASSERT_EQ(symlink("/dev/zvtest-c1", (rig.root / "labels/BACKUP").c_str()), 0);
        const std::string m = rig.root / "media";
        writeFile(rig.root / "mountinfo",
                  "20 1 0:20 / /proc rw - proc proc rw\n"
                  "21 1 8:1 / " +
                      m +
                      "/DATA1 rw - ext4 /dev/zvtest-a1 rw\n"
                      "22 1 0:21 / /sys rw - sysfs sysfs rw\n"
                      "23 1 8:2 / " +
                      m +
                      "/nolabel rw - ext4 /dev/zvtest-b1 rw\n"
                      "24 1 8:3 / " +
                      m + "/BACKUP rw - vfat /dev/zvtest-c1 rw\n");
    }

    TestRig rig;
};

TEST_F(DriveListTest, OneEntryPerUserVolumeInMountOrder) {
    LinuxFileSystem fs(MountSources{rig.root / "mountinfo", rig.root / "labels", false});
    rig.rebuildWindow(fs);
    rig.w().GetDriveList();
    const std::string m = rig.root / "media";
    EXPECT_EQ(rig.w().DriveList, (std::vector<std::string>{m + "/DATA1:=DATA1", m + "/nolabel:=***",
                                                           m + "/BACKUP:=BACKUP"}));
}

TEST_F(DriveListTest, IsBuiltAfreshEachTime) {
    LinuxFileSystem fs(MountSources{rig.root / "mountinfo", rig.root / "labels", false});
    rig.rebuildWindow(fs);
    rig.w().DriveList = {"stale:=OLD"};
    rig.w().GetDriveList();
    rig.w().GetDriveList();
    EXPECT_EQ(rig.w().DriveList.size(), 3u);
}

TEST(DesktopName, IsTheLastPieceOfTheDesktopPath) {
    TestRig rig;
    rig.w().svc.env.desktopPath = "/home/anna/Bureaublad";
    EXPECT_EQ(rig.w().GetDesktopName(), "Bureaublad");
    EXPECT_EQ(rig.w().DesktopPath, "/home/anna/Bureaublad");
}

TEST(DesktopName, WithoutSeparatorIsThePathItself) {
    TestRig rig;
    rig.w().svc.env.desktopPath = "Desktop";
    EXPECT_EQ(rig.w().GetDesktopName(), "Desktop");
}

TEST(DesktopName, TrailingSeparatorDoesNotEmptyTheName) {
    TestRig rig;
    rig.w().svc.env.desktopPath = "/home/anna/Desktop/";
    EXPECT_EQ(rig.w().GetDesktopName(), "Desktop");
}

TEST(DesktopName, EmptyWhenUnknown) {
    TestRig rig;
    rig.w().svc.env.desktopPath.clear();
    EXPECT_EQ(rig.w().GetDesktopName(), "");
}

TEST(ComputerName, WithoutBackslashIsUnchanged) {
    TestRig rig;
    rig.w().svc.env.computerName = "werkplek-7";
    EXPECT_EQ(rig.w().GetComputerName(), "werkplek-7");
}

TEST(ComputerName, IsCutBeforeABackslash) {
    TestRig rig;
    rig.w().svc.env.computerName = "Deze computer\\extra";
    EXPECT_EQ(rig.w().GetComputerName(), "Deze computer");
}

}  // namespace
}  // namespace zv::test
