#include <optional>
#include <string>

#include "app/RunPreflight.h"
#include "app/frmVergelijker.h"
#include "platform/DateText.h"
#include "run/FolderHelpers.h"
#include "sync/FolderMarking.h"
#include "ui/FocusNames.h"

namespace zv {

namespace {

constexpr const char* kConfirmedGo = ">-->>  GO  <<--<";
constexpr const char* kUnconfirmedGo = ">------------>>>>";

void ShowRefusal(WindowModel& ui, const char* word, const char* detail) {
    ui.panel(1) = word;
    ui.panel(2) = detail;
}

void refuseDate(WindowModel& ui, const char* detail) {
    ShowRefusal(ui, "Invoer:", detail);
    ui.focus = kFocusText2;
    ui.text2.foreColour = kColourRed;
}

// Reads the date box: refuses a text that is no date, or a date in the
// future while the date filter is on (it would skip what changes until
// then), with the box red and focused; else rewrites it as
// "d-m-yyyy hh:mm:ss" and makes it the job's from-date. An empty box passes.
bool CheckDateBox(frmVergelijker& w) {
    WindowModel& ui = w.ui;
    const std::string text = ui.text2.text;
    const std::optional<DateTime> date = parseDateTime(text);
    if (!text.empty() && !date) {
        refuseDate(ui, "dd-mm-jj uu:mm:ss");
        return false;
    }
    if (date && ui.Check1.value == 1 && *date > w.svc.clock.now()) {
        refuseDate(ui, "datum ligt in de toekomst");
        return false;
    }
    if (ui.text2.foreColour != kSysActiveBorder) ui.text2.foreColour = kColourBlack;
    if (date) ui.text2.text = formatDateTime(*date);
    w.job.fromDate = ui.text2.text;
    ui.panel(1) = "Status";
    ui.panel(2).clear();
    return true;
}

void RefuseSource(WindowModel& ui) {
    ShowRefusal(ui, "Invoer", "ongeldig/onvolledig");
    ui.Text1[0].foreColour = kColourRed;
    ui.focus = PathBoxFocus(0);
}

// A backup folder that is missing may be made on the user's word. True when
// the folder is there (or virtual, or an unattended job) afterwards.
bool EnsureBackupFolder(frmVergelijker& w, std::string& backup) {
    ControlState& box = w.ui.Text1[2];
    if (folderExistsOrVirtual(w.svc.fs, backup, w.ComputerName, w.DesktopName) || w.AutoRun) {
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
bool EnsureDustbinFolder(frmVergelijker& w, std::string& dustbin) {
    if (dustbin.empty() ||
        folderExistsOrVirtual(w.svc.fs, dustbin, w.ComputerName, w.DesktopName) || w.AutoRun)
        return true;
    (void)w.svc.fs.createFolder(dustbin);
    if (!w.svc.fs.folderExists(dustbin)) {
        ShowRefusal(w.ui, "Fout:", "ongeldige prullenbak");
        return false;
    }
    SetIconDustBin(w.svc.fs, w.job.dustbinPath);
    w.log.add(w.log.dateText() + " " + w.log.timeText() + " Error: \"" + w.job.dustbinAsWritten +
              "\" path dustbin didn't exist, created");
    w.log.write();
    return true;
}

}  // namespace

bool frmVergelijker::CheckSettings() {
    std::string source = resolveVolumePath(ui.Text1[0].text);
    std::string backup = resolveVolumePath(ui.Text1[2].text);
    std::string dustbin = resolveVolumePath(job.dustbinPath);
    if (RunInProgress) return true;
    ui.Text1[2].toolTip = backup;
    if (!CheckDateBox(*this)) return false;

    if (!folderExistsOrVirtual(svc.fs, source, ComputerName, DesktopName) && !AutoRun) {
        RefuseSource(ui);
        return false;
    }
    job.source = source;
    ui.Text1[0].toolTip = source;
    if (source.empty()) {
        RefuseSource(ui);
        return false;
    }
    if (backup.empty()) {
        ui.Text1[2].foreColour = kColourRed;
        ShowRefusal(ui, "Invoer", "ongeldig/onvolledig");
        return false;
    }
    if (dustbin.empty() && !job.dustbinAsWritten.empty()) {
        ShowRefusal(ui, "Fout:", "ongeldige prullenbak");
        return false;
    }
    if (!EnsureBackupFolder(*this, backup)) return false;
    if (!EnsureDustbinFolder(*this, dustbin)) return false;
    if (const std::string overlap = folderOverlap(*this); !overlap.empty()) {
        ShowRefusal(ui, "Fout:", overlap.c_str());
        return false;
    }
    return true;
}

void frmVergelijker::cmdOK_Click() {
    ui.lblFiles.text.clear();
    const bool accepted = CheckSettings();
    if (accepted) CreateInitFileOnOK();
    ui.cmdGo.text = accepted ? kConfirmedGo : kUnconfirmedGo;
    ui.cmdGo.enabled = accepted;
    if (accepted) {
        ui.panel(1) = "OK";
        ui.panel(2).clear();
        ui.panel(3).clear();
    }
    ui.Frame1.enabled = !accepted;
    ui.Frame2.enabled = !accepted;
    ui.Check1.enabled = !accepted;
    Busy = accepted;
}

}  // namespace zv
