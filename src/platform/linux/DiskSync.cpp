#include "platform/linux/DiskSync.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace zv {

namespace {

int result(int rc) {
    return rc == 0 ? 0 : errno;
}

}  // namespace

int DiskSync::flushData(int fd) {
    return result(fdatasync(fd));
}

int DiskSync::rename(int fromDir, const char* from, int toDir, const char* to) {
    return result(renameat(fromDir, from, toDir, to));
}

// By the descriptor itself where the kernel lets this process (Linux 6.10
// and later for the file's own opener; before, only with a capability), else
// through /proc, which is slower but allowed to any user.
int DiskSync::giveName(int fd, int dir, const char* to) {
    if (linkat(fd, "", dir, to, AT_EMPTY_PATH) == 0) return 0;
    if (errno != ENOENT && errno != EPERM) return errno;
    char self[32];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    return result(linkat(AT_FDCWD, self, dir, to, AT_SYMLINK_FOLLOW));
}

int DiskSync::flushFolder(int folderFd) {
    return result(fsync(folderFd));
}

int DiskSync::flushFileSystem(int fd) {
    return result(syncfs(fd));
}

}  // namespace zv
