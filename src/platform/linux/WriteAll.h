#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace zv {

// Writes all of `data` to `fd`, also when the kernel takes it in pieces or a
// signal interrupts a call. 0 when done, else the errno of the failure; a
// write that takes nothing without an error counts as a full disk.
inline int writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = TEMP_FAILURE_RETRY(::write(fd, data, size));
        if (n == -1) return errno;
        if (n == 0) return ENOSPC;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

}  // namespace zv
