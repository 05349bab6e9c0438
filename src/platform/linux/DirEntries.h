#pragma once

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstddef>
#include <string_view>

namespace zv {

// Reads the entries of an open folder straight from the kernel (getdents64),
// without a stdio DIR around it: a listing costs its reads and nothing more.
// Calls `visit(name, type)` for every entry but "." and "..", in the order
// the file system gives: `name` is a NUL-terminated const char*, `type` the
// entry's DT_* value (DT_UNKNOWN where the file system records none).
// `visit` returns false to stop early; it must not list another folder (each
// listing reads into a buffer of its own on the stack). The descriptor stays
// open, left at the end of the folder. Returns 0 or an errno value.
template <class Visit>
int forEachDirEntry(int fd, Visit&& visit);

namespace detail {

// One read of entries into `buffer`; returns the bytes read, 0 at the end,
// or -1 with errno set.
long readDirEntries(int fd, char* buffer, std::size_t size);

// The size of the buffer a listing reads into.
inline constexpr std::size_t kDirBufferSize = 32 * 1024;

struct RawDirEntry {
    unsigned long long ino;
    long long off;
    unsigned short reclen;
    unsigned char type;
    char name[1];
};

inline bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace detail

// The file type (S_IF* bits) a DT_* value stands for; 0 for DT_UNKNOWN.
mode_t modeOfDirType(unsigned char type);

template <class Visit>
int forEachDirEntry(int fd, Visit&& visit) {
    // On the stack: its pages stay mapped from one listing to the next, where
    // a buffer from the heap lands on fresh pages whenever the walk's growing
    // paths have taken the space of the last one.
    alignas(detail::RawDirEntry) char buffer[detail::kDirBufferSize];
    for (;;) {
        const long n = detail::readDirEntries(fd, buffer, detail::kDirBufferSize);
        if (n < 0) return errno;
        if (n == 0) return 0;
        for (long at = 0; at < n;) {
            const char* raw = buffer + at;
            const auto* d = reinterpret_cast<const detail::RawDirEntry*>(raw);
            const char* name = raw + offsetof(detail::RawDirEntry, name);
            at += d->reclen;
            if (detail::isDotOrDotDot(name)) continue;
            if (!visit(name, d->type)) return 0;
        }
    }
}

}  // namespace zv
