#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <memory>
#include <tuple>

#include "platform/PlatformTest.h"
#include "sync/FolderMarking.h"
#include "sync/SyncFixture.h"

namespace zv::test {
namespace {

using SyncWalk = SyncFixture;
const char* const kBreakText = "   -  user break";

// An orphan is a backup file the source lacks as a file of exactly that name.
// Read-only ones stay (also by a bit another system recorded); hidden, system
// and link ones go (not a link's target).
TEST_F(SyncWalk, RemovesTheOrphansOnly) {
    put(src, {"keep.txt", "Sub/keep.txt", "Name.txt"});
    makeDirs(src + "/folder.txt");
    const auto stay = {"keep.txt", "Sub/keep.txt", "Name.txt",
                       "ro.txt",   "Sub/ro.txt",   "Sub/samba-ro.txt"};
    const auto go = {"gone.txt", "Sub/gone.txt", "name.txt",     "folder.txt",
                     "hs.txt",   ".dotted",      "RECYCLER.txt", "System Volume Information"};
    put(dst, stay);
    put(dst, go);
    setAttributes(dst + "/ro.txt", kAttrReadOnly);
    setAttributes(dst + "/Sub/ro.txt", kAttrReadOnly | kAttrArchive);
    setAttributes(dst + "/hs.txt", kAttrHidden | kAttrSystem);
    ASSERT_EQ(lsetxattr((dst + "/Sub/samba-ro.txt").c_str(), "user.DOSATTRIB", "0x21", 4, 0), 0);
    writeFile(rig.root / "outside.txt", "precious");
    ASSERT_EQ(symlink((rig.root / "outside.txt").c_str(), (dst + "/link").c_str()), 0);
    ASSERT_EQ(mkfifo((dst + "/pipe").c_str(), 0600), 0);  // left alone, not counted
    sync();
    for (const char* f : stay) EXPECT_TRUE(exists(dst + "/" + f)) << f;
    for (const char* f : go) EXPECT_FALSE(exists(dst + "/" + f)) << f;
    EXPECT_FALSE(exists(dst + "/link"));
    EXPECT_EQ(readFile(rig.root / "outside.txt"), "precious");
    EXPECT_TRUE(exists(dst + "/pipe"));
    EXPECT_EQ(w().counts.removed, 9);
    EXPECT_EQ(w().counts.seen, 15);
    EXPECT_TRUE(w().log.text().empty());
}

// A backup-only folder is emptied at every depth but stays. System folders and
// Old.Recycled are skipped while their counterpart exists; a source path with
// a system word blocks every subfolder, not the root files.
TEST_F(SyncWalk, WalksEveryBackupFolderButTheExcludedOnes) {
    put(src, {"anchor.txt"});
    const auto go = {"Only/a.txt", "Only/Deeper/b.txt", "Only/Deeper/Deepest/c.txt",
                     "Gone/Old.Recycled/d.txt"};
    const auto stay = {"Old.Recycled/e.txt", "Old.Recycled/Below/f.txt",
                       "system volume information/g.txt"};
    put(dst, go);
    put(dst, stay);
    sync();
    for (const char* f : go) EXPECT_FALSE(exists(dst + "/" + f)) << f;
    for (const char* f : stay) EXPECT_TRUE(exists(dst + "/" + f)) << f;
    EXPECT_TRUE(exists(dst + "/Only/Deeper/Deepest"));

    src = rig.root / "my.recycler.src";
    put(src, {"anchor.txt"});
    put(dst, {"Sub/f.txt", "root-orphan.txt"});
    freshWindow(faulty);
    sync();
    EXPECT_TRUE(exists(dst + "/Sub/f.txt"));
    EXPECT_FALSE(exists(dst + "/root-orphan.txt"));
}

// A break in the root files logs a line there and one as the subfolder walk
// starts (also in Error.Log). In a subfolder the walk stops after the current
// file, and an enclosing level with a further subfolder to go adds a line.
TEST_F(SyncWalk, ABreakStopsTheRemovalWithItsLines) {
    put(src, {"anchor.txt"});
    put(dst, {"o1.txt", "o2.txt", "Sub/o3.txt"});
    faulty.beforeCall = [this](FsOp op, const std::string& path) {
        if (op == FsOp::List && path == dst) w().userBreak = true;  // as the walk starts
    };
    sync();
    EXPECT_EQ(logCount(kBreakText), 2);
    EXPECT_EQ(w().counts.seen, 1);
    EXPECT_EQ(w().counts.removed, 0);
    EXPECT_NE(readFile(rig.appFolder() + "/Error.Log").find(kBreakText), std::string::npos);

    std::filesystem::remove_all(dst);
    put(dst, {"A/X/In/1", "A/X/In/2", "A/Y/In/1"});
    faulty.beforeCall = [this](FsOp op, const std::string& path) {
        if (op == FsOp::List && path.ends_with("/In")) w().userBreak = true;
    };
    freshWindow(faulty);
    sync();
    EXPECT_EQ(logCount(kBreakText), 2);
    EXPECT_EQ(w().counts.removed, 1);
}

// Without job.useDustbin an orphan is deleted, even with job.dustbinToTrash; with it the
// trash takes it. job.dustbinToFolder means the dustbin folder, job.useDustbin or not.
TEST_F(SyncWalk, OrphansGoWhereTheDustbinSettingsSay) {
    put(src, {"anchor.txt"});
    const struct {
        bool useDustbin, win;
        std::string where;
    } cases[] = {{false, true, "deleted"}, {true, true, "trash"}, {false, false, "dustbin"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        put(dst, {"o.txt", "Sub/p.txt"});
        rig.trash.trashed.clear();
        freshWindow(faulty);
        useDustbinFolder(bin);
        w().job.useDustbin = c.useDustbin;
        w().job.dustbinToTrash = c.win;
        w().job.dustbinToFolder = !c.win;
        sync();
        EXPECT_EQ(w().counts.removed, 2);
        EXPECT_EQ(rig.trash.trashed.size(), c.where == "trash" ? 2u : 0u);
        EXPECT_EQ(exists(dst + "/Sub/p.txt"), c.where == "trash");  // the test trash keeps it
        EXPECT_EQ(exists(inBin("Sub/p.txt")), c.where == "dustbin");
    }
}

// Orphans land below the source box path in the dustbin with their times and
// attributes, replacing a read-only file there. Drives are mount points here:
// no per-drive folder, no mark.
TEST_F(SyncWalk, OrphansLandBelowTheSourcePathInTheDustbin) {
    put(src, {"anchor.txt"});
    put(dst, {"b.txt", "Sub/a.txt"});
    setTimes(dst + "/b.txt", 1'000'000'000, 1'000'000'000);
    setAttributes(dst + "/b.txt", kAttrHidden | kAttrArchive);
    setAttributes(dst + "/Sub/a.txt", kAttrArchive);
    useDustbinFolder(bin);
    writeFile(inBin("Sub/a.txt"), "an earlier one");
    setAttributes(inBin("Sub/a.txt"), kAttrReadOnly);
    sync();
    EXPECT_EQ(readFile(inBin("b.txt")), "b.txt");
    EXPECT_EQ(readFile(inBin("Sub/a.txt")), "Sub/a.txt");
    EXPECT_FALSE(exists(dst + "/b.txt") || exists(dst + "/Sub/a.txt"));
    Entry moved;
    ASSERT_TRUE(rig.fs.stat(inBin("b.txt"), moved).ok());
    EXPECT_EQ(moved.modified, DateTime(std::chrono::seconds(1'000'000'000)));
    EXPECT_EQ(attributesOf(inBin("b.txt")) & (kAttrHidden | kAttrArchive),
              kAttrHidden | kAttrArchive);
    EXPECT_EQ(attributesOf(inBin("Sub/a.txt")) & (kAttrReadOnly | kAttrArchive), kAttrArchive);
    EXPECT_EQ(w().counts.removed, 2);
    EXPECT_FALSE(exists(bin + "/Desktop.ini"));
    EXPECT_TRUE(rig.logLines().empty());

    // The place comes from the source's real path, however the job spells
    // it ("..", a link) and whatever it holds (a colon is part of a name).
    const std::string colon = rig.root / "a:b";
    makeDirs(colon);
    ASSERT_EQ(symlink(colon.c_str(), (rig.root / "link").c_str()), 0);
    for (const std::string& spelled :
         {colon, std::string(rig.root / "link"), rig.root / "src/../a:b"}) {
        SCOPED_TRACE(spelled);
        put(colon, {"anchor.txt"});
        put(dst, {"x/y.txt"});
        w().job.source = w().ui.sourceBox.text = spelled;
        sync();
        EXPECT_EQ(readFile(bin + colon + "/x/y.txt"), "x/y.txt");
        std::filesystem::remove_all(bin + colon);
    }
}

// A dustbin on another drive gets copies (the times kept; a read-only file
// there is replaced), and each orphan goes once its copy is there.
TEST_F(SyncWalk, ADustbinOnAnotherDriveGetsCopies) {
    ScratchMount other(rig.root / "other", ScratchMount::Tmpfs, "1m");
    if (!other.ok()) GTEST_SKIP() << other.why();
    bin = other.path();
    put(src, {"anchor.txt"});
    put(dst, {"b.txt", "Sub/a.txt"});
    setTimes(dst + "/Sub/a.txt", 1'000'000'000, 1'000'000'000);
    useDustbinFolder(bin);
    writeFile(inBin("b.txt"), "an earlier one");  // read-only: replaced all the same
    setAttributes(inBin("b.txt"), kAttrReadOnly);
    sync();
    EXPECT_EQ(readFile(inBin("b.txt")) + readFile(inBin("Sub/a.txt")), "b.txtSub/a.txt");
    EXPECT_FALSE(exists(dst + "/b.txt") || exists(dst + "/Sub/a.txt"));
    Entry copied;
    ASSERT_TRUE(rig.fs.stat(inBin("Sub/a.txt"), copied).ok());
    EXPECT_EQ(copied.modified, DateTime(std::chrono::seconds(1'000'000'000)));
    EXPECT_EQ(w().counts.removed, 2);
    EXPECT_TRUE(rig.logLines().empty());
}

// A dustbin inside the backup keeps what it holds, run after run.
TEST_F(SyncWalk, ADustbinInsideTheBackupIsLeftAlone) {
    put(src, {"anchor.txt"});
    const std::string inside = dst + "/Bin";
    put(inside, {"Deeper/earlier.txt"});
    put(dst, {"root.txt", "Sub/o.txt"});
    useDustbinFolder(inside);
    for (int run = 0; run < 2; ++run) {
        sync();
        EXPECT_EQ(w().counts.removed, 2);
        EXPECT_EQ(readFile(inside + "/Deeper/earlier.txt"), "Deeper/earlier.txt");
        EXPECT_EQ(readFile(inside + src + "/root.txt"), "root.txt");
        EXPECT_EQ(readFile(inside + src + "/Sub/o.txt"), "Sub/o.txt");
    }
    // A dustbin that is the backup root (however spelled), or none at all,
    // takes nothing.
    for (const std::string& dustbin : {dst, dst + "/", dst + "/Sub/..", std::string()}) {
        SCOPED_TRACE(dustbin);
        put(dst, {"root2.txt", "Sub/o2.txt"});
        freshWindow(faulty);
        useDustbinFolder(dustbin);
        sync();
        EXPECT_EQ(readFile(dst + "/root2.txt") + readFile(dst + "/Sub/o2.txt"),
                  "root2.txtSub/o2.txt");
        EXPECT_FALSE(exists(src + "/root2.txt") || exists(src + src + "/root2.txt"));
        EXPECT_EQ(w().counts.removed, 0);
        EXPECT_EQ(logCount(dst + "/Sub/o2.txt"), dustbin.empty() ? 1 : 0);
    }
}

// A full disk (a dustbin on another drive, where the orphans are copied)
// keeps the orphan: Cancel ends the run with the "Disk full" line, OK logs
// the file and goes on.
TEST_F(SyncWalk, DiskFullInASubfolder) {
    put(src, {"anchor.txt"});
    faulty.failOn(FsOp::MoveFile, dst, kErrOtherDrive);
    faulty.failOn(FsOp::CopyFile, "/Sub/full.txt", kErrDiskFull);
    for (MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Ok}) {
        const bool gaveUp = answer == MessageAnswer::Cancel;
        put(dst, {"Sub/full.txt", "Sub/Deeper/fine.txt"});
        freshWindow(faulty);
        useDustbinFolder(bin);
        rig.dialogs.script(answer);
        sync();
        EXPECT_EQ(w().userBreak, gaveUp);
        EXPECT_TRUE(exists(dst + "/Sub/full.txt"));
        EXPECT_EQ(exists(inBin("Sub/Deeper/fine.txt")), !gaveUp);
        EXPECT_EQ(logCount(dst + "/Sub/full.txt"), gaveUp ? 0 : 1);
        EXPECT_EQ(logCount("Error 61: "), gaveUp ? 0 : 1);
        EXPECT_EQ(rig.logLines().back() == formatTime(rig.clock.current) + "Disk full", gaveUp);
    }
    EXPECT_EQ(rig.dialogs.shown.at(0).text, "Schijf vol; verwissel schijf en druk op OK");
}

std::string desktopIni(const char* iconIndex) {
    return std::string("[.ShellClassInfo]\r\nIconFile=%SystemRoot%\\system32\\SHELL32.dll\r\n") +
           "IconIndex=" + iconIndex + "\r\n";
}

using FolderMarking = SyncFixture;

// A mark: Desktop.ini recorded 38 (replaced unless protected) in a folder
// recorded 17, and KDE's .directory. Unmarking only clears the folder's bits.
TEST_F(FolderMarking, MarksAndUnmarksFolders) {
    const struct {
        void (*mark)(FileSystem&, const std::string&);
        const char* iconIndex;
        const char* icon;
    } marks[] = {{markDustbinFolder, "101", "user-trash"},
                 {markDriveFolder, "8", "drive-harddisk"}};
    for (const auto& m : marks) {
        const std::string folder = rig.root / m.icon;
        writeFile(folder + "/Desktop.ini", "something else\r\n");
        m.mark(rig.fs, folder);
        EXPECT_EQ(readFile(folder + "/Desktop.ini"), desktopIni(m.iconIndex));
        EXPECT_EQ(attributesOf(folder + "/Desktop.ini"), 38u);
        EXPECT_EQ(attributesOf(folder), 17u);
        EXPECT_EQ(readFile(folder + "/.directory"),
                  std::string("[Desktop Entry]\nIcon=") + m.icon + "\n");
    }
    const std::string station = rig.root / "drive-harddisk";
    markDustbinFolder(rig.fs, station);
    EXPECT_EQ(readFile(station + "/Desktop.ini"), desktopIni("8"));
    EXPECT_EQ(attributesOf(station), 17u);
    setAttributes(station, kAttrDirectory | kAttrReadOnly | kAttrHidden | kAttrSystem);
    clearFolderMark(rig.fs, station);
    EXPECT_EQ(attributesOf(station), 16u);
    EXPECT_EQ(readFile(station + "/Desktop.ini"), desktopIni("8"));
    EXPECT_TRUE(std::filesystem::exists(station + "/.directory"));

    for (auto markOrClear : {markDustbinFolder, markDriveFolder, clearFolderMark})
        markOrClear(rig.fs, rig.root / "missing");
    EXPECT_FALSE(exists(rig.root / "missing"));  // a missing folder is not made
}

TEST_F(FolderMarking, TheUsersOwnDirectorySettingsAreKept) {
    const std::pair<const char*, const char*> before_after[] = {
        {"[Dolphin]\nViewMode=1\n\n[Desktop Entry]\nIcon=folder-blue\nName=Mine\n",
         "[Dolphin]\nViewMode=1\n\n[Desktop Entry]\nIcon=user-trash\nName=Mine\n"},
        {"[Dolphin]\nViewMode=1", "[Dolphin]\nViewMode=1\n[Desktop Entry]\nIcon=user-trash\n"}};
    for (const auto& [before, after] : before_after) {
        writeFile(bin + "/.directory", before);
        markDustbinFolder(rig.fs, bin);
        EXPECT_EQ(readFile(bin + "/.directory"), after);
    }
}

}  // namespace
}  // namespace zv::test
