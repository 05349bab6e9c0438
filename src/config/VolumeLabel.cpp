#include "config/VolumeLabel.h"

#include "platform/FileSystem.h"

namespace zv {

FsError volumeLabelOfPath(FileSystem& fs, const std::string& path, std::string& label) {
    if (path.empty()) return fsFail(kErrPathNotFound, "no path given");
    std::string found;
    FsError error = fs.volumeName(fs.absolutePath(path), found);
    if (error.ok()) label = found;
    return error;
}

}  // namespace zv
