#include "copy/TreeCopy.h"

#include "copy/FolderPresence.h"
#include "copy/NewFolderCopy.h"
#include "copy/SubfolderStep.h"
#include "copy/WalkSupport.h"
#include "run/FolderHelpers.h"
#include "run/RunContext.h"

namespace zv {

namespace {

// The root level and the subfolder levels differ in a few display steps,
// in the give-up line and in reporting a recovery.
enum class Level { Root, Sub };

// A backup folder the walk is in. Its owner is given write access just
// before the first thing is written into it, and it gets its source folder's
// bits and times back afterwards when anything was. A folder whose source
// folder changed since the from-date (or that the walk judges without dates)
// also takes the source folder's attributes and is finished in any case; one
// whose source folder is unchanged and that receives nothing is not touched
// at all: the run that last wrote it, or saw its source change, made it equal.
// Its paths are the walk's buffers as they stand when it is made; a step
// below it extends them, so it remembers how long its own are.
class BackupFolder {
  public:
    BackupFolder(RunContext& run, const std::string& source, const std::string& path, bool settled)
        : run_(run),
          source_(source),
          path_(path),
          sourceLength_(source.size()),
          pathLength_(path.size()),
          settled_(settled) {}

    // Before the folder's files: an unsettled folder is opened at once.
    void start() {
        if (!settled_) beforeWrite();
    }
    void beforeWrite() {
        if (opened_) return;
        opened_ = true;
        // Also asked while the walk looks at a subfolder, its name then added.
        openBackupFolder(run_, source_.substr(0, sourceLength_), path_.substr(0, pathLength_));
    }
    // When the walk is back at this folder.
    void finish() {
        if (opened_ || !settled_) finishBackupFolder(run_, source_, path_);
    }
    bool settled() const { return settled_; }

  private:
    RunContext& run_;
    const std::string& source_;
    const std::string& path_;
    std::size_t sourceLength_;
    std::size_t pathLength_;
    bool settled_;
    bool opened_ = false;
};

// The source folder is unchanged since the from-date: neither its own bits,
// owner or attributes nor its list of names changed (any of that moves its
// status-change time).
bool isSettled(const Entry& sourceFolder, const WalkRules& rules) {
    return !rules.noDateCheck && !isLater(sourceFolder.changed, rules.from);
}

void walkSubfolders(RunContext& run, std::string& src, std::string& dst,
                    const std::vector<Entry>& subfolders, BackupFolder& here);

void showCopying(RunContext& run, const std::string& source) {
    run.progress.fileStarted(source);
}

// Copies f onto the target; a read-only target (75) is made writable and
// copied once more. The copy carries the source's attributes over, and a
// copy that failed leaves the old target as it was (its attributes too), so
// the failure of the copy is what counts.
FsError copyWithRetry(RunContext& run, const Entry& f, const FilePaths& p) {
    FileSystem& fs = run.fs;
    FsError copied = copyListed(fs, f, p);
    if (copied.number == kErrAccessDenied && takesAttributes(f) &&
        fs.lookup(p.target).kind == EntryKind::File) {
        (void)fs.setAttributes(p.target, kAttrNormal);
        copied = copyListed(fs, f, p);
    }
    return copied;
}

// A file that is new (or missing from the backup under synchronisation). A
// full disk the user gave up on breaks the run.
void copyFileOver(RunContext& run, const WalkRules& rules, const Entry& f, const FilePaths& p,
                  Level level, BackupFolder* folder) {
    if (folder) folder->beforeWrite();
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

// Compares one source file with its place in the backup (`p` has entered
// both folders) and copies it when it is new. `targetFolder` empty: the
// backup folder could not be opened, so nothing is compared or copied.
// Returns false when the walk must end.
bool handleFile(RunContext& run, const WalkRules& rules, const Entry& f,
                const std::string& targetFolder, Level level, FolderPresence& backup, FilePaths& p,
                BackupFolder* folder) {
    if (run.userBreak) return false;
    run.progress.fileReached(f.size);
    ++run.counts.seen;
    if (!targetFolder.empty()) {
        p.name(f.name);
        // Existence alone is asked for every old file under synchronisation;
        // the backup file's attributes only where they may need repairing:
        // where the source file itself changed since the from-date (every
        // change of its attributes moves that time; reading it does not). A
        // folder or a link where the source has a file is no copy of it.
        if (rules.FileIsNew(f) ||
            (rules.syncActive && !backupHoldsSame(backup.find(f.name, p.target), f)))
            copyFileOver(run, rules, f, p, level, folder);
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

void copyNewFolder(RunContext& run, std::string& source, std::string& destination) {
    copyNewFolderFiles(run, source, destination);
    copyNewFolderSubfolders(run, source, destination);
    if (!run.userBreak && run.fs.folderExists(destination))
        finishBackupFolder(run, source, destination);
}

// The backup side of an existing pair: the source folder's attributes
// (unless the source folder is a system folder, or is settled), its
// subfolders, and the folder's bits and times after them.
void walkPair(RunContext& run, std::string& src, std::string& dst,
              const std::vector<Entry>& subfolders, BackupFolder& folder) {
    if (!folder.settled()) copyFolderAttributes(run, src, dst);
    walkSubfolders(run, src, dst, subfolders, folder);
    if (!run.userBreak) folder.finish();
}

// The subfolder loop of copySubTrees over an already opened pair; `here` is
// the backup folder `dst`, which a new subfolder is written into. Each
// subfolder's paths are `src` and `dst` with its name added (SubfolderStep).
void walkSubfolders(RunContext& run, std::string& src, std::string& dst,
                    const std::vector<Entry>& subfolders, BackupFolder& here) {
    const WalkRules rules = WalkRules::Of(run);
    FolderPresence backup(run.fs);
    FilePaths& p = run.filePaths;
    const std::string noFolder;
    std::vector<Entry> files;
    std::vector<Entry> folders;
    for (const Entry& s : subfolders) {
        run.pump.yield();
        const SubfolderStep source(src, s.name);
        if (isExcludedSubfolder(run, s, src, dst)) continue;
        if (run.userBreak) return;
        const SubfolderStep target(dst, s.name);
        const bool there = run.fs.folderExists(dst);
        if (!there && !isShellPlace(run, dst)) {
            here.beforeWrite();
            if (FsError e = makeBackupFolder(run, src, dst); e.failed())
                reportFolderFailure(run, dst, e);
            else
                copyNewFolder(run, src, dst);
            continue;
        }
        const std::string& targetFolder = there ? dst : noFolder;
        BackupFolder folder(run, src, dst, isSettled(s, rules));
        if (there) folder.start();
        if (FsError e = run.fs.listFolder(src, files, folders, ListDetail::Plain); e.failed())
            reportFolderFailure(run, src, e);
        if (rules.syncActive) backup.moveTo(targetFolder, files.size());
        p.enter(src, targetFolder);
        for (const Entry& f : files) {
            if (!isCopyable(f)) continue;
            if (!handleFile(run, rules, f, targetFolder, Level::Sub, backup, p, &folder)) return;
        }
        // A virtual backup name has no folder to compare with.
        if (there && !run.userBreak) walkPair(run, src, dst, folders, folder);
    }
}

}  // namespace

void copyTreeRoot(RunContext& run, const std::string& Source, const std::string& Destination) {
    std::string src = normalisedFolder(Source);
    std::string dst = normalisedFolder(Destination);
    run.progress.walkStarted(RunProgress::Walk::Copy, src);
    copyFolderAttributes(run, src, dst);

    const bool there = run.fs.folderExists(dst);
    if (!there && !isShellPlace(run, dst)) {
        copyNewFolder(run, src, dst);
        return;
    }
    const WalkRules rules = WalkRules::Of(run);
    const std::string targetFolder = there ? dst : std::string();
    if (!targetFolder.empty()) openBackupFolder(run, src, dst);
    std::vector<Entry> files;
    std::vector<Entry> folders;
    if (FsError e = run.fs.listFolder(src, files, folders, ListDetail::Plain); e.failed())
        reportFolderFailure(run, src, e);
    FolderPresence backup(run.fs);
    if (rules.syncActive) backup.moveTo(targetFolder, files.size());
    FilePaths& p = run.filePaths;
    p.enter(src, targetFolder);
    for (const Entry& f : files) {
        if (!isCopyable(f)) continue;
        if (!handleFile(run, rules, f, targetFolder, Level::Root, backup, p, nullptr)) return;
    }
}

void copySubTrees(RunContext& run, const std::string& Source, const std::string& Destination) {
    if (run.userBreak) return;
    std::string src = normalisedFolder(Source);
    std::string dst = normalisedFolder(Destination);
    std::vector<Entry> files;
    std::vector<Entry> folders;
    (void)run.fs.listFolder(src, files, folders, ListDetail::FileNames);
    copySubTreesListed(run, src, dst, folders);
}

void copySubTreesListed(RunContext& run, std::string& src, std::string& dst,
                        const std::vector<Entry>& subfolders) {
    if (run.userBreak) return;
    const bool there = run.fs.folderExists(dst);
    if (!there && !isShellPlace(run, dst)) {
        copyNewFolder(run, src, dst);
        return;
    }
    // A virtual backup name has no folder to compare with.
    if (!there) return;
    BackupFolder folder(run, src, dst, false);
    walkPair(run, src, dst, subfolders, folder);
}

}  // namespace zv
