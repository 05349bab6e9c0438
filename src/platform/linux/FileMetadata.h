#pragma once

#include <sys/stat.h>

#include <cstdint>

namespace zv {

// Gives an open file or folder `out` the owner and group `src` has. Root sets
// both; a user can only give a group he belongs to, and is quietly left with
// what he may set (as cp -a is). What root may not set (a file system without
// owners) is noted in `unkept` (FileSystem.h).
void copyOwner(int out, const struct stat& src, std::uint32_t& unkept);

// Copies the extended attributes a restore needs from `in` to `out`, as
// bytes: the user namespace, the POSIX ACLs (the default ACL of a folder too)
// and, for root, a program's file capabilities. The recorded attribute bits
// of a file keep their own rules (DosAttributes.h); a folder's are left to the
// walks. Only where the source lists any are they read. `existing`: `out` may
// hold some already, which are then compared, and those the source lacks are
// removed. `changed` tells whether anything was written. What the target's
// file system cannot keep is noted in `unkept`; returns 0 or an errno value
// that fails the copy.
int copyExtendedAttributes(int in, int out, bool isFolder, bool existing, std::uint32_t& unkept,
                           bool& changed);

}  // namespace zv
