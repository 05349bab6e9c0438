#pragma once

#include <string>
#include <string_view>

#include "copy/FilePaths.h"
#include "platform/Attributes.h"
#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "run/FolderHelpers.h"
#include "run/RunContext.h"

namespace zv {

// The from-date as a walk reads it once on entry. A text that is no date,
// or a date at the earliest instant the program holds, leaves it unknown,
// and then every file counts as new.
struct FromDateLimit {
    bool known = false;
    DateTime value{};
};
FromDateLimit readFromDate(const Job& job);

// A date strictly later than the from-date. A date that could not be read
// (left at the zero instant) or an unknown from-date counts as later:
// copying too much is safe, skipping is not.
bool isLater(DateTime date, const FromDateLimit& from);
// The from-date is at or before `date` (same fallbacks as isLater).
bool isAtOrAfter(DateTime date, const FromDateLimit& from);

// The job switches a walk judges files by, read once on entry.
struct WalkRules {
    FromDateLimit from;
    bool noDateCheck = false;
    bool syncActive = false;

    static WalkRules Of(const RunContext& run);
    // Modified or created strictly after the from-date.
    bool DatesAreNew(const Entry& f) const {
        return isLater(f.modified, from) || isLater(f.created, from);
    }
    // New by its dates, or every file when the date filter is off.
    bool FileIsNew(const Entry& f) const { return noDateCheck || DatesAreNew(f); }
};

// Entries the walks copy: regular files and symbolic links (as links).
// FIFOs, sockets and devices are passed over.
inline bool isCopyable(const Entry& e) {
    return e.kind == EntryKind::File || e.kind == EntryKind::Symlink;
}
// Copies the listed entry `f` to its place (`p`); one the listing saw as a
// regular file is opened without a look at it by name first.
inline FsError copyListed(FileSystem& fs, const Entry& f, const FilePaths& p) {
    return f.kind == EntryKind::File ? fs.copyListedFile(p.source, p.target)
                                     : fs.copyFile(p.source, p.target);
}
// Attributes are never set through a symbolic link.
inline bool takesAttributes(const Entry& e) {
    return e.kind == EntryKind::File;
}

// A backup path that names a shell place, asked where the folder is not
// there. The walks' paths are normal (their roots are normalised, and a name
// joined to a normal folder path keeps it normal), so none is collapsed.
inline bool isShellPlace(const RunContext& run, const std::string& path) {
    return isShellPlace(path, run.computerName, run.desktopName);
}

// A source subfolder the copy walks never enter: one of the run's own
// folders (the backup root wherever it lies inside the source, found by its
// identity), a volume's trash folder, and the system folders (by either
// side's path).
bool isExcludedSubfolder(const RunContext& run, const Entry& subfolder,
                         const std::string& subfolderPath, const std::string& backupFolderPath);

// The backup holds the same kind of entry as the source file `f` (a regular
// file for a file, a link for a link) at its place. What could not be looked
// at counts as not there: the copy is then tried, and reports why it fails.
bool backupHoldsSame(const PathInfo& target, const Entry& f);

// A file the walk should have copied failed: when its dates selected it,
// the from-date the run saves stays before them, so that the next run takes
// it again (run/NextFromDate.h). A file selected because the backup lacks it
// is taken again anyway while it lacks it.
void noteFailedCopy(RunContext& run, const Entry& f, const WalkRules& rules);
// The same for a file selected because it changed after the from-date.
void noteFailedRepair(RunContext& run, const Entry& f);

// Makes a missing backup folder during a walk, never its parent: that is the
// folder the walk is in, and were it gone (a disk unplugged mid-run), making
// it again would write onto the disk below the mount point. Fails when no
// folder is there afterwards, also when a file or a link stands in its place:
// a walk never writes through one. The new folder takes the permission bits,
// owner and attributes of its source folder at once, so the backup of a
// private folder is private while it fills.
FsError makeBackupFolder(RunContext& run, const std::string& source, const std::string& path);

// Before a walk writes into a backup folder that is already there: its owner
// may write into it while it fills (the backup of a read-only source folder
// is read-only once filled, and a later run must still be able to add to it).
// What cannot be done is logged and failed.
void openBackupFolder(RunContext& run, const std::string& source, const std::string& path);

// After a walk has written a backup folder's files and subfolders: the folder
// takes its source folder's permission bits, owner, attributes and times
// (writing into it moved its times). What cannot be done is logged and failed.
void finishBackupFolder(RunContext& run, const std::string& source, const std::string& path);

// A folder the walk could not list or make: logged and counted as failed,
// and the from-date stays where it was (the files below were never seen).
void reportFolderFailure(RunContext& run, const std::string& path, const FsError& error);

// Keeps the last failure of a sequence of statements.
inline void keep(FsError& pending, FsError result) {
    if (result.failed()) pending = std::move(result);
}

// The line a walk logs when the user gives up on a full disk.
enum class GiveUpLine { BreakLine, DiskFull, None };

// After a failed file step: on a full disk asks for another disk. Returns
// false when the user gave up; then the give-up line is logged, the log is
// written (unless there is no line) and userBreak is set.
// Otherwise logs the failure and sets counts.failedBefore; the walk goes on.
bool reportFileFailure(RunContext& run, const std::string& sourcePath, const FsError& pending,
                       GiveUpLine giveUp);
// After a file step that succeeded: logs the recovery when a failure came
// before it.
void reportFileRecovery(RunContext& run, const std::string& sourcePath);

}  // namespace zv
