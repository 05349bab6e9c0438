#include "sync/SourceGuard.h"

#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "sync/SyncPaths.h"

namespace zv {

SourceGuard::SourceGuard(FileSystem& fs, std::string sourceRoot)
    : fs_(fs), root_(std::move(sourceRoot)) {}

bool SourceGuard::present() {
    if (!witness_.empty()) {
        Entry entry;
        if (fs_.stat(witness_, entry).ok()) return true;
    }
    return findWitness();
}

bool SourceGuard::findWitness() {
    witness_.clear();
    if (!fs_.folderExists(root_)) return false;
    std::vector<Entry> files;
    std::vector<Entry> folders;
    if (fs_.listFolder(root_, files, folders).failed()) return false;
    if (!folders.empty())
        witness_ = joinPath(root_, folders.front().name);
    else if (!files.empty())
        witness_ = joinPath(root_, files.front().name);
    return !witness_.empty();
}

}  // namespace zv
