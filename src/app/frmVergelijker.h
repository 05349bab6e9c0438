#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/NextFromDate.h"
#include "app/RunRoots.h"
#include "app/Services.h"
#include "app/WindowModel.h"
#include "run/Job.h"

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
    bool UserBreak = false;
    bool Minimised = false;
    int EditIndex = 0;
    std::int32_t StartSeconds = 0;
    DateTime RunStartTime{};  // the instant the last run started: the next from-date
    std::int32_t ElapsedSeconds = 0;
    std::int32_t FilesCopied = 0;
    std::int32_t ItemsRemoved = 0;
    std::int32_t FilesSeen = 0;
    double BytesDone = 0;
    double BytesTotal = 0;
    double PercentDone = 0;
    int ProgressScale = 0;
    bool ProgressScaled = false;
    // A walk's progress total still being worked out beside it, and the part
    // of it already known (copy/ProgressTotal.h).
    std::unique_ptr<PendingSize> PendingTotal;
    double PendingTotalBase = 0;
    bool CopyErrorFlag = false;
    std::string RunLog;

    // The run's folders, resolved when it starts (app/RunPreflight.h).
    RunRoots Roots;
    // The from-date the run will save, held back by files that failed.
    NextFromDate NextFrom;

    // Outcome bookkeeping for the exit status of unattended starts.
    std::int32_t FilesFailed = 0;  // files a run could not handle
    bool RunCompleted = false;     // a run reached its end without a break
    bool JobRefused = false;       // start-up refused the job or ran nothing
    bool RunRefused = false;       // the last run was refused before it began

    // --- Run log (app/RunLog.cpp) -------------------------------------------
    void AddToLog(const std::string& LogTextS1_);
    void WriteLog();
    // "<date> <time>   -  user break"
    std::string UserBreakLine();
    // "<time>Disk full"
    std::string DiskFullLine();
    std::string NowDateText();
    std::string NowTimeText();
    // Per-file error details, routed to the run log:
    // "<time> - <path>" then "Error <n>: <description>".
    void LogFileError(const std::string& path, const FsError& error);
    // "<time> - <path>" then "OK, Proceeding ..." after a failure.
    void LogFileRecovered(const std::string& path);

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

    // --- Path checks and folder helpers (copy/PathHelpers.cpp) ---------------
    static std::string CollapseBackslashes(const std::string& path);
    bool FolderExistsOrVirtual(std::string& path);
    int MakeFolder(std::string& path);
    std::string CreatePath(const std::string& DirIn);
    double TreeSize(const std::string& folder);
    // TreeSize in two parts: the folder's own files (the result) and the
    // subfolders whose trees count (into `subfolders`).
    double TreeSizeOfRoot(const std::string& folder, std::vector<std::string>& subfolders);
    bool AskChangeDisk();

    // --- Folder marking used by the walks (sync/FolderMarking.cpp) -----------
    void SetIconStation(const std::string& StrStation);

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
    std::string DriveLetterPath(const std::string& StrPathIn);
    std::string PathRoot(const std::string& path);

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
