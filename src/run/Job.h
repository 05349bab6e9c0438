#pragma once

#include <cstdint>
#include <string>

namespace zv {

// One backup job: what the job file holds and the options may change.
struct Job {
    std::string source;
    std::string backup;
    std::string fromDate;          // date text; read as a date where it is used
    bool noDateFilter = false;     // every file counts as new, whatever its dates
    bool verify = false;           // compare with the backup (off: the quick copy)
    bool synchronise = false;      // remove from the backup what the source lacks
    bool useDustbin = false;       // orphans are not simply deleted
    bool dustbinToTrash = false;   // ... but go to the desktop's trash
    bool dustbinToFolder = false;  // ... or into the dustbin folder
    std::string dustbinPath;       // the dustbin folder, volume names resolved
    std::string dustbinAsWritten;  // the dustbin folder as the job file has it
    bool removeEmptyFolders = false;
    std::string volumeLabel;  // the backup disk's name, read when the job was saved
    // The most files a synchronisation may remove without asking (-mx):
    // 0 no limit, -1 the default share of the backup (app/RemovalGuard.h).
    std::int64_t maxRemovals = -1;
};

}  // namespace zv
