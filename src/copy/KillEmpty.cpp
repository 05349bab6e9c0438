#include "copy/KillEmpty.h"

#include <optional>
#include <string>
#include <vector>

#include "copy/SubfolderStep.h"
#include "copy/WalkSupport.h"
#include "run/RunContext.h"

namespace zv {

namespace {

// A subfolder the pass may look into; `volumeTop`: a file system is mounted
// on it.
struct Subfolder {
    std::string name;
    bool volumeTop = false;
};

// The subfolders of a folder that the pass may look into, and whether
// anything else lies in it: files, links and special files, but also what the
// pass must keep whatever it holds (the source or the dustbin folder inside
// the backup, a trash folder) and entries that cannot be looked at. False
// when the folder cannot be listed. Each name is looked at with `folder`
// as its path's buffer (SubfolderStep).
bool readFolder(RunContext& run, std::string& folder, bool volumeTop,
                std::vector<Subfolder>& subfolders, bool& holdsOther) {
    FileSystem& fs = run.fs;
    subfolders.clear();
    holdsOther = false;
    std::vector<FolderName> names;
    if (fs.listNames(folder, names).failed()) return false;
    Entry sub;
    for (FolderName& n : names) {
        if (n.typeKnown && n.kind != EntryKind::Folder) {
            holdsOther = true;
            continue;
        }
        const SubfolderStep step(folder, n.name);
        const PathInfo info = fs.lookup(folder);
        if (info.presence == Presence::Absent) continue;  // gone meanwhile
        sub.name = n.name;
        sub.id = info.id;
        if (info.presence == Presence::Unknown || info.kind != EntryKind::Folder ||
            run.roots.isRoot(info.id) || run.roots.isTrashIn(sub, volumeTop))
            holdsOther = true;
        else
            subfolders.push_back({std::move(n.name), info.mountRoot});
    }
    return true;
}

// No file of any kind anywhere below the folder: only folders. A folder
// whose contents cannot be listed completely is not taken for empty. Each
// subfolder's path is `folder` with its name added (SubfolderStep).
bool holdsNoFile(RunContext& run, std::string& folder, bool volumeTop) {
    std::vector<Subfolder> subfolders;
    bool holdsOther = false;
    if (!readFolder(run, folder, volumeTop, subfolders, holdsOther) || holdsOther) return false;
    for (const Subfolder& sub : subfolders) {
        const SubfolderStep below(folder, sub.name);
        if (!holdsNoFile(run, folder, sub.volumeTop)) return false;
    }
    return true;
}

// Clears the folder's attributes so that a read-only, hidden or system
// folder can go, then removes it: only when it holds nothing, so that a file
// that appeared meanwhile is never taken with it.
bool removeFolder(FileSystem& fs, const std::string& folder) {
    (void)fs.setAttributes(folder, kAttrNormal);
    return fs.removeEmptyFolder(folder).ok();
}

// A folder that lost an empty subfolder gets its source folder's time again
// (and the rest a copy keeps), where the source has that folder.
void restoreFolderTime(RunContext& run, const std::string& folder, const std::string& source) {
    const PathInfo info = run.fs.lookup(source);
    if (info.presence == Presence::Present && info.kind == EntryKind::Folder)
        finishBackupFolder(run, source, folder);
}

// Removes every folder below `folder` that holds no file, deepest first, in
// one pass over the tree. True when `folder` is left holding nothing.
// `source`: the folder's counterpart in the source. Each subfolder's paths
// are both with its name added (SubfolderStep).
bool pruneBelow(RunContext& run, std::string& folder, std::string& source, bool volumeTop) {
    std::vector<Subfolder> subfolders;
    bool holdsOther = false;
    if (!readFolder(run, folder, volumeTop, subfolders, holdsOther)) return false;
    bool removed = false;
    for (const Subfolder& sub : subfolders) {
        run.pump.yield();
        const SubfolderStep below(folder, sub.name);
        const SubfolderStep counterpart(source, sub.name);
        if (pruneBelow(run, folder, source, sub.volumeTop) && removeFolder(run.fs, folder))
            removed = true;
        else
            holdsOther = true;
    }
    if (removed) restoreFolderTime(run, folder, source);
    return !holdsOther;
}

// The pass's starting folder, when it is a real folder.
std::optional<PathInfo> startFolder(RunContext& run, const std::string& path) {
    const PathInfo info = run.fs.lookup(path);
    if (info.presence != Presence::Present || info.kind != EntryKind::Folder) return std::nullopt;
    return info;
}

bool passIsOn(const RunContext& run) {
    return run.job.removeEmptyFolders && run.job.synchronise;
}

}  // namespace

void killEmptyRoot(RunContext& run, const std::string& folder) {
    if (!passIsOn(run)) return;
    std::string path = normalisedFolder(folder);
    std::string source = run.job.source;
    const std::optional<PathInfo> root = startFolder(run, path);
    if (!root) return;
    run.pump.yield();
    if (holdsNoFile(run, path, root->mountRoot) && pruneBelow(run, path, source, root->mountRoot))
        removeFolder(run.fs, path);
}

void killEmptySubfolders(RunContext& run, const std::string& folder) {
    if (!passIsOn(run)) return;
    std::string path = normalisedFolder(folder);
    std::string source = run.job.source;
    if (const std::optional<PathInfo> root = startFolder(run, path))
        (void)pruneBelow(run, path, source, root->mountRoot);
}

}  // namespace zv
