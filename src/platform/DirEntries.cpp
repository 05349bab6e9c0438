#include "platform/DirEntries.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <new>

namespace zv::detail {

// The kernel's linux_dirent64, which RawDirEntry mirrors.
static_assert(offsetof(RawDirEntry, reclen) == 16);
static_assert(offsetof(RawDirEntry, type) == 18);
static_assert(offsetof(RawDirEntry, name) == 19);

long readDirEntries(int fd, char* buffer, unsigned long size) {
    return syscall(SYS_getdents64, fd, buffer, size);
}

DirBuffer::DirBuffer()
    : data(static_cast<char*>(::operator new (kDirBufferSize, std::align_val_t{8}))) {}

DirBuffer::~DirBuffer() {
    ::operator delete (data, std::align_val_t{8});
}

}  // namespace zv::detail
