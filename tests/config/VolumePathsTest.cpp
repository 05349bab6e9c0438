#include <gtest/gtest.h>

#include <string>

#include "config/ConfigFixture.h"
#include "config/DriveEntry.h"

namespace zv::test {
namespace {

class VolumePaths : public ConfigTest {
  protected:
    std::string mountE, mountF;
    void SetUp() override {
        ConfigTest::SetUp();
        mountE = at("media/e");
        mountF = at("media/f");
        makeDirs(mountE);
        makeDirs(mountF);
    }
    std::string resolve(const std::string& path) { return w().DriveLetterPath(path); }
};

TEST_F(VolumePaths, VolumeNameIsReplacedByItsMountPoint) {
    w().DriveList = {"/:=***", mountE + ":=MYDISK"};
    EXPECT_EQ(resolve("MYDISK/Backup"), mountE + "/Backup");
    EXPECT_EQ(resolve("MYDISK"), mountE);
    EXPECT_EQ(resolve("MYDISK/"), mountE + "/");
}

TEST_F(VolumePaths, TwoVolumesWithTheSameNameAreAmbiguous) {
    w().DriveList = {mountE + ":=MYDISK", mountF + ":=MYDISK"};
    EXPECT_EQ(resolve("MYDISK/Backup"), "");
}

TEST_F(VolumePaths, AVolumeNameMatchesOnlyAsAWholeFirstComponent) {
    w().DriveList = {mountE + ":=MYDISK", mountF + ":=MYDISK2"};
    EXPECT_EQ(resolve("MYDISK2/Backup"), mountF + "/Backup");
    EXPECT_EQ(resolve("MYDISK/Backup"), mountE + "/Backup");

    w().DriveList = {mountE + ":=MY"};
    EXPECT_EQ(resolve("MYDISK/Backup"), "");  // not <e>DISK/Backup
}

TEST_F(VolumePaths, LetterCaseMatters) {
    w().DriveList = {mountE + ":=MYDISK"};
    EXPECT_EQ(resolve("mydisk/Backup"), "");
}

TEST_F(VolumePaths, AbsolutePathsPassWhetherOrNotTheFolderExists) {
    w().DriveList = {mountE + ":=MYDISK"};
    EXPECT_EQ(resolve(mountE + "/Backup"), mountE + "/Backup");
    EXPECT_EQ(resolve("/no/such/folder"), "/no/such/folder");
}

TEST_F(VolumePaths, VolumesWithoutNameNeverMatch) {
    w().DriveList = {mountE + ":=***"};
    EXPECT_EQ(resolve("***/Backup"), "");
}

TEST_F(VolumePaths, EmptyAndOverlongPathsDoNotResolve) {
    w().DriveList = {mountE + ":=MYDISK"};
    EXPECT_EQ(resolve(""), "");
    EXPECT_EQ(resolve("/" + std::string(5000, 'a')), "");
    EXPECT_EQ(resolve("MYDISK/" + std::string(5000, 'a')), "");
}

TEST_F(VolumePaths, RelativePathsResolveOnlyWhenTheirFirstFolderExists) {
    w().DriveList = {};
    EXPECT_EQ(resolve("./x"), "./x");
    EXPECT_EQ(resolve("NoSuchVolume/Backup"), "");
}

TEST_F(VolumePaths, RootFileSystemWithALabel) {
    w().DriveList = {"/:=ROOT"};
    EXPECT_EQ(resolve("ROOT/srv/backup"), "/srv/backup");
    EXPECT_EQ(resolve("ROOT"), "/");
}

TEST_F(VolumePaths, MountPointsAndLabelsHoldingTheMarkAreSplitByWhatExists) {
    const std::string odd = at("media/A:=B");
    makeDirs(odd);
    w().DriveList = {odd + ":=A:=B"};
    EXPECT_EQ(resolve("A:=B/x"), odd + "/x");

    const std::string colon = at("media/c:drive");
    makeDirs(colon);
    w().DriveList = {colon + ":=DATA"};
    EXPECT_EQ(resolve("DATA/x"), colon + "/x");
}

TEST_F(VolumePaths, DriveEntrySplitting) {
    EXPECT_EQ(SplitDriveEntry(rig.fs, "/mnt/x:=LABEL").drive, "/mnt/x");
    EXPECT_EQ(SplitDriveEntry(rig.fs, "/mnt/x:=LABEL").label, "LABEL");
    EXPECT_EQ(SplitDriveEntry(rig.fs, "/mnt/x:=").label, "");
    EXPECT_EQ(SplitDriveEntry(rig.fs, "/mnt/x").drive, "/mnt/x");
    // Nothing exists: the last mark splits.
    EXPECT_EQ(SplitDriveEntry(rig.fs, "/no/a:=b:=c").drive, "/no/a:=b");
    // The longest existing drive part wins.
    makeDirs(at("p"));
    makeDirs(at("p:=q"));
    EXPECT_EQ(SplitDriveEntry(rig.fs, at("p:=q:=r")).drive, at("p:=q"));
    EXPECT_EQ(SplitDriveEntry(rig.fs, at("p:=q:=r")).label, "r");
}

TEST_F(VolumePaths, PathRootIsTheTopMostAncestor) {
    EXPECT_EQ(w().PathRoot("/a/b/c"), "/");
    EXPECT_EQ(w().PathRoot("/"), "/");
    EXPECT_EQ(w().PathRoot("MYDISK/Backup/Week"), "MYDISK");
    EXPECT_EQ(w().PathRoot("MYDISK"), "MYDISK");
    EXPECT_EQ(w().PathRoot(""), "");
}

}  // namespace
}  // namespace zv::test
