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
    names_.clear();
    if (expected < kListingPaysFrom) return;
    if (fs_.listNames(folder, names_).failed()) {
        names_.clear();
        return;
    }
    std::sort(names_.begin(), names_.end(), byName);
}

PathInfo FolderPresence::find(std::string_view name, const std::string& path) {
    auto it =
        std::lower_bound(names_.begin(), names_.end(), name,
                         [](const FolderName& n, std::string_view key) { return n.name < key; });
    if (it != names_.end() && it->name == name && it->typeKnown) {
        PathInfo info;
        info.presence = Presence::Present;
        info.kind = it->kind;
        return info;
    }
    return fs_.lookup(path);
}

}  // namespace zv
