#include "run/FolderHelpers.h"

#include <string>
#include <vector>

#include "platform/Paths.h"
#include "run/SystemFolders.h"

namespace zv {

// "a//b" -> "a/b"; a leading pair stays (a network-style prefix).
bool folderExistsOrVirtual(FileSystem& fs, std::string& path, const std::string& computerName,
                           const std::string& desktopName) {
    path = collapsedSeparators(path);
    if (fs.folderExists(path)) return true;
    return path == computerName || path == desktopName;
}

int makeFolder(FileSystem& fs, std::string& path) {
    if (fs.createFolder(path).ok()) return kErrNone;
    createPath(fs, path);
    return fs.folderExists(path) ? kErrNone : kErrPathNotFound;
}

void createPath(FileSystem& fs, const std::string& folder) {
    std::vector<std::string> ancestors;
    std::string s = folder;
    while (!s.empty()) {
        std::string parent = fs.parentFolder(s);
        if (parent == s) break;
        s = std::move(parent);
        if (!s.empty()) ancestors.push_back(s);
    }
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it)
        if (!fs.folderExists(*it)) (void)fs.createFolder(*it);
    if (!fs.folderExists(folder)) (void)fs.createFolder(folder);
}

double treeSize(FileSystem& fs, const std::string& folder) {
    std::vector<std::string> subfolders;
    const double own = treeSizeOfRoot(fs, folder, subfolders);
    return own + static_cast<double>(fs.startFolderSizes(std::move(subfolders))->total());
}

double treeSizeOfRoot(FileSystem& fs, const std::string& folder,
                      std::vector<std::string>& subfolders) {
    std::vector<Entry> files;
    std::vector<Entry> folders;
    (void)fs.listFolder(folder, files, folders, ListDetail::Plain);
    double total = 0;
    for (const Entry& f : files)
        if (f.kind != EntryKind::Special) total += static_cast<double>(f.size);
    for (const Entry& d : folders) {
        if (isUnsizedFolderName(d.name)) continue;
        std::string& sub = subfolders.emplace_back(folder);
        if (sub.empty() || sub.back() != kSep) sub += kSep;
        sub += d.name;
    }
    return total;
}

bool askForAnotherDisk(Dialogs& dialogs) {
    return dialogs.messageBox("Schijf vol; verwissel schijf en druk op OK",
                              MessageStyle::OkCancel) == MessageAnswer::Ok;
}

}  // namespace zv
