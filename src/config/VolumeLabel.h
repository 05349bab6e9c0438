#pragma once

#include <string>

#include "platform/FsError.h"

namespace zv {

class FileSystem;

// The volume name of the file system that holds `path` (made absolute first).
// An empty path has no volume and fails.
FsError volumeLabelOfPath(FileSystem& fs, const std::string& path, std::string& label);

}  // namespace zv
