#include "copy/WalkSupport.h"

#include <algorithm>

#include "platform/DateText.h"
#include "run/FolderHelpers.h"
#include "run/RunContext.h"
#include "run/SystemFolders.h"

namespace zv {

// A from-date at the earliest instant the program holds (a date typed
// centuries back is read as that) means "everything": no file, however old
// its own clamped dates, is then skipped.
FromDateLimit readFromDate(const Job& job) {
    FromDateLimit limit;
    if (std::optional<DateTime> parsed = parseDateTime(job.fromDate)) {
        limit.known = *parsed > kEarliestDateTime;
        limit.value = *parsed;
    }
    return limit;
}

WalkRules WalkRules::Of(const RunContext& run) {
    WalkRules rules;
    rules.from = readFromDate(run.job);
    rules.noDateCheck = run.job.noDateFilter;
    rules.syncActive = run.job.synchronise;
    return rules;
}

bool isLater(DateTime date, const FromDateLimit& from) {
    if (!from.known || date == DateTime{}) return true;
    return date > from.value;
}

bool isAtOrAfter(DateTime date, const FromDateLimit& from) {
    if (!from.known || date == DateTime{}) return true;
    return date >= from.value;
}

bool isExcludedSubfolder(const RunContext& run, const Entry& subfolder,
                         const std::string& subfolderPath, const std::string& backupFolderPath) {
    if (run.roots.isRoot(subfolder.id) || run.roots.isTrash(subfolder.id)) return true;
    return hasSystemFolderWord(subfolderPath) || hasSystemFolderWord(backupFolderPath);
}

bool backupHoldsSame(const PathInfo& target, const Entry& f) {
    if (target.presence != Presence::Present) return false;
    return target.kind == (f.kind == EntryKind::Symlink ? EntryKind::Symlink : EntryKind::File);
}

void noteFailedCopy(RunContext& run, const Entry& f, const WalkRules& rules) {
    if (rules.noDateCheck || !rules.DatesAreNew(f)) return;
    // A date that could not be read makes the file new on every run.
    if (f.modified == DateTime{} || f.created == DateTime{}) return;
    run.nextFrom.failedFile(std::max(f.modified, f.created));
}

void noteFailedRepair(RunContext& run, const Entry& f) {
    if (f.changed != DateTime{}) run.nextFrom.failedFile(f.changed);
}

FsError makeBackupFolder(RunContext& run, const std::string& source, const std::string& path) {
    FileSystem& fs = run.fs;
    FsError made = fs.createFolder(path);
    if (made.failed()) {
        const PathInfo info = fs.lookup(path);
        if (info.presence != Presence::Present) return made;
        if (info.kind != EntryKind::Folder)
            return fsFail(kErrAccessDenied, "Not a folder: " + path);
    }
    return fs.keepFolderMetadata(source, path, FolderStage::Filling);
}

void openBackupFolder(RunContext& run, const std::string& source, const std::string& path) {
    if (FsError e = run.fs.keepFolderMetadata(source, path, FolderStage::Reopening); e.failed())
        reportFolderFailure(run, path, e);
}

void finishBackupFolder(RunContext& run, const std::string& source, const std::string& path) {
    if (FsError e = run.fs.keepFolderMetadata(source, path, FolderStage::Done); e.failed())
        reportFolderFailure(run, path, e);
}

void reportFolderFailure(RunContext& run, const std::string& path, const FsError& error) {
    run.log.fileError(path, error);
    run.nextFrom.failedUnseen();
}

bool reportFileFailure(RunContext& run, const std::string& sourcePath, const FsError& pending,
                       GiveUpLine giveUp) {
    if (pending.number == kErrDiskFull && !askForAnotherDisk(run.dialogs)) {
        run.userBreak = true;
        if (giveUp == GiveUpLine::None) return false;
        run.log.add(giveUp == GiveUpLine::BreakLine ? run.log.userBreakLine()
                                                    : run.log.diskFullLine());
        run.log.write();
        return false;
    }
    run.log.fileError(sourcePath, pending);
    run.counts.failedBefore = true;
    return true;
}

void reportFileRecovery(RunContext& run, const std::string& sourcePath) {
    if (!run.counts.failedBefore) return;
    run.log.fileRecovered(sourcePath);
    run.counts.failedBefore = false;
}

}  // namespace zv
