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

// Through /proc, which any user may do; linkat with AT_EMPTY_PATH needs a
// capability.
int DiskSync::giveName(int fd, int dir, const char* to) {
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
