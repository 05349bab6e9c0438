#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "copy/ProgressDisplay.h"
#include "support/FaultInjectingFileSystem.h"
#include "sync/SyncFixture.h"

namespace zv::test {
namespace {

using SyncWalkTest = SyncFixture;

TEST_F(SyncWalkTest, RemovesOrphansAndKeepsFilesTheSourceHas) {
    writeFile(src + "/keep.txt", "k");
    writeFile(src + "/Sub/keep2.txt", "k2");
    writeFile(dst + "/keep.txt", "k");
    writeFile(dst + "/gone.txt", "g");
    writeFile(dst + "/Sub/keep2.txt", "k2");
    writeFile(dst + "/Sub/gone2.txt", "g2");

    sync();

    EXPECT_TRUE(exists(dst + "/keep.txt"));
    EXPECT_TRUE(exists(dst + "/Sub/keep2.txt"));
    EXPECT_FALSE(exists(dst + "/gone.txt"));
    EXPECT_FALSE(exists(dst + "/Sub/gone2.txt"));
    EXPECT_EQ(w().ItemsRemoved, 2);
    EXPECT_EQ(w().FilesSeen, 4);
    EXPECT_EQ(w().ui.panel(1), "Synchroniseren");
    EXPECT_EQ(w().ui.panel(2), "Bestanden: 0         [ Verwijderd: 2 ]");
    EXPECT_EQ(w().ui.panel(3), "Van: 4");
    EXPECT_TRUE(w().ui.ProgressBar1.visible);
    EXPECT_DOUBLE_EQ(w().BytesDone, 6.0);
    EXPECT_FALSE(w().UserBreak);
    EXPECT_TRUE(w().RunLog.empty());
}

TEST_F(SyncWalkTest, ReadOnlyOrphanStaysHiddenAndSystemOrphansGo) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/ro.txt", "r");
    writeFile(dst + "/hs.txt", "h");
    writeFile(dst + "/.dotted", "d");
    writeFile(dst + "/Sub/ro2.txt", "r");
    setAttributes(dst + "/ro.txt", kAttrReadOnly);
    setAttributes(dst + "/Sub/ro2.txt", kAttrReadOnly | kAttrArchive);
    setAttributes(dst + "/hs.txt", kAttrHidden | kAttrSystem);

    sync();

    EXPECT_TRUE(exists(dst + "/ro.txt"));
    EXPECT_TRUE(exists(dst + "/Sub/ro2.txt"));
    EXPECT_FALSE(exists(dst + "/hs.txt"));
    EXPECT_FALSE(exists(dst + "/.dotted"));
    EXPECT_EQ(w().ItemsRemoved, 2);
}

TEST_F(SyncWalkTest, BackupOnlyFolderIsEmptiedAtEveryDepthButStays) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/Only/a.txt", "a");
    writeFile(dst + "/Only/Deeper/b.txt", "b");
    writeFile(dst + "/Only/Deeper/Deepest/c.txt", "c");

    sync();

    EXPECT_FALSE(exists(dst + "/Only/a.txt"));
    EXPECT_FALSE(exists(dst + "/Only/Deeper/b.txt"));
    EXPECT_FALSE(exists(dst + "/Only/Deeper/Deepest/c.txt"));
    EXPECT_TRUE(exists(dst + "/Only/Deeper/Deepest"));
    EXPECT_EQ(w().ItemsRemoved, 3);
}

TEST_F(SyncWalkTest, AFolderAtTheCounterpartPathIsNoFile) {
    makeDirs(src + "/same.txt");
    writeFile(dst + "/same.txt", "x");

    sync();

    EXPECT_FALSE(exists(dst + "/same.txt"));
    EXPECT_EQ(w().ItemsRemoved, 1);
}

TEST_F(SyncWalkTest, NamesMatchExactlyInCase) {
    writeFile(src + "/Name.txt", "x");
    writeFile(dst + "/name.txt", "x");
    writeFile(dst + "/Name.txt", "x");

    sync();

    EXPECT_TRUE(exists(dst + "/Name.txt"));
    EXPECT_FALSE(exists(dst + "/name.txt"));
}

TEST_F(SyncWalkTest, RootFilesAreExaminedWhatever_TheirName) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/RECYCLER.txt", "x");
    writeFile(dst + "/System Volume Information", "x");

    sync();

    EXPECT_FALSE(exists(dst + "/RECYCLER.txt"));
    EXPECT_FALSE(exists(dst + "/System Volume Information"));
}

TEST_F(SyncWalkTest, OldRecycledIsSkippedWhileItsCounterpartFolderExists) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/Old.Recycled/f.txt", "x");
    writeFile(dst + "/Old.Recycled/Below/g.txt", "x");
    writeFile(dst + "/Gone/Old.Recycled/h.txt", "x");
    writeFile(dst + "/system volume information/i.txt", "x");

    sync();

    EXPECT_TRUE(exists(dst + "/Old.Recycled/f.txt"));
    EXPECT_TRUE(exists(dst + "/Old.Recycled/Below/g.txt"));
    EXPECT_TRUE(exists(dst + "/system volume information/i.txt"));
    // The counterpart of Gone does not exist, so nothing below it is excluded.
    EXPECT_FALSE(exists(dst + "/Gone/Old.Recycled/h.txt"));
    EXPECT_EQ(w().ItemsRemoved, 1);
}

TEST_F(SyncWalkTest, ASourcePathWithRecyclerBlocksEverySubfolderButNotTheRootFiles) {
    const std::string recyclerSource = rig.root / "my.recycler.src";
    writeFile(recyclerSource + "/anchor.txt", "a");
    w().SourcePath = recyclerSource;
    w().ui.Text1[0].text = recyclerSource;
    writeFile(dst + "/Sub/f.txt", "x");
    writeFile(dst + "/root-orphan.txt", "x");

    sync();

    EXPECT_TRUE(exists(dst + "/Sub/f.txt"));
    EXPECT_FALSE(exists(dst + "/root-orphan.txt"));
}

TEST_F(SyncWalkTest, ASymbolicLinkOrphanGoesAsALinkAndItsTargetStays) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(rig.root / "outside.txt", "precious");
    ASSERT_EQ(symlink((rig.root / "outside.txt").c_str(), (dst + "/link").c_str()), 0);

    sync();

    EXPECT_FALSE(exists(dst + "/link"));
    EXPECT_EQ(readFile(rig.root / "outside.txt"), "precious");
    EXPECT_EQ(w().ItemsRemoved, 1);
}

TEST_F(SyncWalkTest, SpecialFilesAreLeftAlone) {
    writeFile(src + "/anchor.txt", "a");
    ASSERT_EQ(mkfifo((dst + "/pipe").c_str(), 0600), 0);

    sync();

    EXPECT_TRUE(exists(dst + "/pipe"));
    EXPECT_EQ(w().ItemsRemoved, 0);
    EXPECT_EQ(w().FilesSeen, 0);
}

TEST_F(SyncWalkTest, PlainDeleteWhenNoDustbinIsChosen) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/o.txt", "x");
    w().DustBinWin = true;  // without UseDustbin: a plain delete
    w().UseDustbin = false;

    sync();

    EXPECT_FALSE(exists(dst + "/o.txt"));
    EXPECT_TRUE(rig.trash.trashed.empty());
    EXPECT_EQ(w().ItemsRemoved, 1);
}

TEST_F(SyncWalkTest, TheDesktopTrashGetsEveryOrphan) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/o.txt", "x");
    writeFile(dst + "/Sub/p.txt", "x");
    useTrash();

    sync();

    ASSERT_EQ(rig.trash.trashed.size(), 2u);
    EXPECT_EQ(rig.trash.trashed[0], dst + "/o.txt");
    EXPECT_EQ(rig.trash.trashed[1], dst + "/Sub/p.txt");
    EXPECT_EQ(w().ItemsRemoved, 2);
    EXPECT_EQ(w().ui.lblFiles.foreColour, kColourBlack);
}

TEST_F(SyncWalkTest, ProgressCountsTheBackupTree) {
    writeFile(src + "/a.txt", std::string(300, 'a'));
    writeFile(dst + "/a.txt", std::string(300, 'a'));
    writeFile(src + "/Sub/b.txt", std::string(200, 'b'));
    writeFile(dst + "/Sub/b.txt", std::string(200, 'b'));
    w().AppVersionText = "Zandvast v.1.0.0";

    sync();

    EXPECT_DOUBLE_EQ(w().BytesTotal, 500.0);
    EXPECT_EQ(w().ProgressScale, -1);
    EXPECT_EQ(w().ui.ProgressBar1.max, 5000);
    EXPECT_DOUBLE_EQ(w().PercentDone, 100.0);
    EXPECT_EQ(w().ui.caption, "100 %   Zandvast v.1.0.0");
}

// The tree size leaves out a first-level _RESTORE folder, the walk does not:
// below the root the caption stops at 100 %.
TEST_F(SyncWalkTest, CaptionBelowTheRootStopsAtAHundredPercent) {
    writeFile(src + "/a.txt", std::string(100, 'a'));
    writeFile(dst + "/a.txt", std::string(100, 'a'));
    writeFile(src + "/_RESTORE/big.bin", std::string(1000, 'b'));
    writeFile(dst + "/_RESTORE/big.bin", std::string(1000, 'b'));
    w().AppVersionText = "Zandvast v.1.0.0";

    sync();

    EXPECT_GT(w().PercentDone, 100.0);
    EXPECT_EQ(w().ui.caption, "100 %   Zandvast v.1.0.0");

    w().Minimised = true;
    w().FilesSeen = 0;
    sync();
    EXPECT_EQ(w().ui.caption, "100 %");
}

TEST_F(SyncWalkTest, ABreakDuringTheRootFilesGivesTwoBreakLines) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/o1.txt", "x");
    writeFile(dst + "/o2.txt", "x");
    writeFile(dst + "/Sub/o3.txt", "x");
    rig.pump.hookAt = 1;  // the yield after scaling the bar
    rig.pump.hook = [this] { w().UserBreak = true; };

    sync();

    EXPECT_EQ(logCount(kBreakText), 2);
    EXPECT_EQ(w().ItemsRemoved, 0);
    EXPECT_TRUE(exists(dst + "/o1.txt"));
    EXPECT_TRUE(exists(dst + "/o2.txt"));
    EXPECT_TRUE(exists(dst + "/Sub/o3.txt"));
    EXPECT_EQ(w().FilesSeen, 1);
    // The log was written to Error.Log as well.
    EXPECT_NE(readFile(rig.appFolder() + "/Error.Log").find(kBreakText), std::string::npos);
}

TEST_F(SyncWalkTest, ABreakInASubfolderStopsAfterTheCurrentFile) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/A/Inner/f1.txt", "x");
    writeFile(dst + "/A/Inner/f2.txt", "x");
    FaultInjectingFileSystem watched(rig.fs);
    watched.beforeCall = [this](FsOp op, const std::string& path) {
        if (op == FsOp::List && path == dst + "/A/Inner") w().UserBreak = true;
    };
    rig.rebuildWindow(watched);
    configure(w());

    sync();

    EXPECT_EQ(logCount(kBreakText), 1);
    EXPECT_EQ(w().ItemsRemoved, 1);
    EXPECT_EQ(exists(dst + "/A/Inner/f1.txt") + exists(dst + "/A/Inner/f2.txt"), 1);
}

TEST_F(SyncWalkTest, EveryEnclosingLevelAddsALineAtItsNextSubfolder) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/A/Inner/Deep/f.txt", "x");
    makeDirs(dst + "/A/Later1");
    makeDirs(dst + "/A/Later2");
    makeDirs(dst + "/B");
    makeDirs(dst + "/C");
    std::vector<Entry> ignored;
    std::vector<Entry> topFolders;
    std::vector<Entry> aFolders;
    ASSERT_TRUE(rig.fs.listFolder(dst, ignored, topFolders).ok());
    ASSERT_TRUE(rig.fs.listFolder(dst + "/A", ignored, aFolders).ok());
    FaultInjectingFileSystem watched(rig.fs);
    watched.beforeCall = [this](FsOp op, const std::string& path) {
        if (op == FsOp::List && path == dst + "/A/Inner/Deep") w().UserBreak = true;
    };
    rig.rebuildWindow(watched);
    configure(w());

    sync();

    // One line where the break is seen (right after Deep's file), then one
    // from each enclosing level that reaches a further subfolder.
    auto walksOnAfter = [](const std::vector<Entry>& list, const std::string& name) {
        return !list.empty() && list.back().name != name;
    };
    const int expected = 1 + walksOnAfter(aFolders, "Inner") + walksOnAfter(topFolders, "A");
    EXPECT_EQ(logCount(kBreakText), expected);
    EXPECT_FALSE(exists(dst + "/A/Inner/Deep/f.txt"));
}

TEST_F(SyncWalkTest, DiskFullInASubfolderWithCancelEndsTheRunWithTheDiskFullLine) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/Sub/o.txt", "x");
    FaultInjectingFileSystem faulty(rig.fs);
    faulty.failOn(FsOp::CopyFile, "/Sub/o.txt", kErrDiskFull);
    rig.rebuildWindow(faulty);
    configure(w());
    useDustbinFolder();

    sync();

    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "Schijf vol; verwissel schijf en druk op OK");
    EXPECT_TRUE(w().UserBreak);
    EXPECT_TRUE(exists(dst + "/Sub/o.txt"));
    EXPECT_EQ(w().ItemsRemoved, 0);
    const std::vector<std::string> lines = rig.logLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), w().NowTimeText() + "Disk full");
}

TEST_F(SyncWalkTest, DiskFullInASubfolderWithOkGoesOnAndKeepsTheFile) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/Sub/full.txt", "x");
    writeFile(dst + "/Sub/Deeper/fine.txt", "x");
    FaultInjectingFileSystem faulty(rig.fs);
    faulty.failOn(FsOp::CopyFile, "/Sub/full.txt", kErrDiskFull);
    rig.rebuildWindow(faulty);
    configure(w());
    useDustbinFolder();
    rig.dialogs.script(MessageAnswer::Ok);

    sync();

    EXPECT_FALSE(w().UserBreak);
    EXPECT_TRUE(exists(dst + "/Sub/full.txt"));
    EXPECT_FALSE(exists(dst + "/Sub/Deeper/fine.txt"));
    EXPECT_TRUE(exists(inBin("Sub/Deeper/fine.txt")));
    EXPECT_EQ(w().ItemsRemoved, 1);
    EXPECT_EQ(w().FilesFailed, 1);
    EXPECT_EQ(logCount(dst + "/Sub/full.txt"), 1);
    EXPECT_EQ(logCount("Error 61: "), 1);
}

}  // namespace
}  // namespace zv::test
