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

int DiskSync::rename(const char* from, const char* to) {
    return result(std::rename(from, to));
}

// Through /proc, which any user may do; linkat with AT_EMPTY_PATH needs a
// capability.
int DiskSync::giveName(int fd, const char* to) {
    char self[32];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    return result(linkat(AT_FDCWD, self, AT_FDCWD, to, AT_SYMLINK_FOLLOW));
}

int DiskSync::flushFolder(int folderFd) {
    return result(fsync(folderFd));
}

int DiskSync::flushFileSystem(int fd) {
    return result(syncfs(fd));
}

}  // namespace zv
