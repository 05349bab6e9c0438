#include <string>
#include <vector>

#include "app/DateFilterDisplay.h"
#include "app/frmVergelijker.h"
#include "config/VersionText.h"

namespace zv {

namespace {

constexpr const char* kCrLf = "\r\n";

bool IsInitFileRun(const std::vector<std::string>& tokens) {
    return tokens[0] == "InitFile" && tokens[1].rfind("-if", 0) == 0;
}

// Interactive start: a backup disk other than the one the job was saved with
// is put to the user; No ends the program.
void AskAboutChangedVolume(frmVergelijker& w) {
    if (w.CmdToken2.find("cf 1") != std::string::npos) return;
    if (w.VolumeLabelCurrent == w.job.volumeLabel || w.job.backup.empty()) return;
    const MessageAnswer answer =
        w.svc.dialogs.messageBox("HUIDIG backupvolume:  " + w.VolumeLabelCurrent + kCrLf +
                                     "Was:  " + w.job.volumeLabel + kCrLf + kCrLf + "DOORGAAN ?",
                                 MessageStyle::YesNo);
    if (answer == MessageAnswer::No) w.CloseWindow();
}

}  // namespace

// The start of everything: prepares the window, reads the command line and
// loads the job from the job file or from options. An unattended start runs
// the job in here and ends with the window closed.
void frmVergelijker::Form_Load() {
    const Version& v = svc.env.version;
    AppVersionText = programVersion(v);
    ui.cmdGo.enabled = false;
    GetDriveList();
    InitFileName = "Init.dat";
    const std::vector<std::string> tokens = SplitCommandLine(svc.env.commandLine);

    if (IsInitFileRun(tokens)) {
        if (tokens.size() < 3) {  // no run-mode piece after the job file
            JobRefused = true;
            CloseWindow();
            log.write();
            return;
        }
        CmdToken2 = tokens[2];
        CmdToken1 = tokens[1];
        if (ReadInitFile() == 1) {
            CloseWindow();
            log.write();
            return;
        }
        if (userBreak) {
            CloseWindow();
            return;
        }
    } else if (tokens[0] == "InitFile") {
        if (ReadInitFile() == 1) {
            CloseWindow();
            log.write();
            return;
        }
    }
    if (tokens[0] == "NoInitFile") ApplyCommandLineOptions(tokens);

    if (userBreak) {
        // A window left open here would wait, hidden, for nobody.
        if (!ui.closed) CloseWindow();
        log.write();
        return;
    }
    if (AutoRun) {
        CloseWindow();
        return;
    }
    SelectedFolder = ui.pickerFolder;
    DesktopName = GetDesktopName();
    if (userBreak) {
        CloseWindow();
        return;
    }
    ComputerName = GetComputerName();
    ui.FolderTreeview1.visible = false;
    ui.ProgressBar1.visible = false;
    ShowDateFilterState(*this);
    AskAboutChangedVolume(*this);
}

}  // namespace zv
