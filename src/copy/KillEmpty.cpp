#include "copy/KillEmpty.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/frmVergelijker.h"
#include "copy/WalkSupport.h"

namespace zv {

namespace {

// The names of a folder's subfolders, and whether anything else lies in it
// (files, links, special files). Read from the folder's names alone; only
// where the file system records no types are the entries looked at. False
// when the folder cannot be listed.
bool ReadFolder(FileSystem& fs, const std::string& folder, std::vector<std::string>& subfolders,
                bool& holdsFiles) {
    subfolders.clear();
    holdsFiles = false;
    std::vector<FolderName> names;
    if (fs.listNames(folder, names)) return false;
    if (!std::ranges::all_of(names, &FolderName::typeKnown)) {
        std::vector<Entry> files;
        std::vector<Entry> folders;
        if (fs.listFolder(folder, files, folders, ListDetail::Plain)) return false;
        holdsFiles = !files.empty();
        for (Entry& d : folders) subfolders.push_back(std::move(d.name));
        return true;
    }
    for (FolderName& n : names) {
        if (n.kind == EntryKind::Folder)
            subfolders.push_back(std::move(n.name));
        else
            holdsFiles = true;
    }
    return true;
}

// No file of any kind anywhere below the folder: only folders. A folder
// whose contents cannot be listed completely is not taken for empty.
bool HoldsNoFile(FileSystem& fs, const std::string& folder) {
    std::vector<std::string> subfolders;
    bool holdsFiles = false;
    if (!ReadFolder(fs, folder, subfolders, holdsFiles) || holdsFiles) return false;
    std::string sub;
    for (const std::string& name : subfolders) {
        JoinPath(sub, folder, name);
        if (!HoldsNoFile(fs, sub)) return false;
    }
    return true;
}

// Clears the folder's attributes so that a read-only, hidden or system
// folder can go, then deletes it without force.
void RemoveFolder(FileSystem& fs, const std::string& folder) {
    (void)fs.setAttributes(folder, kAttrNormal);
    (void)fs.deleteFolder(folder, false);
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
    if (HoldsNoFile(w.svc.fs, path)) RemoveFolder(w.svc.fs, path);
}

void KillEmptySubfolders(frmVergelijker& w, const std::string& folder) {
    if (!PassIsOn(w)) return;
    const std::string path = FolderPath(folder);
    std::vector<std::string> subfolders;
    bool holdsFiles = false;
    if (!ReadFolder(w.svc.fs, path, subfolders, holdsFiles)) return;
    std::string sub;
    for (const std::string& name : subfolders) {
        w.Yield();
        JoinPath(sub, path, name);
        if (HoldsNoFile(w.svc.fs, sub))
            RemoveFolder(w.svc.fs, sub);
        else
            KillEmptySubfolders(w, sub);
    }
}

}  // namespace zv
