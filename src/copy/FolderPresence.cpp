#include "copy/FolderPresence.h"

#include <algorithm>

namespace zv {

namespace {

// Reading a folder's names costs about as much as this many single queries.
constexpr std::size_t kListingPaysFrom = 6;

bool byName(const FolderName& a, const FolderName& b) {
    return a.name < b.name;
}

}  // namespace

void FolderPresence::moveTo(const std::string& folder, std::size_t expected) {
    listed_ = false;
    names_.clear();
    if (expected < kListingPaysFrom) return;
    if (fs_.listNames(folder, names_)) {
        names_.clear();
        return;
    }
    std::sort(names_.begin(), names_.end(), byName);
    listed_ = true;
}

bool FolderPresence::listedAs(std::string_view name, bool folderCounts) const {
    if (!listed_) return false;
    auto it =
        std::lower_bound(names_.begin(), names_.end(), name,
                         [](const FolderName& n, std::string_view key) { return n.name < key; });
    if (it == names_.end() || it->name != name || !it->typeKnown) return false;
    return it->kind == EntryKind::File || (folderCounts && it->kind == EntryKind::Folder);
}

bool FolderPresence::hasFile(std::string_view name, const std::string& path) {
    return listedAs(name, false) || fs_.fileExists(path);
}

bool FolderPresence::hasFileOrFolder(std::string_view name, const std::string& path) {
    return listedAs(name, true) || fs_.fileExists(path) || fs_.folderExists(path);
}

}  // namespace zv
