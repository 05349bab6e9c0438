#include "copy/NewFolderCopy.h"

#include <vector>

#include "app/frmVergelijker.h"
#include "copy/ProgressDisplay.h"
#include "copy/TreeCopy.h"
#include "copy/WalkSupport.h"

namespace zv {

namespace {

// The folder counts as new: both its dates at or after the from-date.
bool FolderIsNew(const Entry& folder, const WalkRules& rules) {
    return IsAtOrAfter(folder.created, rules.from) && IsAtOrAfter(folder.modified, rules.from);
}

// Some file anywhere below the folder is new by its own dates. A folder
// that cannot be listed counts as holding one: skipping is not safe.
bool HoldsNewFile(FileSystem& fs, const std::string& folder, const WalkRules& rules) {
    std::vector<Entry> files;
    std::vector<Entry> folders;
    if (fs.listFolder(folder, files, folders)) return true;
    for (const Entry& f : files)
        if (IsCopyable(f) && rules.DatesAreNew(f)) return true;
    std::string sub;
    for (const Entry& d : folders) {
        JoinPath(sub, folder, d.name);
        if (HoldsNewFile(fs, sub, rules)) return true;
    }
    return false;
}

// An old subfolder is left out of a new backup branch: its dates are at or
// before the from-date, the date filter is on and there is no
// synchronisation. A subfolder that holds a newer file somewhere below is
// never left out, or that file would never be backed up.
bool IsOldSubfolder(FileSystem& fs, const Entry& s, const std::string& sPath,
                    const WalkRules& rules) {
    if (rules.noDateCheck || rules.syncActive) return false;
    if (IsLater(s.created, rules.from) || IsLater(s.modified, rules.from)) return false;
    return !HoldsNewFile(fs, sPath, rules);
}

void FinishFile(frmVergelijker& w, const std::string& source) {
    ShowFile(w, source, false);
    ShowSeen(w);
    w.Yield();
}

// After the copy attempt of one file: the failure or the count. Returns
// false when the user gave up on a full disk.
bool Settle(frmVergelijker& w, const WalkRules& rules, const Entry& f, const std::string& source,
            const FsError& pending, bool counts) {
    if (pending) {
        noteFailedCopy(w, f, rules);
        return ReportFileFailure(w, source, pending, GiveUpLine::DiskFull);
    }
    if (!counts) return true;
    ++w.FilesCopied;
    ShowCounts(w);
    ReportFileRecovery(w, source);
    w.Yield();
    return true;
}

// The files of one subfolder of a new branch, by the file selection rule.
// Returns false when the walk must end.
bool CopySubfolderFiles(frmVergelijker& w, const WalkRules& rules, const std::vector<Entry>& files,
                        const std::string& sPath, const std::string& target) {
    FileSystem& fs = w.svc.fs;
    // A target that is not a real folder (its creation failed, or a link
    // stands there) is never written through.
    const bool targetUsable = fs.folderExists(target);
    FilePaths p;
    for (const Entry& f : files) {
        if (!IsCopyable(f)) continue;
        ++w.FilesSeen;
        FsError pending;
        StepFileProgress(w, f.size);
        JoinPath(p.source, sPath, f.name);
        JoinPath(p.target, target, f.name);
        w.ui.panel(1) = "Kopieren";
        ShowFile(w, p.source, true);
        w.Yield();
        // Whether something lies at the target matters under synchronisation
        // and for a file that is not selected.
        const bool needExists = rules.syncActive || !rules.FileIsNew(f);
        const bool exists = needExists && targetUsable && backupHoldsSame(fs.lookup(p.target), f);
        const bool selected = rules.syncActive ? !exists : rules.FileIsNew(f);
        // A copied file carries its attributes; an existing backup file that
        // is kept has them refreshed and counts; a file neither copied nor
        // present is simply not counted.
        if (selected && !targetUsable) pending = fsFail(kErrPathNotFound, "Path not found");
        if (selected && targetUsable) pending = fs.copyFile(p.source, p.target);
        if (!selected && exists && TakesAttributes(f))
            pending = fs.setAttributes(p.target, f.attributes);
        const bool present = selected || exists;
        ShowFile(w, p.source, false);
        w.Yield();
        if (!Settle(w, rules, f, p.source, pending, present)) return false;
        FinishFile(w, p.source);
    }
    return true;
}

}  // namespace

void CopyNewFolderFiles(frmVergelijker& w, const std::string& Source,
                        const std::string& Destination) {
    FileSystem& fs = w.svc.fs;
    const WalkRules rules = WalkRules::Of(w);
    const std::string src = FolderPath(Source);
    const std::string dst = FolderPath(Destination);
    Entry folder;
    if (FsError opened = fs.stat(src, folder)) {
        reportFolderFailure(w, src, opened);
        return;
    }
    // An old folder keeps only its files that are new by their own dates (or
    // all of them without the date filter: then every file counts as new).
    const bool everyFile = rules.syncActive || FolderIsNew(folder, rules);

    w.ui.panel(1) = "Kopieren";
    ShowCounts(w);
    w.ui.ProgressBar1.visible = true;

    std::vector<Entry> files;
    std::vector<Entry> folders;
    // Never form a target path from a folder that is not there: what it
    // should have received fails, reported once for the folder.
    if (!fs.folderExists(dst)) {
        reportFolderFailure(w, Destination, fsFail(kErrPathNotFound, "Path not found"));
        return;
    }
    if (FsError e = fs.listFolder(src, files, folders)) reportFolderFailure(w, src, e);
    if (!(folder.attributes & kAttrSystem)) (void)fs.setAttributes(dst, folder.attributes);

    FilePaths p;
    for (const Entry& f : files) {
        if (!IsCopyable(f)) continue;
        ++w.FilesSeen;
        if (w.UserBreak) {
            w.AddToLog(w.UserBreakLine());
            w.WriteLog();
            return;
        }
        StepFileProgress(w, f.size);
        JoinPath(p.source, src, f.name);
        if (!everyFile && !rules.FileIsNew(f)) {
            FinishFile(w, p.source);
            continue;
        }
        JoinPath(p.target, dst, f.name);
        w.ui.panel(1) = "Kopieren";
        ShowFile(w, p.source, true);
        w.Yield();
        const FsError pending = fs.copyFile(p.source, p.target);
        ShowFile(w, p.source, false);
        w.Yield();
        if (!Settle(w, rules, f, p.source, pending, true)) return;
        FinishFile(w, p.source);
    }
}

void CopyNewFolderSubfolders(frmVergelijker& w, const std::string& Source,
                             const std::string& Destination) {
    if (w.UserBreak) {
        w.AddToLog(w.UserBreakLine());
        w.WriteLog();
        return;
    }
    FileSystem& fs = w.svc.fs;
    const WalkRules rules = WalkRules::Of(w);
    const std::string src = FolderPath(Source);
    const std::string dst = FolderPath(Destination);
    if (!fs.folderExists(dst)) {
        w.AddToLog(w.NowTimeText() + " " + Destination);
        w.AddToLog("(=ongeldige padaanduiding)");
        return;
    }
    std::vector<Entry> files;
    std::vector<Entry> subfolders;
    (void)fs.listFolder(src, files, subfolders);  // a failure is reported with the files
    std::string sPath;
    for (const Entry& s : subfolders) {
        w.Yield();
        JoinPath(sPath, src, s.name);
        if (IsExcludedSubfolder(w, s, sPath, dst) || IsOldSubfolder(fs, s, sPath, rules)) continue;
        if (w.UserBreak) {
            w.AddToLog(w.UserBreakLine());
            return;
        }
        std::string target;
        JoinPath(target, dst, s.name);
        std::string check = target;
        if (!w.FolderExistsOrVirtual(check)) {
            if (FsError e = makeBackupFolder(w, sPath, target)) {
                reportFolderFailure(w, target, e);
                continue;
            }
        }
        files.clear();
        std::vector<Entry> below;
        if (FsError e = fs.listFolder(sPath, files, below)) reportFolderFailure(w, sPath, e);
        if (!CopySubfolderFiles(w, rules, files, sPath, target)) return;
        CopySubTreesListed(w, sPath, target, below);
    }
}

}  // namespace zv
