#pragma once

#include <cstdint>

namespace zv {

// What a run has done so far; the window shows it and the exit status and
// the desktop notice are read from it.
struct RunCounters {
    std::int32_t seen = 0;     // files the walks reached
    std::int32_t copied = 0;   // files copied (or their attributes repaired)
    std::int32_t removed = 0;  // orphans that left the backup
    std::int32_t failed = 0;   // files and folders the run could not handle
    // The last file step failed: the next one that succeeds logs a recovery.
    bool failedBefore = false;
};

}  // namespace zv
