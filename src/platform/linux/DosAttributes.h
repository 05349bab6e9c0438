#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/linux/FolderHandles.h"

namespace zv {

// The attribute bits Linux has no place for are recorded in an extended
// attribute, as "0x" and lowercase hex digits (the form Samba reads too).
inline constexpr const char* kDosAttribName = "user.DOSATTRIB";

// Bits that are recorded: for files read-only comes from the permission bits
// instead, for folders it is only recorded.
std::uint32_t recordableBits(bool isFolder);

std::uint32_t parseDosAttrib(std::string_view value);
std::string formatDosAttrib(std::uint32_t bits);

// The recorded bits of a path or an open file; 0 when none are recorded or
// the file system keeps no extended attributes.
std::uint32_t readRecordedBits(const char* path);
std::uint32_t readRecordedBitsFd(int fd);
// Reads the recorded bits of an entry relative to a folder descriptor,
// without a path lookup from the root. False when the kernel cannot do that;
// the caller then uses readRecordedBits with the full path.
bool readRecordedBitsAt(int dirFd, const char* name, std::uint32_t& bits);
// The recorded bits of the entry at `p`, by whichever call the kernel has.
std::uint32_t readRecordedBitsOf(const PathAt& p);

// Records `bits` (removing the record when 0). Returns 0 or an errno value;
// a file system without extended attributes drops them silently (0).
int writeRecordedBits(const char* path, std::uint32_t bits);
int writeRecordedBitsFd(int fd, std::uint32_t bits);

// The attributes the logic sees for an entry of the given mode and name.
std::uint32_t composeAttributes(mode_t mode, std::string_view name, std::uint32_t recorded);

// Read-only as the logic means it: a file without any write permission bit,
// or any entry with the recorded read-only bit.
bool isReadOnly(mode_t mode, std::uint32_t recorded);

}  // namespace zv
