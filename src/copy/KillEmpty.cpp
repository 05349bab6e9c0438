#include "copy/KillEmpty.h"

#include <vector>

#include "app/frmVergelijker.h"
#include "copy/WalkSupport.h"

namespace zv {

namespace {

// No file of any kind anywhere below the folder: only folders. A folder
// whose contents cannot be listed completely is not taken for empty.
bool HoldsNoFile(FileSystem& fs, const std::string& folder) {
    std::vector<Entry> files;
    std::vector<Entry> folders;
    if (fs.listFolder(folder, files, folders)) return false;
    if (!files.empty()) return false;
    std::string sub;
    for (const Entry& d : folders) {
        JoinPath(sub, folder, d.name);
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
    std::vector<Entry> files;
    std::vector<Entry> subfolders;
    if (w.svc.fs.listFolder(path, files, subfolders)) return;
    std::string sub;
    for (const Entry& s : subfolders) {
        w.Yield();
        JoinPath(sub, path, s.name);
        if (HoldsNoFile(w.svc.fs, sub))
            RemoveFolder(w.svc.fs, sub);
        else
            KillEmptySubfolders(w, sub);
    }
}

}  // namespace zv
