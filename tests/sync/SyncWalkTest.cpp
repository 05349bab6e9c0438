#include <sys/xattr.h>

#include "sync/FolderMarking.h"
#include "sync/SyncFixture.h"
#include "sync/SyncPaths.h"

namespace zv::test {
namespace {

using SyncWalk = SyncFixture;

// A source root empty (an unplugged disk's mount point), gone mid-walk or not listable.
TEST_F(SyncWalk, AGoneSourceIsNeverTakenForOrphans) {
    const std::string reason = "\"" + src + "\" bronmap bestaat niet";
    const std::string line = formatDate(rig.clock.current) + " " + timeText() + " Error: " + reason;
    for (int way = 1; way < 4; ++way) {  // empty, gone mid-walk, not listable
        SCOPED_TRACE(way);
        fresh();
        if (way >= 2) put(src, {"root.txt", "A/keep.txt"});
        if (way == 3) faulty.failOn(FsOp::List, src, kErrAccessDenied);
        put(dst, {"root.txt", "A/keep.txt", "B/orphan.txt"});
        faulty.beforeCall = [&, way](FsOp op, const std::string& path) {
            if (way == 2 && op == FsOp::List && path.starts_with(dst + "/")) fs::remove_all(src);
        };
        rig.dialogs.shown.clear();
        sync();
        EXPECT_EQ(tree(dst), (Names{"A/keep.txt", "B/orphan.txt", "root.txt"}));
        EXPECT_EQ(std::pair(w().counts.removed, w().userBreak), std::pair(0, true));
        EXPECT_EQ(std::ranges::count(rig.logLines(), line), 1);
        EXPECT_NE(readFile(rig.appFolder() + "/Error.Log").find(line), std::string::npos);
        EXPECT_EQ(rig.dialogs.shown.size() == 1 ? rig.dialogs.shown[0].text : "", reason);
    }
}

// Deleted, to the trash or to the dustbin folder; one that cannot be removed stays.
TEST_F(SyncWalk, OrphansGoWhereTheSettingsSayOrStayWhenTheyCannot) {
    enum Where { Deleted, Trash, Dustbin, OtherDrive };
    const struct {
        Where where;
        bool useDustbin, fails;
    } cases[] = {{Deleted, false, false},  {Trash, true, false}, {Dustbin, true, true},
                 {OtherDrive, true, true}, {Trash, true, true},  {Deleted, false, true},
                 {Dustbin, false, false}};
    const FsOp failing[] = {FsOp::DeleteFile, FsOp::Any, FsOp::MoveFile, FsOp::CopyFile};
    put(src, {"anchor.txt"});
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.where << c.fails);
        put(dst, {"root.txt", "Sub/o.txt"});
        fresh(false);
        rig.trash.trashed.clear();
        rig.progress = {};
        faulty.clearFailures();
        useDustbinFolder(bin);
        w().job.useDustbin = c.useDustbin;
        w().job.dustbinToTrash = c.where == Trash || c.where == Deleted;
        w().job.dustbinToFolder = !w().job.dustbinToTrash;
        rig.trash.result = c.fails ? fsFail(kErrAccessDenied, "refused") : FsError{};
        if (c.where == OtherDrive) faulty.failOn(FsOp::MoveFile, dst + "/", kErrOtherDrive);
        if (c.fails && c.where != Trash)
            faulty.failOn(failing[c.where], dst + "/", kErrAccessDenied);
        sync();
        const bool left = c.fails || c.where == Trash;  // the test trash keeps what it is handed
        EXPECT_EQ(tree(dst), (left ? Names{"Sub/o.txt", "root.txt"} : Names{"Sub/"}));
        EXPECT_EQ(rig.trash.trashed.size(), c.where == Trash ? 2u : 0u);
        EXPECT_EQ(fs::exists(bin + src + "/Sub/o.txt"), !c.fails && c.where >= Dustbin);
        EXPECT_EQ(removedAndFailed(), c.fails ? std::pair(0, 2) : std::pair(2, 0));
        EXPECT_EQ(logCount(timeText() + " - " + dst + "/Sub/o.txt"), c.fails ? 1 : 0);
        EXPECT_EQ(logCount("Error 75: "), c.fails ? 2 : 0);
        EXPECT_EQ(rig.progress.started, rig.progress.finished);  // each one shown, then done
        EXPECT_EQ(rig.progress.started.size(), 2u);
    }
}

// An orphan whose path is not the backup path as spelled is left and logged.
TEST_F(SyncWalk, AnOrphanOutsideTheBackupPathIsLeftAndLogged) {
    put(src, {"anchor.txt"});
    put(dst, {"Sub/o.txt"});
    useDustbinFolder(bin);
    w().job.backup = dst + "/";
    const std::string otherSpelling = rig.root.path() + "/./dst";
    syncSubfolders(w().run, otherSpelling, src);
    EXPECT_EQ(tree(dst), Names{"Sub/o.txt"});
    EXPECT_EQ(logCount(otherSpelling + "/Sub/o.txt"), 1);
    EXPECT_TRUE(fs::is_empty(bin));
}

// What the source's side cannot tell is kept and failed; a leftover temporary file goes.
TEST_F(SyncWalk, UnknownIsNeverAbsent) {
    put(src, {"anchor.txt", "A/here.txt", "B/here.txt"});
    put(dst, {"A/hidden.txt", "A/gone.txt", "B/x.txt", "B/Deep/y.txt", "A/.zv-tmp-0123456789abcdef",
              "A/.zv-tmp-not-ours", "C/.zv-tmp-0123456789abcdef", "C/gone.txt"});
    useDustbinFolder(bin);
    faulty.failOn(FsOp::Stat, src + "/A/hidden.txt", kErrAccessDenied);
    faulty.failOn(FsOp::Stat, src + "/B", kErrAccessDenied);
    sync();
    EXPECT_EQ(tree(dst), (Names{"A/hidden.txt", "B/Deep/y.txt", "B/x.txt", "C/"}));
    EXPECT_EQ(tree(bin + src), (Names{"A/.zv-tmp-not-ours", "A/gone.txt", "C/gone.txt"}));
    EXPECT_EQ(removedAndFailed(), std::pair(3, 2));
    EXPECT_EQ(logCount(dst + "/A/hidden.txt") + logCount(src + "/B"), 2);
}

// The source inside the backup, a dustbin and a trash folder are never taken.
TEST_F(SyncWalk, TheRunsOwnFoldersInsideTheBackupAreKept) {
    src = dst + "/x/src";
    ScratchMount disk(dst, ScratchMount::Tmpfs, "1m");
    if (!disk.ok()) GTEST_SKIP() << disk.why();
    for (const char* f : {"x/src/empty", ".Trash-1000/files", "gone/deeper", "Bin/empty"})
        makeDirs(dst + "/" + f);
    fresh(false);
    useDustbinFolder(dst + "/Bin");
    w().job.removeEmptyFolders = true;
    (void)resolveRunFolders(w());
    killEmpty();
    EXPECT_EQ(tree(dst), (Names{".Trash-1000/files/", "Bin/empty/", "x/src/empty/"}));
}

// Orphans: files the source lacks by that exact name (not read-only; links as links),
// outside system folders; a source path with a system word blocks every subfolder.
TEST_F(SyncWalk, RemovesTheOrphansOnlyWhereItMayLook) {
    put(src, {"keep.txt", "Sub/keep.txt", "Name.txt", "Was.Folder"});
    makeDirs(src + "/folder.txt");
    put(dst, {"keep.txt", "Sub/keep.txt", "Name.txt", "ro.txt", "Sub/ro.txt", "Sub/samba-ro.txt",
              "gone.txt", "Sub/gone.txt", "name.txt", "folder.txt", "hs.txt", ".dotted"});
    put(dst, {"RECYCLER.txt", "System Volume Information", "Only/a.txt", "Only/Deeper/Deepest/c",
              "Gone/Old.Recycled/d", "Old.Recycled/e", "Old.Recycled/Below/f", "Was.Folder/x",
              "system volume information/g"});
    setAttributes(dst + "/ro.txt", kAttrReadOnly);
    setAttributes(dst + "/Sub/ro.txt", kAttrReadOnly | kAttrArchive);
    setAttributes(dst + "/hs.txt", kAttrHidden | kAttrSystem);
    ASSERT_EQ(lsetxattr((dst + "/Sub/samba-ro.txt").c_str(), "user.DOSATTRIB", "0x21", 4, 0), 0);
    put(rig.root.path(), {"outside.txt"});
    ASSERT_EQ(symlink((rig.root / "outside.txt").c_str(), (dst + "/link").c_str()), 0);
    ASSERT_EQ(mkfifo((dst + "/pipe").c_str(), 0600), 0);
    faulty.adjustEntry = [&](const std::string& p, Entry& e) {
        if (p == dst + "/Sub") e.id = {};  // an identity not read is no run root
    };
    sync();
    EXPECT_EQ(tree(dst),
              (Names{"Gone/Old.Recycled/", "Name.txt", "Old.Recycled/Below/f", "Old.Recycled/e",
                     "Only/Deeper/Deepest/", "Sub/keep.txt", "Sub/ro.txt", "Sub/samba-ro.txt",
                     "Was.Folder/", "keep.txt", "pipe", "ro.txt", "system volume information/g"}));
    EXPECT_EQ(readFile(rig.root / "outside.txt"), "outside.txt");
    EXPECT_EQ(std::pair(w().counts.removed, w().counts.seen), std::pair(13, 19));
    EXPECT_TRUE(w().log.text().empty());

    src = rig.root / "my.recycler.src";
    fresh();
    put(src, {"anchor.txt"});
    put(dst, {"Sub/f.txt", "root-orphan.txt"});
    sync();
    EXPECT_EQ(tree(dst), Names{"Sub/f.txt"});
}

// A folder of many files is read once, not name by name; its names answer for it alone.
TEST_F(SyncWalk, AFolderOfManyFilesIsReadOnceForItselfOnly) {
    const Names many = {"1", "2", "3", "4", "5", "6", "A/1", "A/2", "A/3", "A/4", "A/5", "A/6"};
    put(src, many);
    put(dst, many);
    put(src, {"A/Sub/keep"});
    put(dst, {"A/Sub/keep", "A/Sub/1"});
    int asked = 0;
    faulty.beforeCall = [&](FsOp op, const std::string& path) {
        asked += op == FsOp::Stat && path.starts_with(src + "/") &&
                 std::ranges::count(many, path.substr(src.size() + 1)) == 1;
    };
    sync();
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(fs::exists(dst + "/A/Sub/1"));
}

// A dustbin folder gone mid-run (its disk unplugged), or another in its place, takes nothing.
TEST_F(SyncWalk, ADustbinGoneMidRunIsNotMadeAgain) {
    for (const bool replaced : {false, true}) {
        const std::string away = rig.root / (replaced ? "away2" : "away1");
        fresh();
        put(src, {"anchor.txt"});
        put(dst, {"Sub/o.txt"});
        useDustbinFolder(bin);
        faulty.beforeCall = [&](FsOp op, const std::string& path) {
            if (op != FsOp::List || path != dst + "/Sub") return;
            fs::rename(bin, away);
            if (replaced) makeDirs(bin);
        };
        sync();
        EXPECT_EQ(std::tuple(fs::exists(bin), tree(away), tree(dst), removedAndFailed()),
                  std::tuple(replaced, Names{}, Names{"Sub/o.txt"}, std::pair(0, 1)));
    }
}

// Exit at the root stops the removal there.
TEST_F(SyncWalk, ExitAtTheRootStopsTheRemoval) {
    put(src, {"anchor.txt"});
    put(dst, {"o1.txt", "o2.txt", "Sub/o3.txt"});
    faulty.beforeCall = [this](FsOp op, const std::string& path) {
        if (op == FsOp::List && path == dst) w().userBreak = true;
    };
    sync();
    EXPECT_EQ(tree(dst), (Names{"Sub/o3.txt", "o1.txt", "o2.txt"}));
}

// Orphans land below the source's real path in the dustbin, however spelled, as they were.
TEST_F(SyncWalk, OrphansLandBelowTheSourcesRealPathInTheDustbin) {
    ScratchMount other(rig.root / "other", ScratchMount::Tmpfs, "1m");
    const std::string colon = rig.root / "a:b";  // a colon belongs to the name
    ASSERT_EQ(symlink(colon.c_str(), (rig.root / "link").c_str()), 0);
    const struct {
        std::string dustbin, source, real;
    } cases[] = {{bin, src, src},
                 {other.path(), src, src},
                 {bin, colon, colon},
                 {bin, rig.root / "link", colon},
                 {bin, rig.root / "src/../a:b", colon}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dustbin + " " + c.source);
        if (c.dustbin != bin && !other.ok()) continue;
        const auto in = [&](const std::string& rel) { return c.dustbin + c.real + "/" + rel; };
        put(c.real, {"anchor.txt"});
        put(dst, {"b.txt", "Sub/a.txt"});
        setAttributes(dst + "/b.txt", kAttrHidden | kAttrArchive);
        setAttributes(dst + "/Sub/a.txt", kAttrArchive);
        fresh(false);
        useDustbinFolder(c.dustbin);
        w().job.source = w().ui.sourceBox.text = c.source;
        writeFile(in("Sub/a.txt"), "an earlier one");
        setAttributes(in("Sub/a.txt"), kAttrReadOnly);
        sync();
        EXPECT_EQ(readFile(in("b.txt")) + readFile(in("Sub/a.txt")), "b.txtSub/a.txt");
        EXPECT_EQ(tree(dst), Names{"Sub/"});
        EXPECT_EQ(tree(c.dustbin),
                  (Names{c.real.substr(1) + "/Sub/a.txt", c.real.substr(1) + "/b.txt"}));
        EXPECT_EQ(attributesOf(in("b.txt")) & (kAttrHidden | kAttrArchive),
                  kAttrHidden | kAttrArchive);
        EXPECT_EQ(attributesOf(in("Sub/a.txt")) & (kAttrReadOnly | kAttrArchive), kAttrArchive);
        EXPECT_EQ(removedAndFailed(), std::pair(2, 0));
        EXPECT_TRUE(rig.logLines().empty());
        fs::remove_all(c.dustbin + c.real);
    }
}

// The backup root as the dustbin, however spelled, takes nothing.
TEST_F(SyncWalk, ADustbinInsideTheBackupIsLeftAlone) {
    for (const std::string& dustbin : {dst, dst + "/", dst + "/Sub/..", std::string()}) {
        SCOPED_TRACE(dustbin);
        fresh();
        put(src, {"anchor.txt"});
        put(dst, {"root.txt", "Sub/o.txt"});
        useDustbinFolder(dustbin);
        sync();
        EXPECT_EQ(tree(dst), (Names{"Sub/o.txt", "root.txt"}));
        EXPECT_EQ(std::pair(tree(src), w().counts.removed), std::pair(Names{"anchor.txt"}, 0));
        EXPECT_EQ(logCount(dst + "/Sub/o.txt"), dustbin.empty() ? 1 : 0);
    }
}

// A full disk on copying into a dustbin on another drive: Cancel or OK.
TEST_F(SyncWalk, DiskFullInASubfolder) {
    put(src, {"anchor.txt"});
    faulty.failOn(FsOp::MoveFile, dst, kErrOtherDrive);
    faulty.failOn(FsOp::CopyFile, "/Sub/full.txt", kErrDiskFull);
    for (MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Ok}) {
        const bool gaveUp = answer == MessageAnswer::Cancel;
        put(dst, {"Sub/full.txt", "Sub/Deeper/fine.txt"});
        fresh(false);
        useDustbinFolder(bin);
        rig.dialogs.script(answer);
        sync();
        EXPECT_EQ(std::pair(w().userBreak, fs::exists(dst + "/Sub/full.txt")),
                  std::pair(gaveUp, true));
        EXPECT_EQ(fs::exists(bin + src + "/Sub/Deeper/fine.txt"), !gaveUp);
        EXPECT_EQ(logCount(dst + "/Sub/full.txt") + logCount("Error 61: "), gaveUp ? 0 : 2);
        EXPECT_EQ(rig.logLines().back() == timeText() + "Disk full", gaveUp);
    }
}

// A source on a lettered drive has that drive's folder in the dustbin, with the drive icon.
TEST_F(SyncWalk, ALetteredDriveHasItsMarkedFolderInTheDustbin) {
    faulty.drive = "C:\\";
    put(src, {"anchor.txt"});
    put(dst, {"Sub/o.txt", "Sub/p.txt"});
    useDustbinFolder(bin);
    sync();
    EXPECT_EQ(tree(bin + "/C"), (Names{".directory", "Desktop.ini"}));
    EXPECT_EQ(readFile(bin + "/C/.directory"), "[Desktop Entry]\nIcon=drive-harddisk\n");
    EXPECT_EQ(tree(bin + src), (Names{"Sub/o.txt", "Sub/p.txt"}));
}

// A marked dustbin: Desktop.ini, read-only, and Icon= in .directory's [Desktop Entry] only.
TEST_F(SyncWalk, AMarkedDustbinShowsItsIconAndKeepsTheUsersLines) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "[Desktop Entry]\nIcon=user-trash\n"},
        {"[Desktop Entry]\r\nIcon=folder\r\nName=x",
         "[Desktop Entry]\r\nIcon=user-trash\nName=x\n"},
        {"[Other]\nIcon=keep\n[Desktop Entry]\nName=x\n[More]\n",
         "[Other]\nIcon=keep\n[Desktop Entry]\nName=x\nIcon=user-trash\n[More]\n"}};
    makeDirs(bin);
    for (const auto& [before, after] : cases) {
        if (!before.empty()) writeFile(bin + "/.directory", before);
        markDustbinFolder(rig.fs, bin);
        EXPECT_EQ(readFile(bin + "/.directory"), after);
        EXPECT_EQ(readFile(bin + "/Desktop.ini"),
                  "[.ShellClassInfo]\r\nIconFile=%SystemRoot%\\system32\\SHELL32.dll\r\nIconIndex="
                  "101\r\n");
        EXPECT_EQ(attributesOf(bin) & kAttrReadOnly, kAttrReadOnly);
    }
}

// An orphan's place lies inside the dustbin and outside the source.
TEST(DustbinPlace, AlwaysInsideTheDustbinAndOutsideTheSource) {
    const struct {
        const char *dustbin, *source, *backup, *orphan, *place;
    } cases[] = {
        {"/m/Bin/", "/data/src/", "/m/Bk/", "/m/Bk/a.txt", "/m/Bin/data/src/a.txt"},
        {"/m/Bin", "A:/Data", "/m/Bk", "/m/Bk/x.txt", "/m/Bin/A/Data/x.txt"},
        {"/d", "/d/src", "/bk", "/bk/x", "/d/d/src/x"},  // the dustbin above the source
        // No place: through "..", outside the backup, back into the source.
        {"/m/Bin", "../../../data", "/m/Bk", "/m/Bk/old.txt", ""},
        {"/m/Bin", "/data/src", "/m/Bk", "/m/Bk/../../x", ""},
        {"/m/Bin", "/data/src", "/m/Bk", "/m/Bk2/x", ""},
        {"/m/Bin", "/data/src", "/m/Bk", "/m/Bk", ""},
        {"/a", "/a/a", "/bk", "/bk/x", ""},
        {"/", "/data", "/bk", "/bk/x", ""},
        {"", "/data", "/bk", "/bk/x", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dustbinPlace(c.dustbin, c.source, c.backup, c.orphan), c.place) << c.orphan;
    for (const auto& [in, out] :  // only a drive letter loses its colon
         {std::pair{"Z:", "Z"}, {"z:/x", "z/x"}, {"1:/x", "1:/x"}, {"/x:y", "/x:y"}, {"a:b", "ab"}})
        EXPECT_EQ(stripDriveColon(in), out) << in;
}

}  // namespace
}  // namespace zv::test
