#include "platform/ErrorMapping.h"

#include <cerrno>
#include <cstring>

namespace zv {

int errorNumberFor(int err, PathRole role) {
    switch (err) {
        case 0:
            return kErrNone;
        case ENOENT:
            return role == PathRole::File ? kErrFileNotFound : kErrPathNotFound;
        case ENOTDIR:
            return kErrPathNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case EBUSY:
        case ETXTBSY:
            return kErrAccessDenied;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return kErrDiskFull;
        case EINVAL:
        case ENAMETOOLONG:
            return kErrInvalidArgument;
        default:
            return kErrObjectNotAvailable;
    }
}

FsError errnoError(int err, const std::string& path, PathRole role) {
    const char* text = strerrordesc_np(err);
    std::string description = text ? text : "Unknown error " + std::to_string(err);
    return fsFail(errorNumberFor(err, role), description + ": " + path);
}

}  // namespace zv
