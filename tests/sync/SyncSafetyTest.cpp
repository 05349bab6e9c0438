#include <sys/mount.h>

#include "copy/KillEmpty.h"
#include "platform/PlatformTest.h"
#include "sync/SourceGuard.h"
#include "sync/SyncFixture.h"
#include "sync/SyncPaths.h"

namespace zv::test {
namespace {

class SyncSafety : public SyncFixture {
  protected:
    // However the source root went, nothing is removed, the line is logged
    // once and the run ends like a break.
    void expectSourceGone() {
        for (const char* f : {"root.txt", "A/keep.txt", "B/orphan.txt"})
            EXPECT_TRUE(exists(dst + "/" + f)) << f;
        EXPECT_EQ(w().counts.removed, 0);
        EXPECT_TRUE(w().userBreak);
        const DateTime now = rig.clock.current;
        const std::string line = formatDate(now) + " " + formatTime(now) + " Error: \"" + src +
                                 "\" bronmap bestaat niet";
        EXPECT_EQ(std::ranges::count(rig.logLines(), line), 1);
        EXPECT_NE(readFile(rig.appFolder() + "/Error.Log").find(line), std::string::npos);
        // The window, which closes now, says why first.
        ASSERT_EQ(rig.dialogs.shown.size(), 1u);
        EXPECT_EQ(rig.dialogs.shown[0].text, "\"" + src + "\" bronmap bestaat niet");
        EXPECT_EQ(rig.dialogs.shown[0].style, MessageStyle::OkExclamation);
        rig.dialogs.shown.clear();
    }
};

// The source root missing at the start, empty (the mount point of a disk that
// is not plugged in), or vanishing during the walk.
TEST_F(SyncSafety, AGoneSourceIsNeverTakenForOrphans) {
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        std::filesystem::remove_all(src);
        if (way == 1) makeDirs(src);
        if (way == 2) put(src, {"root.txt", "A/keep.txt"});
        put(dst, {"root.txt", "A/keep.txt", "B/orphan.txt"});
        faulty.beforeCall = [&, way](FsOp op, const std::string& path) {
            if (way == 2 && op == FsOp::List && path.starts_with(dst + "/"))
                std::filesystem::remove_all(src);
        };
        freshWindow(faulty);
        sync();
        expectSourceGone();
    }
}

TEST_F(SyncSafety, AnUnpluggedSourceDiskDuringTheWalkStopsTheRemoval) {
    if (mount("tmpfs", src.c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    struct Unmount {
        std::string at;
        ~Unmount() { umount2(at.c_str(), MNT_DETACH); }
    } unmount{src};
    put(src, {"root.txt", "A/keep.txt"});
    put(dst, {"root.txt", "A/keep.txt", "B/orphan.txt"});
    bool unplugged = false;
    faulty.beforeCall = [&](FsOp op, const std::string& path) {
        if (op == FsOp::List && !unplugged && path.starts_with(dst + "/"))
            unplugged = umount2(src.c_str(), MNT_DETACH) == 0;
    };
    sync();
    ASSERT_TRUE(unplugged);
    expectSourceGone();
}

// The guard also refuses a root it cannot list. After one listing it checks
// with a stat of one entry, and still sees the root emptied.
TEST_F(SyncSafety, TheSourceGuardChecksCheaplyAndStillSeesTheRootEmptied) {
    put(src, {"a.txt", "Sub/b.txt"});
    faulty.failOn(FsOp::List, "src", kErrAccessDenied, 1);
    EXPECT_FALSE(SourceGuard(faulty, src).present());
    SourceGuard guard(faulty, src);
    ASSERT_TRUE(guard.present());
    const long listings = faulty.calls(FsOp::List);
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(guard.present());
    EXPECT_EQ(faulty.calls(FsOp::List), listings);
    std::filesystem::remove_all(src + "/Sub");
    EXPECT_TRUE(guard.present());  // another entry is still there
    std::filesystem::remove(src + "/a.txt");
    EXPECT_FALSE(guard.present());
}

// A whole unattended run with the dustbin layout, then one from an empty
// source, which removes nothing and does not complete (the from-date stays).
TEST_F(SyncSafety, UnattendedRunsFromOptions) {
    makeDirs(bin);
    const std::string options =
        "-ps " + src + " -pd " + dst + " -pr " + bin + " -vf 1 -cd 0 -ke 1 -sy 1";
    put(dst, {"a.txt", "Sub/b.txt"});
    w().applyCommandLineOptions(AppWindow::splitCommandLine(options + " -db 0"));
    EXPECT_FALSE(w().runCompleted);
    EXPECT_EQ(readFile(dst + "/a.txt") + readFile(dst + "/Sub/b.txt"), "a.txtSub/b.txt");

    put(src, {"keep.txt", "Sub/keep.txt"});
    put(dst, {"keep.txt", "Sub/keep.txt", "OnlyHere/Deeper/gone.txt"});
    freshWindow(faulty);
    w().applyCommandLineOptions(AppWindow::splitCommandLine(options + " -db 2"));
    EXPECT_TRUE(w().runCompleted);
    for (const char* f : {"a.txt", "Sub/b.txt", "OnlyHere/Deeper/gone.txt"}) {
        EXPECT_EQ(readFile(inBin(f)), f);
        EXPECT_FALSE(exists(dst + "/" + f));
    }
    EXPECT_EQ(readFile(dst + "/Sub/keep.txt"), "Sub/keep.txt");
    EXPECT_FALSE(exists(dst + "/OnlyHere"));  // emptied, then removed by the empty-folder pass
    EXPECT_EQ(w().counts.removed, 3);
}

// An orphan that could not be removed (its move into the dustbin failed, the
// retry too; so did its copy into a dustbin on another drive; the trash
// refused; the delete failed) stays, is not counted, and is logged.
TEST_F(SyncSafety, AnOrphanThatCouldNotBeRemovedStaysUncountedAndIsLogged) {
    put(src, {"anchor.txt"});
    for (const std::string how : {"dustbin", "other drive", "trash", "delete"}) {
        SCOPED_TRACE(how);
        put(dst, {"root.txt", "Sub/o.txt"});
        freshWindow(faulty);
        faulty.clearFailures();
        rig.trash.result = how == "trash" ? fsFail(kErrAccessDenied, "refused") : FsError{};
        w().job.useDustbin = w().job.dustbinToTrash = how == "trash";
        if (how == "dustbin" || how == "other drive") useDustbinFolder(bin);
        if (how == "other drive") faulty.failOn(FsOp::MoveFile, dst + "/", kErrOtherDrive);
        const FsOp failing = how == "dustbin"       ? FsOp::MoveFile
                             : how == "other drive" ? FsOp::CopyFile
                                                    : FsOp::DeleteFile;
        if (how != "trash") faulty.failOn(failing, dst + "/", kErrAccessDenied);
        sync();
        for (const char* f : {"root.txt", "Sub/o.txt"}) {
            EXPECT_EQ(readFile(dst + "/" + f), f);
            EXPECT_EQ(logCount(formatTime(rig.clock.current) + " - " + dst + "/" + f), 1) << f;
        }
        EXPECT_EQ(logCount("Error 75: "), 2);
        EXPECT_EQ(w().counts.removed, 0);
        EXPECT_EQ(w().counts.failed, 2);
    }
}

// Where remainderAfter gives nothing (the path does not begin with the backup path as
// spelled), the orphan is left where it is and logged, not put in a wrong folder.
TEST_F(SyncSafety, AnOrphanOutsideTheBackupPathIsLeftAndLogged) {
    EXPECT_EQ(remainderAfter("/mnt/b/Backup/Sub/a.txt", "/mnt/b/Backup"), "/Sub/a.txt");
    // Only a drive letter loses its colon, also on its own.
    for (const auto& [in, out] :
         {std::pair{"C:", "C"}, {"c:/x", "c/x"}, {"1:/x", "1:/x"}, {"/x:y", "/x:y"}, {"C", "C"}})
        EXPECT_EQ(stripDriveColon(in), out) << in;
    for (const char* path : {"/x/mnt/b/Backup/a", "/mnt/B/backup/a", "/mnt/b/Backup"})
        EXPECT_EQ(remainderAfter(path, "/mnt/b/Backup"), "") << path;
    put(src, {"anchor.txt"});
    put(dst, {"Sub/o.txt"});
    useDustbinFolder(bin);
    w().job.backup = dst + "/";
    const std::string otherSpelling = rig.root.path() + "/./dst";
    syncSubfolders(w().run, otherSpelling, src);
    EXPECT_TRUE(exists(dst + "/Sub/o.txt"));
    EXPECT_EQ(logCount(otherSpelling + "/Sub/o.txt"), 1);
    EXPECT_TRUE(std::filesystem::is_empty(bin));
}

// What cannot be looked at on the source's side is never taken for gone: a
// file whose source cannot be looked at, or a whole folder whose source
// folder cannot, stays; each is logged and counts as failed. A leftover
// temporary file of a killed run is removed quietly, never moved or counted.
TEST_F(SyncSafety, UnknownIsNeverAbsent) {
    put(src, {"anchor.txt", "A/here.txt", "B/here.txt"});
    put(dst, {"A/hidden.txt", "A/gone.txt", "B/x.txt", "B/Deep/y.txt", "A/.zv-tmp-0123456789abcdef",
              "A/.zv-tmp-not-ours"});
    useDustbinFolder(bin);
    faulty.failOn(FsOp::Stat, src + "/A/hidden.txt", kErrAccessDenied);
    faulty.failOn(FsOp::Stat, src + "/B", kErrAccessDenied);
    sync();
    for (const char* f : {"A/hidden.txt", "B/x.txt", "B/Deep/y.txt"})
        EXPECT_EQ(readFile(dst + "/" + f), f) << f;
    EXPECT_EQ(readFile(inBin("A/gone.txt")), "A/gone.txt");
    EXPECT_EQ(readFile(inBin("A/.zv-tmp-not-ours")), "A/.zv-tmp-not-ours");
    EXPECT_FALSE(exists(dst + "/A/.zv-tmp-0123456789abcdef"));
    EXPECT_FALSE(exists(inBin("A/.zv-tmp-0123456789abcdef")));
    EXPECT_EQ(w().counts.removed, 2);
    EXPECT_EQ(w().counts.failed, 2);
    EXPECT_EQ(logCount(dst + "/A/hidden.txt"), 1);
    EXPECT_EQ(logCount(src + "/B"), 1);
}

// The empty-folder pass keeps the source inside the backup, a dustbin and a
// volume's trash folder however empty they are.
TEST_F(SyncSafety, TheEmptyFolderPassKeepsTheRunsOwnFolders) {
    ScratchMount disk(dst, ScratchMount::Tmpfs, "1m");
    if (!disk.ok()) GTEST_SKIP() << disk.why();
    src = dst + "/src";
    makeDirs(src + "/empty");
    makeDirs(dst + "/.Trash-1000/files");
    makeDirs(dst + "/gone/deeper");
    freshWindow(faulty);
    useDustbinFolder(dst + "/Bin");
    makeDirs(dst + "/Bin/empty");
    w().job.removeEmptyFolders = true;
    (void)resolveRunFolders(w());
    killEmptyRoot(w().run, dst);
    killEmptySubfolders(w().run, dst);
    for (const char* kept : {"src/empty", ".Trash-1000/files", "Bin/empty"})
        EXPECT_TRUE(exists(dst + "/" + kept)) << kept;
    EXPECT_FALSE(exists(dst + "/gone"));
}

TEST_F(SyncSafety, ASourceInsideTheBackupIsNeverTakenForOrphans) {
    src = dst + "/x/src";
    put(src, {"precious.txt", "Deeper/precious.txt"});
    put(dst, {"x/orphan.txt"});
    freshWindow(faulty);
    sync();
    EXPECT_TRUE(exists(src + "/precious.txt") && exists(src + "/Deeper/precious.txt"));
    EXPECT_FALSE(exists(dst + "/x/orphan.txt"));
}

}  // namespace
}  // namespace zv::test

namespace zv::test {
namespace {

// An orphan's place lies inside the dustbin and outside the source, whatever
// the paths hold; a colon is part of a name unless it follows a drive letter.
TEST(DustbinPlace, AlwaysInsideTheDustbinAndOutsideTheSource) {
    const struct {
        const char *dustbin, *source, *backup, *orphan, *place;
    } cases[] = {
        {"/mnt/b/Bin", "/data/src", "/mnt/b/Backup", "/mnt/b/Backup/Sub/a.txt",
         "/mnt/b/Bin/data/src/Sub/a.txt"},
        {"/mnt/b/Bin/", "/data/src/", "/mnt/b/Backup/", "/mnt/b/Backup/a.txt",
         "/mnt/b/Bin/data/src/a.txt"},
        {"/mnt/b/Bin", "/srv/a:b", "/mnt/b/Backup", "/mnt/b/Backup/Sub/x.txt",
         "/mnt/b/Bin/srv/a:b/Sub/x.txt"},
        {"/mnt/b/Bin", "C:/Data", "/mnt/b/Backup", "/mnt/b/Backup/x.txt",
         "/mnt/b/Bin/C/Data/x.txt"},
        {"/d", "/d/src", "/bk", "/bk/x", "/d/d/src/x"},  // the dustbin above the source
        // No place: through "..", outside the backup, back into the source.
        {"/mnt/b/Bin", "../../../data", "/mnt/b/Backup", "/mnt/b/Backup/old.txt", ""},
        {"/mnt/b/Bin", "/data/src", "/mnt/b/Backup", "/mnt/b/Backup/../../x", ""},
        {"/mnt/b/Bin", "/data/src", "/mnt/b/Backup", "/mnt/b/Backup2/x", ""},
        {"/mnt/b/Bin", "/data/src", "/mnt/b/Backup", "/mnt/b/Backup", ""},
        {"/a", "/a/a", "/bk", "/bk/x", ""},
        {"/", "/data", "/bk", "/bk/x", ""},
        {"", "/data", "/bk", "/bk/x", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dustbinPlace(c.dustbin, c.source, c.backup, c.orphan), c.place) << c.orphan;
}

}  // namespace
}  // namespace zv::test
