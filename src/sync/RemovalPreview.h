#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zv {

struct RunContext;

// What a synchronisation would remove from the backup, counted in a first
// pass before it removes anything: each backup folder and its counterpart in
// the source are listed once and compared by name. The count is an upper
// bound: the walk itself keeps read-only files and files whose source cannot
// be looked at.
struct RemovalPreview {
    std::int64_t backupFiles = 0;           // the backup's files the walk judges
    std::int64_t orphans = 0;               // those without a file of their name in the source
    std::vector<std::string> firstOrphans;  // the first few of them, full paths
};

// Counts for the run's folders (`run.roots`, `run.job.source`, `run.job.backup`),
// keeping at most `shown` paths.
RemovalPreview previewRemovals(RunContext& run, std::size_t shown);

// The most files a synchronisation removes without asking (or, unattended,
// without a larger -mx): a fifth of the backup's files, at most 1 000, and
// never fewer than 10.
std::int64_t DefaultRemovalLimit(std::int64_t backupFiles);

}  // namespace zv
