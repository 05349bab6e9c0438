#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "copy/CopyFixture.h"
#include "copy/TreeCopy.h"

namespace zv::test {
namespace {

using TreeCopy = CopyFixture;

TEST_F(TreeCopy, DateFilterCopiesOnlyFilesNewerThanTheFromDate) {
    newFile(S("fresh.txt"), "fresh");
    oldFile(S("kept.txt"), "source");
    oldFile(D("kept.txt"), "backup");
    oldFile(S("absent.txt"));
    checkedCopy();
    EXPECT_EQ(readFile(D("fresh.txt")), "fresh");
    EXPECT_EQ(readFile(D("kept.txt")), "backup");
    EXPECT_FALSE(isThere(D("absent.txt")));
    EXPECT_EQ(w().FilesCopied, 1);
    EXPECT_EQ(w().FilesSeen, 3);
}

TEST_F(TreeCopy, AnOldFileMissingFromTheBackupIsCopiedUnderSynchronisation) {
    oldFile(S("absent.txt"), "a");
    oldFile(S("sub/absent2.txt"), "b");
    makeDirs(D("sub"));
    w().SyncActive = true;
    checkedCopy();
    EXPECT_EQ(readFile(D("absent.txt")), "a");
    EXPECT_EQ(readFile(D("sub/absent2.txt")), "b");
    EXPECT_EQ(w().FilesCopied, 2);
}

TEST_F(TreeCopy, AFileDatedExactlyAtTheFromDateIsNotNew) {
    writeFile(S("edge.txt"), "x");
    setTimes(S("edge.txt"), from, from);
    checkedCopy();
    EXPECT_FALSE(isThere(D("edge.txt")));
}

TEST_F(TreeCopy, WithoutTheDateFilterEveryFileIsCopiedOnEveryRun) {
    oldFile(S("a.txt"), "one");
    oldFile(S("sub/b.txt"), "two");
    makeDirs(D("sub"));
    w().NoDateCheck = true;
    checkedCopy();
    EXPECT_EQ(readFile(D("sub/b.txt")), "two");
    oldFile(S("a.txt"), "changed");
    w().FilesCopied = 0;
    checkedCopy();
    EXPECT_EQ(readFile(D("a.txt")), "changed");
    EXPECT_EQ(w().FilesCopied, 2);
}

TEST_F(TreeCopy, KeepsModificationTimeAndPermissions) {
    newFile(S("tool.sh"), "#!/bin/sh\n");
    chmod(S("tool.sh").c_str(), 0750);
    setTimes(S("tool.sh"), from + 7200, from + 7300);
    checkedCopy();
    struct stat a = statOf(S("tool.sh"));
    struct stat b = statOf(D("tool.sh"));
    EXPECT_EQ(b.st_mtim.tv_sec, a.st_mtim.tv_sec);
    EXPECT_EQ(b.st_mtim.tv_nsec, a.st_mtim.tv_nsec);
    EXPECT_EQ(b.st_mode & 07777, 0750u);
}

TEST_F(TreeCopy, AReadOnlyBackupFileIsReplacedAndTakesTheSourceAttributes) {
    newFile(S("doc.txt"), "new text");
    oldFile(D("doc.txt"), "old text");
    chmod(D("doc.txt").c_str(), 0444);
    checkedCopy();
    EXPECT_EQ(readFile(D("doc.txt")), "new text");
    std::uint32_t a = 0, b = 0;
    rig.fs.getAttributes(S("doc.txt"), a);
    rig.fs.getAttributes(D("doc.txt"), b);
    EXPECT_EQ(a, b);
    EXPECT_EQ(b & kAttrReadOnly, 0u);
    EXPECT_EQ(w().FilesCopied, 1);
}

TEST_F(TreeCopy, AReadOnlySourceFileGivesAReadOnlyBackupFile) {
    newFile(S("frozen.txt"), "v2");
    chmod(S("frozen.txt").c_str(), 0444);
    checkedCopy();
    std::uint32_t b = 0;
    rig.fs.getAttributes(D("frozen.txt"), b);
    EXPECT_NE(b & kAttrReadOnly, 0u);
    // The next run replaces it again through the retry.
    newFile(S("frozen2.txt"));
    chmod(S("frozen.txt").c_str(), 0644);
    writeFile(S("frozen.txt"), "v3");
    setTimes(S("frozen.txt"), from + 3600, from + 3600);
    checkedCopy();
    EXPECT_EQ(readFile(D("frozen.txt")), "v3");
}

TEST_F(TreeCopy, AnAccessDeniedCopyIsRetriedOnce) {
    newFile(S("sub/a.txt"), "a");
    makeDirs(D("sub"));
    useFaulty();
    faulty.failOn(FsOp::CopyFile, "a.txt", kErrAccessDenied, 1);
    checkedCopy();
    EXPECT_EQ(readFile(D("sub/a.txt")), "a");
    EXPECT_EQ(w().FilesCopied, 1);
    EXPECT_EQ(w().FilesFailed, 0);
    EXPECT_EQ(faulty.calls(FsOp::CopyFile), 2);
}

TEST_F(TreeCopy, AFailedFileIsLoggedWithItsPathAndError) {
    newFile(S("sub/1-bad.txt"));
    newFile(S("sub/2-good.txt"));
    makeDirs(D("sub"));
    useFaulty();
    faulty.failOn(FsOp::CopyFile, "bad", kErrObjectNotAvailable);
    checkedCopy();
    const std::string time = formatTime(rig.clock.current);
    EXPECT_TRUE(logHas(time + " - " + S("sub/1-bad.txt")));
    EXPECT_TRUE(logHas("Error 91: Injected error 91"));
    EXPECT_EQ(w().FilesFailed, 1);
    EXPECT_EQ(w().FilesCopied, 1);
    EXPECT_TRUE(isFile(D("sub/2-good.txt")));
    EXPECT_FALSE(isThere(D("sub/1-bad.txt")));
}

TEST_F(TreeCopy, RecoveryIsLoggedAfterAFailureInTheSameFolder) {
    for (int i = 0; i < 6; ++i) newFile(S("sub/f" + std::to_string(i) + ".txt"));
    makeDirs(D("sub"));
    useFaulty();
    // The first file copied fails, whatever the listing order.
    faulty.failOn(FsOp::CopyFile, "/sub/f", kErrObjectNotAvailable, 1);
    checkedCopy();
    const std::vector<std::string> lines = log();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1].rfind("Error 91: ", 0), 0u);
    EXPECT_EQ(lines[3], "OK, Proceeding ...");
    EXPECT_EQ(w().FilesCopied, 5);
    EXPECT_FALSE(w().CopyErrorFlag);
}

TEST_F(TreeCopy, ABackupFolderInsideTheSourceIsNotCopiedIntoItself) {
    newFile(S("a.txt"));
    newFile(S("docs/b.txt"));
    dst = S("Backup");
    makeDirs(dst);
    applyJob();
    checkedCopy();
    EXPECT_TRUE(isFile(D("a.txt")));
    EXPECT_TRUE(isFile(D("docs/b.txt")));
    EXPECT_FALSE(isThere(D("Backup")));
}

TEST_F(TreeCopy, ABackupFolderDeeperInsideTheSourceIsNotCopiedIntoItself) {
    newFile(S("work/a.txt"));
    dst = S("work/Backup");
    makeDirs(dst);
    applyJob();
    checkedCopy();
    EXPECT_TRUE(isFile(D("work/a.txt")));
    EXPECT_FALSE(isThere(D("work/Backup")));
}

TEST_F(TreeCopy, RecyclerFoldersAreSkippedInAnyLetterCase) {
    newFile(S("ReCyClEr/x.txt"));
    newFile(S("deep/System Volume Information/y.txt"));
    newFile(S("deep/ok.txt"));
    makeDirs(D("deep"));
    makeDirs(D("ReCyClEr"));
    checkedCopy();
    EXPECT_FALSE(isThere(D("ReCyClEr/x.txt")));
    EXPECT_FALSE(isThere(D("deep/System Volume Information")));
    EXPECT_TRUE(isFile(D("deep/ok.txt")));
}

TEST_F(TreeCopy, ABackupPathWithASystemWordSkipsEverySubfolder) {
    dst = rig.root / "recycled-backup";
    makeDirs(dst);
    applyJob();
    newFile(S("top.txt"));
    newFile(S("sub/inner.txt"));
    checkedCopy();
    EXPECT_TRUE(isFile(D("top.txt")));
    EXPECT_FALSE(isThere(D("sub")));
}

TEST_F(TreeCopy, AFiveHundredByteTreeScalesTheBarToFiveThousand) {
    newFile(S("a.bin"), std::string(300, 'a'));
    newFile(S("sub/b.bin"), std::string(200, 'b'));
    makeDirs(D("sub"));
    checkedCopy();
    EXPECT_EQ(w().BytesTotal, 500);
    EXPECT_EQ(w().ProgressScale, -1);
    EXPECT_EQ(w().ui.ProgressBar1.max, 5000);
    EXPECT_TRUE(w().ui.ProgressBar1.visible);
    EXPECT_EQ(w().PercentDone, 100);
    EXPECT_EQ(w().ui.caption, "100 %   " + w().AppVersionText);
}

TEST_F(TreeCopy, ShowsTheCountsInTheStatusBar) {
    newFile(S("a.txt"));
    oldFile(S("b.txt"));
    checkedCopy();
    EXPECT_EQ(w().ui.panel(1), "Kopieren");
    EXPECT_EQ(w().ui.panel(2), "Bestanden: 1         [ Verwijderd: 0 ]");
    EXPECT_EQ(w().ui.panel(3), "Van: 2");
    EXPECT_EQ(w().ui.lblFiles.foreColour, kColourBlack);
}

TEST_F(TreeCopy, DiskFullWithCancelInASubfolderLogsTheTimeAndDiskFull) {
    newFile(S("sub/a.txt"));
    newFile(S("sub2/b.txt"));
    makeDirs(D("sub"));
    makeDirs(D("sub2"));
    useFaulty();
    faulty.failOn(FsOp::CopyFile, "", kErrDiskFull);
    rig.dialogs.script(MessageAnswer::Cancel);
    checkedCopy();
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "Schijf vol; verwissel schijf en druk op OK");
    EXPECT_EQ(rig.dialogs.shown[0].style, MessageStyle::OkCancel);
    EXPECT_TRUE(w().UserBreak);
    EXPECT_TRUE(logHas(formatTime(rig.clock.current) + "Disk full"));
    EXPECT_EQ(faulty.calls(FsOp::CopyFile), 1);
    EXPECT_TRUE(isFile(rig.appFolder() + "/Error.Log"));
}

TEST_F(TreeCopy, DiskFullWithCancelAtTheTopLogsAUserBreak) {
    newFile(S("a.txt"));
    useFaulty();
    faulty.failOn(FsOp::CopyFile, "a.txt", kErrDiskFull);
    rig.dialogs.script(MessageAnswer::Cancel);
    checkedCopy();
    EXPECT_TRUE(w().UserBreak);
    const DateTime now = rig.clock.current;
    EXPECT_TRUE(logHas(formatDate(now) + " " + formatTime(now) + "   -  user break"));
}

TEST_F(TreeCopy, DiskFullWithOkGoesOnWithTheNextFile) {
    newFile(S("sub/a.txt"));
    newFile(S("sub/b.txt"));
    makeDirs(D("sub"));
    useFaulty();
    faulty.failOn(FsOp::CopyFile, "sub/", kErrDiskFull, 1);
    rig.dialogs.script(MessageAnswer::Ok);
    checkedCopy();
    EXPECT_FALSE(w().UserBreak);
    EXPECT_EQ(w().FilesCopied, 1);
    EXPECT_EQ(w().FilesFailed, 1);
    EXPECT_TRUE(logContains("Error 61: "));
    EXPECT_EQ(faulty.calls(FsOp::CopyFile), 2);  // the failed file is not tried again
}

TEST_F(TreeCopy, AttributesAreRepairedUnderSynchronisation) {
    oldFile(S("a.txt"), "same");
    oldFile(D("a.txt"), "same");
    setTimes(S("a.txt"), from - 86400, from + 60);  // read after the from-date
    chmod(D("a.txt").c_str(), 0444);
    w().SyncActive = true;
    checkedCopy();
    std::uint32_t b = 0;
    rig.fs.getAttributes(D("a.txt"), b);
    EXPECT_EQ(b & kAttrReadOnly, 0u);
    EXPECT_EQ(w().FilesCopied, 1);
}

TEST_F(TreeCopy, UnchangedFilesWithMatchingAttributesAreNotCounted) {
    oldFile(S("a.txt"), "same");
    oldFile(D("a.txt"), "same");
    setTimes(S("a.txt"), from - 86400, from + 60);
    w().SyncActive = true;
    checkedCopy();
    EXPECT_EQ(w().FilesCopied, 0);
    EXPECT_EQ(w().FilesSeen, 1);
}

TEST_F(TreeCopy, AFileDateThatCannotBeReadCountsAsNew) {
    oldFile(S("odd.txt"), "odd");
    useFaulty();
    faulty.adjustEntry = [](const std::string& path, Entry& e) {
        if (path.find("odd.txt") != std::string::npos) e.modified = DateTime{};
    };
    checkedCopy();
    EXPECT_EQ(readFile(D("odd.txt")), "odd");
}

TEST_F(TreeCopy, AFromDateThatIsNoDateCopiesEverything) {
    oldFile(S("a.txt"));
    w().FromDate = "geen datum";
    checkedCopy();
    EXPECT_TRUE(isFile(D("a.txt")));
}

TEST_F(TreeCopy, ABreakBeforeAFileStopsTheWalkAndLogsIt) {
    for (int i = 0; i < 5; ++i) newFile(S("f" + std::to_string(i)));
    rig.pump.hookAt = 3;
    rig.pump.hook = [this] { w().UserBreak = true; };
    checkedCopy();
    EXPECT_LT(w().FilesCopied, 5);
    const DateTime now = rig.clock.current;
    EXPECT_TRUE(logHas(formatDate(now) + " " + formatTime(now) + "   -  user break"));
}

TEST_F(TreeCopy, MissingBackupFoldersAreCreatedAndFilled) {
    newFile(S("a/b/c/deep.txt"), "deep");
    newFile(S("a/top.txt"), "top");
    checkedCopy();
    EXPECT_EQ(readFile(D("a/b/c/deep.txt")), "deep");
    EXPECT_EQ(readFile(D("a/top.txt")), "top");
}

TEST_F(TreeCopy, AMissingBackupRootIsReportedAndNothingIsWrittenElsewhere) {
    newFile(S("a.txt"));
    newFile(S("sub/b.txt"));
    dst = rig.root / "gone";
    applyJob();
    checkedCopy();
    EXPECT_FALSE(isThere(dst));
    EXPECT_TRUE(logHas("(=ongeldige padaanduiding)"));
    EXPECT_TRUE(logHas(formatTime(rig.clock.current) + " " + dst));
    EXPECT_EQ(w().FilesCopied, 0);
}

TEST_F(TreeCopy, NamesWithSpacesAndNonAsciiLettersAreCopied) {
    newFile(S("map met spatie/Ñandú été.txt"), "ü");
    newFile(S("日本語.txt"), "jp");
    checkedCopy();
    EXPECT_EQ(readFile(D("map met spatie/Ñandú été.txt")), "ü");
    EXPECT_EQ(readFile(D("日本語.txt")), "jp");
}

TEST_F(TreeCopy, TheSourceFolderPassesItsAttributesUnlessItIsASystemFolder) {
    newFile(S("a/x.txt"));
    makeDirs(D("a"));
    rig.fs.setAttributes(S("a"), kAttrDirectory | kAttrHidden);
    checkedCopy();
    std::uint32_t b = 0;
    rig.fs.getAttributes(D("a"), b);
    EXPECT_NE(b & kAttrHidden, 0u);

    rig.fs.setAttributes(S("a"), kAttrDirectory | kAttrSystem);
    rig.fs.setAttributes(D("a"), kAttrDirectory | kAttrArchive);
    checkedCopy();
    rig.fs.getAttributes(D("a"), b);
    EXPECT_EQ(b & kAttrSystem, 0u);
    EXPECT_NE(b & kAttrArchive, 0u);
}

}  // namespace
}  // namespace zv::test
