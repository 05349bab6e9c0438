#include "copy/QuickCopy.h"

#include <vector>

#include "app/frmVergelijker.h"
#include "copy/ProgressDisplay.h"
#include "copy/WalkSupport.h"

namespace zv {

namespace {

// The backup folder takes the source folder's attributes unless the source
// folder is a system folder. Returns whether the backup folder is a real
// folder that files can be copied into.
bool OpenPair(frmVergelijker& w, const std::string& src, const std::string& dst) {
    FileSystem& fs = w.svc.fs;
    const bool usable = fs.folderExists(dst);
    std::uint32_t attributes = 0;
    if (usable && fs.getAttributes(src, attributes).ok() && !(attributes & kAttrSystem))
        (void)fs.setAttributes(dst, attributes);
    return usable;
}

// Copies one selected file over its backup copy (the copy carries the
// source's attributes); a read-only backup copy (75) is made writable and
// copied once more. Into a backup folder that is not there (or not a real
// folder) nothing is written and the file fails. Returns false when the user gave up on a full
// disk.
bool CopyStep(frmVergelijker& w, const WalkRules& rules, const Entry& f, const FilePaths& p,
              bool targetUsable) {
    FileSystem& fs = w.svc.fs;
    FsError pending;
    if (!targetUsable) {
        pending = fsFail(kErrPathNotFound, "Path not found");
    } else {
        pending = fs.copyFile(p.source, p.target);
        if (pending.number == kErrAccessDenied && TakesAttributes(f) &&
            fs.lookup(p.target).kind == EntryKind::File) {
            (void)fs.setAttributes(p.target, kAttrNormal);
            pending = fs.copyFile(p.source, p.target);
        }
    }
    if (pending) {
        noteFailedCopy(w, f, rules);
        if (!ReportFileFailure(w, p.source, pending, GiveUpLine::None)) return false;
    } else {
        ++w.FilesCopied;
        w.ui.panel(1) = "Kopieren";
        ShowCounts(w);
        ShowSeen(w);
        ReportFileRecovery(w, p.source);
    }
    ShowFile(w, p.source, false);
    w.Yield();
    return true;
}

// The files of one walked subfolder. Returns false when the walk must end.
bool CopySubfolderFiles(frmVergelijker& w, const WalkRules& rules, const std::vector<Entry>& files,
                        const std::string& sPath, const std::string& target, bool targetUsable) {
    FilePaths p;
    for (const Entry& f : files) {
        if (!IsCopyable(f)) continue;
        StepFileProgress(w, f.size);
        ++w.FilesSeen;
        w.ui.panel(1) = "Kopieren";
        ShowCounts(w);
        ShowSeen(w);
        if (!rules.FileIsNew(f)) continue;
        JoinPath(p.source, sPath, f.name);
        JoinPath(p.target, target, f.name);
        ShowFile(w, p.source, true);
        w.Yield();
        if (!CopyStep(w, rules, f, p, targetUsable)) return false;
    }
    return true;
}

// The subfolder walk over a source folder whose subfolders are listed.
void WalkSubfolders(frmVergelijker& w, const std::string& Source, const std::string& Destination,
                    const std::vector<Entry>& subfolders) {
    if (w.UserBreak) return;
    const std::string src = FolderPath(Source);
    const std::string dst = FolderPath(Destination);
    const bool usable = OpenPair(w, src, dst);
    const WalkRules rules = WalkRules::Of(w);
    std::string sPath;
    std::string target;
    std::vector<Entry> files;
    for (const Entry& s : subfolders) {
        w.Yield();
        JoinPath(sPath, src, s.name);
        if (IsExcludedSubfolder(w, s, sPath, dst)) continue;
        if (w.UserBreak) return;
        JoinPath(target, dst, s.name);
        std::string check = target;
        const bool existed = w.FolderExistsOrVirtual(check);
        if (!existed) {
            if (FsError e = makeBackupFolder(w, sPath, target)) {
                reportFolderFailure(w, target, e);
                continue;
            }
        }
        const bool targetUsable = w.svc.fs.folderExists(target);
        if (existed && targetUsable) openBackupFolder(w, sPath, target);
        files.clear();
        std::vector<Entry> below;
        if (FsError e = w.svc.fs.listFolder(sPath, files, below)) reportFolderFailure(w, sPath, e);
        if (!CopySubfolderFiles(w, rules, files, sPath, target, targetUsable)) return;
        WalkSubfolders(w, sPath, target, below);
    }
    if (usable && !w.UserBreak) finishBackupFolder(w, src, dst);
}

}  // namespace

void QuickCopyRoot(frmVergelijker& w, const std::string& Source, const std::string& Destination) {
    w.ui.panel(1) = "Kopieren";
    w.ui.panel(2) = "Bestanden: " + std::to_string(w.FilesCopied);
    ShowSeen(w);
    w.ui.ProgressBar1.visible = true;
    w.svc.pump.repaintNow();
    w.ui.ProgressBar1.setValue(0);

    const std::string src = FolderPath(Source);
    const std::string dst = FolderPath(Destination);
    const bool usable = OpenPair(w, src, dst);
    if (usable) openBackupFolder(w, src, dst);
    w.BytesTotal = w.TreeSize(src);
    ScaleProgress(w);
    // The path boxes keep what the user wrote (a volume name above all): the
    // job is saved from them.
    w.Yield();

    const WalkRules rules = WalkRules::Of(w);
    std::vector<Entry> files;
    std::vector<Entry> folders;
    if (FsError e = w.svc.fs.listFolder(src, files, folders)) reportFolderFailure(w, src, e);
    FilePaths p;
    for (const Entry& f : files) {
        if (w.UserBreak) return;
        if (!IsCopyable(f)) continue;
        StepFileProgress(w, f.size);
        ++w.FilesSeen;
        if (!rules.FileIsNew(f)) continue;
        JoinPath(p.source, src, f.name);
        JoinPath(p.target, dst, f.name);
        w.ui.panel(1) = "Kopieren";
        ShowFile(w, p.source, true);
        w.Yield();
        if (!CopyStep(w, rules, f, p, usable)) return;
    }
}

void QuickCopySubfolders(frmVergelijker& w, const std::string& Source,
                         const std::string& Destination) {
    if (w.UserBreak) return;
    std::vector<Entry> files;
    std::vector<Entry> subfolders;
    (void)w.svc.fs.listFolder(FolderPath(Source), files, subfolders);
    WalkSubfolders(w, Source, Destination, subfolders);
}

}  // namespace zv
