#include "copy/KillEmpty.h"

#include <string>
#include <vector>

#include "app/frmVergelijker.h"
#include "copy/WalkSupport.h"

namespace zv {

namespace {

// The subfolders of a folder that the pass may look into, and whether
// anything else lies in it: files, links and special files, but also what the
// pass must keep whatever it holds (the source or the dustbin folder inside
// the backup, a trash folder: known by their identity) and entries that
// cannot be looked at. False when the folder cannot be listed.
bool ReadFolder(frmVergelijker& w, const std::string& folder, std::vector<std::string>& subfolders,
                bool& holdsOther) {
    FileSystem& fs = w.svc.fs;
    subfolders.clear();
    holdsOther = false;
    std::vector<FolderName> names;
    if (fs.listNames(folder, names)) return false;
    std::string path;
    for (FolderName& n : names) {
        if (n.typeKnown && n.kind != EntryKind::Folder) {
            holdsOther = true;
            continue;
        }
        JoinPath(path, folder, n.name);
        const PathInfo info = fs.lookup(path);
        if (info.presence == Presence::Absent) continue;  // gone meanwhile
        if (info.presence == Presence::Unknown || info.kind != EntryKind::Folder ||
            w.Roots.isRoot(info.id) || w.Roots.isTrash(info.id))
            holdsOther = true;
        else
            subfolders.push_back(std::move(n.name));
    }
    return true;
}

// No file of any kind anywhere below the folder: only folders. A folder
// whose contents cannot be listed completely is not taken for empty.
bool HoldsNoFile(frmVergelijker& w, const std::string& folder) {
    std::vector<std::string> subfolders;
    bool holdsOther = false;
    if (!ReadFolder(w, folder, subfolders, holdsOther) || holdsOther) return false;
    std::string sub;
    for (const std::string& name : subfolders) {
        JoinPath(sub, folder, name);
        if (!HoldsNoFile(w, sub)) return false;
    }
    return true;
}

// Clears the folder's attributes so that a read-only, hidden or system
// folder can go, then removes it: only when it holds nothing, so that a file
// that appeared meanwhile is never taken with it.
bool RemoveFolder(FileSystem& fs, const std::string& folder) {
    (void)fs.setAttributes(folder, kAttrNormal);
    return fs.removeEmptyFolder(folder).ok();
}

// Removes every folder below `folder` that holds no file, deepest first, in
// one pass over the tree. True when `folder` is left holding nothing.
bool PruneBelow(frmVergelijker& w, const std::string& folder) {
    std::vector<std::string> subfolders;
    bool holdsOther = false;
    if (!ReadFolder(w, folder, subfolders, holdsOther)) return false;
    std::string sub;
    for (const std::string& name : subfolders) {
        w.Yield();
        JoinPath(sub, folder, name);
        if (!PruneBelow(w, sub) || !RemoveFolder(w.svc.fs, sub)) holdsOther = true;
    }
    return !holdsOther;
}

bool PassIsOn(const frmVergelijker& w) {
    return w.KillEmpty && w.SyncActive;
}

}  // namespace

void KillEmptyRoot(frmVergelijker& w, const std::string& folder) {
    if (!PassIsOn(w)) return;
    const std::string path = FolderPath(folder);
    if (!w.svc.fs.folderExists(path)) return;
    w.Yield();
    if (HoldsNoFile(w, path) && PruneBelow(w, path)) RemoveFolder(w.svc.fs, path);
}

void KillEmptySubfolders(frmVergelijker& w, const std::string& folder) {
    if (!PassIsOn(w)) return;
    const std::string path = FolderPath(folder);
    if (!w.svc.fs.folderExists(path)) return;
    (void)PruneBelow(w, path);
}

}  // namespace zv
