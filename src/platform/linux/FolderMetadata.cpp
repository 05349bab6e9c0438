#include "platform/linux/FolderMetadata.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/ErrorMapping.h"
#include "platform/linux/FileMetadata.h"
#include "platform/linux/UniqueFd.h"

namespace zv {

namespace {

// A folder keeps its set-group and sticky bits (they rule what is made in
// it); a set-user bit means nothing on a folder.
constexpr mode_t kFolderModeBits = 0777 | S_ISGID | S_ISVTX;

UniqueFd openFolder(const PathAt& path) {
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    // Reading the source folder must not move its access time.
    UniqueFd fd(openat(path.dir, path.name, flags | O_NOATIME));
    if (!fd.valid() && errno == EPERM) fd = UniqueFd(openat(path.dir, path.name, flags));
    return fd;
}

bool sameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// The permission bits (an ACL written just now changed some), checked afterwards: some file systems
// (FAT) answer a change they cannot make with success. `now` is the folder's stat, read again by
// this when `stale`.
int keepMode(int out, struct stat& now, bool stale, mode_t wanted, std::uint32_t& unkept) {
    if (stale && fstat(out, &now) != 0) return errno;
    if ((now.st_mode & kFolderModeBits) == wanted) return 0;
    if (fchmod(out, wanted) != 0) {
        if (errno != EPERM) return errno;
        unkept |= kUnkeptModes;
        return 0;
    }
    if (fstat(out, &now) == 0 && (now.st_mode & kFolderModeBits) != wanted) unkept |= kUnkeptModes;
    return 0;
}

}  // namespace

FsError keepFolderMetadata(const PathAt& fromAt, const PathAt& toAt, FolderStage stage,
                           std::uint32_t& unkept) {
    const std::string& from = *fromAt.text;
    const std::string& to = *toAt.text;
    // Most backup folders are writable: one call instead of the comparison.
    if (stage == FolderStage::Reopening) {
        if (faccessat(toAt.dir, toAt.name, W_OK | X_OK, AT_EACCESS) == 0) return fsOk();
        stage = FolderStage::Filling;
    }
    UniqueFd in = openFolder(fromAt);
    if (!in.valid()) return errnoError(errno, from, PathRole::Folder);
    UniqueFd out = openFolder(toAt);
    if (!out.valid()) return errnoError(errno, to, PathRole::Folder);
    struct stat src;
    struct stat dst;
    if (fstat(in.get(), &src) != 0) return errnoError(errno, from, PathRole::Folder);
    if (fstat(out.get(), &dst) != 0) return errnoError(errno, to, PathRole::Folder);
    if (src.st_uid != dst.st_uid || src.st_gid != dst.st_gid) copyOwner(out.get(), src, unkept);
    bool changed;  // set by the call
    if (int err = copyExtendedAttributes(in.get(), out.get(), true, true, unkept, changed))
        return errnoError(err, to, PathRole::Folder);
    // While it fills, its owner may write into it whatever the source allows.
    mode_t wanted = src.st_mode & kFolderModeBits;
    if (stage == FolderStage::Filling) wanted |= S_IRWXU;
    if (int err = keepMode(out.get(), dst, changed, wanted, unkept))
        return errnoError(err, to, PathRole::Folder);
    if (stage == FolderStage::Done && !sameTime(src.st_mtim, dst.st_mtim)) {
        const timespec times[2] = {src.st_atim, src.st_mtim};
        if (futimens(out.get(), times) != 0) {
            if (errno != EPERM) return errnoError(errno, to, PathRole::Folder);
            unkept |= kUnkeptModes;
        }
    }
    return fsOk();
}

}  // namespace zv
