#include "app/RunPreflight.h"

#include "app/AppWindow.h"
#include "app/BackupDisk.h"
#include "config/WorkingFolderPath.h"
#include "copy/WalkSupport.h"
#include "platform/Paths.h"
#include "run/FolderHelpers.h"

namespace zv {

namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Resolves a job path into `root`; the refusal text when it is no folder.
std::string resolveRoot(AppWindow& w, const std::string& path, RootFolder& root, const char* what) {
    const std::string absolute =
        inWorkingFolder(w.svc.env.workingFolder, collapsedSeparators(path));
    PathInfo info;
    if (!path.empty() && w.svc.fs.resolveFolder(absolute, root.path, info).ok()) {
        root.id = info.id;
        root.volumeTop = info.mountRoot;
        return {};
    }
    if (path.empty() || info.presence == Presence::Absent)
        return quoted(path) + " " + what + " bestaat niet";
    return quoted(path) + " " + what + " is niet bereikbaar: " + info.error.description;
}

// `path` (a real path) is `folder` or lies inside it, by identity: a bind
// mount gives one folder two real paths.
bool liesWithin(FileSystem& fs, std::string path, const FileId& folder) {
    while (!path.empty()) {
        if (fs.lookup(path).id == folder) return true;
        path = parentOfPath(path);
    }
    return false;
}

constexpr const char* kSameFolder = "bronmap en doelmap zijn dezelfde map";

std::string dustbinInSource(AppWindow& w, const RunRoots& roots) {
    if (liesWithin(w.svc.fs, roots.dustbin.path, roots.source.id))
        return quoted(w.job.dustbinPath) + " prullenbak ligt in de bronmap";
    return {};
}

std::string checkDustbin(AppWindow& w, RunRoots& roots) {
    if (!dustbinFolderInUse(w)) return {};
    if (std::string refusal = resolveRoot(w, w.job.dustbinPath, roots.dustbin, "prullenbak");
        !refusal.empty())
        return refusal;
    if (std::string refusal = dustbinInSource(w, roots); !refusal.empty()) return refusal;
    if (std::string reason = missingDiskReason(w, roots.dustbin.path); !reason.empty())
        return quoted(w.job.dustbinPath) + " prullenbak: " + reason;
    return {};
}

std::string checkFromDate(AppWindow& w) {
    if (w.job.noDateFilter) return {};
    const FromDateLimit from = readFromDate(w.job);
    if (!from.known || from.value <= w.svc.clock.now()) return {};
    return "vanaf-datum " + w.job.fromDate + " ligt in de toekomst";
}

// The job file (where there is one) and the backup folder.
std::string takeLocks(AppWindow& w, const RunRoots& roots, RunLocks& locks) {
    FileSystem& fs = w.svc.fs;
    const std::string job = inWorkingFolder(
        w.svc.env.workingFolder, AppWindow::pathInFolder(w.svc.env.appFolder, w.jobFileName));
    for (const std::string& path : {job, roots.backup.path}) {
        if (path == job && fs.lookup(job).presence != Presence::Present) continue;
        std::unique_ptr<HeldLock> lock;
        if (fs.lockExclusive(path, lock).number == kErrAccessDenied)
            return quoted(path) + " is in gebruik door een andere run";
        if (lock) locks.push_back(std::move(lock));
    }
    return {};
}

std::string checkRoots(AppWindow& w, RunRoots& roots) {
    if (std::string refusal = resolveRoot(w, w.job.source, roots.source, "bronmap");
        !refusal.empty())
        return refusal;
    if (std::string refusal = resolveRoot(w, w.job.backup, roots.backup, "doelmap");
        !refusal.empty())
        return refusal;
    if (std::string reason = missingBackupDiskReason(w, roots.backup.path); !reason.empty())
        return quoted(w.job.backup) + " doelmap: " + reason;
    if (roots.source.id == roots.backup.id) return kSameFolder;
    return checkDustbin(w, roots);
}

}  // namespace

std::string folderOverlap(AppWindow& w) {
    RunRoots roots;
    if (!resolveRoot(w, w.job.source, roots.source, "bronmap").empty() ||
        !resolveRoot(w, w.job.backup, roots.backup, "doelmap").empty())
        return {};
    if (roots.source.id == roots.backup.id) return kSameFolder;
    if (!dustbinFolderInUse(w) ||
        !resolveRoot(w, w.job.dustbinPath, roots.dustbin, "prullenbak").empty())
        return {};
    return dustbinInSource(w, roots);
}

bool dustbinFolderInUse(const AppWindow& w) {
    return w.job.verify && w.job.synchronise && !(w.job.useDustbin && w.job.dustbinToTrash) &&
           w.job.dustbinToFolder;
}

std::string resolveRunFolders(AppWindow& w) {
    RunRoots roots;
    if (std::string refusal = checkRoots(w, roots); !refusal.empty()) return refusal;
    roots.trashes =
        trashFoldersUnder(w.svc.fs, w.svc.trash, {roots.source.path, roots.backup.path});
    w.job.source = roots.source.path;
    w.job.backup = roots.backup.path;
    if (roots.dustbin.known()) w.job.dustbinPath = roots.dustbin.path;
    w.roots = std::move(roots);
    return {};
}

std::string prepareRun(AppWindow& w, RunLocks& locks) {
    if (std::string refusal = checkFromDate(w); !refusal.empty()) return refusal;
    if (std::string refusal = resolveRunFolders(w); !refusal.empty()) return refusal;
    return takeLocks(w, w.roots, locks);
}

}  // namespace zv
