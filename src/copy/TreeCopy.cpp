#include "copy/TreeCopy.h"

#include "app/frmVergelijker.h"
#include "copy/FolderPresence.h"
#include "copy/NewFolderCopy.h"
#include "copy/ProgressDisplay.h"
#include "copy/ProgressTotal.h"
#include "copy/WalkSupport.h"

namespace zv {

namespace {

// The root level and the subfolder levels differ in a few display steps,
// in the give-up line and in reporting a recovery.
enum class Level { Root, Sub };

void ShowCopying(frmVergelijker& w, const std::string& source) {
    w.ui.panel(1) = "Kopieren";
    ShowFile(w, source, true);
    w.Yield();
}

// Copies f onto the target; a read-only target (75) is made writable and
// copied once more. The copy carries the source's attributes over, and a
// copy that failed leaves the old target as it was (its attributes too), so
// the failure of the copy is what counts.
FsError CopyWithRetry(frmVergelijker& w, const Entry& f, const FilePaths& p) {
    FileSystem& fs = w.svc.fs;
    FsError copied = fs.copyFile(p.source, p.target);
    if (copied.number == kErrAccessDenied && TakesAttributes(f) &&
        fs.lookup(p.target).kind == EntryKind::File) {
        (void)fs.setAttributes(p.target, kAttrNormal);
        copied = fs.copyFile(p.source, p.target);
    }
    return copied;
}

// A file that is new (or missing from the backup under synchronisation).
// Returns false when the user gave up on a full disk.
bool CopyFileOver(frmVergelijker& w, const WalkRules& rules, const Entry& f, const FilePaths& p,
                  Level level) {
    ShowCopying(w, p.source);
    FsError pending = CopyWithRetry(w, f, p);
    if (pending) {
        noteFailedCopy(w, f, rules);
        const GiveUpLine line = level == Level::Root ? GiveUpLine::UserBreak : GiveUpLine::DiskFull;
        if (!ReportFileFailure(w, p.source, pending, line)) return false;
    } else {
        ++w.FilesCopied;
        ShowCounts(w);
        w.Yield();
        if (level == Level::Sub) ReportFileRecovery(w, p.source);
    }
    ShowFile(w, p.source, false);
    if (level == Level::Root) w.ui.panel(1) = "Kopieren";
    w.Yield();
    return true;
}

// Under synchronisation: a backup file whose attributes differ from its
// source file's gets the source's. Returns false when the user gave up.
// The walk lists without the recorded bits, so both sides are read here.
bool RepairAttributes(frmVergelijker& w, const Entry& f, const FilePaths& p) {
    std::uint32_t sourceAttributes = 0;
    if (w.svc.fs.getAttributes(p.source, sourceAttributes)) return true;  // gone meanwhile
    std::uint32_t targetAttributes = 0;
    const bool known = w.svc.fs.getAttributes(p.target, targetAttributes).ok();
    if (known && targetAttributes == sourceAttributes) return true;
    ShowCopying(w, p.source);
    FsError pending;
    Keep(pending, w.svc.fs.setAttributes(p.target, sourceAttributes));
    ShowFile(w, p.source, false);
    w.Yield();
    if (pending) {
        noteFailedRepair(w, f);
        if (!ReportFileFailure(w, p.source, pending, GiveUpLine::DiskFull)) return false;
    } else {
        ++w.FilesCopied;
        ShowCounts(w);
        ReportFileRecovery(w, p.source);
    }
    return true;
}

// Compares one source file with its place in the backup and copies it when
// it is new. `targetFolder` empty: the backup folder could not be opened, so
// nothing is compared or copied. Returns false when the walk must end.
bool HandleFile(frmVergelijker& w, const WalkRules& rules, const Entry& f,
                const std::string& sourceFolder, const std::string& targetFolder, Level level,
                FolderPresence& backup, FilePaths& p) {
    if (w.UserBreak) {
        w.AddToLog(w.UserBreakLine());
        w.WriteLog();
        return false;
    }
    StepFileProgress(w, f.size);
    ++w.FilesSeen;
    if (!targetFolder.empty()) {
        JoinPath(p.source, sourceFolder, f.name);
        JoinPath(p.target, targetFolder, f.name);
        const bool isNew = rules.FileIsNew(f);
        // Existence alone is asked for every file; the backup file's
        // attributes only where they may need repairing. A folder or a link
        // where the source has a file is no copy of it.
        bool exists = false;
        if (!isNew && rules.syncActive) exists = backupHoldsSame(backup.find(f.name, p.target), f);
        if (isNew || (rules.syncActive && !exists)) {
            if (!CopyFileOver(w, rules, f, p, level)) return false;
        } else if (rules.syncActive && TakesAttributes(f) && IsLater(f.accessed, rules.from)) {
            if (!RepairAttributes(w, f, p)) return false;
        }
    }
    ShowSeen(w);
    if (level == Level::Root) w.ui.panel(1) = "Kopieren";
    w.Yield();
    return true;
}

// The backup folder takes the source folder's attributes, unless the source
// folder is a system folder.
void CopyFolderAttributes(frmVergelijker& w, const std::string& source,
                          const std::string& destination) {
    std::uint32_t attributes = 0;
    if (w.svc.fs.getAttributes(source, attributes)) return;
    if (attributes & kAttrSystem) return;
    if (w.svc.fs.folderExists(destination)) (void)w.svc.fs.setAttributes(destination, attributes);
}

void StartProgress(frmVergelijker& w) {
    w.ui.state = WindowState::Normal;
    w.Minimised = false;
    w.BytesTotal = 0;
    ShowCounts(w);
    ShowSeen(w);
    w.ui.ProgressBar1.visible = true;
    w.svc.pump.repaintNow();
    w.ui.ProgressBar1.setValue(0);
}

void CopyNewFolder(frmVergelijker& w, const std::string& source, const std::string& destination) {
    CopyNewFolderFiles(w, source, destination);
    CopyNewFolderSubfolders(w, source, destination);
    if (!w.UserBreak && w.svc.fs.folderExists(destination))
        finishBackupFolder(w, FolderPath(source), FolderPath(destination));
}

// The subfolder loop of CopySubTrees over an already opened pair.
void WalkSubfolders(frmVergelijker& w, const std::string& src, const std::string& dst,
                    const std::vector<Entry>& subfolders) {
    const WalkRules rules = WalkRules::Of(w);
    FolderPresence backup(w.svc.fs);
    FilePaths p;
    std::string sPath;
    std::vector<Entry> files;
    std::vector<Entry> folders;
    for (const Entry& s : subfolders) {
        w.Yield();
        JoinPath(sPath, src, s.name);
        if (IsExcludedSubfolder(w, s, sPath, dst)) continue;
        if (w.UserBreak) return;
        std::string d;
        JoinPath(d, dst, s.name);
        std::string dCheck = d;
        if (!w.FolderExistsOrVirtual(dCheck)) {
            std::string collapsed = frmVergelijker::CollapseBackslashes(d);
            if (FsError e = makeBackupFolder(w, sPath, collapsed))
                reportFolderFailure(w, collapsed, e);
            else
                CopyNewFolder(w, sPath, collapsed);
            continue;
        }
        const std::string targetFolder = w.svc.fs.folderExists(d) ? d : std::string();
        if (!targetFolder.empty()) openBackupFolder(w, sPath, targetFolder);
        files.clear();
        folders.clear();
        if (FsError e = w.svc.fs.listFolder(sPath, files, folders, ListDetail::Plain))
            reportFolderFailure(w, sPath, e);
        if (rules.syncActive) backup.moveTo(targetFolder, files.size());
        for (const Entry& f : files) {
            if (!IsCopyable(f)) continue;
            if (!HandleFile(w, rules, f, sPath, targetFolder, Level::Sub, backup, p)) return;
        }
        CopySubTreesListed(w, sPath, d, folders);
    }
}

}  // namespace

void CopyTreeRoot(frmVergelijker& w, const std::string& Source, const std::string& Destination) {
    StartProgress(w);
    const std::string src = FolderPath(Source);
    const std::string dst = FolderPath(Destination);
    CopyFolderAttributes(w, src, dst);
    StartProgressTotal(w, src);

    std::string dstCheck = Destination;
    if (!w.FolderExistsOrVirtual(dstCheck)) {
        CopyNewFolder(w, Source, Destination);
        return;
    }
    w.Yield();
    const WalkRules rules = WalkRules::Of(w);
    const std::string targetFolder = w.svc.fs.folderExists(dst) ? dst : std::string();
    if (!targetFolder.empty()) openBackupFolder(w, src, dst);
    std::vector<Entry> files;
    std::vector<Entry> folders;
    if (FsError e = w.svc.fs.listFolder(src, files, folders, ListDetail::Plain))
        reportFolderFailure(w, src, e);
    FolderPresence backup(w.svc.fs);
    if (rules.syncActive) backup.moveTo(targetFolder, files.size());
    FilePaths p;
    for (const Entry& f : files) {
        if (!IsCopyable(f)) continue;
        if (!HandleFile(w, rules, f, src, targetFolder, Level::Root, backup, p)) return;
    }
    w.ui.panel(1) = "Kopieren";
    ShowSeen(w);
    w.Yield();
}

void CopySubTrees(frmVergelijker& w, const std::string& Source, const std::string& Destination) {
    if (w.UserBreak) {
        w.AddToLog(w.UserBreakLine());
        w.WriteLog();
        return;
    }
    const std::string src = FolderPath(Source);
    std::vector<Entry> files;
    std::vector<Entry> folders;
    (void)w.svc.fs.listFolder(src, files, folders, ListDetail::Plain);
    CopySubTreesListed(w, Source, Destination, folders);
}

void CopySubTreesListed(frmVergelijker& w, const std::string& Source,
                        const std::string& Destination, const std::vector<Entry>& subfolders) {
    if (w.UserBreak) {
        w.AddToLog(w.UserBreakLine());
        w.WriteLog();
        return;
    }
    const std::string src = FolderPath(Source);
    const std::string dst = FolderPath(Destination);
    CopyFolderAttributes(w, src, dst);
    std::string dstCheck = Destination;
    if (!w.FolderExistsOrVirtual(dstCheck)) {
        CopyNewFolder(w, src, dst);
        return;
    }
    // A virtual backup name has no folder to compare with.
    if (!w.svc.fs.folderExists(dst)) return;
    WalkSubfolders(w, src, dst, subfolders);
    if (!w.UserBreak) finishBackupFolder(w, src, dst);
}

}  // namespace zv
