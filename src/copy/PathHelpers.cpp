#include <string>
#include <vector>

#include "app/frmVergelijker.h"

namespace zv {

// "a//b" -> "a/b"; a leading pair stays (a network-style prefix).
std::string frmVergelijker::CollapseBackslashes(const std::string& path) {
    std::string s;
    s.reserve(path.size());
    const bool leadingPair = path.size() >= 2 && path[0] == kSep && path[1] == kSep;
    for (char c : path) {
        if (c == kSep && !s.empty() && s.back() == kSep) continue;
        s += c;
    }
    return leadingPair ? std::string(1, kSep) + s : s;
}

bool frmVergelijker::FolderExistsOrVirtual(std::string& path) {
    path = CollapseBackslashes(path);
    if (svc.fs.folderExists(path)) return true;
    return path == ComputerName || path == DesktopName;
}

int frmVergelijker::MakeFolder(std::string& path) {
    if (svc.fs.createFolder(path).ok()) return kErrNone;
    CreatePath(path);
    return svc.fs.folderExists(path) ? kErrNone : kErrPathNotFound;
}

// Creates every missing level of a folder path, from the root downwards.
// Failures are passed over: a level that cannot be created leaves the deeper
// levels missing, which the caller notices by its own existence test.
std::string frmVergelijker::CreatePath(const std::string& DirIn) {
    std::vector<std::string> ancestors;
    std::string s = DirIn;
    while (!s.empty()) {
        std::string parent = svc.fs.parentFolder(s);
        if (parent == s) break;
        s = std::move(parent);
        if (!s.empty()) ancestors.push_back(s);
    }
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it)
        if (!svc.fs.folderExists(*it)) (void)svc.fs.createFolder(*it);
    if (!svc.fs.folderExists(DirIn)) (void)svc.fs.createFolder(DirIn);
    return DirIn;
}

namespace {

bool isUnsizedName(const std::string& name) {
    std::string upper = name;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper == "RECYCLED" || upper == "RECYCLER" || upper == "SYSTEM VOLUME INFORMATION" ||
           upper == "_RESTORE";
}

}  // namespace

// Files directly in the folder, plus the size of every subfolder except the
// system folders of the first level. A size that cannot be read adds nothing.
double frmVergelijker::TreeSize(const std::string& folder) {
    std::vector<std::string> subfolders;
    const double own = TreeSizeOfRoot(folder, subfolders);
    return own + static_cast<double>(svc.fs.startFolderSizes(std::move(subfolders))->total());
}

double frmVergelijker::TreeSizeOfRoot(const std::string& folder,
                                      std::vector<std::string>& subfolders) {
    subfolders.clear();
    std::vector<Entry> files;
    std::vector<Entry> folders;
    (void)svc.fs.listFolder(folder, files, folders, ListDetail::Plain);
    double total = 0;
    for (const Entry& f : files)
        if (f.kind != EntryKind::Special) total += static_cast<double>(f.size);
    for (const Entry& d : folders) {
        if (isUnsizedName(d.name)) continue;
        std::string& sub = subfolders.emplace_back(folder);
        if (sub.empty() || sub.back() != kSep) sub += kSep;
        sub += d.name;
    }
    return total;
}

bool frmVergelijker::AskChangeDisk() {
    return svc.dialogs.messageBox("Schijf vol; verwissel schijf en druk op OK",
                                  MessageStyle::OkCancel) == MessageAnswer::Ok;
}

}  // namespace zv
