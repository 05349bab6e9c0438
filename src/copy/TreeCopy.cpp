#include "copy/TreeCopy.h"

#include "copy/FolderPresence.h"
#include "copy/NewFolderCopy.h"
#include "copy/WalkSupport.h"
#include "run/FolderHelpers.h"
#include "run/RunContext.h"

namespace zv {

namespace {

// The root level and the subfolder levels differ in a few display steps,
// in the give-up line and in reporting a recovery.
enum class Level { Root, Sub };

void showCopying(RunContext& run, const std::string& source) {
    run.progress.fileStarted(source);
}

// Copies f onto the target; a read-only target (75) is made writable and
// copied once more. The copy carries the source's attributes over, and a
// copy that failed leaves the old target as it was (its attributes too), so
// the failure of the copy is what counts.
FsError copyWithRetry(RunContext& run, const Entry& f, const FilePaths& p) {
    FileSystem& fs = run.fs;
    FsError copied = fs.copyFile(p.source, p.target);
    if (copied.number == kErrAccessDenied && takesAttributes(f) &&
        fs.lookup(p.target).kind == EntryKind::File) {
        (void)fs.setAttributes(p.target, kAttrNormal);
        copied = fs.copyFile(p.source, p.target);
    }
    return copied;
}

// A file that is new (or missing from the backup under synchronisation). A
// full disk the user gave up on breaks the run.
void copyFileOver(RunContext& run, const WalkRules& rules, const Entry& f, const FilePaths& p,
                  Level level) {
    showCopying(run, p.source);
    FsError pending = copyWithRetry(run, f, p);
    if (pending.failed()) {
        noteFailedCopy(run, f, rules);
        const GiveUpLine line = level == Level::Root ? GiveUpLine::BreakLine : GiveUpLine::DiskFull;
        if (!reportFileFailure(run, p.source, pending, line)) return;
    } else {
        ++run.counts.copied;
        if (level == Level::Sub) reportFileRecovery(run, p.source);
    }
    run.progress.fileFinished(p.source);
}

// Under synchronisation: a backup file whose attributes differ from its
// source file's gets the source's. A full disk the user gave up on breaks the
// run. The walk lists without the recorded bits, so both sides are read here.
void repairAttributes(RunContext& run, const Entry& f, const FilePaths& p) {
    std::uint32_t sourceAttributes = 0;
    if (run.fs.getAttributes(p.source, sourceAttributes).failed()) return;  // gone meanwhile
    std::uint32_t targetAttributes = 0;
    const bool known = run.fs.getAttributes(p.target, targetAttributes).ok();
    if (known && targetAttributes == sourceAttributes) return;
    showCopying(run, p.source);
    FsError pending;
    keep(pending, run.fs.setAttributes(p.target, sourceAttributes));
    if (pending.ok()) {
        ++run.counts.copied;
        reportFileRecovery(run, p.source);
    }
    run.progress.fileFinished(p.source);
    if (pending.ok()) return;
    noteFailedRepair(run, f);
    (void)reportFileFailure(run, p.source, pending, GiveUpLine::DiskFull);
}

// Compares one source file with its place in the backup and copies it when
// it is new. `targetFolder` empty: the backup folder could not be opened, so
// nothing is compared or copied. Returns false when the walk must end.
bool handleFile(RunContext& run, const WalkRules& rules, const Entry& f,
                const std::string& sourceFolder, const std::string& targetFolder, Level level,
                FolderPresence& backup, FilePaths& p) {
    if (run.userBreak) return false;
    run.progress.fileReached(f.size);
    ++run.counts.seen;
    if (!targetFolder.empty()) {
        joinPathInto(p.source, sourceFolder, f.name);
        joinPathInto(p.target, targetFolder, f.name);
        // Existence alone is asked for every old file under synchronisation;
        // the backup file's attributes only where they may need repairing:
        // where the source file itself changed since the from-date (every
        // change of its attributes moves that time; reading it does not). A
        // folder or a link where the source has a file is no copy of it.
        if (rules.FileIsNew(f) ||
            (rules.syncActive && !backupHoldsSame(backup.find(f.name, p.target), f)))
            copyFileOver(run, rules, f, p, level);
        else if (rules.syncActive && takesAttributes(f) && isLater(f.changed, rules.from))
            repairAttributes(run, f, p);
    }
    run.progress.countsChanged();
    return !run.userBreak;
}

// The backup folder takes the source folder's attributes, unless the source
// folder is a system folder.
void copyFolderAttributes(RunContext& run, const std::string& source,
                          const std::string& destination) {
    std::uint32_t attributes = 0;
    if (run.fs.getAttributes(source, attributes).failed()) return;
    if (attributes & kAttrSystem) return;
    if (run.fs.folderExists(destination)) (void)run.fs.setAttributes(destination, attributes);
}

void copyNewFolder(RunContext& run, const std::string& source, const std::string& destination) {
    copyNewFolderFiles(run, source, destination);
    copyNewFolderSubfolders(run, source, destination);
    if (!run.userBreak && run.fs.folderExists(destination))
        finishBackupFolder(run, normalisedFolder(source), normalisedFolder(destination));
}

// The subfolder loop of copySubTrees over an already opened pair.
void walkSubfolders(RunContext& run, const std::string& src, const std::string& dst,
                    const std::vector<Entry>& subfolders) {
    const WalkRules rules = WalkRules::Of(run);
    FolderPresence backup(run.fs);
    FilePaths p;
    std::string sPath;
    std::vector<Entry> files;
    std::vector<Entry> folders;
    for (const Entry& s : subfolders) {
        run.pump.yield();
        joinPathInto(sPath, src, s.name);
        if (isExcludedSubfolder(run, s, sPath, dst)) continue;
        if (run.userBreak) return;
        std::string d;
        joinPathInto(d, dst, s.name);
        std::string dCheck = d;
        if (!folderExistsOrVirtual(run, dCheck)) {
            std::string collapsed = collapsedSeparators(d);
            if (FsError e = makeBackupFolder(run, sPath, collapsed); e.failed())
                reportFolderFailure(run, collapsed, e);
            else
                copyNewFolder(run, sPath, collapsed);
            continue;
        }
        const std::string targetFolder = run.fs.folderExists(d) ? d : std::string();
        if (!targetFolder.empty()) openBackupFolder(run, sPath, targetFolder);
        if (FsError e = run.fs.listFolder(sPath, files, folders, ListDetail::Plain); e.failed())
            reportFolderFailure(run, sPath, e);
        if (rules.syncActive) backup.moveTo(targetFolder, files.size());
        for (const Entry& f : files) {
            if (!isCopyable(f)) continue;
            if (!handleFile(run, rules, f, sPath, targetFolder, Level::Sub, backup, p)) return;
        }
        copySubTreesListed(run, sPath, d, folders);
    }
}

}  // namespace

void copyTreeRoot(RunContext& run, const std::string& Source, const std::string& Destination) {
    const std::string src = normalisedFolder(Source);
    const std::string dst = normalisedFolder(Destination);
    run.progress.walkStarted(RunProgress::Walk::Copy, src);
    copyFolderAttributes(run, src, dst);

    std::string dstCheck = Destination;
    if (!folderExistsOrVirtual(run, dstCheck)) {
        copyNewFolder(run, Source, Destination);
        return;
    }
    const WalkRules rules = WalkRules::Of(run);
    const std::string targetFolder = run.fs.folderExists(dst) ? dst : std::string();
    if (!targetFolder.empty()) openBackupFolder(run, src, dst);
    std::vector<Entry> files;
    std::vector<Entry> folders;
    if (FsError e = run.fs.listFolder(src, files, folders, ListDetail::Plain); e.failed())
        reportFolderFailure(run, src, e);
    FolderPresence backup(run.fs);
    if (rules.syncActive) backup.moveTo(targetFolder, files.size());
    FilePaths p;
    for (const Entry& f : files) {
        if (!isCopyable(f)) continue;
        if (!handleFile(run, rules, f, src, targetFolder, Level::Root, backup, p)) return;
    }
}

void copySubTrees(RunContext& run, const std::string& Source, const std::string& Destination) {
    if (run.userBreak) return;
    const std::string src = normalisedFolder(Source);
    std::vector<Entry> files;
    std::vector<Entry> folders;
    (void)run.fs.listFolder(src, files, folders, ListDetail::FileNames);
    copySubTreesListed(run, Source, Destination, folders);
}

void copySubTreesListed(RunContext& run, const std::string& Source, const std::string& Destination,
                        const std::vector<Entry>& subfolders) {
    if (run.userBreak) return;
    const std::string src = normalisedFolder(Source);
    const std::string dst = normalisedFolder(Destination);
    copyFolderAttributes(run, src, dst);
    std::string dstCheck = Destination;
    if (!folderExistsOrVirtual(run, dstCheck)) {
        copyNewFolder(run, src, dst);
        return;
    }
    // A virtual backup name has no folder to compare with.
    if (!run.fs.folderExists(dst)) return;
    walkSubfolders(run, src, dst, subfolders);
    if (!run.userBreak) finishBackupFolder(run, src, dst);
}

}  // namespace zv
