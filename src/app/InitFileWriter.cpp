#include <string>
#include <vector>

#include "app/AppWindow.h"
#include "config/JobFileLines.h"
#include "config/Options.h"
#include "config/VolumeLabel.h"
#include "config/WorkingFolderPath.h"
#include "copy/WalkSupport.h"
#include "platform/DateText.h"

namespace zv {

namespace {

std::string flag(bool on) {
    return on ? "1" : "0";
}

// Line 9: the kind follows from whether a dustbin folder is set.
std::string dustbinLine(const AppWindow& w) {
    if (!w.job.useDustbin) return "dustbin =0";
    return w.job.dustbinPath.empty() ? "dustbin =1" : "dustbin =2";
}

// Line 12: the same job in the form the command line takes.
std::string optionLine(AppWindow& w, const std::string& dateText) {
    OptionValues values;
    valueOf(values, Option::Source) = w.ui.sourceBox.text;
    valueOf(values, Option::Backup) = w.ui.backupBox.text;
    valueOf(values, Option::DustbinFolder) = w.job.dustbinAsWritten;
    valueOf(values, Option::FromDate) = dateText;
    valueOf(values, Option::DateFilter) = std::to_string(w.ui.dateFilterBox.value);
    valueOf(values, Option::Synchronise) = flag(w.job.synchronise);
    valueOf(values, Option::Verify) = flag(w.job.verify);
    if (const int dustbin = w.dustbinModeCode(); dustbin != 0)
        valueOf(values, Option::DustbinKind) = std::to_string(dustbin);
    valueOf(values, Option::RemoveEmpty) = flag(w.job.removeEmptyFolders);
    valueOf(values, Option::VolumeLabel) = w.currentVolumeLabel;
    if (w.job.maxRemovals >= 0)
        valueOf(values, Option::MostRemovals) = std::to_string(w.job.maxRemovals);
    return savedOptionLine(values);
}

// The twelve lines of the job file. Reads the backup volume's name anew.
std::string jobFileText(AppWindow& w, const std::string& dateText) {
    std::vector<std::string> lines;
    lines.push_back("version =" + w.versionText);
    lines.push_back("pathsource =" + w.ui.sourceBox.text);
    lines.push_back("pathdestination =" + w.ui.backupBox.text);
    lines.push_back("pathrecycler =" + w.job.dustbinAsWritten);
    lines.push_back("dedato =" + dateText);
    lines.push_back(std::string("checkdate =") + flag(w.ui.dateFilterBox.value == 1));
    lines.push_back(std::string("syncactive =") + flag(w.job.synchronise));
    lines.push_back(std::string("doverify =") + flag(w.job.verify));
    lines.push_back(dustbinLine(w));
    lines.push_back(std::string("killempty =") + flag(w.job.removeEmptyFolders));
    (void)volumeLabelOfPath(w.svc.fs, w.resolveVolumePath(w.ui.backupBox.text),
                            w.currentVolumeLabel);
    lines.push_back("volumelabel =" + w.currentVolumeLabel);
    lines.push_back(optionLine(w, dateText));
    return joinCrLf(lines);
}

// Written to a temporary file and renamed over the old one, so that a crash
// or a full disk never leaves a half-written job behind.
void writeJobFile(AppWindow& w, const std::string& dateText) {
    const std::string text = jobFileText(w, dateText);
    const std::string path = inWorkingFolder(
        w.svc.env.workingFolder, AppWindow::pathInFolder(w.svc.env.appFolder, w.jobFileName));
    (void)w.svc.fs.writeFileAtomic(path, text);
}

}  // namespace

void AppWindow::saveJobOnOk() {
    writeJobFile(*this, ui.fromDateBox.text);
}

// After a completed run the job is saved with the run's start as the new
// from-date: a file changed while the run was under way is then taken by the
// next run; a file the run failed to copy holds the date back so that the
// next run takes it again (run/NextFromDate.h). A broken-off or refused run
// leaves the job file as it was.
void AppWindow::saveJobAfterRun() {
    if (userBreak || runRefused) return;  // the run driver writes the log
    log.write();
    const FromDateLimit old = readFromDate(job);
    const std::optional<DateTime> next =
        nextFrom.after(runStartTime, old.known ? std::optional(old.value) : std::nullopt);
    if (next) job.fromDate = formatDateTime(*next);
    writeJobFile(*this, job.fromDate);
    ui.fromDateBox.text = job.fromDate;
}

}  // namespace zv
