#include "config/WorkingFolderPath.h"

#include "platform/FileSystem.h"

namespace zv {

std::string inWorkingFolder(const std::string& workingFolder, const std::string& path) {
    if (path.empty() || path.front() == kSep || workingFolder.empty()) return path;
    if (workingFolder.back() == kSep) return workingFolder + path;
    return workingFolder + kSep + path;
}

bool leadsToFolder(FileSystem& fs, const std::string& workingFolder, const std::string& path) {
    if (path.empty()) return false;
    std::string real;
    PathInfo info;
    return fs.resolveFolder(inWorkingFolder(workingFolder, path), real, info).ok();
}

}  // namespace zv
