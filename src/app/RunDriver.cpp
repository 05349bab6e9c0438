#include <ctime>
#include <string>
#include <vector>

#include "app/RemovalGuard.h"
#include "app/RunPreflight.h"
#include "app/UnkeptNote.h"
#include "app/frmVergelijker.h"
#include "config/WorkingFolderPath.h"
#include "copy/KillEmpty.h"
#include "copy/QuickCopy.h"
#include "copy/TreeCopy.h"
#include "platform/DateText.h"
#include "run/FolderHelpers.h"
#include "sync/SyncWalk.h"

namespace zv {

namespace {

// Seconds since local midnight.
std::int32_t SecondsOfDay(DateTime t) {
    const std::time_t seconds =
        std::chrono::system_clock::to_time_t(std::chrono::time_point_cast<std::chrono::seconds>(t));
    std::tm local{};
    localtime_r(&seconds, &local);
    return local.tm_hour * 60 * 60 + local.tm_min * 60 + local.tm_sec;
}

void LockWindow(frmVergelijker& w) {
    WindowModel& ui = w.ui;
    ui.cmdGo.enabled = false;
    ui.cmdOK.enabled = false;
    if (ui.Check1.value == 0) ui.txtHide.visible = true;
    ui.Check1.enabled = false;
    ui.Frame1.enabled = false;
    ui.Frame2.enabled = false;
}

// A broken-off or refused run leaves the from-date where it was: moving it
// would make the next run skip what this one never reached.
void UnlockWindow(frmVergelijker& w) {
    WindowModel& ui = w.ui;
    ui.cmdOK.enabled = true;
    ui.cmdExit.enabled = true;
    ui.Text1[0].enabled = true;
    ui.Text1[2].enabled = true;
    if (!w.userBreak && !w.RunRefused) ui.text2.text = w.job.fromDate;
    ui.text2.enabled = true;
    ui.txtHide.visible = false;
    ui.Check1.enabled = true;
    ui.Frame1.enabled = true;
    ui.Frame2.enabled = true;
    ui.imPrullenbak.enabled = true;
}

// Without its source folder a run must not touch the backup: a later
// synchronisation would take every backup file for an orphan. A source
// given as a link to a folder is that folder.
bool SourceIsThere(frmVergelijker& w) {
    const std::string source =
        InWorkingFolder(w.svc.env.workingFolder, collapseSeparators(w.job.source));
    std::string real;
    PathInfo info;
    if (!w.job.source.empty() && w.svc.fs.resolveFolder(source, real, info).ok()) return true;
    const std::string reason = "\"" + w.job.source + "\" bronmap bestaat niet";
    const DateTime now = w.svc.clock.now();
    w.log.add(formatDate(now) + " " + formatTime(now) + " Error: " + reason);
    // The run ends like a break, which closes the window: first the user is
    // told why.
    if (!w.AutoRun) w.svc.dialogs.messageBox(reason, MessageStyle::OkExclamation);
    w.userBreak = true;
    return false;
}

// A run that may not start: the reason goes to the run log and, in the
// window, to a message box; an unattended start ends with status 1.
void refuseRun(frmVergelijker& w, const std::string& reason) {
    w.RunRefused = true;
    if (w.AutoRun) w.JobRefused = true;
    const DateTime now = w.svc.clock.now();
    w.log.add(formatDate(now) + " " + formatTime(now) + " Error: " + reason);
    if (!w.AutoRun) w.svc.dialogs.messageBox(reason, MessageStyle::OkExclamation);
}

// Success is reported only once the backup is on the disk: the backup's file
// system (and the dustbin's, where that lies on another) is flushed before the
// run says "Klaar", saves its from-date or ends with its status. A flush that
// fails fails the run, and the from-date stays where it was.
void flushBackup(frmVergelijker& w) {
    if (w.userBreak || w.RunRefused) return;
    w.ui.panel(1) = "Wegschrijven...";
    w.svc.pump.repaintNow();
    std::vector<std::string> folders{w.roots.backup.path};
    if (w.roots.dustbin.known() && w.roots.dustbin.id.device != w.roots.backup.id.device)
        folders.push_back(w.roots.dustbin.path);
    for (const std::string& folder : folders) {
        if (FsError e = w.svc.fs.flushVolume(folder)) {
            w.log.fileError(folder, e);
            w.nextFrom.failedUnseen();
        }
    }
}

// What the window says at the end. A run with failures says so on the file
// line, in red, where the user looks.
void showEnd(frmVergelijker& w) {
    if (w.RunRefused) {
        w.ui.panel(1) = "Niet gestart";
        return;
    }
    w.ui.panel(1) = "Klaar";
    if (w.counts.failed == 0 || w.userBreak) return;
    w.ui.lblFiles.text = std::to_string(w.counts.failed) +
                         (w.counts.failed == 1 ? " bestand" : " bestanden") +
                         " niet verwerkt — zie Error.Log";
    w.ui.lblFiles.foreColour = kColourRed;
}

void RunWalks(frmVergelijker& w) {
    RunContext& run = w.run;
    const Job& job = w.job;
    if (job.verify) {
        CopyTreeRoot(run, job.source, job.backup);
        CopySubTrees(run, job.source, job.backup);
        if (!job.synchronise) {
            w.progress.settle(false);
            return;
        }
        if (!RemovalsAllowed(w)) return;
        w.progress.startPhase();
        SyncRootFiles(run, job.backup, job.source);
        SyncSubfolders(run, job.backup, job.source);
        w.progress.settle(true);
    } else {
        QuickCopyRoot(run, job.source, job.backup);
        QuickCopySubfolders(run, job.source, job.backup);
    }
    KillEmptyRoot(run, job.backup);
    KillEmptySubfolders(run, job.backup);
}

void ShowDuration(frmVergelijker& w) {
    // Measured between instants, so a run past midnight shows its true length.
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::seconds>(w.svc.clock.now() - w.RunStartTime);
    w.ElapsedSeconds = static_cast<std::int32_t>(elapsed.count() < 0 ? 0 : elapsed.count());
    const std::int32_t minutes = w.ElapsedSeconds / 60;
    const std::int32_t seconds = w.ElapsedSeconds - minutes * 60;
    w.ui.panel(3) = std::to_string(minutes) + " min " + std::to_string(seconds) + " sec";
}

}  // namespace

void frmVergelijker::cmdGo_Click() {
    ui.cmdExit.text = "Exit";
    counts = RunCounters{};
    RunCompleted = false;
    RunRefused = false;
    nextFrom.reset();
    roots = RunRoots{};
    RunInProgress = true;

    ui.panel(1) = "Momentje..";
    svc.pump.repaintNow();
    ui.panel(3) = "Van: " + std::to_string(counts.seen);
    progress.showFile("", false);

    ui.state = WindowState::Normal;
    Minimised = false;
    progress.startPhase();
    Yield();
    ui.cmdGo.text = ">------------>>>>";
    Yield();

    RunStartTime = svc.clock.now();
    StartSeconds = SecondsOfDay(RunStartTime);

    LockWindow(*this);
    RunLocks locks;
    if (SourceIsThere(*this)) {
        const std::string refusal = prepareRun(*this, locks);
        if (refusal.empty())
            RunWalks(*this);
        else
            refuseRun(*this, refusal);
    }
    flushBackup(*this);
    LogUnkeptMetadata(*this);

    progress.runFinished();
    ShowDuration(*this);
    showEnd(*this);

    SaveJobAfterRun();
    UnlockWindow(*this);
    locks.clear();
    RunInProgress = false;
    RunCompleted = !userBreak && !RunRefused;
    if (userBreak) {
        log.add(log.userBreakLine());
        CloseWindow();
    }
    log.write();
    Busy = false;
}

void frmVergelijker::cmdExit_Click() {
    ui.panel(1) = "Bezig af te sluiten...";
    userBreak = true;
    SelectedFolder.clear();
    CloseWindow();
}

}  // namespace zv
