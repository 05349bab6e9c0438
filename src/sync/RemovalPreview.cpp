#include "sync/RemovalPreview.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "copy/SubfolderStep.h"
#include "platform/TempName.h"
#include "run/RunContext.h"
#include "sync/SyncPaths.h"

namespace zv {

namespace {

// The names in a source folder that keep a backup file (a file or a link)
// and those that lead further down (a folder).
struct SourceNames {
    std::unordered_set<std::string> files;
    std::unordered_set<std::string> folders;
};

class RemovalCounter {
  public:
    RemovalCounter(RunContext& run, std::size_t shown) : run_(run), fs_(run.fs), shown_(shown) {}

    // `source` empty: the source has no such folder, so every file counts.
    // Each subfolder's paths are both with its name added (SubfolderStep).
    void folder(std::string& backup, std::string& source, bool inDustbin, bool atVolumeTop);

    RemovalPreview preview;

  private:
    // False when the source folder cannot be read: nothing below is counted,
    // since the walk keeps all of it.
    bool readSource(std::string& source, SourceNames& names);
    // Counts the backup folder's files by name and keeps its subfolders (with
    // their identity, which only they need); a folder that cannot be read
    // adds nothing.
    void readBackup(std::string& backup, const SourceNames& names, bool inDustbin,
                    std::vector<Entry>& subfolders);
    void countFile(const std::string& backup, const Entry& file, const SourceNames& names,
                   bool inDustbin);

    RunContext& run_;
    FileSystem& fs_;
    std::size_t shown_;
};

bool RemovalCounter::readSource(std::string& source, SourceNames& names) {
    std::vector<FolderName> listed;
    if (fs_.listNames(source, listed).failed()) return false;
    for (const FolderName& entry : listed) {
        EntryKind kind = entry.kind;
        if (!entry.typeKnown) {
            const SubfolderStep step(source, entry.name);
            kind = fs_.lookup(source).kind;
        }
        if (kind == EntryKind::Folder)
            names.folders.insert(entry.name);
        else
            names.files.insert(entry.name);
    }
    return true;
}

void RemovalCounter::readBackup(std::string& backup, const SourceNames& names, bool inDustbin,
                                std::vector<Entry>& subfolders) {
    std::vector<FolderName> listed;
    (void)fs_.listNames(backup, listed);
    for (FolderName& name : listed) {
        Entry entry;
        entry.name = std::move(name.name);
        entry.kind = name.kind;
        if (!name.typeKnown || name.kind == EntryKind::Folder) {
            const SubfolderStep step(backup, entry.name);
            const PathInfo info = fs_.lookup(backup);
            if (info.presence != Presence::Present) continue;  // gone, or the walk keeps it
            entry.kind = info.kind;
            entry.id = info.id;
            entry.mountRoot = info.mountRoot;
        }
        if (entry.kind == EntryKind::Folder)
            subfolders.push_back(entry);
        else
            countFile(backup, entry, names, inDustbin);
    }
}

void RemovalCounter::countFile(const std::string& backup, const Entry& file,
                               const SourceNames& names, bool inDustbin) {
    if (file.kind == EntryKind::Special) return;
    ++preview.backupFiles;
    if (inDustbin || isTempName(file.name) || names.files.contains(file.name)) return;
    ++preview.orphans;
    if (preview.firstOrphans.size() < shown_)
        preview.firstOrphans.push_back(joinPath(backup, file.name));
}

void RemovalCounter::folder(std::string& backup, std::string& source, bool inDustbin,
                            bool atVolumeTop) {
    if (run_.userBreak) return;
    SourceNames names;
    if (!source.empty() && !readSource(source, names)) return;
    std::vector<Entry> subfolders;
    readBackup(backup, names, inDustbin, subfolders);
    run_.pump.yield();
    for (const Entry& sub : subfolders) {
        const SubfolderStep path(backup, sub.name);
        if (run_.roots.excludes(sub.id) || run_.roots.isTrashIn(sub, atVolumeTop)) continue;
        if (!source.empty() && (hasSystemFolderWord(source) || hasSystemFolderWord(backup)))
            continue;
        const bool inBin = inDustbin || run_.roots.isDustbin(sub.id);
        if (!source.empty() && names.folders.contains(sub.name)) {
            const SubfolderStep counterpart(source, sub.name);
            folder(backup, source, inBin, sub.mountRoot);
        } else {
            std::string none;
            folder(backup, none, inBin, sub.mountRoot);
        }
    }
}

}  // namespace

RemovalPreview previewRemovals(RunContext& run, std::size_t shown) {
    RemovalCounter counter(run, shown);
    std::string backup = run.job.backup;
    std::string source = run.job.source;
    counter.folder(backup, source, run.roots.isDustbin(run.roots.backup.id),
                   run.roots.backup.volumeTop);
    return counter.preview;
}

std::int64_t DefaultRemovalLimit(std::int64_t backupFiles) {
    return std::max<std::int64_t>(10, std::min<std::int64_t>(1000, backupFiles / 5));
}

}  // namespace zv
