#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Services.h"
#include "app/WindowModel.h"
#include "app/WindowProgress.h"
#include "copy/FilePaths.h"
#include "copy/NewFileSearch.h"
#include "run/Job.h"
#include "run/NextFromDate.h"
#include "run/RunContext.h"
#include "run/RunCounters.h"
#include "run/RunLog.h"
#include "run/RunRoots.h"

namespace zv {

// The main window: every job setting and every piece of run state, the
// presentation model the Qt window mirrors, and the window's event handlers.
// The handlers are implemented next to the subsystem they belong to; this
// class only holds the state they share.
class AppWindow {
  public:
    explicit AppWindow(Services services);

    Services svc;
    WindowModel ui;

    Job job;

    // --- Start-up state ------------------------------------------------------
    std::string jobFileName = "Init.dat";
    std::string commandToken;
    std::string commandOption;
    bool unattended = false;
    std::string versionText;
    std::string currentVolumeLabel;

    // --- Environment, filled once at start-up --------------------------------
    std::vector<std::string> driveList;
    std::string desktopPath;
    std::string desktopName;
    std::string computerName;
    std::string selectedFolder;

    // --- Run state -----------------------------------------------------------
    bool busy = false;
    bool runInProgress = false;
    bool userBreak = false;
    bool minimised = false;
    int editIndex = 0;
    DateTime runStartTime{};  // the instant the last run started: the next from-date
    RunCounters counts;
    RunLog log;
    WindowProgress progress;

    // The run's folders, resolved when it starts (app/RunPreflight.h).
    RunRoots roots;
    // The from-date the run will save, held back by files that failed.
    NextFromDate nextFrom;
    // Where the new-folder copy found new files this run.
    NewFileSearch newFiles;
    FilePaths filePaths;

    // Outcome bookkeeping for the exit status of unattended starts.
    bool runCompleted = false;  // a run reached its end without a break
    bool jobRefused = false;    // start-up refused the job or ran nothing
    bool runRefused = false;    // the last run was refused before it began

    // Where an unattended run shows its one-line progress (a terminal);
    // empty: nowhere.
    std::function<void(const std::string&)> terminal;

    // What the walks work with.
    RunContext run;

    // --- Window life (app/Startup.cpp, app/RunDriver.cpp) --------------------
    void load();
    void unload();
    void exitClicked();
    void goClicked();
    // Closes the window (unload runs; the program ends afterwards).
    void closeWindow();
    // 0 done, 3 done with failed files, 2 broken off, 1 refused or no run.
    int exitStatus() const;

    // --- Init file (config/InitFile.cpp) -------------------------------------
    int readJobFile();
    void setDefaultJob();
    void saveJobOnOk();
    void saveJobAfterRun();
    static std::string valueAfterEquals(const std::string& line);
    static std::string pathInFolder(const std::string& folder, const std::string& name);
    int dustbinModeCode();

    // --- Command line (config/CommandLine.cpp) -------------------------------
    static std::vector<std::string> splitCommandLine(const std::string& text);
    void applyCommandLineOptions(const std::vector<std::string>& CmdTokens);
    void showRunWindow();
    static std::string normaliseDateText(const std::string& text);

    // --- Volume-name paths (config/VolumePaths.cpp) --------------------------
    // A path written with a volume name, resolved by the drive list
    // (config/VolumePaths.h).
    std::string resolveVolumePath(const std::string& path);

    // --- Drive list and shell names (ui/Lookups.cpp) -------------------------
    void readDriveList();
    std::string readDesktopName();
    std::string readComputerName();

    // --- Main window behaviour (ui/MainWindow*.cpp) --------------------------
    void resized();
    void dateFilterClicked();
    void verifyArrowClicked();
    void syncArrowClicked();
    void dustbinPictureDoubleClicked();
    void pathBoxDoubleClicked(int index);
    // Returns true when the key is swallowed.
    bool pathBoxKeyPressed(int index);
    bool fromDateKeyPressed();
    void fromDateLeft();
    void currentFileClicked();
    void attributesClicked();
    void pickerSelectionChanged(const std::string& folder);
    void pickerChoiceEnded();
    // The picker closed without a choice: the box comes back unchanged.
    void pickerChoiceCancelled();
    void showVerifyArrowRed();
    void showVerifyArrowDark();
    void showSyncArrowFaded();
    void showSyncArrowDark();

    // --- Settings confirmation (ui/SettingsCheck.cpp) ------------------------
    bool checkSettings();
    void okClicked();
};

}  // namespace zv
