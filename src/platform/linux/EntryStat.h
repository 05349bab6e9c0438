#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "platform/FileSystem.h"

namespace zv {

// The statx fields an Entry is made of.
inline constexpr unsigned kEntryStatMask =
    STATX_TYPE | STATX_MODE | STATX_INO | STATX_SIZE | STATX_MTIME | STATX_CTIME | STATX_BTIME;

// Reads an entry relative to a folder descriptor without following a final
// symbolic link. Returns 0 or an errno value.
int statEntry(int dirFd, const char* name, struct statx& sx);

DateTime toDateTime(const struct statx_timestamp& ts);
// The identity statx reports, and whether a file system is mounted there.
FileId idOf(const struct statx& sx);
bool isMountRoot(const struct statx& sx);
EntryKind kindOf(std::uint16_t mode);

// Fills `out` from a statx result; `recorded` are the recorded attribute bits.
void fillEntry(const struct statx& sx, std::string name, std::uint32_t recorded, Entry& out);

// Only regular files and folders carry recorded attribute bits.
inline bool mayCarryRecordedBits(std::uint16_t mode) {
    return S_ISREG(mode) || S_ISDIR(mode);
}

}  // namespace zv
