#pragma once

#include <string>

#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/Trash.h"
#include "run/Job.h"
#include "run/NextFromDate.h"
#include "run/RunCounters.h"
#include "run/RunLog.h"
#include "run/RunProgress.h"
#include "run/RunRoots.h"

namespace zv {

class NewFileSearch;
class FilePaths;

// Everything the copy and synchronisation walks work with: the outside world
// they reach, the job they carry out, and the state a run builds up. The
// window owns all of it; the walks see only this.
struct RunContext {
    FileSystem& fs;
    Trash& trash;
    EventPump& pump;
    Dialogs& dialogs;
    const Job& job;
    RunCounters& counts;
    RunProgress& progress;
    RunLog& log;
    bool& userBreak;  // set by Exit, or when the user gives up on a full disk
    RunRoots& roots;
    NextFromDate& nextFrom;
    const bool& unattended;  // no window to ask or tell anything
    // Names that stand for shell places rather than folders: a walk takes a
    // backup path of that name as there.
    const std::string& computerName;
    const std::string& desktopName;
    // What the new-folder copy found out this run about where new files lie.
    NewFileSearch& newFiles;
    // The paths of the file in hand, for every file loop of the walks.
    FilePaths& filePaths;
};

}  // namespace zv
