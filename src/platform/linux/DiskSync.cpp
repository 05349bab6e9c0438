#include "platform/linux/DiskSync.h"

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

int DiskSync::flushFolder(int folderFd) {
    return result(fsync(folderFd));
}

int DiskSync::flushFileSystem(int fd) {
    return result(syncfs(fd));
}

}  // namespace zv
