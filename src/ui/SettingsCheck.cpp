#include <optional>
#include <string>

#include "app/AppWindow.h"
#include "app/RunPreflight.h"
#include "platform/DateText.h"
#include "run/FolderHelpers.h"
#include "sync/FolderMarking.h"
#include "ui/FocusNames.h"

namespace zv {

namespace {

constexpr const char* kConfirmedGo = ">-->>  GO  <<--<";

void showRefusal(WindowModel& ui, const char* word, const char* detail) {
    ui.panel(1) = word;
    ui.panel(2) = detail;
}

void refuseDate(WindowModel& ui, const char* detail) {
    showRefusal(ui, "Invoer:", detail);
    ui.focus = kFocusText2;
    ui.fromDateBox.foreColour = kColourRed;
}

// Reads the date box: refuses a text that is no date, or a date in the
// future while the date filter is on (it would skip what changes until
// then), with the box red and focused; else rewrites it as
// "d-m-yyyy hh:mm:ss" and makes it the job's from-date. An empty box passes.
bool checkDateBox(AppWindow& w) {
    WindowModel& ui = w.ui;
    const std::string text = ui.fromDateBox.text;
    const std::optional<DateTime> date = parseDateTime(text);
    if (!text.empty() && !date) {
        refuseDate(ui, "dd-mm-jj uu:mm:ss");
        return false;
    }
    if (date && ui.dateFilterBox.value == 1 && *date > w.svc.clock.now()) {
        refuseDate(ui, "datum ligt in de toekomst");
        return false;
    }
    if (ui.fromDateBox.foreColour != kSysActiveBorder) ui.fromDateBox.foreColour = kColourBlack;
    if (date) ui.fromDateBox.text = formatDateTime(*date);
    w.job.fromDate = ui.fromDateBox.text;
    ui.panel(1) = "Status";
    ui.panel(2).clear();
    return true;
}

void refuseSource(WindowModel& ui) {
    showRefusal(ui, "Invoer", "ongeldig/onvolledig");
    ui.sourceBox.foreColour = kColourRed;
    ui.focus = pathBoxFocus(0);
}

// A backup folder that is missing may be made on the user's word. True when
// the folder is there (or virtual, or an unattended job) afterwards.
bool ensureBackupFolder(AppWindow& w, std::string& backup) {
    ControlState& box = w.ui.backupBox;
    if (folderExistsOrVirtual(w.svc.fs, backup, w.computerName, w.desktopName) || w.unattended) {
        w.job.backup = backup;
        box.toolTip = backup;
        return true;
    }
    box.foreColour = kColourRed;
    if (w.svc.dialogs.messageBox("Doelmap bestaat niet. Maken?", MessageStyle::YesNo) !=
        MessageAnswer::Yes)
        return false;
    box.foreColour = kColourBlack;
    std::string made = backup;
    const int error = makeFolder(w.svc.fs, made);
    if (error != kErrNone || !w.svc.fs.folderExists(backup)) {
        w.svc.dialogs.messageBox("Kan doelmap niet maken.", MessageStyle::Ok);
        return false;
    }
    w.job.backup = backup;
    box.toolTip = backup;
    return true;
}

// A dustbin folder that went missing is made again (one level) and marked.
// One that cannot be made refuses the job rather than pretend it is there.
bool ensureDustbinFolder(AppWindow& w, std::string& dustbin) {
    if (dustbin.empty() ||
        folderExistsOrVirtual(w.svc.fs, dustbin, w.computerName, w.desktopName) || w.unattended)
        return true;
    (void)w.svc.fs.createFolder(dustbin);
    if (!w.svc.fs.folderExists(dustbin)) {
        showRefusal(w.ui, "Fout:", "ongeldige prullenbak");
        return false;
    }
    markDustbinFolder(w.svc.fs, w.job.dustbinPath);
    w.log.add(w.log.dateText() + " " + w.log.timeText() + " Error: \"" + w.job.dustbinAsWritten +
              "\" path dustbin didn't exist, created");
    w.log.write();
    return true;
}

}  // namespace

bool AppWindow::checkSettings() {
    std::string source = resolveVolumePath(ui.sourceBox.text);
    std::string backup = resolveVolumePath(ui.backupBox.text);
    std::string dustbin = resolveVolumePath(job.dustbinPath);
    if (runInProgress) return true;
    ui.backupBox.toolTip = backup;
    if (!checkDateBox(*this)) return false;

    if (!folderExistsOrVirtual(svc.fs, source, computerName, desktopName) && !unattended) {
        refuseSource(ui);
        return false;
    }
    job.source = source;
    ui.sourceBox.toolTip = source;
    if (source.empty()) {
        refuseSource(ui);
        return false;
    }
    if (backup.empty()) {
        ui.backupBox.foreColour = kColourRed;
        showRefusal(ui, "Invoer", "ongeldig/onvolledig");
        return false;
    }
    if (dustbin.empty() && !job.dustbinAsWritten.empty()) {
        showRefusal(ui, "Fout:", "ongeldige prullenbak");
        return false;
    }
    if (!ensureBackupFolder(*this, backup)) return false;
    if (!ensureDustbinFolder(*this, dustbin)) return false;
    if (const std::string overlap = folderOverlap(*this); !overlap.empty()) {
        showRefusal(ui, "Fout:", overlap.c_str());
        return false;
    }
    return true;
}

void AppWindow::okClicked() {
    ui.currentFileLabel.text.clear();
    const bool accepted = checkSettings();
    if (accepted) saveJobOnOk();
    ui.goButton.text = accepted ? kConfirmedGo : kUnconfirmedGo;
    ui.goButton.enabled = accepted;
    if (accepted) {
        ui.panel(1) = "OK";
        ui.panel(2).clear();
        ui.panel(3).clear();
    }
    ui.verifyArrow.enabled = !accepted;
    ui.syncArrow.enabled = !accepted;
    ui.dateFilterBox.enabled = !accepted;
    busy = accepted;
}

}  // namespace zv
