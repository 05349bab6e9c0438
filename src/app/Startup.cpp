#include <string>
#include <vector>

#include "app/AppWindow.h"
#include "app/DateFilterDisplay.h"
#include "config/VersionText.h"

namespace zv {

namespace {

constexpr const char* kCrLf = "\r\n";

bool isInitFileRun(const std::vector<std::string>& tokens) {
    return tokens[0] == "InitFile" && tokens[1].rfind("-if", 0) == 0;
}

// Interactive start: a backup disk other than the one the job was saved with
// is put to the user; No ends the program.
void askAboutChangedVolume(AppWindow& w) {
    if (w.commandOption.find("cf 1") != std::string::npos) return;
    if (w.currentVolumeLabel == w.job.volumeLabel || w.job.backup.empty()) return;
    const MessageAnswer answer =
        w.svc.dialogs.messageBox("HUIDIG backupvolume:  " + w.currentVolumeLabel + kCrLf +
                                     "Was:  " + w.job.volumeLabel + kCrLf + kCrLf + "DOORGAAN ?",
                                 MessageStyle::YesNo);
    if (answer == MessageAnswer::No) w.closeWindow();
}

}  // namespace

// The start of everything: prepares the window, reads the command line and
// loads the job from the job file or from options. An unattended start runs
// the job in here and ends with the window closed.
void AppWindow::load() {
    const Version& v = svc.env.version;
    versionText = programVersion(v);
    ui.goButton.enabled = false;
    readDriveList();
    jobFileName = "Init.dat";
    const std::vector<std::string> tokens = splitCommandLine(svc.env.commandLine);

    if (isInitFileRun(tokens)) {
        if (tokens.size() < 3) {  // no run-mode piece after the job file
            jobRefused = true;
            closeWindow();
            log.write();
            return;
        }
        commandOption = tokens[2];
        commandToken = tokens[1];
        if (readJobFile() == 1) {
            closeWindow();
            log.write();
            return;
        }
        if (userBreak) {
            closeWindow();
            return;
        }
    } else if (tokens[0] == "InitFile") {
        if (readJobFile() == 1) {
            closeWindow();
            log.write();
            return;
        }
    }
    if (tokens[0] == "NoInitFile") applyCommandLineOptions(tokens);

    if (userBreak) {
        // A window left open here would wait, hidden, for nobody.
        if (!ui.closed) closeWindow();
        log.write();
        return;
    }
    if (unattended) {
        closeWindow();
        return;
    }
    selectedFolder = ui.pickerFolder;
    desktopName = readDesktopName();
    computerName = readComputerName();
    showDateFilterState(*this);
    askAboutChangedVolume(*this);
}

}  // namespace zv
