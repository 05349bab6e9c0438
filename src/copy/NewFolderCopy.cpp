#include "copy/NewFolderCopy.h"

#include <vector>

#include "copy/NewFileSearch.h"
#include "copy/SubfolderStep.h"
#include "copy/TreeCopy.h"
#include "copy/WalkSupport.h"
#include "run/RunContext.h"

namespace zv {

namespace {

// The folder counts as new: both its dates at or after the from-date.
bool folderIsNew(const Entry& folder, const WalkRules& rules) {
    return isAtOrAfter(folder.created, rules.from) && isAtOrAfter(folder.modified, rules.from);
}

// An old subfolder is left out of a new backup branch: its dates are at or
// before the from-date, the date filter is on and there is no
// synchronisation. A subfolder that holds a newer file somewhere below is
// never left out, or that file would never be backed up.
bool isOldSubfolder(RunContext& run, const Entry& s, std::string& sPath, const WalkRules& rules) {
    if (rules.noDateCheck || rules.syncActive) return false;
    if (isLater(s.created, rules.from) || isLater(s.modified, rules.from)) return false;
    return !run.newFiles.holdsNewFile(run.fs, sPath, s.id, rules);
}

// After the copy attempt of one file: the failure or the count. Returns
// false when the user gave up on a full disk.
bool settle(RunContext& run, const WalkRules& rules, const Entry& f, const std::string& source,
            const FsError& pending, bool counts) {
    if (pending.failed()) {
        noteFailedCopy(run, f, rules);
        return reportFileFailure(run, source, pending, GiveUpLine::DiskFull);
    }
    if (!counts) return true;
    ++run.counts.copied;
    reportFileRecovery(run, source);
    return true;
}

// The files of one subfolder of a new branch, by the file selection rule.
// A target that is not a real folder (`targetUsable` false: its creation
// failed, or a link stands there) is never written through. Returns false
// when the walk must end.
bool copySubfolderFiles(RunContext& run, const WalkRules& rules, const std::vector<Entry>& files,
                        const std::string& sPath, const std::string& target, bool targetUsable) {
    FileSystem& fs = run.fs;
    FilePaths& p = run.filePaths;
    p.enter(sPath, target);
    for (const Entry& f : files) {
        if (!isCopyable(f)) continue;
        ++run.counts.seen;
        FsError pending;
        run.progress.fileReached(f.size);
        p.name(f.name);
        run.progress.fileStarted(p.source);
        // Whether something lies at the target matters under synchronisation
        // and for a file that is not selected.
        const bool needExists = rules.syncActive || !rules.FileIsNew(f);
        const bool exists = needExists && targetUsable && backupHoldsSame(fs.lookup(p.target), f);
        const bool selected = rules.syncActive ? !exists : rules.FileIsNew(f);
        // A copied file carries its attributes; an existing backup file that
        // is kept has them refreshed and counts; a file neither copied nor
        // present is simply not counted.
        if (selected)
            pending =
                targetUsable ? copyListed(fs, f, p) : fsFail(kErrPathNotFound, "Path not found");
        if (!selected && exists && takesAttributes(f))
            pending = fs.setAttributes(p.target, f.attributes);
        const bool present = selected || exists;
        if (!settle(run, rules, f, p.source, pending, present)) return false;
        run.progress.fileFinished(p.source);
    }
    return true;
}

}  // namespace

void copyNewFolderFiles(RunContext& run, const std::string& src, const std::string& dst) {
    FileSystem& fs = run.fs;
    const WalkRules rules = WalkRules::Of(run);
    Entry folder;
    if (FsError opened = fs.stat(src, folder); opened.failed()) {
        reportFolderFailure(run, src, opened);
        return;
    }
    // An old folder keeps only its files that are new by their own dates (or
    // all of them without the date filter: then every file counts as new).
    const bool everyFile = rules.syncActive || folderIsNew(folder, rules);

    std::vector<Entry> files;
    std::vector<Entry> folders;
    // Never form a target path from a folder that is not there: what it
    // should have received fails, reported once for the folder.
    if (!fs.folderExists(dst)) {
        reportFolderFailure(run, dst, fsFail(kErrPathNotFound, "Path not found"));
        return;
    }
    if (FsError e = fs.listFolder(src, files, folders); e.failed())
        reportFolderFailure(run, src, e);
    if (!(folder.attributes & kAttrSystem)) (void)fs.setAttributes(dst, folder.attributes);

    FilePaths& p = run.filePaths;
    p.enter(src, dst);
    for (const Entry& f : files) {
        if (!isCopyable(f)) continue;
        ++run.counts.seen;
        if (run.userBreak) return;
        run.progress.fileReached(f.size);
        p.name(f.name);
        if (!everyFile && !rules.FileIsNew(f)) {
            run.progress.fileFinished(p.source);
            continue;
        }
        run.progress.fileStarted(p.source);
        const FsError pending = copyListed(fs, f, p);
        if (!settle(run, rules, f, p.source, pending, true)) return;
        run.progress.fileFinished(p.source);
    }
}

void copyNewFolderSubfolders(RunContext& run, std::string& src, std::string& dst) {
    if (run.userBreak) return;
    FileSystem& fs = run.fs;
    const WalkRules rules = WalkRules::Of(run);
    if (!fs.folderExists(dst)) {
        run.log.add(run.log.timeText() + " " + dst);
        run.log.add("(=ongeldige padaanduiding)");
        return;
    }
    std::vector<Entry> files;
    std::vector<Entry> subfolders;
    (void)fs.listFolder(src, files, subfolders);  // a failure is reported with the files
    // Each subfolder's paths are `src` and `dst` with its name added.
    for (const Entry& s : subfolders) {
        run.pump.yield();
        const SubfolderStep source(src, s.name);
        if (isExcludedSubfolder(run, s, src, dst) || isOldSubfolder(run, s, src, rules)) continue;
        if (run.userBreak) return;
        const SubfolderStep target(dst, s.name);
        bool targetUsable = fs.folderExists(dst);
        if (!targetUsable && !isShellPlace(run, dst)) {
            if (FsError e = makeBackupFolder(run, src, dst); e.failed()) {
                reportFolderFailure(run, dst, e);
                continue;
            }
            targetUsable = fs.folderExists(dst);
        }
        std::vector<Entry> below;
        if (FsError e = fs.listFolder(src, files, below); e.failed())
            reportFolderFailure(run, src, e);
        if (!copySubfolderFiles(run, rules, files, src, dst, targetUsable)) return;
        copySubTreesListed(run, src, dst, below);
    }
}

}  // namespace zv
