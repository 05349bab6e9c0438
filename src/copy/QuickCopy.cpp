#include "copy/QuickCopy.h"

#include <vector>

#include "copy/SubfolderStep.h"
#include "copy/WalkSupport.h"
#include "run/RunContext.h"

namespace zv {

namespace {

// The backup folder takes the source folder's attributes unless the source
// folder is a system folder. Returns whether the backup folder is a real
// folder that files can be copied into.
bool openPair(RunContext& run, const std::string& src, const std::string& dst) {
    FileSystem& fs = run.fs;
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
bool copyStep(RunContext& run, const WalkRules& rules, const Entry& f, const FilePaths& p,
              bool targetUsable) {
    FileSystem& fs = run.fs;
    FsError pending;
    if (!targetUsable) {
        pending = fsFail(kErrPathNotFound, "Path not found");
    } else {
        pending = copyListed(fs, f, p);
        if (pending.number == kErrAccessDenied && takesAttributes(f) &&
            fs.lookup(p.target).kind == EntryKind::File) {
            (void)fs.setAttributes(p.target, kAttrNormal);
            pending = copyListed(fs, f, p);
        }
    }
    if (pending.failed()) {
        noteFailedCopy(run, f, rules);
        if (!reportFileFailure(run, p.source, pending, GiveUpLine::None)) return false;
    } else {
        ++run.counts.copied;
        reportFileRecovery(run, p.source);
    }
    run.progress.fileFinished(p.source);
    return true;
}

// The files of one walked subfolder. Returns false when the walk must end.
bool copySubfolderFiles(RunContext& run, const WalkRules& rules, const std::vector<Entry>& files,
                        const std::string& sPath, const std::string& target, bool targetUsable) {
    FilePaths& p = run.filePaths;
    p.enter(sPath, target);
    for (const Entry& f : files) {
        if (!isCopyable(f)) continue;
        run.progress.fileReached(f.size);
        ++run.counts.seen;
        run.progress.countsChanged();
        if (!rules.FileIsNew(f)) continue;
        p.name(f.name);
        run.progress.fileStarted(p.source);
        if (!copyStep(run, rules, f, p, targetUsable)) return false;
    }
    return true;
}

// The subfolder walk over a source folder whose subfolders are listed. Each
// subfolder's paths are `src` and `dst` with its name added (SubfolderStep).
void walkSubfolders(RunContext& run, std::string& src, std::string& dst,
                    const std::vector<Entry>& subfolders) {
    if (run.userBreak) return;
    const bool usable = openPair(run, src, dst);
    const WalkRules rules = WalkRules::Of(run);
    std::vector<Entry> files;
    for (const Entry& s : subfolders) {
        run.pump.yield();
        const SubfolderStep source(src, s.name);
        if (isExcludedSubfolder(run, s, src, dst)) continue;
        if (run.userBreak) return;
        const SubfolderStep target(dst, s.name);
        bool targetUsable = run.fs.folderExists(dst);
        const bool existed = targetUsable || isShellPlace(run, dst);
        if (!existed) {
            if (FsError e = makeBackupFolder(run, src, dst); e.failed()) {
                reportFolderFailure(run, dst, e);
                continue;
            }
            targetUsable = run.fs.folderExists(dst);
        }
        if (existed && targetUsable) openBackupFolder(run, src, dst);
        files.clear();
        std::vector<Entry> below;
        if (FsError e = run.fs.listFolder(src, files, below); e.failed())
            reportFolderFailure(run, src, e);
        if (!copySubfolderFiles(run, rules, files, src, dst, targetUsable)) return;
        walkSubfolders(run, src, dst, below);
    }
    if (usable && !run.userBreak) finishBackupFolder(run, src, dst);
}

}  // namespace

void quickCopyRoot(RunContext& run, const std::string& Source, const std::string& Destination) {
    const std::string src = normalisedFolder(Source);
    const std::string dst = normalisedFolder(Destination);
    const bool usable = openPair(run, src, dst);
    if (usable) openBackupFolder(run, src, dst);
    run.progress.walkStarted(RunProgress::Walk::QuickCopy, src);

    const WalkRules rules = WalkRules::Of(run);
    std::vector<Entry> files;
    std::vector<Entry> folders;
    if (FsError e = run.fs.listFolder(src, files, folders); e.failed())
        reportFolderFailure(run, src, e);
    FilePaths& p = run.filePaths;
    p.enter(src, dst);
    for (const Entry& f : files) {
        if (run.userBreak) return;
        if (!isCopyable(f)) continue;
        run.progress.fileReached(f.size);
        ++run.counts.seen;
        if (!rules.FileIsNew(f)) continue;
        p.name(f.name);
        run.progress.fileStarted(p.source);
        if (!copyStep(run, rules, f, p, usable)) return;
    }
}

void quickCopySubfolders(RunContext& run, const std::string& Source,
                         const std::string& Destination) {
    if (run.userBreak) return;
    std::vector<Entry> files;
    std::vector<Entry> subfolders;
    std::string src = normalisedFolder(Source);
    std::string dst = normalisedFolder(Destination);
    (void)run.fs.listFolder(src, files, subfolders);
    walkSubfolders(run, src, dst, subfolders);
}

}  // namespace zv
