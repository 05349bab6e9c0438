#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/AppWindow.h"
#include "app/RemovalGuard.h"
#include "app/RunPreflight.h"
#include "app/UnkeptNote.h"
#include "config/WorkingFolderPath.h"
#include "copy/KillEmpty.h"
#include "copy/QuickCopy.h"
#include "copy/TreeCopy.h"
#include "platform/DateText.h"
#include "run/FolderHelpers.h"
#include "sync/SyncWalk.h"

namespace zv {

namespace {

void lockWindow(AppWindow& w) {
    WindowModel& ui = w.ui;
    ui.goButton.enabled = false;
    ui.okButton.enabled = false;
    if (ui.dateFilterBox.value == 0) ui.dateCover.visible = true;
    ui.dateFilterBox.enabled = false;
    ui.verifyArrow.enabled = false;
    ui.syncArrow.enabled = false;
}

// A broken-off or refused run leaves the from-date where it was: moving it
// would make the next run skip what this one never reached.
void unlockWindow(AppWindow& w) {
    WindowModel& ui = w.ui;
    ui.okButton.enabled = true;
    ui.exitButton.enabled = true;
    ui.sourceBox.enabled = true;
    ui.backupBox.enabled = true;
    if (!w.userBreak && !w.runRefused) ui.fromDateBox.text = w.job.fromDate;
    ui.fromDateBox.enabled = true;
    ui.dateCover.visible = false;
    ui.dateFilterBox.enabled = true;
    ui.verifyArrow.enabled = true;
    ui.syncArrow.enabled = true;
    ui.dustbinPicture.enabled = true;
}

// Without its source folder a run must not touch the backup: a later
// synchronisation would take every backup file for an orphan. A source
// given as a link to a folder is that folder.
bool sourceIsThere(AppWindow& w) {
    const std::string source =
        inWorkingFolder(w.svc.env.workingFolder, collapsedSeparators(w.job.source));
    std::string real;
    PathInfo info;
    if (!w.job.source.empty() && w.svc.fs.resolveFolder(source, real, info).ok()) return true;
    const std::string reason = "\"" + w.job.source + "\" bronmap bestaat niet";
    const DateTime now = w.svc.clock.now();
    w.log.add(formatDate(now) + " " + formatTime(now) + " Error: " + reason);
    // The run ends like a break, which closes the window: first the user is
    // told why.
    if (!w.unattended) w.svc.dialogs.messageBox(reason, MessageStyle::OkExclamation);
    w.userBreak = true;
    return false;
}

// A run that may not start: the reason goes to the run log and, in the
// window, to a message box; an unattended start ends with status 1.
void refuseRun(AppWindow& w, const std::string& reason) {
    w.runRefused = true;
    if (w.unattended) w.jobRefused = true;
    const DateTime now = w.svc.clock.now();
    w.log.add(formatDate(now) + " " + formatTime(now) + " Error: " + reason);
    if (!w.unattended) w.svc.dialogs.messageBox(reason, MessageStyle::OkExclamation);
}

// Success is reported only once the backup is on the disk: the backup's file
// system (and the dustbin's, where that lies on another) is flushed before the
// run says "Klaar", saves its from-date or ends with its status. A flush that
// fails fails the run, and the from-date stays where it was.
void flushBackup(AppWindow& w) {
    if (w.userBreak || w.runRefused) return;
    w.ui.panel(1) = "Wegschrijven...";
    w.svc.pump.repaintNow();
    std::vector<std::string> folders{w.roots.backup.path};
    if (w.roots.dustbin.known() && w.roots.dustbin.id.device != w.roots.backup.id.device)
        folders.push_back(w.roots.dustbin.path);
    for (const std::string& folder : folders) {
        if (FsError e = w.svc.fs.flushVolume(folder); e.failed()) {
            w.log.fileError(folder, e);
            w.nextFrom.failedUnseen();
        }
    }
}

// What the window says at the end. A run with failures says so on the file
// line, in red, where the user looks.
void showEnd(AppWindow& w) {
    if (w.runRefused) {
        w.ui.panel(1) = "Niet gestart";
        return;
    }
    w.ui.panel(1) = "Klaar";
    if (w.counts.failed == 0 || w.userBreak) return;
    w.ui.currentFileLabel.text = std::to_string(w.counts.failed) +
                                 (w.counts.failed == 1 ? " bestand" : " bestanden") +
                                 " niet verwerkt — zie Error.Log";
    w.ui.currentFileLabel.foreColour = kColourRed;
}

// The walks' folders are held open while they walk, and only then.
class HeldFolders {
  public:
    explicit HeldFolders(FileSystem& fs) : fs_(fs) { fs_.holdFolders(true); }
    ~HeldFolders() { fs_.holdFolders(false); }
    HeldFolders(const HeldFolders&) = delete;
    HeldFolders& operator=(const HeldFolders&) = delete;

  private:
    FileSystem& fs_;
};

// The copy walks' replacements are named in batches (one flush of the disk
// for many files); the last is named before anything is removed, and a file
// that kept its old version after all fails as any copy does: logged,
// counted, and copied again by the next run.
void copyWalks(AppWindow& w) {
    RunContext& run = w.run;
    const Job& job = w.job;
    run.fs.beginReplacementBatches();
    if (job.verify) {
        copyTreeRoot(run, job.source, job.backup);
        copySubTrees(run, job.source, job.backup);
    } else {
        quickCopyRoot(run, job.source, job.backup);
        quickCopySubfolders(run, job.source, job.backup);
    }
    for (const LateFailure& late : run.fs.endReplacementBatches()) {
        run.log.fileError(late.path, late.error);
        run.nextFrom.failedUnseen();
        if (late.file) --run.counts.copied;
    }
}

void runWalks(AppWindow& w) {
    RunContext& run = w.run;
    const Job& job = w.job;
    const HeldFolders held(run.fs);
    copyWalks(w);
    if (job.verify) {
        if (!job.synchronise) {
            w.progress.settle();
            return;
        }
        if (!removalsAllowed(w)) return;
        w.progress.startPhase();
        syncRootFiles(run, job.backup, job.source);
        syncSubfolders(run, job.backup, job.source);
        w.progress.settle();
    }
    killEmptyRoot(run, job.backup);
    killEmptySubfolders(run, job.backup);
}

void showDuration(AppWindow& w) {
    // Measured between instants, so a run past midnight shows its true length.
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::seconds>(w.svc.clock.now() - w.runStartTime);
    const auto total = static_cast<std::int32_t>(std::max<std::int64_t>(elapsed.count(), 0));
    const std::int32_t minutes = total / 60;
    const std::int32_t seconds = total - minutes * 60;
    w.ui.panel(3) = std::to_string(minutes) + " min " + std::to_string(seconds) + " sec";
}

}  // namespace

void AppWindow::goClicked() {
    ui.exitButton.text = "Exit";
    counts = RunCounters{};
    runCompleted = false;
    runRefused = false;
    nextFrom.reset();
    roots = RunRoots{};
    newFiles.clear();
    runInProgress = true;

    ui.panel(1) = "Momentje..";
    svc.pump.repaintNow();
    ui.panel(3) = "Van: " + std::to_string(counts.seen);
    progress.showFile("", false);

    ui.state = WindowState::Normal;
    minimised = false;
    progress.startPhase();
    ui.goButton.text = kUnconfirmedGo;
    svc.pump.yield();

    runStartTime = svc.clock.now();

    lockWindow(*this);
    RunLocks locks;
    if (sourceIsThere(*this)) {
        const std::string refusal = prepareRun(*this, locks);
        if (refusal.empty())
            runWalks(*this);
        else
            refuseRun(*this, refusal);
    }
    flushBackup(*this);
    logUnkeptMetadata(*this);

    progress.runFinished();
    showDuration(*this);
    showEnd(*this);

    saveJobAfterRun();
    unlockWindow(*this);
    runInProgress = false;
    runCompleted = !userBreak && !runRefused;
    if (userBreak) {
        log.add(log.userBreakLine());
        closeWindow();
    }
    log.write();
    busy = false;
}

void AppWindow::exitClicked() {
    ui.panel(1) = "Bezig af te sluiten...";
    closeWindow();  // which breaks a run off
}

}  // namespace zv
