#include "platform/linux/ErrorMapping.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/Paths.h"

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
        case EXDEV:
            return kErrOtherDrive;
        default:
            return kErrObjectNotAvailable;
    }
}

FsError errnoError(int err, const std::string& path, PathRole role) {
    const char* text = strerrordesc_np(err);
    std::string description = text ? text : "Unknown error " + std::to_string(err);
    return fsFail(errorNumberFor(err, role), description + ": " + path);
}

FsError checkPath(const std::string& path, std::string_view rest) {
    if (path.empty()) return fsFail(kErrInvalidArgument, "Invalid argument: empty path");
    if (rest.find('\0') != std::string_view::npos)
        return fsFail(kErrInvalidArgument, "Invalid argument: a path with a NUL byte");
    return fsOk();
}

FsError fileOpenError(int err, const std::string& path) {
    if (err != ENOENT) return errnoError(err, path, PathRole::File);
    std::string folder = parentOfPath(path);
    struct stat st;
    bool folderThere = folder.empty() || (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
    return errnoError(err, path, folderThere ? PathRole::File : PathRole::Folder);
}

}  // namespace zv
