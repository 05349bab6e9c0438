#include "app/BackupDisk.h"

#include "app/AppWindow.h"
#include "config/WorkingFolderPath.h"
#include "platform/Paths.h"
#include "run/FolderHelpers.h"

namespace zv {

namespace {

// The job names the volume its backup lies on, yet the path lies on the
// root file system: the named disk is not there.
std::string rootFileSystemReason(AppWindow& w, const std::string& realPath) {
    if (!w.unattended || w.job.volumeLabel.empty()) return {};
    FileSystem& fs = w.svc.fs;
    if (fs.driveName(realPath) != std::string(1, kSep)) return {};
    std::string label;
    if (fs.volumeName(realPath, label).ok() && label == w.job.volumeLabel) return {};
    return "ligt op de systeemschijf, niet op volume " + w.job.volumeLabel;
}

}  // namespace

std::string missingDiskReason(AppWindow& w, const std::string& realPath) {
    if (FsError e = w.svc.fs.diskIsMounted(realPath); e.failed())
        return "schijf niet aangekoppeld (" + e.description + ")";
    return {};
}

std::string missingBackupDiskReason(AppWindow& w, const std::string& realPath) {
    if (std::string reason = missingDiskReason(w, realPath); !reason.empty()) return reason;
    return rootFileSystemReason(w, realPath);
}

std::string makeBackupFolderUnattended(AppWindow& w, const std::string& path) {
    FileSystem& fs = w.svc.fs;
    const std::string absolute =
        inWorkingFolder(w.svc.env.workingFolder, collapsedSeparators(path));
    std::string real;
    PathInfo info;
    if (fs.resolveFolder(absolute, real, info).ok()) return missingBackupDiskReason(w, real);
    if (info.presence != Presence::Absent) return info.error.description;
    const std::string parent = parentOfPath(absolute);
    std::string realParent;
    if (parent.empty() || fs.resolveFolder(parent, realParent, info).failed())
        return "de map erboven bestaat niet";
    std::string target = realParent;
    if (target.back() != kSep) target += kSep;
    target += lastComponent(absolute);
    if (std::string reason = missingBackupDiskReason(w, target); !reason.empty()) return reason;
    if (FsError e = fs.createFolder(target); e.failed()) return e.description;
    return {};
}

}  // namespace zv
