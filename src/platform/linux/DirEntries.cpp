#include "platform/linux/DirEntries.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace zv::detail {

// The kernel's linux_dirent64, which RawDirEntry mirrors.
static_assert(offsetof(RawDirEntry, reclen) == 16);
static_assert(offsetof(RawDirEntry, type) == 18);
static_assert(offsetof(RawDirEntry, name) == 19);

long readDirEntries(int fd, char* buffer, std::size_t size) {
    return syscall(SYS_getdents64, fd, buffer, size);
}

}  // namespace zv::detail

namespace zv {

mode_t modeOfDirType(unsigned char type) {
    switch (type) {
        case DT_REG:
            return S_IFREG;
        case DT_DIR:
            return S_IFDIR;
        case DT_LNK:
            return S_IFLNK;
        case DT_FIFO:
            return S_IFIFO;
        case DT_SOCK:
            return S_IFSOCK;
        case DT_CHR:
            return S_IFCHR;
        case DT_BLK:
            return S_IFBLK;
        default:
            return 0;
    }
}

}  // namespace zv
