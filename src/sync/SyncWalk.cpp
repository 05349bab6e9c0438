#include "sync/SyncWalk.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/frmVergelijker.h"
#include "copy/FolderPresence.h"
#include "copy/ProgressDisplay.h"
#include "copy/ProgressTotal.h"
#include "platform/Attributes.h"
#include "sync/OrphanRemover.h"
#include "sync/SourceGuard.h"
#include "sync/SyncPaths.h"

namespace zv {

namespace {

constexpr std::array<std::string_view, 3> kSystemWords{"RECYCLER", "RECYCLED",
                                                       "SYSTEM VOLUME INFORMATION"};

bool hasSystemWord(std::string path) {
    for (char& c : path) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (std::string_view word : kSystemWords)
        if (path.find(word) != std::string::npos) return true;
    return false;
}

void logBreak(frmVergelijker& w) {
    w.AddToLog(w.UserBreakLine());
    w.WriteLog();
}

// The source root vanished (or is an empty mount point) while orphans were
// found: nothing more is removed and the run ends like a break.
void giveUpOnSource(frmVergelijker& w) {
    w.UserBreak = true;
    w.AddToLog(w.NowDateText() + " " + w.NowTimeText() + " Error: \"" + w.SourcePath +
               "\" bronmap bestaat niet");
    w.WriteLog();
}

void giveUpOnFullDisk(frmVergelijker& w) {
    w.UserBreak = true;
    w.AddToLog(w.DiskFullLine());
    w.WriteLog();
}

// The source has no file at the counterpart path and the backup file is not
// read-only. The listing leaves the recorded bits out, so the whole
// attributes are read here for the few files whose source is gone, and
// stored in `file`. A file that cannot be read any more is left alone.
bool isOrphan(FileSystem& fs, FolderPresence& source, Entry& file, const std::string& folder,
              const std::string& counterpart) {
    if ((file.attributes & kAttrReadOnly) || source.hasFile(file.name, counterpart)) return false;
    if (fs.getAttributes(JoinPath(folder, file.name), file.attributes)) return false;
    return (file.attributes & kAttrReadOnly) == 0;
}

void startProgress(frmVergelijker& w, const std::string& backupRoot) {
    w.ui.ProgressBar1.visible = true;
    w.ui.ProgressBar1.value = 0;
    StartProgressTotal(w, backupRoot);
}

// The recursive part of the synchronisation: the files of every subfolder of
// a backup folder, then that subfolder's own subfolders. Each folder is listed
// once; the list of its subfolders is handed down.
class SubfolderWalk {
  public:
    explicit SubfolderWalk(frmVergelijker& w)
        : w_(w),
          fs_(w.svc.fs),
          guard_(w.svc.fs, w.SourcePath),
          sourceRoot_(NormalFolder(w.SourcePath)),
          dustbin_(NormalFolder(w.DustBinPath)),
          source_(w.svc.fs) {}

    void level(const std::string& backupFolder, const std::string& sourceFolder,
               const std::vector<Entry>& subfolders);

  private:
    bool excluded(const std::string& path, const std::string& sourceFolder, bool sourceExists,
                  bool sourceHasWord) const;
    // False when the level has to return (break, full disk given up, source gone).
    bool syncFiles(const std::string& folder, const std::string& counterpartFolder,
                   std::vector<Entry>& files, OrphanRemover& remover);
    bool dustbinBelow(const std::string& folder) const;

    frmVergelijker& w_;
    FileSystem& fs_;
    SourceGuard guard_;
    std::string sourceRoot_;
    std::string dustbin_;
    FolderPresence source_;
    std::string counterpart_;  // reused for every file's source-side path
};

void SubfolderWalk::level(const std::string& backupFolder, const std::string& sourceFolder,
                          const std::vector<Entry>& subfolders) {
    if (w_.UserBreak) {
        logBreak(w_);
        return;
    }
    const bool sourceExists = fs_.folderExists(sourceFolder);
    const bool sourceHasWord = sourceExists && hasSystemWord(sourceFolder);
    OrphanRemover remover(w_, sourceFolder, false);
    for (const Entry& sub : subfolders) {
        w_.Yield();
        const std::string path = JoinPath(backupFolder, sub.name);
        if (excluded(path, sourceFolder, sourceExists, sourceHasWord)) continue;
        if (w_.UserBreak) {
            logBreak(w_);
            return;
        }
        std::vector<Entry> files;
        std::vector<Entry> children;
        (void)fs_.listFolder(path, files, children, ListDetail::Plain);
        const int movesBefore = remover.moves();
        if (!syncFiles(path, JoinPath(sourceFolder, sub.name), files, remover)) return;
        ShowSeen(w_);
        w_.Yield();
        if (remover.moves() != movesBefore && dustbinBelow(path)) {
            files.clear();
            children.clear();
            (void)fs_.listFolder(path, files, children, ListDetail::Plain);
        }
        level(path,
              frmVergelijker::CollapseBackslashes(w_.SourcePath + kSep +
                                                  StrTail(w_.DestinationPath, path)),
              children);
    }
}

// The system folders are skipped, and so is the source folder itself when it
// lies inside the backup: its files must never be taken for orphans.
bool SubfolderWalk::excluded(const std::string& path, const std::string& sourceFolder,
                             bool sourceExists, bool sourceHasWord) const {
    if (NormalFolder(path) == sourceRoot_) return true;
    if (!sourceExists) return false;
    return path == sourceFolder || sourceHasWord || hasSystemWord(path);
}

bool SubfolderWalk::dustbinBelow(const std::string& folder) const {
    return w_.DustBinCustom && LiesBelow(dustbin_, NormalFolder(folder));
}

bool SubfolderWalk::syncFiles(const std::string& folder, const std::string& counterpartFolder,
                              std::vector<Entry>& files, OrphanRemover& remover) {
    const std::string base = frmVergelijker::CollapseBackslashes(JoinPath(counterpartFolder, ""));
    source_.moveTo(base, files.size());
    for (Entry& file : files) {
        if (file.kind == EntryKind::Special) continue;
        ++w_.FilesSeen;
        StepFileProgress(w_, file.size, true);  // below the root: at most 100 %
        counterpart_.assign(base).append(file.name);
        FsError pending;
        if (isOrphan(fs_, source_, file, folder, counterpart_)) {
            if (!guard_.present()) {
                giveUpOnSource(w_);
                return false;
            }
            const OrphanResult result = remover.remove(folder, file, JoinPath(folder, file.name));
            if (result.outcome == OrphanOutcome::Removed) ++w_.ItemsRemoved;
            pending = result.error;
        }
        if (pending.number == kErrDiskFull && !w_.AskChangeDisk()) {
            giveUpOnFullDisk(w_);
            return false;
        }
        if (pending.ok())
            ShowCounts(w_);
        else
            w_.LogFileError(JoinPath(folder, file.name), pending);
        pending = {};
        w_.Yield();
        if (w_.UserBreak) {
            logBreak(w_);
            return false;
        }
    }
    return true;
}

}  // namespace

void SyncRootFiles(frmVergelijker& w, const std::string& backupRoot,
                   const std::string& sourceRoot) {
    w.ui.panel(1) = "Synchroniseren";
    ShowCounts(w);
    startProgress(w, backupRoot);

    std::vector<Entry> files;
    std::vector<Entry> folders;
    (void)w.svc.fs.listFolder(backupRoot, files, folders, ListDetail::Plain);
    SourceGuard guard(w.svc.fs, w.SourcePath);
    OrphanRemover remover(w, sourceRoot, true);
    const std::string base = frmVergelijker::CollapseBackslashes(JoinPath(sourceRoot, ""));
    FolderPresence source(w.svc.fs);
    source.moveTo(base, files.size());
    std::string counterpart;
    for (Entry& file : files) {
        if (file.kind == EntryKind::Special) continue;
        ++w.FilesSeen;
        if (w.UserBreak) {
            logBreak(w);
            break;
        }
        StepFileProgress(w, file.size);
        counterpart.assign(base).append(file.name);
        FsError pending;
        if (isOrphan(w.svc.fs, source, file, backupRoot, counterpart)) {
            const std::string path = JoinPath(backupRoot, file.name);
            ShowFile(w, path, true);
            w.Yield();
            if (!guard.present()) {
                giveUpOnSource(w);
                break;
            }
            const OrphanResult result = remover.remove(backupRoot, file, path);
            if (result.outcome == OrphanOutcome::Removed) ++w.ItemsRemoved;
            pending = result.error;
        }
        if (pending.ok())
            ShowCounts(w);
        else
            w.LogFileError(JoinPath(backupRoot, file.name), pending);
        pending = {};
        ShowSeen(w);
        w.Yield();
    }
}

void SyncSubfolders(frmVergelijker& w, const std::string& backupFolder,
                    const std::string& sourceFolder) {
    if (w.UserBreak) {
        logBreak(w);
        return;
    }
    std::vector<Entry> files;
    std::vector<Entry> folders;
    (void)w.svc.fs.listFolder(backupFolder, files, folders, ListDetail::Plain);
    SubfolderWalk(w).level(backupFolder, sourceFolder, folders);
}

}  // namespace zv
