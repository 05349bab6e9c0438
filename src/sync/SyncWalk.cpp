#include "sync/SyncWalk.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "copy/FilePaths.h"
#include "copy/FolderPresence.h"
#include "copy/SubfolderStep.h"
#include "copy/WalkSupport.h"
#include "platform/Attributes.h"
#include "platform/TempName.h"
#include "run/FolderHelpers.h"
#include "run/RunContext.h"
#include "sync/OrphanRemover.h"
#include "sync/SourceGuard.h"
#include "sync/SyncPaths.h"

namespace zv {

namespace {

// The source root vanished (or is an empty mount point) while orphans were
// found: nothing more is removed and the run ends like a break, which closes
// the window; in the window the user is told why first.
void giveUpOnSource(RunContext& run) {
    run.userBreak = true;
    const std::string reason = "\"" + run.job.source + "\" bronmap bestaat niet";
    run.log.add(run.log.dateText() + " " + run.log.timeText() + " Error: " + reason);
    run.log.write();
    if (!run.unattended) run.dialogs.messageBox(reason, MessageStyle::OkExclamation);
}

void giveUpOnFullDisk(RunContext& run) {
    run.userBreak = true;
    run.log.add(run.log.diskFullLine());
    run.log.write();
}

// What becomes of one backup file.
enum class Verdict {
    Keep,      // the source has it, it is read-only, or it lies in the dustbin
    Orphan,    // the source has no file or link of its name
    Unknown,   // whether the source has it could not be told: kept, and failed
    Leftover,  // a temporary file of a run that was killed: removed quietly
};

// Where the backup files of one folder are judged from.
struct SourceSide {
    FolderPresence& presence;
    std::string base;        // the counterpart folder with a trailing separator
    bool gone = false;       // the counterpart folder is not there at all
    bool inDustbin = false;  // the backup folder lies in the dustbin folder
    bool opened = false;     // its owner was given write access to the backup folder
};

PathInfo absent() {
    PathInfo info;
    info.presence = Presence::Absent;
    return info;
}

// The source's entry of a backup file's name. A link is an entry like a
// file, on either side; a folder of that name does not count.
Verdict judgeAgainstSource(const PathInfo& source) {
    if (source.presence == Presence::Unknown) return Verdict::Unknown;
    const bool has = source.presence == Presence::Present &&
                     (source.kind == EntryKind::File || source.kind == EntryKind::Symlink);
    return has ? Verdict::Keep : Verdict::Orphan;
}

// A read-only backup file is never removed. The listing reads files by name
// alone, so the whole attributes are read here for the few files whose
// source is gone, and stored in `file`; a file that cannot be read any more
// is left alone.
// `p`: the file's path in the backup (target) and its counterpart's (source).
Verdict judge(FileSystem& fs, SourceSide& side, Entry& file, const FilePaths& p, FsError& unknown) {
    if (side.inDustbin) return Verdict::Keep;
    const PathInfo source = side.gone ? absent() : side.presence.find(file.name, p.source);
    const Verdict verdict = judgeAgainstSource(source);
    if (verdict == Verdict::Unknown) unknown = source.error;
    if (verdict != Verdict::Orphan) return verdict;
    if (isTempName(file.name)) return Verdict::Leftover;
    if (fs.getAttributes(p.target, file.attributes).failed()) return Verdict::Keep;
    return (file.attributes & kAttrReadOnly) == 0 ? Verdict::Orphan : Verdict::Keep;
}

// The files of one backup folder, at the root or below it.
class FileSync {
  public:
    FileSync(RunContext& run, SourceGuard& guard) : run_(run), fs_(run.fs), guard_(guard) {}

    // Before the files of the backup folder `folder`.
    void enter(const std::string& folder, const SourceSide& side) {
        paths_.enter(side.base, folder);
    }
    // Handles one backup file of the folder entered last. False when the
    // walk must end (source gone, full disk given up).
    bool handle(SourceSide& side, Entry& file, const std::string& folder, OrphanRemover& remover,
                bool atRoot);

  private:
    RunContext& run_;
    FileSystem& fs_;
    SourceGuard& guard_;
    FilePaths paths_;  // each file's paths, written over from file to file
};

bool FileSync::handle(SourceSide& side, Entry& file, const std::string& folder,
                      OrphanRemover& remover, bool atRoot) {
    paths_.name(file.name);
    const std::string& path = paths_.target;
    FsError pending;
    switch (judge(fs_, side, file, paths_, pending)) {
        case Verdict::Keep:
        case Verdict::Unknown:
            break;
        case Verdict::Leftover:
            (void)fs_.deleteFile(path, true);
            return true;
        case Verdict::Orphan: {
            if (!guard_.present()) {
                giveUpOnSource(run_);
                return false;
            }
            // The backup of a read-only folder is read-only; its owner may
            // remove from it while the walk is there. A folder the source no
            // longer has keeps its own bits, with that access added.
            if (!side.opened) {
                side.opened = true;
                openBackupFolder(run_, side.gone ? folder : side.base, folder);
            }
            const OrphanResult result = remover.remove(file, path);
            if (result.outcome == OrphanOutcome::Removed) ++run_.counts.removed;
            pending = result.error;
        }
    }
    if (!atRoot && pending.number == kErrDiskFull && !askForAnotherDisk(run_.dialogs)) {
        giveUpOnFullDisk(run_);
        return false;
    }
    if (pending.ok())
        run_.progress.countsChanged();
    else
        run_.log.fileError(path, pending);
    return true;
}

// The recursive part of the synchronisation: the files of every subfolder of
// a backup folder, then that subfolder's own subfolders. Each folder is listed
// once; the list of its subfolders is handed down.
class SubfolderWalk {
  public:
    explicit SubfolderWalk(RunContext& run)
        : run_(run),
          fs_(run.fs),
          guard_(run.fs, run.job.source),
          files_(run, guard_),
          source_(run.fs) {}

    // `atVolumeTop`: a file system is mounted on the backup folder. Each
    // subfolder's paths are both folders with its name added (SubfolderStep).
    void level(std::string& backupFolder, std::string& sourceFolder,
               const std::vector<Entry>& subfolders, bool inDustbin, bool atVolumeTop);

  private:
    // What the walk keeps of a folder whose files it has handled.
    struct Handled {
        bool opened = false;     // its owner was given write access to it
        bool gone = false;       // the source has no such folder
        bool inDustbin = false;  // it lies in the dustbin folder
    };
    // The files of the subfolder `sub` the walk has stepped into, and its
    // subfolders into `children`. False when the walk must end.
    bool handleFolder(const std::string& backupFolder, const std::string& sourceFolder,
                      const PathInfo& source, const Entry& sub, bool inDustbin,
                      OrphanRemover& remover, std::vector<Entry>& children, Handled& handled);
    bool excluded(const Entry& sub, const std::string& path, bool sourceExists, bool sourceHasWord,
                  bool atVolumeTop) const;
    bool dustbinBelow(const std::string& folder) const;
    // False when the level has to return (break, full disk given up, source gone).
    bool syncFiles(const std::string& folder, SourceSide& side, std::vector<Entry>& files,
                   OrphanRemover& remover);

    RunContext& run_;
    FileSystem& fs_;
    SourceGuard guard_;
    FileSync files_;
    FolderPresence source_;
};

void SubfolderWalk::level(std::string& backupFolder, std::string& sourceFolder,
                          const std::vector<Entry>& subfolders, bool inDustbin, bool atVolumeTop) {
    if (run_.userBreak) return;
    const bool sourceExists = fs_.folderExists(sourceFolder);
    const bool sourceHasWord = sourceExists && hasSystemFolderWord(sourceFolder);
    OrphanRemover remover(run_, sourceFolder);
    for (const Entry& sub : subfolders) {
        run_.pump.yield();
        const SubfolderStep path(backupFolder, sub.name);
        if (excluded(sub, backupFolder, sourceExists, sourceHasWord, atVolumeTop)) continue;
        if (run_.userBreak) return;
        // Where the source's side cannot be looked at, nothing below is
        // judged: all of it is kept, and the run counts the failure.
        const SubfolderStep counterpart(sourceFolder, sub.name);
        const PathInfo source = fs_.lookup(sourceFolder);
        if (source.presence == Presence::Unknown) {
            run_.log.fileError(sourceFolder, source.error);
            continue;
        }
        std::vector<Entry> children;
        Handled handled;
        if (!handleFolder(backupFolder, sourceFolder, source, sub, inDustbin, remover, children,
                          handled))
            return;
        level(backupFolder, sourceFolder, children, handled.inDustbin, sub.mountRoot);
        // The walk opened the folder to remove from it, which moved its
        // time: it gets its source folder's bits and time again.
        if (handled.opened && !handled.gone) finishBackupFolder(run_, sourceFolder, backupFolder);
    }
}

// What it needs for the files (their listing, the source side) is let go
// before the walk goes deeper.
bool SubfolderWalk::handleFolder(const std::string& backupFolder, const std::string& sourceFolder,
                                 const PathInfo& source, const Entry& sub, bool inDustbin,
                                 OrphanRemover& remover, std::vector<Entry>& children,
                                 Handled& handled) {
    std::vector<Entry> files;
    if (FsError e = fs_.listFolder(backupFolder, files, children, ListDetail::FileNames);
        e.failed())
        run_.log.fileError(backupFolder, e);
    SourceSide side{source_, joinPath(sourceFolder, ""),
                    source.presence == Presence::Absent || source.kind != EntryKind::Folder,
                    inDustbin || run_.roots.isDustbin(sub.id)};
    const int movesBefore = remover.moves();
    const bool goOn = syncFiles(backupFolder, side, files, remover);
    handled = {side.opened, side.gone, side.inDustbin};
    if (!goOn) return false;
    // A dustbin inside this folder has just grown: its new folders are
    // walked as what they are.
    if (remover.moves() != movesBefore && dustbinBelow(backupFolder))
        (void)fs_.listFolder(backupFolder, files, children, ListDetail::FileNames);
    return true;
}

// The run's own folders (the source inside the backup, found by identity,
// however its path is spelled) and the trash folders are never walked, nor
// are the system folders while the source has the counterpart folder.
bool SubfolderWalk::excluded(const Entry& sub, const std::string& path, bool sourceExists,
                             bool sourceHasWord, bool atVolumeTop) const {
    if (run_.roots.excludes(sub.id) || run_.roots.isTrashIn(sub, atVolumeTop)) return true;
    if (!sourceExists) return false;
    return sourceHasWord || hasSystemFolderWord(path);
}

// Both are real paths, resolved when the run started.
bool SubfolderWalk::dustbinBelow(const std::string& folder) const {
    return pathLiesBelow(run_.roots.dustbin.path, normalisedFolder(folder));
}

bool SubfolderWalk::syncFiles(const std::string& folder, SourceSide& side,
                              std::vector<Entry>& files, OrphanRemover& remover) {
    source_.moveTo(side.base, files.size());
    files_.enter(folder, side);
    for (Entry& file : files) {
        if (file.kind == EntryKind::Special) continue;
        ++run_.counts.seen;
        run_.progress.fileReached(file.size);
        if (!files_.handle(side, file, folder, remover, false)) return false;
        if (run_.userBreak) return false;
    }
    return true;
}

}  // namespace

void syncRootFiles(RunContext& run, const std::string& backupRoot, const std::string& sourceRoot) {
    run.progress.walkStarted(RunProgress::Walk::Synchronise, backupRoot);

    std::vector<Entry> files;
    std::vector<Entry> folders;
    if (FsError e = run.fs.listFolder(backupRoot, files, folders, ListDetail::FileNames);
        e.failed())
        run.log.fileError(backupRoot, e);
    SourceGuard guard(run.fs, run.job.source);
    FileSync sync(run, guard);
    OrphanRemover remover(run, sourceRoot);
    FolderPresence presence(run.fs);
    SourceSide side{presence, collapsedSeparators(joinPath(sourceRoot, "")), false,
                    run.roots.isDustbin(run.roots.backup.id)};
    presence.moveTo(side.base, files.size());
    sync.enter(backupRoot, side);
    for (Entry& file : files) {
        if (file.kind == EntryKind::Special) continue;
        ++run.counts.seen;
        if (run.userBreak) break;
        run.progress.fileReached(file.size);
        if (!sync.handle(side, file, backupRoot, remover, true)) break;
    }
    if (side.opened) finishBackupFolder(run, sourceRoot, backupRoot);
}

void syncSubfolders(RunContext& run, const std::string& backupFolder,
                    const std::string& sourceFolder) {
    if (run.userBreak) return;
    std::vector<Entry> files;
    std::vector<Entry> folders;
    (void)run.fs.listFolder(backupFolder, files, folders, ListDetail::FileNames);
    std::string backupPath = backupFolder;
    std::string sourcePath = sourceFolder;
    SubfolderWalk(run).level(backupPath, sourcePath, folders,
                             run.roots.isDustbin(run.roots.backup.id), run.roots.backup.volumeTop);
    if (run.counts.removed != 0 && !run.userBreak)
        finishBackupFolder(run, sourceFolder, backupFolder);
}

}  // namespace zv
