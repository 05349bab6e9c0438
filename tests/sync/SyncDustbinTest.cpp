#include <gtest/gtest.h>

#include "support/FaultInjectingFileSystem.h"
#include "sync/DriveLetterFileSystem.h"
#include "sync/SyncFixture.h"

namespace zv::test {
namespace {

using SyncDustbinTest = SyncFixture;

TEST_F(SyncDustbinTest, OrphansLandBelowTheSourcePathInTheDustbin) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/Sub/a.txt", "sub orphan");
    writeFile(dst + "/b.txt", "root orphan");
    useDustbinFolder();

    sync();

    EXPECT_FALSE(exists(dst + "/Sub/a.txt"));
    EXPECT_FALSE(exists(dst + "/b.txt"));
    EXPECT_EQ(readFile(inBin("Sub/a.txt")), "sub orphan");
    EXPECT_EQ(readFile(inBin("b.txt")), "root orphan");
    EXPECT_EQ(w().ItemsRemoved, 2);
    // Drives are mount points here: no per-drive folder, no drive mark.
    EXPECT_FALSE(exists(bin + "/Desktop.ini"));
    EXPECT_TRUE(rig.logLines().empty());
}

TEST_F(SyncDustbinTest, TheDustbinFolderIsUsedWithoutUseDustbin) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/o.txt", "x");
    useDustbinFolder();
    w().UseDustbin = false;

    sync();

    EXPECT_TRUE(exists(inBin("o.txt")));
    EXPECT_FALSE(exists(dst + "/o.txt"));
}

TEST_F(SyncDustbinTest, AMovedOrphanKeepsItsTimesAndAttributes) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/Sub/o.txt", "x");
    setTimes(dst + "/Sub/o.txt", 1'000'000'000, 1'000'000'000);
    setAttributes(dst + "/Sub/o.txt", kAttrHidden | kAttrArchive);
    useDustbinFolder();

    sync();

    Entry moved;
    ASSERT_TRUE(rig.fs.stat(inBin("Sub/o.txt"), moved).ok());
    EXPECT_EQ(
        std::chrono::duration_cast<std::chrono::seconds>(moved.modified.time_since_epoch()).count(),
        1'000'000'000);
    EXPECT_EQ(attributesOf(inBin("Sub/o.txt")) & (kAttrHidden | kAttrArchive),
              kAttrHidden | kAttrArchive);
}

TEST_F(SyncDustbinTest, AReadOnlyTargetInTheDustbinIsReplacedAndTakesTheOrphansAttributes) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/Sub/o.txt", "new");
    setAttributes(dst + "/Sub/o.txt", kAttrArchive);
    useDustbinFolder();
    writeFile(inBin("Sub/o.txt"), "old");
    setAttributes(inBin("Sub/o.txt"), kAttrReadOnly);

    sync();

    EXPECT_EQ(readFile(inBin("Sub/o.txt")), "new");
    EXPECT_EQ(attributesOf(inBin("Sub/o.txt")) & (kAttrReadOnly | kAttrArchive), kAttrArchive);
    EXPECT_FALSE(exists(dst + "/Sub/o.txt"));
    EXPECT_EQ(w().ItemsRemoved, 1);
}

TEST_F(SyncDustbinTest, FilesAlreadyInADustbinInsideTheBackupStay) {
    writeFile(src + "/anchor.txt", "a");
    const std::string inside = dst + "/Bin";
    writeFile(inside + "/earlier.txt", "earlier");
    writeFile(inside + "/Deeper/earlier2.txt", "earlier2");
    writeFile(dst + "/root.txt", "r");
    writeFile(dst + "/Sub/o.txt", "o");
    useDustbinFolder();
    w().DustBinPath = inside;

    sync();

    EXPECT_EQ(readFile(inside + "/earlier.txt"), "earlier");
    EXPECT_EQ(readFile(inside + "/Deeper/earlier2.txt"), "earlier2");
    EXPECT_EQ(readFile(inside + src + "/root.txt"), "r");
    EXPECT_EQ(readFile(inside + src + "/Sub/o.txt"), "o");
    EXPECT_EQ(w().ItemsRemoved, 2);
    EXPECT_GE(w().FilesSeen, 4);

    // A second run leaves the dustbin's contents where they are.
    w().ItemsRemoved = 0;
    sync();
    EXPECT_EQ(w().ItemsRemoved, 0);
    EXPECT_EQ(readFile(inside + src + "/Sub/o.txt"), "o");
    EXPECT_EQ(readFile(inside + "/earlier.txt"), "earlier");
}

TEST_F(SyncDustbinTest, ADustbinEqualToTheBackupRootMovesNothing) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/root.txt", "r");
    writeFile(dst + "/Sub/o.txt", "o");
    useDustbinFolder();
    w().DustBinPath = dst;

    sync();

    EXPECT_TRUE(exists(dst + "/root.txt"));
    EXPECT_TRUE(exists(dst + "/Sub/o.txt"));
    EXPECT_FALSE(exists(dst + src));
    EXPECT_EQ(w().ItemsRemoved, 0);
    EXPECT_TRUE(rig.logLines().empty());
}

TEST_F(SyncDustbinTest, ADustbinPathWithATrailingSeparatorCountsAsTheSameFolder) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/root.txt", "r");
    useDustbinFolder();
    w().DustBinPath = dst + "/";

    sync();

    EXPECT_TRUE(exists(dst + "/root.txt"));
    EXPECT_EQ(w().ItemsRemoved, 0);
}

TEST_F(SyncDustbinTest, ASourceBoxWithADriveLetterLosesItsColon) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/x/y.txt", "y");
    useDustbinFolder();
    w().ui.Text1[0].text = "D:/";

    sync();

    EXPECT_EQ(readFile(bin + "/D/x/y.txt"), "y");
}

TEST_F(SyncDustbinTest, AVolumeNameSourceBoxNamesTheDustbinFolders) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/Sub/a.txt", "a");
    useDustbinFolder();
    w().ui.Text1[0].text = "MYDISK/Data";

    sync();

    EXPECT_EQ(readFile(bin + "/MYDISK/Data/Sub/a.txt"), "a");
}

TEST_F(SyncDustbinTest, ADriveLetterSourceGetsAMarkedPerDriveFolder) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/Sub/a.txt", "a");
    DriveLetterFileSystem lettered(rig.fs, "C:");
    rig.rebuildWindow(lettered);
    configure(w());
    useDustbinFolder();
    w().ui.Text1[0].text = "C:/Data";

    sync();

    EXPECT_EQ(readFile(bin + "/C/Data/Sub/a.txt"), "a");
    EXPECT_EQ(readFile(bin + "/C/Desktop.ini"),
              "[.ShellClassInfo]\r\nIconFile=%SystemRoot%\\system32\\SHELL32.dll\r\n"
              "IconIndex=8\r\n");
    EXPECT_EQ(attributesOf(bin + "/C"), kAttrDirectory | kAttrReadOnly);
}

TEST_F(SyncDustbinTest, AnExistingPerDriveFolderIsNotMarkedAgain) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/a.txt", "a");
    DriveLetterFileSystem lettered(rig.fs, "E:");
    rig.rebuildWindow(lettered);
    configure(w());
    useDustbinFolder();
    makeDirs(bin + "/E");
    w().ui.Text1[0].text = "E:/Data";

    sync();

    EXPECT_EQ(readFile(bin + "/E/Data/a.txt"), "a");
    EXPECT_FALSE(exists(bin + "/E/Desktop.ini"));
}

}  // namespace
}  // namespace zv::test
