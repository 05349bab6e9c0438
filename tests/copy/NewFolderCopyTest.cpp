#include "copy/CopyFixture.h"
#include "copy/NewFolderCopy.h"

namespace zv::test {
namespace {

using NewFolderCopy = CopyFixture;

TEST_F(NewFolderCopy, AFirstRunIntoAnEmptyBackupCopiesTheWholeTree) {
    writeFile(S("root.txt"), "r");
    writeFile(S("a/one.txt"), "1");
    writeFile(S("a/b/two.txt"), "2");
    writeFile(S("a/b/c/three.txt"), "3");
    writeFile(S("a/b/c/d/four.txt"), "4");
    makeDirs(S("empty"));
    w().FromDate = "1-1-2000 00:00:00";
    checkedCopy();
    EXPECT_EQ(readFile(D("root.txt")), "r");
    EXPECT_EQ(readFile(D("a/one.txt")), "1");
    EXPECT_EQ(readFile(D("a/b/two.txt")), "2");
    EXPECT_EQ(readFile(D("a/b/c/three.txt")), "3");
    EXPECT_EQ(readFile(D("a/b/c/d/four.txt")), "4");
    EXPECT_TRUE(isFolder(D("empty")));
    EXPECT_EQ(w().FilesCopied, 5);
    EXPECT_EQ(w().FilesSeen, 5);
}

TEST_F(NewFolderCopy, AnOldNewFolderGetsNoneOfItsOwnOldFilesButItsSubfoldersGetAll) {
    oldFile(S("A/f1.txt"));
    oldFile(S("A/B/f2.txt"));
    oldFolder(S("A/B"));
    oldFolder(S("A"));
    w().NoDateCheck = true;
    checkedCopy();
    EXPECT_TRUE(isFolder(D("A")));
    EXPECT_FALSE(isThere(D("A/f1.txt")));
    EXPECT_TRUE(isFile(D("A/B/f2.txt")));
}

TEST_F(NewFolderCopy, AnOldSubfolderIsNotCreatedWithTheDateFilterOn) {
    oldFile(S("A/B/old.txt"));
    oldFolder(S("A/B"));
    oldFolder(S("A"));
    checkedCopy();
    EXPECT_TRUE(isFolder(D("A")));
    EXPECT_FALSE(isThere(D("A/B")));
}

TEST_F(NewFolderCopy, AnOldSubfolderHoldingANewerFileIsStillBackedUp) {
    newFile(S("A/B/C/changed.txt"), "changed");
    oldFile(S("A/B/C/same.txt"));
    oldFolder(S("A/B/C"));
    oldFolder(S("A/B"));
    oldFolder(S("A"));
    checkedCopy();
    EXPECT_EQ(readFile(D("A/B/C/changed.txt")), "changed");
    EXPECT_FALSE(isThere(D("A/B/C/same.txt")));
}

TEST_F(NewFolderCopy, AnOldFolderKeepsItsFilesThatAreNewByTheirOwnDates) {
    newFile(S("A/new.txt"), "n");
    oldFile(S("A/old.txt"));
    oldFolder(S("A"));
    checkedCopy();
    EXPECT_EQ(readFile(D("A/new.txt")), "n");
    EXPECT_FALSE(isThere(D("A/old.txt")));
    EXPECT_EQ(w().FilesCopied, 1);
    EXPECT_EQ(w().FilesSeen, 2);
}

TEST_F(NewFolderCopy, UnderSynchronisationAnExistingFileIsKeptButTakesTheSourceAttributes) {
    writeFile(S("A/B/f.txt"), "source");
    writeFile(D("A/B/f.txt"), "backup");
    rig.fs.setAttributes(S("A/B/f.txt"), kAttrHidden | kAttrArchive);
    writeFile(S("A/B/g.txt"), "missing one");
    w().SyncActive = true;
    CopyNewFolderSubfolders(w(), S("A"), D("A"));
    EXPECT_EQ(readFile(D("A/B/f.txt")), "backup");
    std::uint32_t b = 0;
    rig.fs.getAttributes(D("A/B/f.txt"), b);
    EXPECT_EQ(b & (kAttrHidden | kAttrArchive), kAttrHidden | kAttrArchive);
    EXPECT_EQ(readFile(D("A/B/g.txt")), "missing one");
    EXPECT_EQ(w().FilesCopied, 2);
}

TEST_F(NewFolderCopy, AnOldFileWithNothingAtItsTargetIsNeitherCopiedNorCountedNorAnError) {
    oldFile(S("A/B/old.txt"));
    makeDirs(D("A"));
    useFaulty();
    const DateTime later = instant(from + 100);
    faulty.adjustEntry = [later](const std::string& path, Entry& e) {
        if (path.size() >= 4 && path.compare(path.size() - 4, 4, "/A/B") == 0) e.created = later;
    };
    CopyNewFolderSubfolders(w(), S("A"), D("A"));
    EXPECT_TRUE(isFolder(D("A/B")));
    EXPECT_FALSE(isThere(D("A/B/old.txt")));
    EXPECT_EQ(w().FilesCopied, 0);
    EXPECT_EQ(w().FilesSeen, 1);
    EXPECT_EQ(w().FilesFailed, 0);
    EXPECT_TRUE(w().RunLog.empty());
}

TEST_F(NewFolderCopy, DiskFullWithCancelLogsTheTimeAndDiskFull) {
    writeFile(S("A/B/a.txt"), "a");
    writeFile(S("A/B/b.txt"), "b");
    makeDirs(D("A"));
    w().SyncActive = true;
    useFaulty();
    w().SyncActive = true;
    faulty.failOn(FsOp::CopyFile, "", kErrDiskFull);
    CopyNewFolderSubfolders(w(), S("A"), D("A"));
    EXPECT_TRUE(w().UserBreak);
    EXPECT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_TRUE(logHas(formatTime(rig.clock.current) + "Disk full"));
    EXPECT_EQ(faulty.calls(FsOp::CopyFile), 1);
    EXPECT_FALSE(readFile(rig.appFolder() + "/Error.Log").empty());
}

TEST_F(NewFolderCopy, DiskFullWithOkLeavesTheFileMissingAndTriesTheNext) {
    writeFile(S("A/a.txt"), "a");
    writeFile(S("A/b.txt"), "b");
    makeDirs(D("A"));
    useFaulty();
    w().SyncActive = true;
    faulty.failOn(FsOp::CopyFile, "", kErrDiskFull, 1);
    rig.dialogs.script(MessageAnswer::Ok);
    CopyNewFolderFiles(w(), S("A"), D("A"));
    EXPECT_FALSE(w().UserBreak);
    EXPECT_EQ(w().FilesCopied, 1);
    EXPECT_EQ(w().FilesFailed, 1);
    EXPECT_EQ(faulty.calls(FsOp::CopyFile), 2);
}

TEST_F(NewFolderCopy, ASystemSourceFolderDoesNotPassItsAttributes) {
    writeFile(S("sys/f.txt"), "x");
    writeFile(S("plain/f.txt"), "x");
    makeDirs(D("sys"));
    makeDirs(D("plain"));
    rig.fs.setAttributes(S("sys"), kAttrDirectory | kAttrSystem | kAttrHidden);
    rig.fs.setAttributes(S("plain"), kAttrDirectory | kAttrHidden);
    w().SyncActive = true;
    CopyNewFolderFiles(w(), S("sys"), D("sys"));
    CopyNewFolderFiles(w(), S("plain"), D("plain"));
    std::uint32_t sys = 0, plain = 0;
    rig.fs.getAttributes(D("sys"), sys);
    rig.fs.getAttributes(D("plain"), plain);
    EXPECT_EQ(sys & (kAttrSystem | kAttrHidden), 0u);
    EXPECT_EQ(plain & kAttrHidden, kAttrHidden);
}

TEST_F(NewFolderCopy, SystemFoldersAreSkippedByEitherSidesPath) {
    writeFile(S("A/ReCyClEd/x.txt"), "x");
    writeFile(S("A/ok/y.txt"), "y");
    w().SyncActive = true;
    makeDirs(D("A"));
    CopyNewFolderSubfolders(w(), S("A"), D("A"));
    EXPECT_FALSE(isThere(D("A/ReCyClEd")));
    EXPECT_TRUE(isFile(D("A/ok/y.txt")));

    makeDirs(D("RECYCLER-copy"));
    CopyNewFolderSubfolders(w(), S("A"), D("RECYCLER-copy"));
    EXPECT_FALSE(isThere(D("RECYCLER-copy/ok")));
}

TEST_F(NewFolderCopy, ABackupFolderInsideTheSourceIsSkipped) {
    writeFile(S("data.txt"), "d");
    writeFile(S("docs/x.txt"), "x");
    dst = S("Backup");
    makeDirs(dst);
    applyJob();
    w().SyncActive = true;
    CopyNewFolderSubfolders(w(), src, dst);
    EXPECT_TRUE(isFile(D("docs/x.txt")));
    EXPECT_FALSE(isThere(D("Backup")));
}

TEST_F(NewFolderCopy, AnInvalidBackupFolderIsLogged) {
    writeFile(S("A/x.txt"), "x");
    const std::string bad = rig.root / "nowhere/deeper";
    CopyNewFolderSubfolders(w(), src, bad);
    const std::vector<std::string> lines = log();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], formatTime(rig.clock.current) + " " + bad);
    EXPECT_EQ(lines[1], "(=ongeldige padaanduiding)");
    EXPECT_FALSE(isThere(rig.root / "nowhere"));
}

TEST_F(NewFolderCopy, NothingIsCopiedIntoABackupFolderThatIsNotThere) {
    writeFile(S("A/x.txt"), "x");
    w().SyncActive = true;
    CopyNewFolderFiles(w(), S("A"), rig.root / "nowhere");
    EXPECT_FALSE(isThere(rig.root / "nowhere"));
    EXPECT_FALSE(isThere(rig.root / "x.txt"));
    EXPECT_EQ(w().FilesFailed, 1);
}

TEST_F(NewFolderCopy, ABreakAtTheStartIsLoggedAndWritten) {
    writeFile(S("A/B/x.txt"), "x");
    w().UserBreak = true;
    CopyNewFolderSubfolders(w(), S("A"), D("A"));
    const DateTime now = rig.clock.current;
    EXPECT_TRUE(logHas(formatDate(now) + " " + formatTime(now) + "   -  user break"));
    EXPECT_FALSE(readFile(rig.appFolder() + "/Error.Log").empty());
    EXPECT_FALSE(isThere(D("A/B")));
}

TEST_F(NewFolderCopy, ABreakStopsBeforeTheNextFile) {
    for (int i = 0; i < 4; ++i) writeFile(S("A/f" + std::to_string(i)), "x");
    makeDirs(D("A"));
    w().SyncActive = true;
    rig.pump.hookAt = 2;
    rig.pump.hook = [this] { w().UserBreak = true; };
    CopyNewFolderFiles(w(), S("A"), D("A"));
    EXPECT_EQ(w().FilesCopied, 1);
    const DateTime now = rig.clock.current;
    EXPECT_TRUE(logHas(formatDate(now) + " " + formatTime(now) + "   -  user break"));
}

}  // namespace
}  // namespace zv::test
