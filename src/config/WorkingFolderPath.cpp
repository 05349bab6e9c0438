#include "config/WorkingFolderPath.h"

#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace zv {

std::string inWorkingFolder(const std::string& workingFolder, const std::string& path) {
    if (path.empty() || isAbsolutePath(path) || workingFolder.empty()) return path;
    return joinPath(workingFolder, path);
}

bool leadsToFolder(FileSystem& fs, const std::string& workingFolder, const std::string& path) {
    if (path.empty()) return false;
    std::string real;
    PathInfo info;
    return fs.resolveFolder(inWorkingFolder(workingFolder, path), real, info).ok();
}

}  // namespace zv
