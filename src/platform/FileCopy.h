#pragma once

#include <string>

#include "platform/FsError.h"

namespace zv {

// Copies a regular file or a symbolic link (as a link) onto `to` through a
// temporary file in the target folder and a rename, so that on any failure an
// existing target stays exactly as it was. Carries over the modification and
// access times, the permission bits and the recorded attribute bits. Never
// opens a FIFO, socket or device; refuses a read-only target (75) before
// anything is written.
FsError copyReplacing(const std::string& from, const std::string& to);

// Moves a regular file or a symbolic link onto `to` with one rename, which
// keeps everything the file carries and cannot lose it. Refuses what
// copyReplacing refuses (a read-only target: 75); 74 when the two paths lie
// on different file systems, where only a copy can take the file over.
FsError moveReplacing(const std::string& from, const std::string& to);

}  // namespace zv
