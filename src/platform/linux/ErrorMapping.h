#pragma once

#include <cerrno>
#include <string>
#include <string_view>

#include "platform/FsError.h"

namespace zv {

// What a failing path was expected to be: a missing file reads as "file not
// found" (53), a missing folder or path as "path not found" (76).
enum class PathRole { File, Folder };

// Maps an errno value onto the error numbers of the file layer, with the
// system's description of the failure and the path it concerns.
FsError errnoError(int err, const std::string& path, PathRole role);

// For opening or creating a file: a missing folder on the way is "path not
// found" (76), a missing file in an existing folder "file not found" (53).
FsError fileOpenError(int err, const std::string& path);

// A path the system can take: not empty, and without a NUL byte (which the
// system would take for its end, so that "src\0x" would name "src"). Only
// `rest`, the part of `path` not known to be free of one, is read.
FsError checkPath(const std::string& path, std::string_view rest);
inline FsError checkPath(const std::string& path) {
    return checkPath(path, path);
}

// The error number alone (see errnoError).
int errorNumberFor(int err, PathRole role);

// The file system does not offer the operation (extended attributes, say).
// On Linux ENOTSUP and EOPNOTSUPP are one number.
static_assert(ENOTSUP == EOPNOTSUPP);
inline bool isUnsupported(int err) {
    return err == ENOTSUP;
}

}  // namespace zv
