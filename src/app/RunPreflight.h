#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace zv {

class AppWindow;

// What a run holds while it runs: the locks that keep a second run of the
// same job, or into the same backup folder, from starting meanwhile.
using RunLocks = std::vector<std::unique_ptr<HeldLock>>;

// Checks what must hold before a run writes anything: the from-date is not
// in the future, the run's folders are sound (resolveRunFolders), and no
// other run holds the job file or the backup folder. Returns why the run may
// not start (without date), or "" when it may.
std::string prepareRun(AppWindow& w, RunLocks& locks);

// Resolves the run's folders once (relative paths from the working folder,
// links followed) into `w.roots`, and the job's paths to those real paths.
// Refuses what must not be written to: a backup folder that is missing or on
// a disk that is not there, one folder as both source and backup, a dustbin
// folder in use that is missing or lies in the source.
std::string resolveRunFolders(AppWindow& w);

// Why the job's folders may not be used together: the source and the backup
// are one folder, or the dustbin folder in use is the source or lies inside
// it. Empty when they may, or when a folder cannot be found (the run's own
// checks report that).
std::string folderOverlap(AppWindow& w);

// Whether orphans are moved into the dustbin folder by this job.
bool dustbinFolderInUse(const AppWindow& w);

}  // namespace zv
