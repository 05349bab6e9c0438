#include <sys/stat.h>

#include "copy/CopyFixture.h"

namespace zv::test {
namespace {

class QuickCopy : public CopyFixture {
  protected:
    QuickCopy() { w().DoVerify = false; }
};

TEST_F(QuickCopy, WithoutTheDateFilterEveryFileReplacesItsBackupCopy) {
    oldFile(S("a.txt"), "source a");
    oldFile(D("a.txt"), "backup a");
    oldFile(S("sub/b.txt"), "source b");
    oldFile(S("sub/deeper/c.txt"), "source c");
    w().NoDateCheck = true;
    quickCopy();
    EXPECT_EQ(readFile(D("a.txt")), "source a");
    EXPECT_EQ(readFile(D("sub/b.txt")), "source b");
    EXPECT_EQ(readFile(D("sub/deeper/c.txt")), "source c");
    EXPECT_EQ(w().FilesCopied, 3);
    EXPECT_EQ(w().FilesSeen, 3);
}

TEST_F(QuickCopy, AnOldFileIsNotCopiedEvenWhenTheBackupLacksItButStillCounts) {
    oldFile(S("old.txt"), std::string(40, 'o'));
    newFile(S("new.txt"), std::string(60, 'n'));
    quickCopy();
    EXPECT_FALSE(isThere(D("old.txt")));
    EXPECT_TRUE(isFile(D("new.txt")));
    EXPECT_EQ(w().FilesSeen, 2);
    EXPECT_EQ(w().BytesDone, 100);
    EXPECT_EQ(w().FilesCopied, 1);
    EXPECT_EQ(w().ui.panel(2), "Bestanden: 1         [ Verwijderd: 0 ]");
}

TEST_F(QuickCopy, ASubfolderWithoutSelectedFilesStillGetsItsCounterpart) {
    oldFile(S("quiet/old.txt"));
    oldFolder(S("quiet"));
    quickCopy();
    EXPECT_TRUE(isFolder(D("quiet")));
    EXPECT_FALSE(isThere(D("quiet/old.txt")));
}

TEST_F(QuickCopy, ABackupFolderInsideTheSourceIsSkipped) {
    newFile(S("x.txt"));
    newFile(S("docs/y.txt"));
    dst = S("Backup");
    makeDirs(dst);
    applyJob();
    w().DoVerify = false;
    quickCopy();
    EXPECT_TRUE(isFile(D("x.txt")));
    EXPECT_TRUE(isFile(D("docs/y.txt")));
    EXPECT_FALSE(isThere(D("Backup")));
}

TEST_F(QuickCopy, AReadOnlyBackupFileIsReplacedAndCarriesTheSourceAttributes) {
    newFile(S("sub/r.txt"), "fresh");
    oldFile(D("sub/r.txt"), "stale");
    chmod(D("sub/r.txt").c_str(), 0444);
    rig.fs.setAttributes(S("sub/r.txt"), kAttrArchive);
    quickCopy();
    EXPECT_EQ(readFile(D("sub/r.txt")), "fresh");
    std::uint32_t a = 0, b = 0;
    rig.fs.getAttributes(S("sub/r.txt"), a);
    rig.fs.getAttributes(D("sub/r.txt"), b);
    EXPECT_EQ(a, b);
    EXPECT_EQ(w().FilesCopied, 1);
}

TEST_F(QuickCopy, DiskFullWithCancelStopsAtOnceWithoutALogLine) {
    newFile(S("a/1.txt"));
    newFile(S("b/2.txt"));
    newFile(S("c/3.txt"));
    useFaulty();
    w().DoVerify = false;
    faulty.failOn(FsOp::CopyFile, "", kErrDiskFull);
    quickCopy();
    EXPECT_TRUE(w().UserBreak);
    EXPECT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(faulty.calls(FsOp::CopyFile), 1);
    EXPECT_TRUE(w().RunLog.empty());
}

TEST_F(QuickCopy, DiskFullWithOkLogsTheFileAndGoesOn) {
    newFile(S("a/1.txt"));
    newFile(S("a/2.txt"));
    useFaulty();
    w().DoVerify = false;
    faulty.failOn(FsOp::CopyFile, "", kErrDiskFull, 1);
    rig.dialogs.script(MessageAnswer::Ok);
    quickCopy();
    EXPECT_FALSE(w().UserBreak);
    EXPECT_EQ(w().FilesCopied, 1);
    EXPECT_TRUE(logContains("Error 61: "));
    EXPECT_TRUE(logHas("OK, Proceeding ..."));
}

TEST_F(QuickCopy, AnEmptySourceTreeKeepsThePreviousPercentage) {
    makeDirs(S("empty"));
    w().PercentDone = 42;
    quickCopy();
    EXPECT_EQ(w().BytesTotal, 0);
    EXPECT_EQ(w().PercentDone, 42);
    EXPECT_TRUE(isFolder(D("empty")));
}

TEST_F(QuickCopy, ShowsTheRootPathsAndTheProgress) {
    newFile(S("a.bin"), std::string(1000, 'a'));
    newFile(S("s/b.bin"), std::string(1000, 'b'));
    quickCopy();
    EXPECT_EQ(w().ui.Text1[0].text, src);
    EXPECT_EQ(w().ui.Text1[2].text, dst);
    EXPECT_TRUE(w().ui.ProgressBar1.visible);
    EXPECT_EQ(w().PercentDone, 100);
    EXPECT_EQ(w().ui.caption, "100 %   " + w().AppVersionText);
    w().Minimised = true;
    w().BytesDone = 0;
    quickCopy();
    EXPECT_EQ(w().ui.caption, "100 %");
}

TEST_F(QuickCopy, SystemFoldersAreSkipped) {
    newFile(S("Recycler/x.txt"));
    newFile(S("a/system volume information/y.txt"));
    newFile(S("a/z.txt"));
    quickCopy();
    EXPECT_FALSE(isThere(D("Recycler")));
    EXPECT_FALSE(isThere(D("a/system volume information")));
    EXPECT_TRUE(isFile(D("a/z.txt")));
}

TEST_F(QuickCopy, ABreakEndsTheWalkBeforeTheNextSubfolder) {
    newFile(S("a/1.txt"));
    newFile(S("b/2.txt"));
    newFile(S("c/3.txt"));
    rig.pump.hookAt = 1;
    rig.pump.hook = [this] { w().UserBreak = true; };
    quickCopy();
    EXPECT_EQ(w().FilesCopied, 0);
    EXPECT_TRUE(w().RunLog.empty());
}

TEST_F(QuickCopy, NothingIsWrittenThroughALinkWhereABackupFolderShouldBe) {
    newFile(S("a/secret.txt"), "s");
    const std::string elsewhere = rig.root / "elsewhere";
    makeDirs(elsewhere);
    ASSERT_EQ(symlink(elsewhere.c_str(), D("a").c_str()), 0);
    quickCopy();
    EXPECT_FALSE(isThere(elsewhere + "/secret.txt"));
    EXPECT_EQ(w().FilesFailed, 1);
}

}  // namespace
}  // namespace zv::test
