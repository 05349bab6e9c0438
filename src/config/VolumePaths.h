#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace zv {

// A path written with a volume name ("MYDISK/Backup") as a path on the
// volume's mount point, by the drive list (entries as the environment gives
// them). An absolute path stays as it is; a relative one whose first folder
// is there (from `workingFolder`) too. Empty when it cannot be resolved: no
// volume of that name, more than one, or a path longer than any file system
// takes.
std::string resolveVolumePath(FileSystem& fs, const std::vector<std::string>& driveList,
                              const std::string& workingFolder, const std::string& path);

// The top-most ancestor: "/" for an absolute path, the first component of a
// relative one.
std::string pathRoot(const std::string& path);

}  // namespace zv
