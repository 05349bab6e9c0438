#include "config/WorkingFolderPath.h"

#include "platform/FileSystem.h"

namespace zv {

std::string InWorkingFolder(const std::string& workingFolder, const std::string& path) {
    if (path.empty() || path.front() == kSep || workingFolder.empty()) return path;
    if (workingFolder.back() == kSep) return workingFolder + path;
    return workingFolder + kSep + path;
}

}  // namespace zv
