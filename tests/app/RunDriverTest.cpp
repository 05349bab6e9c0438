#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "config/ConfigFixture.h"
#include "platform/Clock.h"
#include "platform/PlatformTest.h"
#include "platform/linux/UniqueFd.h"
#include "run/NextFromDate.h"
#include "support/FaultInjectingFileSystem.h"

namespace zv::test {
namespace {

// A confirmed job in checked mode, date filter off, from 1-1-2000.
class RunDriver : public ConfigTest {
  protected:
    void SetUp() override { confirm(fs); }
    void confirm(FileSystem& with) {
        rig.rebuildWindow(with);
        w().job.source = source;
        w().job.backup = backup;
        w().job.fromDate = w().ui.fromDateBox.text = "1-1-2000 00:00:00";
        w().job.noDateFilter = w().job.verify = w().ui.goButton.enabled = true;
    }
    long count(const std::string& line) {
        const Lines lines = log();
        return std::count(lines.begin(), lines.end(), line);
    }
};

TEST_F(RunDriver, ACompletedRun) {
    writeFile(source + "/sub/b.txt", "b");
    w().counts.copied = 7;
    w().ui.state = WindowState::Minimised;
    const DateTime start = rig.clock.current;
    rig.pump.hookAt = 1;
    rig.pump.hook = [&] {
        WindowModel& ui = w().ui;
        if (rig.pump.yields == 1) {  // shown and painted before the first yield
            EXPECT_EQ(ui.panel(1) + ui.panel(3), "Momentje..Van: 0");
            EXPECT_EQ(ui.caption, "0 %   " + w().versionText);  // no longer minimised
            EXPECT_GE(rig.pump.repaints, 1);
            EXPECT_EQ(ui.state, WindowState::Normal);
            rig.pump.hookAt = 3;
            return;
        }
        // Locked during the walk, the date covered while its filter is off.
        EXPECT_FALSE(ui.goButton.enabled || ui.okButton.enabled || ui.dateFilterBox.enabled);
        EXPECT_FALSE(ui.verifyArrow.enabled || ui.syncArrow.enabled);
        EXPECT_TRUE(ui.dateCover.visible && ui.exitButton.enabled && w().runInProgress);
        rig.clock.current += std::chrono::seconds(125);
        rig.pump.hookAt = 0;
    };
    w().goClicked();
    EXPECT_EQ(rig.pump.hookAt, 0);
    EXPECT_EQ(readFile(backup + "/a.txt") + readFile(backup + "/sub/b.txt"), "ab");
    EXPECT_EQ(w().counts.copied, 2);
    EXPECT_EQ(w().ui.panel(1) + " / " + w().ui.panel(3), "Klaar / 2 min 5 sec");
    EXPECT_TRUE(w().runCompleted && w().ui.okButton.enabled && w().ui.dateFilterBox.enabled);
    EXPECT_TRUE(w().ui.verifyArrow.enabled && w().ui.syncArrow.enabled &&
                w().ui.fromDateBox.enabled && w().ui.sourceBox.enabled && w().ui.backupBox.enabled);
    EXPECT_FALSE(w().runInProgress || w().ui.closed || w().ui.progressBar.visible ||
                 w().ui.dateCover.visible);
    // GO waits for a new confirmation.
    EXPECT_FALSE(w().ui.goButton.enabled);
    EXPECT_EQ(w().ui.goButton.text, ">------------>>>>");
    // The next from-date is the run's start, so that a file changed during
    // the run after the walk passed it is copied next time.
    EXPECT_EQ(w().ui.fromDateBox.text, formatDateTime(start));
    EXPECT_TRUE(rig.fs.fileExists(app() + "/Error.Log"));
}

// The folder `levels` deep below `root` in a chain of long names, made where missing.
UniqueFd chainFolder(const std::string& root, int levels, bool make) {
    const std::string name(120, 'n');
    UniqueFd dir(open(root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    for (int level = 0; level < levels && dir.valid(); ++level) {
        if (make) (void)mkdirat(dir.get(), name.c_str(), 0755);
        dir = UniqueFd(openat(dir.get(), name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    }
    return dir;
}

// Paths longer than the system's limit (4096 bytes) are backed up and kept
// in step like any other.
TEST_F(RunDriver, PathsLongerThanTheSystemLimitAreBackedUp) {
    constexpr int kLevels = 36;  // 36 x 121 bytes
    const UniqueFd deep = chainFolder(source, kLevels, true);
    ASSERT_TRUE(deep.valid());
    const UniqueFd file(openat(deep.get(), "diep.txt", O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    ASSERT_EQ(write(file.get(), "diep", 4), 4);
    w().job.synchronise = true;
    for (int run = 0; run < 2; ++run) {
        w().ui.goButton.enabled = true;
        w().goClicked();
        EXPECT_EQ(std::tuple(w().counts.failed, w().counts.removed), std::tuple(0, 0)) << run;
    }
    const UniqueFd copy = chainFolder(backup, kLevels, false);
    ASSERT_TRUE(copy.valid());
    char content[8] = {};
    const UniqueFd read(openat(copy.get(), "diep.txt", O_RDONLY | O_CLOEXEC));
    EXPECT_EQ(pread(read.get(), content, sizeof content, 0), 4);
    EXPECT_STREQ(content, "diep");
}

// Exit during a run stops it within the file or folder at hand, in every
// walk, and logs the break; the from-date stays. Outside a run Exit closes.
TEST_F(RunDriver, ExitStopsEveryWalkWithinTheItemAtHand) {
    const struct {
        const char* name;
        const char* folder;  // below the source, or the backup for orphans
        bool files, quick, orphans, inCount = false;
    } cases[] = {
        {"files", "", true, false, false},
        {"files, quick", "", true, true, false},
        {"new folders", "", false, false, false},
        {"a new folder's files", "/nieuw", true, false, false},
        {"a new folder's folders", "/nieuw", false, false, false},
        {"orphans", "/oud", true, false, true},
        {"the orphans' count", "/oud", true, false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::string& folder : {source, backup, app() + "/Error.Log"})
            std::filesystem::remove_all(folder);
        writeFile(source + "/kept", "k");  // a source with no files looks unplugged
        makeDirs(backup);
        const std::string base = (c.orphans ? backup : source) + c.folder;
        for (int i = 0; i < 6; ++i) {
            if (c.files)
                writeFile(base + "/f" + std::to_string(i), "x");
            else
                makeDirs(base + "/d" + std::to_string(i));
        }
        const auto done = [&] {
            long n = 0;
            for (const auto& e :
                 std::filesystem::recursive_directory_iterator(c.orphans ? base : backup))
                n += e.path().filename() != "nieuw" && e.path().filename() != "kept";
            return c.orphans ? 6 - n : n;
        };
        confirm(fs);
        w().job.verify = !c.quick;
        w().job.synchronise = c.orphans;
        long atPress = -1;
        rig.pump.hookAt = rig.pump.yields + 1;
        rig.pump.hook = [&] {
            if (atPress < 0 && (c.inCount ? w().ui.panel(1) == "Tellen..." : done() >= 2)) {
                atPress = done();
                w().exitClicked();
            }
            rig.pump.hookAt = rig.pump.yields + 1;
        };
        w().goClicked();
        EXPECT_GE(atPress, c.inCount ? 0 : 2);
        EXPECT_LE(done(), atPress + 1);
        EXPECT_TRUE(w().userBreak && w().ui.closed && !w().runCompleted);
        EXPECT_EQ(w().ui.fromDateBox.text, "1-1-2000 00:00:00");
        EXPECT_EQ(count("7-3-2026 10:11:12   -  user break"), 1);  // one line per break
        EXPECT_NE(errorLog().find("7-3-2026 10:11:12   -  user break\r\n"), std::string::npos);
    }
    confirm(fs);
    w().exitClicked();
    EXPECT_EQ(w().ui.panel(1), "Bezig af te sluiten...");
    EXPECT_TRUE(w().userBreak && w().ui.closed);
}

// An unplugged source must not touch the backup: a later synchronisation
// would take every backup file for an orphan. The run ends like a break, but
// first the window says why.
TEST_F(RunDriver, ARunWithoutItsSourceEndsLikeABreak) {
    const std::string missing = rig.root / "unplugged/data";
    w().job.source = missing;
    makeDirs(backup + "/empty");
    w().job.removeEmptyFolders = w().job.synchronise = true;
    w().goClicked();
    const std::string reason = "\"" + missing + "\" bronmap bestaat niet";
    EXPECT_EQ(count("7-3-2026 10:11:12 Error: " + reason), 1);
    EXPECT_EQ(boxes(), Lines{reason});
    EXPECT_TRUE(rig.fs.folderExists(backup + "/empty") && w().userBreak && w().ui.closed);
    EXPECT_FALSE(w().runCompleted);
    EXPECT_EQ(w().ui.fromDateBox.text, "1-1-2000 00:00:00");
    EXPECT_EQ(w().counts.seen, 0);
}

// A run that would harm is refused before it writes: in the window a message
// box says why, and the window stays with the job and its date unchanged.
TEST_F(RunDriver, RefusedRunsSayWhyAndChangeNothing) {
    std::unique_ptr<HeldLock> held;
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[&] { w().job.backup = at("weg"); }, "\"" + at("weg") + "\" doelmap bestaat niet"},
        {[&] { w().job.backup = source + "/."; }, "bronmap en doelmap zijn dezelfde map"},
        {[&] {
             w().job.noDateFilter = false;
             w().job.fromDate = "1-1-2027 00:00:00";
         },
         "vanaf-datum 1-1-2027 00:00:00 ligt in de toekomst"},
        {[&] {
             w().job.synchronise = w().job.useDustbin = w().job.dustbinToFolder = true;
             w().job.dustbinPath =
                 source + "/../" + std::filesystem::path(source).filename().string();
         },
         "\"" + source + "/../Mijn bron ü\" prullenbak ligt in de bronmap"},
        {[&] { ASSERT_TRUE(fs.lockExclusive(backup, held).ok()); },
         "\"" + backup + "\" is in gebruik door een andere run"},
    };
    for (const auto& [spoil, reason] : cases) {
        SCOPED_TRACE(reason);
        confirm(fs);
        rig.dialogs.shown.clear();
        spoil();
        w().goClicked();
        ASSERT_EQ(rig.dialogs.shown.size(), 1u);
        EXPECT_EQ(rig.dialogs.shown[0].text, reason);
        EXPECT_EQ(rig.dialogs.shown[0].style, MessageStyle::OkExclamation);
        EXPECT_EQ(log().back(), "7-3-2026 10:11:12 Error: " + reason);
        EXPECT_EQ(w().ui.panel(1), "Niet gestart");
        EXPECT_EQ(w().ui.fromDateBox.text, "1-1-2000 00:00:00");
        EXPECT_FALSE(w().runCompleted || w().jobRefused || w().ui.closed);
        EXPECT_FALSE(rig.fs.fileExists(backup + "/a.txt"));
        EXPECT_FALSE(rig.fs.fileExists(app() + "/Init.dat"));
        held.reset();
    }
}

// A run with a file that failed says so, and the from-date it leaves stays
// before that file, so that the next run takes it again. So also for a
// replacement that could not take its name when its batch was named, after
// the copy had returned: not counted as copied, and the from-date stays
// where it was.
TEST_F(RunDriver, AFailedFileIsNamedAndHoldsTheDateBack) {
    rig.clock.current = SystemClock().now();
    writeFile(source + "/sub/b.txt", "b");
    Entry file;
    ASSERT_TRUE(fs.stat(source + "/a.txt", file).ok());
    for (const bool late : {false, true}) {
        SCOPED_TRACE(late);
        FaultInjectingFileSystem faulty(fs);
        // The walk lists the subfolder after a.txt was copied.
        faulty.beforeCall = [&](FsOp op, const std::string& path) {
            if (late && op == FsOp::List && path.find("/sub") != std::string::npos &&
                !std::filesystem::is_directory(backup + "/a.txt")) {
                std::filesystem::remove(backup + "/a.txt");
                makeDirs(backup + "/a.txt/in it");
            }
        };
        confirm(faulty);
        w().job.noDateFilter = false;
        if (late)
            writeFile(backup + "/a.txt", "old");
        else
            makeDirs(backup + "/a.txt");
        w().goClicked();
        EXPECT_EQ(w().ui.panel(1), "Klaar");
        EXPECT_EQ(w().ui.currentFileLabel.text, "1 bestand niet verwerkt — zie Error.Log");
        EXPECT_EQ(w().ui.currentFileLabel.foreColour, kColourRed);
        EXPECT_EQ(w().counts.copied, 1);
        const Lines lines = log();
        EXPECT_EQ(std::count_if(
                      lines.begin(), lines.end(),
                      [&](const std::string& l) { return l.ends_with(" - " + source + "/a.txt"); }),
                  1);
        EXPECT_EQ(
            w().ui.fromDateBox.text,
            late ? "1-1-2000 00:00:00" : formatDateTime(lastWholeSecondBefore(file.modified)));
        EXPECT_EQ(w().job.fromDate, w().ui.fromDateBox.text);
        EXPECT_TRUE(std::filesystem::is_directory(backup + "/a.txt"));
        std::filesystem::remove_all(backup + "/a.txt");
    }
    confirm(fs);
    w().job.noDateFilter = false;
    w().ui.goButton.enabled = true;  // the same window runs again: the first run's hold is gone
    rig.clock.current += std::chrono::hours(1);
    w().goClicked();
    EXPECT_EQ(readFile(backup + "/a.txt"), "a");
    EXPECT_EQ(w().ui.panel(1), "Klaar");
    EXPECT_EQ(w().ui.currentFileLabel.foreColour, kColourBlack);
    EXPECT_EQ(w().ui.fromDateBox.text, formatDateTime(rig.clock.current));
}

// "Klaar" means on the disk: the backup's file system is flushed, showing
// "Wegschrijven...", before the run says it is done and saves its from-date.
// A flush that fails fails the run: status 3, the from-date where it was.
TEST_F(RunDriver, ARunIsDoneOnlyOnceItsBackupIsOnTheDisk) {
    for (const bool flushFails : {false, true}) {
        SCOPED_TRACE(flushFails);
        FaultInjectingFileSystem faulty(fs);
        if (flushFails) faulty.failOn(FsOp::FlushVolume, backup, kErrObjectNotAvailable);
        std::vector<std::string> order;
        faulty.beforeCall = [&](FsOp op, const std::string& path) {
            if (op == FsOp::FlushVolume) order.push_back("flush " + path + " " + w().ui.panel(1));
            if (op == FsOp::WriteFileAtomic) order.push_back("save");
        };
        confirm(faulty);
        w().unattended = true;
        w().goClicked();
        EXPECT_EQ(order, (Lines{"flush " + backup + " Wegschrijven...", "save"}));
        EXPECT_EQ(w().exitStatus(), flushFails ? 3 : 0);
        EXPECT_EQ(w().ui.panel(1), "Klaar");
        EXPECT_EQ(w().ui.currentFileLabel.text == "1 bestand niet verwerkt — zie Error.Log",
                  flushFails);
        EXPECT_EQ(w().ui.fromDateBox.text == "1-1-2000 00:00:00", flushFails);
    }
    // A dustbin folder on another file system is flushed too.
    ScratchMount other(at("other"), ScratchMount::Tmpfs, "1m");
    if (!other.ok()) GTEST_SKIP() << other.why();
    FaultInjectingFileSystem faulty(fs);
    Lines flushed;
    faulty.beforeCall = [&](FsOp op, const std::string& path) {
        if (op == FsOp::FlushVolume) flushed.push_back(path);
    };
    confirm(faulty);
    w().job.synchronise = w().job.useDustbin = w().job.dustbinToFolder = true;
    w().job.dustbinPath = other.path();
    w().goClicked();
    EXPECT_EQ(flushed, (Lines{backup, other.path()}));
}

// A synchronisation that would remove more than its limit asks first in the
// window, showing the count and the first paths (No removes nothing); an
// unattended run refuses, with a log line and status 1, unless -mx allows
// as many. The default limit is a fifth of the backup's files, at least 10.
// -mx lives on line 12 of the job file, only when set.
TEST_F(RunDriver, AMassRemovalAsksFirstOrIsRefused) {
    const MessageAnswer none = MessageAnswer::Ok;
    const struct {
        int orphans;
        bool autoRun;
        std::int64_t most;  // -mx; -1 not set
        MessageAnswer answer;
        bool removed;
        int status;
    } cases[] = {
        {30, false, -1, MessageAnswer::Yes, true, 0},
        {30, false, -1, MessageAnswer::No, false, 0},
        {30, true, -1, none, false, 1},
        {30, true, 0, none, true, 0},
        {30, true, 30, none, true, 0},
        {30, true, 29, none, false, 1},
        {10, true, -1, none, true, 0},
        {11, true, -1, none, false, 1},
        {11, false, 11, none, true, 0},
    };
    // Twenty files the source keeps, in a folder of their own: never counted.
    for (int i = 0; i < 20; ++i) writeFile(source + "/keep/k" + std::to_string(i), "k");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.orphans) + " " + std::to_string(c.autoRun) + " " +
                     std::to_string(c.most));
        std::filesystem::remove_all(backup);
        for (int i = 0; i < c.orphans; ++i) writeFile(backup + "/oud/f" + std::to_string(i), "x");
        confirm(fs);
        rig.dialogs.shown.clear();
        if (c.answer != none) rig.dialogs.script(c.answer);
        w().job.synchronise = true;
        w().unattended = c.autoRun;
        w().job.maxRemovals = c.most;
        w().goClicked();
        EXPECT_EQ(rig.fs.fileExists(backup + "/oud/f0"), !c.removed);
        EXPECT_EQ(w().exitStatus(), c.status);
        const bool asked = c.answer != none;
        ASSERT_EQ(rig.dialogs.shown.size(), asked ? 1u : 0u);
        if (asked) {
            const std::string& text = rig.dialogs.shown[0].text;
            EXPECT_TRUE(text.starts_with("30 bestanden verwijderen uit de backup?\r\n\r\n"));
            EXPECT_NE(text.find(backup + "/oud/f"), std::string::npos);
            EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + 5 + 1);  // five paths, "..."
            EXPECT_EQ(rig.dialogs.shown[0].style, MessageStyle::YesNo);
        }
        const std::string refusal =
            "7-3-2026 10:11:12 Error: synchronisatie geweigerd: " + std::to_string(c.orphans) +
            " van " + std::to_string(c.orphans + 21) +
            " bestanden zouden uit de backup verdwijnen (grens " +
            std::to_string(c.most > 0 ? c.most : 10) + "; -mx N staat meer toe)";
        EXPECT_EQ(count(refusal), c.status == 1 ? 1 : 0);
    }
    // A source folder the count cannot list is not counted (the walk keeps
    // what it cannot judge).
    std::filesystem::remove_all(backup);
    for (int i = 0; i < 10; ++i) writeFile(backup + "/oud/f" + std::to_string(i), "x");
    FaultInjectingFileSystem faulty(fs);
    faulty.beforeCall = [&](FsOp op, const std::string& path) {
        if (op == FsOp::List && path == source + "/keep" && w().ui.panel(1) == "Tellen...")
            faulty.failOn(FsOp::List, source + "/keep", kErrAccessDenied, 1);
    };
    confirm(faulty);
    w().job.synchronise = w().unattended = true;
    w().goClicked();
    EXPECT_EQ(std::pair(faulty.injected(), w().exitStatus()), std::pair(1L, 0));
    EXPECT_FALSE(rig.fs.fileExists(backup + "/oud/f0"));
    // Never counted as removals: what a dustbin inside the backup holds, a
    // system folder the source has too, nor the source inside the backup
    // (the walk leaves them all alone).
    std::filesystem::remove_all(backup);
    const std::string inside = backup + "/src";
    writeFile(inside + "/RECYCLER/r", "r");
    for (int i = 0; i < 40; ++i) {
        writeFile(backup + "/bak/f" + std::to_string(i), "x");
        writeFile(backup + "/RECYCLER/f" + std::to_string(i), "x");
        writeFile(inside + "/f" + std::to_string(i), "x");
    }
    for (int i = 0; i < 10; ++i) writeFile(backup + "/oud/f" + std::to_string(i), "x");
    confirm(fs);
    w().job.source = inside;
    w().job.synchronise = w().unattended = w().job.useDustbin = w().job.dustbinToFolder = true;
    w().job.dustbinPath = backup + "/bak";
    w().goClicked();
    EXPECT_EQ(w().exitStatus(), 0);
    EXPECT_FALSE(rig.fs.fileExists(backup + "/oud/f0"));
    EXPECT_TRUE(rig.fs.fileExists(backup + "/bak/f0") &&
                rig.fs.fileExists(backup + "/RECYCLER/f0"));
    w().job.useDustbin = w().job.dustbinToFolder = false;
    // The limit is kept at the end of line 12 of the job file, and read back.
    confirm(fs);
    w().ui.sourceBox.text = source;
    w().ui.backupBox.text = backup;
    w().job.maxRemovals = 250;
    w().saveJobOnOk();
    EXPECT_TRUE(readFile(app() + "/Init.dat").ends_with(" -mx 250\r\n"));
    rig.rebuildWindow(fs);
    w().readJobFile();
    EXPECT_EQ(w().job.maxRemovals, 250);
}

// A file count known only at its `readyAfter`-th look; counts the looks that
// had to wait for it.
class LateCount final : public PendingCount {
  public:
    LateCount(std::uint64_t count, int readyAfter, int& waits)
        : count_(count), readyAfter_(readyAfter), waits_(waits) {}
    bool ready() override { return ++looks_ >= readyAfter_; }
    std::uint64_t total() override {
        waits_ += looks_ < readyAfter_;
        return count_;
    }

  private:
    std::uint64_t count_;
    int readyAfter_, looks_ = 0;
    int& waits_;
};

// In every mode the bar and the percentage rise from 0 and never go back
// within a walk (the synchronisation counts again from 0), whenever the file
// count arrives: at once, after a few files, or only when the walk is done,
// when the run waits for it and ends as it would have (after a break nobody
// waits; the synchronisation has its total from the count before removals).
// A new folder's files move them too.
TEST_F(RunDriver, ProgressRisesFromZeroInEveryModeAndEveryRun) {
    for (int i = 0; i < 3; ++i) writeFile(source + "/f" + std::to_string(i), std::string(100, 'f'));
    for (int i = 0; i < 6; ++i)
        writeFile(source + "/new/sub/g" + std::to_string(i), std::string(5000, 'g'));
    writeFile(source + "/new/h", "h");
    makeDirs(source + "/empty");  // goes only where synchronisation is on
    FaultInjectingFileSystem faulty(fs);
    int readyAfter = 1, waits = 0, counted = 0;
    faulty.startCounts = [&](std::vector<std::string> folders) {
        ++counted;
        std::uint64_t sum = 0;
        for (const std::string& folder : folders) {
            std::uint64_t count = 0;
            if (fs.countFiles(folder, count).ok()) sum += count;
        }
        return std::make_unique<LateCount>(sum, readyAfter, waits);
    };
    struct Seen {
        int percent, bar;  // percent -1: none in the caption
        bool synchronising;
        int filesSeen;
    };
    std::vector<Seen> seen;
    std::set<std::string> shownWhileCopied;
    const auto record = [&] {
        if (w().ui.currentFileLabel.foreColour == kColourGreen)
            shownWhileCopied.insert(w().ui.currentFileLabel.text);
        const std::string& caption = w().ui.caption;
        const std::size_t at = caption.find(" %");
        seen.push_back({at == std::string::npos ? -1 : std::stoi(caption.substr(0, at)),
                        w().ui.progressBar.value, w().ui.panel(1) == "Synchroniseren",
                        w().counts.seen});
        rig.pump.hookAt = rig.pump.yields + 1;
    };
    const auto go = [&](bool verify, bool sync, int late) {
        std::filesystem::remove_all(backup);
        makeDirs(backup);
        readyAfter = late;
        waits = counted = 0;
        w().job.verify = verify;
        w().job.synchronise = sync;
        w().job.removeEmptyFolders = true;
        w().ui.goButton.enabled = true;
        w().goClicked();
    };
    // The quick copy waits for its total before it starts; the others go on
    // and wait at the end only if it has not come by then.
    const struct {
        bool verify, sync, quick;
    } modes[] = {{true, false, false}, {false, false, true}, {true, true, false}};
    confirm(faulty);
    for (const auto& mode : modes) {
        std::string atOnce;
        for (const int late : {1, 5, 1000}) {
            SCOPED_TRACE(std::to_string(mode.verify) + std::to_string(mode.sync) + " late " +
                         std::to_string(late));
            seen.clear();
            shownWhileCopied.clear();
            rig.pump.hookAt = rig.pump.yields + 1;
            rig.pump.hook = record;
            go(mode.verify, mode.sync, late);
            rig.pump.hook = nullptr;
            ASSERT_GT(seen.size(), 10u);
            EXPECT_EQ(std::pair(seen.front().percent, seen.front().bar), std::pair(0, 0));
            bool halfwayBeforeTheEnd = false;
            for (std::size_t i = 1; i < seen.size(); ++i) {
                const Seen& before = seen[i - 1];
                const Seen& now = seen[i];
                if (now.synchronising != before.synchronising) continue;  // counts again
                EXPECT_GE(now.percent, before.percent) << i;
                EXPECT_GE(now.bar, before.bar) << i;
                halfwayBeforeTheEnd |=
                    !now.synchronising && now.percent >= 50 && now.filesSeen < 10;
            }
            EXPECT_EQ(halfwayBeforeTheEnd, late < 1000 || mode.quick);
            EXPECT_EQ(seen.back().percent, 100);
            EXPECT_EQ(waits, (late == 1000 && !mode.sync) || mode.quick ? 1 : 0);
            EXPECT_EQ(counted, 1);  // the synchronisation's total comes from the removal count
            const ProgressBarState& bar = w().ui.progressBar;
            const std::string end =
                w().ui.caption + " " + std::to_string(bar.max) + " " + std::to_string(bar.value);
            if (late == 1) atOnce = end;
            EXPECT_EQ(end, atOnce);
            EXPECT_EQ(std::to_string(bar.max).size(), 4u);  // steps of a power of ten
            EXPECT_TRUE(ran());
            EXPECT_EQ(rig.fs.folderExists(backup + "/empty"), !mode.sync);
            // Each file was on the screen while copied; the counts end true.
            EXPECT_EQ(shownWhileCopied.size(), 11u);
            EXPECT_TRUE(w().ui.panel(2).starts_with("Bestanden: 11")) << w().ui.panel(2);
        }
    }
    rig.pump.hookAt = rig.pump.yields + 3;
    rig.pump.hook = [&] { w().exitClicked(); };
    go(true, true, 1000);
    EXPECT_TRUE(w().userBreak);
    EXPECT_EQ(waits, 0);
}

}  // namespace
}  // namespace zv::test
