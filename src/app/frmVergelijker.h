#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Services.h"
#include "app/WindowModel.h"
#include "app/WindowProgress.h"
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
class frmVergelijker {
  public:
    explicit frmVergelijker(Services services);

    Services svc;
    WindowModel ui;

    Job job;

    // --- Start-up state ------------------------------------------------------
    std::string InitFileName = "Init.dat";
    std::string CmdToken1;
    std::string CmdToken2;
    bool AutoRun = false;
    std::string AppVersionText;
    std::string VolumeLabelCurrent;

    // --- Environment, filled once at start-up --------------------------------
    std::vector<std::string> DriveList;
    std::string DesktopPath;
    std::string DesktopName;
    std::string ComputerName;
    std::string SelectedFolder;

    // --- Run state -----------------------------------------------------------
    bool Busy = false;
    bool RunInProgress = false;
    bool userBreak = false;
    bool Minimised = false;
    int EditIndex = 0;
    std::int32_t StartSeconds = 0;
    DateTime RunStartTime{};  // the instant the last run started: the next from-date
    std::int32_t ElapsedSeconds = 0;
    RunCounters counts;
    RunLog log;
    WindowProgress progress;

    // The run's folders, resolved when it starts (app/RunPreflight.h).
    RunRoots roots;
    // The from-date the run will save, held back by files that failed.
    NextFromDate nextFrom;

    // Outcome bookkeeping for the exit status of unattended starts.
    bool RunCompleted = false;  // a run reached its end without a break
    bool JobRefused = false;    // start-up refused the job or ran nothing
    bool RunRefused = false;    // the last run was refused before it began

    // What the walks work with.
    RunContext run;

    // --- Window life (app/Startup.cpp, app/RunDriver.cpp) --------------------
    void Form_Load();
    void Form_Unload();
    void cmdExit_Click();
    void cmdGo_Click();
    // Closes the window (Form_Unload runs; the program ends afterwards).
    void CloseWindow();
    void Yield() { svc.pump.yield(); }
    // 0 done, 3 done with failed files, 2 broken off, 1 refused or no run.
    int ExitStatus() const;

    // --- Init file (config/InitFile.cpp) -------------------------------------
    int ReadInitFile();
    void SetDefaultJob();
    void CreateInitFileOnOK();
    void SaveJobAfterRun();
    static std::string ValueAfterEquals(const std::string& line);
    static std::string PathInFolder(const std::string& folder, const std::string& name);
    int DustbinModeCode();

    // --- Command line (config/CommandLine.cpp) -------------------------------
    static std::vector<std::string> SplitCommandLine(const std::string& text);
    void ApplyCommandLineOptions(const std::vector<std::string>& CmdTokens);
    void ShowRunWindow();
    static std::string NormaliseDateText(const std::string& text);

    // --- Volume-name paths (config/VolumePaths.cpp) --------------------------
    // A path written with a volume name, resolved by the drive list
    // (config/VolumePaths.h).
    std::string resolveVolumePath(const std::string& path);

    // --- Drive list and shell names (ui/Lookups.cpp) -------------------------
    void GetDriveList();
    std::string GetDesktopName();
    std::string GetComputerName();
    static long LargerOf(long a, long b) { return a > b ? a : b; }

    // --- Main window behaviour (ui/MainWindow*.cpp) --------------------------
    void Form_Resize();
    void Check1_Click();
    void Frame1_Click();
    void Frame2_Click();
    void imPrullenbak_DblClick();
    void Text1_DblClick(int index);
    // Returns true when the key is swallowed.
    bool Text1_KeyPress(int index);
    bool text2_KeyPress();
    void text2_LostFocus();
    void lblFiles_Click();
    void Command1_Click();
    void FolderTreeview1_SelectionChanged(const std::string& folder);
    void FolderTreeview1_ChoiceEnded();
    // The picker closed without a choice: the box comes back unchanged.
    void FolderTreeview1_ChoiceCancelled();
    void ShowArrow1Red();
    void ShowArrow1Dark();
    void ShowArrow2Faded();
    void ShowArrow2Dark();

    // --- Settings confirmation (ui/SettingsCheck.cpp) ------------------------
    bool CheckSettings();
    void cmdOK_Click();
};

}  // namespace zv
