#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "copy/CopyFixture.h"
#include "copy/KillEmpty.h"

namespace zv::test {
namespace {

using CopyWalk = CopyFixture;
namespace fs = std::filesystem;

// Which files a walk copies ('1'). Under synchronisation a missing copy is made
// whatever its date, and one read after the from-date gets its source's
// attributes back ('r'); a read-only copy is replaced all the same.
TEST_F(CopyWalk, SelectsFilesByTheDateFilterAndSynchronisation) {
    const char* const names[] = {"fresh", "kept", "absent", "edge", "quiet/old", "odd", "touched"};
    for (const char* name : names) oldFile(S(name), "source");
    setTimes(S("fresh"), from + 3600, from + 3600);
    setTimes(S("edge"), from, from);  // exactly at the from-date: not new
    setTimes(S("kept"), from - 86400, from + 60);
    setTimes(S("touched"), from - 86400, from + 60);
    ASSERT_TRUE(rig.fs.setAttributes(S("touched"), kAttrHidden).ok());
    setTimes(S("quiet"), from - 86400, from - 86400);  // an old folder new in the backup
    faulty.adjustEntry = [](const std::string& path, Entry& e) {
        if (path.ends_with("/odd")) e.modified = DateTime{};  // counts as new
    };
    const struct {
        Walk walk;
        bool sync, noDateCheck;
        const char* fromDate;  // nullptr: the fixture's
        const char* copied;    // per name above
    } cases[] = {{Walk::Checked, false, false, nullptr, "1000010"},
                 {Walk::Checked, true, false, nullptr, "101111r"},
                 {Walk::Checked, false, true, nullptr, "1111111"},
                 {Walk::Checked, false, false, "geen datum", "1111111"},
                 {Walk::Quick, false, false, nullptr, "1000010"},
                 {Walk::Quick, false, true, nullptr, "1111111"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.copied);
        emptyFolder(dst);
        oldFile(D("kept"), "backup");
        oldFile(D("touched"), "backup");
        chmod(D("touched").c_str(), 0444);
        freshWindow();
        w().job.synchronise = c.sync;
        w().job.noDateFilter = c.noDateCheck;
        if (c.fromDate) w().job.fromDate = c.fromDate;
        run(c.walk);
        for (int i = 0; i < 7; ++i) {
            const char* before = i == 1 || i == 6 ? "backup" : "";
            EXPECT_EQ(readFile(D(names[i])), c.copied[i] == '1' ? "source" : before) << names[i];
        }
        EXPECT_EQ(attributesOf(D("touched")) & (kAttrReadOnly | kAttrHidden),
                  c.copied[6] == '0' ? kAttrReadOnly : kAttrHidden);
        EXPECT_TRUE(fs::is_directory(D("quiet")));
        EXPECT_EQ(w().counts.copied, 7 - std::ranges::count(std::string(c.copied), '0'));
        EXPECT_EQ(w().counts.seen, 7);
    }
}

// A new backup branch under the date filter: an old folder gets only its files
// new by their own dates, an old subfolder nothing unless a newer file lies below.
TEST_F(CopyWalk, ANewBranchGetsWhatIsNewByDate) {
    newFile(S("A/new.txt"));
    oldFile(S("A/old.txt"));
    oldFile(S("A/Quiet/old.txt"));
    newFile(S("A/Old/Older/changed.txt"));
    oldFile(S("A/Old/Older/same.txt"));
    oldFile(S("A/Moved/old.txt"));
    setTimes(S("A/Moved"), from + 60, from + 60);  // a folder new by its date
    for (const char* folder : {"A/Quiet", "A/Old/Older", "A/Old", "A"})
        setTimes(S(folder), from - 86400, from - 86400);
    // Backup folders take their source folder's attributes, unless it is a system folder.
    ASSERT_TRUE(rig.fs.setAttributes(S("A"), kAttrDirectory | kAttrHidden).ok());
    ASSERT_TRUE(rig.fs.setAttributes(S("A/Old"), kAttrDirectory | kAttrSystem | kAttrHidden).ok());
    run(Walk::Checked);
    EXPECT_EQ(attributesOf(D("A")) & kAttrHidden, kAttrHidden);
    EXPECT_EQ(attributesOf(D("A/Old")) & (kAttrSystem | kAttrHidden), 0u);
    EXPECT_TRUE(isThere(D("A/new.txt")));
    EXPECT_TRUE(isThere(D("A/Old/Older/changed.txt")));
    for (const char* absent : {"A/old.txt", "A/Quiet", "A/Old/Older/same.txt", "A/Moved/old.txt"})
        EXPECT_FALSE(isThere(D(absent))) << absent;
    // An old file with nothing at its target is neither copied, counted nor an error.
    EXPECT_TRUE(fs::is_directory(D("A/Moved")));
    EXPECT_EQ(w().counts.copied, 2);
    EXPECT_EQ(w().counts.failed, 0);
    EXPECT_TRUE(w().log.text().empty());
}

// Error.Log tells which file was not backed up, and that the walk recovered.
TEST_F(CopyWalk, AFailedFileAndTheRecoveryAfterItAreLoggedAndShown) {
    for (int i = 0; i < 6; ++i) newFile(S("sub/f" + std::to_string(i)), std::string(50, 'x'));
    makeDirs(D("sub"));
    faulty.failOn(FsOp::CopyFile, "/sub/f", kErrObjectNotAvailable, 1);  // the first one copied
    run(Walk::Checked);
    std::string failed;
    for (int i = 0; i < 6; ++i)
        if (!isThere(D("sub/f" + std::to_string(i)))) failed = S("sub/f" + std::to_string(i));
    const std::vector<std::string> lines = rig.logLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], timeText() + " - " + failed);
    EXPECT_EQ(lines[1], "Error 91: Injected error 91");
    EXPECT_EQ(lines[2].rfind(timeText() + " - " + S("sub/f"), 0), 0u);
    EXPECT_EQ(lines[3], "OK, Proceeding ...");
    EXPECT_EQ(w().counts.failed, 1);
    EXPECT_EQ(w().counts.copied, 5);
    EXPECT_EQ(w().counts.seen, 6);
    EXPECT_EQ(rig.progress.bytesReached, 300u);
    EXPECT_EQ(rig.progress.finished, rig.progress.started);  // the failed one too
    EXPECT_EQ(rig.progress.countChanges, 5 + 6 + 1);         // each copy, each file seen, the root
    EXPECT_EQ(rig.progress.started.size(), 6u);
}

// The quick walk leaves the path boxes as the user wrote them (the job is
// saved from them: a volume name must survive).
TEST_F(CopyWalk, TheQuickWalkKeepsThePathBoxes) {
    newFile(S("a/b.bin"));
    w().ui.sourceBox.text = "DATA/src";
    w().ui.backupBox.text = "MYDISK/Backup";
    run(Walk::Quick);
    EXPECT_EQ(w().ui.sourceBox.text, "DATA/src");
    EXPECT_EQ(w().ui.backupBox.text, "MYDISK/Backup");
    ASSERT_EQ(rig.progress.walks.size(), 1u);
    EXPECT_EQ(rig.progress.walks[0].first, RunProgress::Walk::QuickCopy);
}

// Exit stops the checked walks before the next file with a break line, the
// quick walk before the next folder, silently.
TEST_F(CopyWalk, ABreakStopsTheWalk) {
    faulty.beforeCall = [this](FsOp op, const std::string&) {
        if (op == FsOp::CopyFile) w().userBreak = true;
    };
    const struct {
        Walk walk;
        bool backupFoldersThere;
        int copies;
    } cases[] = {{Walk::Checked, true, 1}, {Walk::Checked, false, 1}, {Walk::Quick, true, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.copies << c.backupFoldersThere);
        emptyFolder(dst);
        for (const char* f : {"a/1", "a/2", "b/1", "b/2"}) newFile(S(f));
        if (c.backupFoldersThere) makeDirs(D("a")), makeDirs(D("b"));
        freshWindow();
        run(c.walk);
        EXPECT_EQ(w().counts.copied, c.copies);
        EXPECT_EQ(logHas(breakLine()), c.walk == Walk::Checked);
    }
    EXPECT_NE(readFile(rig.appFolder() + "/Error.Log").find(breakLine()), std::string::npos);
}

// No walk enters a system folder (by either side's path) or the backup itself.
TEST_F(CopyWalk, NoWalkEntersSystemFoldersOrTheBackupItself) {
    const std::pair<const char*, bool> backups[] = {
        {"src/Backup", true}, {"src/work/Backup", true}, {"recycled-backup", false}};
    for (Walk walk : {Walk::Checked, Walk::Quick}) {
        for (const auto& [backup, subfolders] : backups) {
            SCOPED_TRACE(backup);
            emptyFolder(src);
            for (const char* f :
                 {"top.txt", "ReCyClEr/x.txt", "deep/System Volume Information/y.txt",
                  "deep/ok.txt", "fresh/recycled/z.txt", "work/a.txt"})
                newFile(S(f));
            dst = rig.root / backup;
            emptyFolder(dst);
            makeDirs(D("deep"));  // "fresh" is new in the backup
            freshWindow();
            run(walk);
            EXPECT_TRUE(isThere(D("top.txt")));
            EXPECT_EQ(isThere(D("deep/ok.txt")), subfolders);
            EXPECT_EQ(isThere(D("work/a.txt")), subfolders);
            for (const char* f : {"ReCyClEr", "deep/System Volume Information", "fresh/recycled",
                                  "Backup", "work/Backup"})
                EXPECT_FALSE(isThere(D(f))) << f;
        }
    }
}

TEST_F(CopyWalk, NothingIsWrittenOutsideTheBackup) {
    newFile(S("a/secret.txt"));
    const std::string elsewhere = rig.root / "elsewhere";
    makeDirs(elsewhere);
    ASSERT_EQ(symlink(elsewhere.c_str(), D("a").c_str()), 0);
    for (Walk walk : {Walk::Checked, Walk::Quick}) {
        freshWindow();
        run(walk);
        EXPECT_FALSE(isThere(elsewhere + "/secret.txt"));
        EXPECT_EQ(w().counts.failed, 1);
    }
    dst = rig.root / "gone";  // a backup root that is not there fails, and is not made
    freshWindow();
    run(Walk::Checked);
    EXPECT_FALSE(isThere(dst));
    EXPECT_GE(w().counts.failed, 1);  // never a success
    const std::vector<std::string> lines = rig.logLines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], timeText() + " - " + dst);
    EXPECT_EQ(lines[1], "Error 76: Path not found");
    EXPECT_EQ(lines[2], timeText() + " " + dst);
    EXPECT_EQ(lines[3], "(=ongeldige padaanduiding)");
}

// Only a folder with no file of any kind below it goes, whatever its attributes
// (zero-byte files, links and FIFOs count, and so may an unlistable folder's).
TEST_F(CopyWalk, KillEmptyRemovesOnlyFoldersWithoutAnyFileBelow) {
    const auto gone = {"A/B/C", "a/empty", "a/b/empty/deeper", "a/b/c/empty", "hidden", "locked"};
    for (const char* folder : gone) makeDirs(D(folder));
    writeFile(D("a/b/c/data.txt"), "data");
    writeFile(D("pkg/__init__.py"), "");
    makeDirs(D("unreadable/inner"));
    faulty.failOn(FsOp::List, "inner", kErrAccessDenied);
    makeDirs(D("fifo"));
    ASSERT_EQ(mkfifo(D("fifo/pipe").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/nonexistent", D("dangling").c_str()), 0);
    ASSERT_TRUE(rig.fs.setAttributes(D("hidden"), kAttrDirectory | kAttrHidden | kAttrSystem).ok());
    ASSERT_TRUE(rig.fs.setAttributes(D("locked"), kAttrDirectory | kAttrReadOnly).ok());
    auto pass = [this](bool killEmpty, bool sync) {
        w().job.removeEmptyFolders = killEmpty;
        w().job.synchronise = sync;
        killEmptyRoot(w().run, dst);
        killEmptySubfolders(w().run, dst);
    };
    pass(false, true);
    pass(true, false);
    EXPECT_TRUE(isThere(D("A/B/C")));
    pass(true, true);
    for (const char* folder : gone) EXPECT_FALSE(isThere(D(folder))) << folder;
    for (const char* kept : {"a/b/c/data.txt", "pkg/__init__.py", "fifo/pipe", "unreadable/inner"})
        EXPECT_TRUE(isThere(D(kept))) << kept;
    EXPECT_FALSE(isThere(D("A")));
    EXPECT_EQ(w().counts.removed, 0);
    EXPECT_TRUE(w().log.text().empty());

    std::filesystem::remove_all(dst);  // a backup root without any file goes itself
    makeDirs(D("x/y"));
    pass(true, true);
    EXPECT_FALSE(isThere(dst));
}

// On a real full disk the old backup copy stays whole, with no temporary file.
TEST_F(CopyWalk, AFullDiskKeepsTheOldBackupCopyWhole) {
    const std::string disk = rig.root / "disk";
    makeDirs(disk);
    if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=512k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    struct Unmount {
        std::string at;
        ~Unmount() { umount2(at.c_str(), MNT_DETACH); }
    } unmount{disk};
    dst = disk + "/backup";
    freshWindow();
    const std::string oldCopy(100 * 1024, 'A');
    writeFile(D("sub/big.bin"), oldCopy);
    std::ofstream filler(D("sub/filler"), std::ios::binary);
    while (filler.write(oldCopy.data(), 4096)) {
    }
    newFile(S("sub/big.bin"), std::string(200 * 1024, 'B'));
    run(Walk::Checked);
    EXPECT_EQ(readFile(D("sub/big.bin")), oldCopy);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(D("sub")), {}), 2);
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "Schijf vol; verwissel schijf en druk op OK");
    EXPECT_EQ(rig.dialogs.shown[0].style, MessageStyle::OkCancel);
    EXPECT_TRUE(w().userBreak);
    EXPECT_TRUE(logHas(timeText() + "Disk full"));
}

// Cancel ends the run with the line of the walk's level (none in the quick
// walk); OK logs the file and goes on without trying it again.
TEST_F(CopyWalk, TheDiskFullQuestionEndsTheRunOrSkipsTheFile) {
    const std::string fullLine = timeText() + "Disk full";
    const struct {
        Walk walk;
        std::string folder;  // "new/" has no backup folder yet
        MessageAnswer answer;
        std::string line;  // the first log line after Cancel
    } cases[] = {{Walk::Checked, "", MessageAnswer::Cancel, breakLine()},
                 {Walk::Checked, "sub/", MessageAnswer::Cancel, fullLine},
                 {Walk::Checked, "new/", MessageAnswer::Cancel, fullLine},
                 {Walk::Quick, "sub/", MessageAnswer::Cancel, ""},
                 {Walk::Checked, "sub/", MessageAnswer::Ok, ""},
                 {Walk::Checked, "new/", MessageAnswer::Ok, ""},
                 {Walk::Quick, "", MessageAnswer::Ok, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.folder << static_cast<int>(c.answer) << c.line);
        const bool gaveUp = c.answer == MessageAnswer::Cancel;
        emptyFolder(src);
        emptyFolder(dst);
        newFile(S(c.folder + "a.txt"));
        newFile(S(c.folder + "b.txt"));
        if (c.folder != "new/") makeDirs(D(c.folder));
        freshWindow();
        faulty.failOn(FsOp::CopyFile, "", kErrDiskFull, 1);
        rig.dialogs.script(c.answer);
        const long copiesBefore = faulty.calls(FsOp::CopyFile);
        run(c.walk);
        EXPECT_EQ(w().userBreak, gaveUp);
        EXPECT_EQ(faulty.calls(FsOp::CopyFile) - copiesBefore, gaveUp ? 1 : 2);
        EXPECT_EQ(w().counts.copied, gaveUp ? 0 : 1);
        EXPECT_EQ(w().counts.failed, gaveUp ? 0 : 1);
        const std::vector<std::string> lines = rig.logLines();
        if (gaveUp) {
            EXPECT_EQ(lines.empty() ? "" : lines.front(), c.line);
        } else {
            ASSERT_EQ(lines.size(), 4u);
            EXPECT_EQ(lines[0].rfind(timeText() + " - " + S(c.folder), 0), 0u);
            EXPECT_EQ(lines[1], "Error 61: No space left on device (injected)");
            EXPECT_EQ(lines[3], "OK, Proceeding ...");
        }
    }
    EXPECT_EQ(rig.dialogs.shown.size(), std::size(cases));
    EXPECT_NE(readFile(rig.appFolder() + "/Error.Log").find(fullLine), std::string::npos);
}

std::string linkTarget(const std::string& path) {
    char buf[4096];
    const ssize_t n = readlink(path.c_str(), buf, sizeof buf);
    return n < 0 ? std::string() : std::string(buf, static_cast<std::size_t>(n));
}

// A run copies the whole tree: every level, any name, times and permissions.
// Links are copied as links and never followed (loops end the walk, nothing
// outside is touched, not even its attributes); FIFOs are passed over.
TEST_F(CopyWalk, CopiesTheWholeTreeWithLinksAsLinks) {
    const std::string outside = rig.root / "outside/private.txt";
    writeFile(outside, "not part of the source");
    chmod(outside.c_str(), 0444);
    const std::string files[] = {"a/b/c/d/tool.sh", "map met spatie/Ñandú été.txt", "日本語.txt"};
    for (const std::string& f : files) writeFile(S(f), f);
    chmod(S(files[0]).c_str(), 0750);
    setTimes(S(files[0]), from + 7200, from + 7300);
    makeDirs(S("empty"));
    const std::pair<std::string, std::string> links[] = {{"a/toOutside", "../../outside"},
                                                         {"fileLink", outside},
                                                         {"dangling", "missing"},
                                                         {"a/b/up", ".."},
                                                         {"a/self", "."},
                                                         {"loop1", "loop2"},
                                                         {"loop2", "loop1"}};
    for (const auto& [name, target] : links)
        ASSERT_EQ(symlink(target.c_str(), S(name).c_str()), 0) << name;
    ASSERT_EQ(mkfifo(S("pipe").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(S("a/pipe2").c_str(), 0600), 0);
    for (Walk walk : {Walk::Checked, Walk::Checked, Walk::Quick}) {
        freshWindow();
        w().job.noDateFilter = true;
        w().job.synchronise = true;
        run(walk);
        for (const std::string& f : files) EXPECT_EQ(readFile(D(f)), f);
        for (const auto& [name, target] : links) EXPECT_EQ(linkTarget(D(name)), target) << name;
        EXPECT_FALSE(isThere(D("pipe")) || isThere(D("a/pipe2")));
        EXPECT_EQ(w().counts.copied, 10);
        EXPECT_EQ(w().counts.seen, 10);
    }
    EXPECT_TRUE(fs::is_directory(D("empty")));
    EXPECT_EQ(fs::last_write_time(D(files[0])), fs::last_write_time(S(files[0])));
    EXPECT_EQ(fs::status(D(files[0])).permissions(), fs::perms(0750));
    EXPECT_EQ(readFile(outside), "not part of the source");
    EXPECT_EQ(fs::status(outside).permissions(), fs::perms(0444));
}

// What a walk should have copied and could not is never a success: a folder
// that cannot be listed or made fails (logged, counted) in every walk, and
// the from-date stays where it was, for its files were never seen.
TEST_F(CopyWalk, FoldersThatCannotBeListedOrMadeFail) {
    const FsOp ops[] = {FsOp::List, FsOp::CreateFolder};
    for (Walk walk : {Walk::Checked, Walk::Quick}) {
        for (FsOp op : ops) {
            SCOPED_TRACE(testing::Message() << (walk == Walk::Checked) << static_cast<int>(op));
            emptyFolder(dst);
            newFile(S("ok.txt"));
            newFile(S("sub/in.txt"));
            faulty.clearFailures();
            faulty.failOn(op, "/sub", kErrAccessDenied);
            freshWindow();
            run(walk);
            EXPECT_TRUE(isThere(D("ok.txt")));
            EXPECT_FALSE(isThere(D("sub/in.txt")));
            EXPECT_EQ(w().counts.failed, 1);
            EXPECT_TRUE(logHas(timeText() + " - " + (op == FsOp::List ? S("sub") : D("sub"))));
            const std::optional<DateTime> old = DateTime(std::chrono::seconds(from));
            EXPECT_EQ(w().nextFrom.after(rig.clock.current, old), old);
        }
    }
}

}  // namespace
}  // namespace zv::test

namespace zv::test {
namespace {

// A file that failed holds the next from-date back only when its dates
// selected it: one copied because the backup lacks it, or on a run without a
// date filter, is taken again anyway; a date that could not be read makes
// the file new every time. A date centuries back means every file.
TEST_F(CopyWalk, WhatAFailedFileLeavesForTheNextRun) {
    const DateTime start(std::chrono::seconds(from + 7200));  // the run started after the file
    const DateTime fileDate =
        DateTime(std::chrono::seconds(from + 3600) + std::chrono::milliseconds(5));
    const struct {
        bool newFile, noDateCheck, sync, unreadDate;
        std::optional<DateTime> next;
    } cases[] = {
        {true, false, false, false, DateTime(std::chrono::seconds(from + 3600))},
        {true, true, false, false, start},
        {false, false, true, false, start},
        {true, false, false, true, start},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.newFile << c.noDateCheck << c.sync << c.unreadDate);
        emptyFolder(dst);
        c.newFile ? newFile(S("f.txt")) : oldFile(S("f.txt"));
        faulty.clearFailures();
        faulty.failOn(FsOp::CopyFile, "/f.txt", kErrObjectNotAvailable);
        faulty.adjustEntry = [&](const std::string&, Entry& e) {
            if (c.newFile) e.modified = e.created = fileDate;
            if (c.unreadDate) e.modified = DateTime{};
        };
        freshWindow();
        w().job.noDateFilter = c.noDateCheck;
        w().job.synchronise = c.sync;
        run(Walk::Checked);
        EXPECT_EQ(w().counts.failed, 1);
        const std::optional<DateTime> old = DateTime(std::chrono::seconds(from));
        EXPECT_EQ(w().nextFrom.after(start, old), c.next);
    }
    faulty.clearFailures();
    faulty.adjustEntry = [](const std::string&, Entry& e) {
        e.modified = e.created = kEarliestDateTime;
    };
    emptyFolder(dst);
    freshWindow();
    w().job.fromDate = "1-1-1000";
    run(Walk::Quick);
    EXPECT_TRUE(isThere(D("f.txt")));
}

}  // namespace
}  // namespace zv::test
