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
    return fs.folderExists(path) || isShellPlace(path, computerName, desktopName);
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

std::uint64_t treeFileCount(FileSystem& fs, const std::string& folder) {
    std::vector<std::string> subfolders;
    const std::uint64_t own = rootFileCount(fs, folder, subfolders);
    return own + fs.startFileCounts(std::move(subfolders))->total();
}

std::uint64_t rootFileCount(FileSystem& fs, const std::string& folder,
                            std::vector<std::string>& subfolders) {
    std::vector<FolderName> names;
    (void)fs.listNames(folder, names);
    std::uint64_t count = 0;
    for (const FolderName& n : names) {
        if (!n.typeKnown || n.kind != EntryKind::Folder) {
            count += !n.typeKnown || n.kind != EntryKind::Special;
            continue;
        }
        if (isUncountedFolderName(n.name)) continue;
        std::string& sub = subfolders.emplace_back(folder);
        if (sub.empty() || sub.back() != kSep) sub += kSep;
        sub += n.name;
    }
    return count;
}

bool askForAnotherDisk(Dialogs& dialogs) {
    return dialogs.messageBox("Schijf vol; verwissel schijf en druk op OK",
                              MessageStyle::OkCancel) == MessageAnswer::Ok;
}

}  // namespace zv
