#include "sync/OrphanRemover.h"

#include <utility>

#include "platform/Attributes.h"
#include "platform/Paths.h"
#include "run/FolderHelpers.h"
#include "run/RunContext.h"
#include "sync/FolderMarking.h"
#include "sync/RecycleBin.h"
#include "sync/SyncPaths.h"
#include "sync/SyncWalk.h"

namespace zv {

namespace {

OrphanResult removed() {
    return {OrphanOutcome::Removed, {}};
}
OrphanResult left() {
    return {OrphanOutcome::Left, {}};
}
OrphanResult failed(FsError error) {
    return {OrphanOutcome::Failed, std::move(error)};
}

}  // namespace

OrphanRemover::OrphanRemover(RunContext& run, const std::string& sourceFolder)
    : run_(run),
      fs_(run.fs),
      sourceFolder_(sourceFolder),
      sourceLength_(sourceFolder.size()),
      dustbin_(normalisedFolder(run.job.dustbinPath)) {}

OrphanResult OrphanRemover::remove(const Entry& file, const std::string& path) {
    if (run_.job.useDustbin && run_.job.dustbinToTrash) return toTrash(path);
    if (!run_.job.dustbinToFolder) return toDelete(path);
    return toDustbin(file, path);
}

OrphanResult OrphanRemover::toTrash(const std::string& path) {
    run_.progress.fileStarted(path);
    FsError pending = sendToRecycleBin(run_.trash, path);
    run_.progress.fileFinished(path);
    if (pending.failed()) return failed(std::move(pending));
    // The trash folder may have come into being just now, where the walk
    // could still meet it (a backup that holds the home folder).
    if (!trashNoted_) noteTrashFolders(fs_, run_.trash, run_.roots);
    trashNoted_ = true;
    return removed();
}

OrphanResult OrphanRemover::toDelete(const std::string& path) {
    run_.progress.fileStarted(path);
    FsError pending = fs_.deleteFile(path, false);
    run_.progress.fileFinished(path);
    if (pending.failed()) return failed(std::move(pending));
    return removed();
}

OrphanResult OrphanRemover::toDustbin(const Entry& file, const std::string& path) {
    if (dustbin_.empty()) return failed(fsFail(kErrPathNotFound, "no dustbin folder is set"));
    // From the source's real path, resolved when the run started: the text
    // as typed may hold "..", which would lead out of the dustbin.
    const std::string target = dustbinPlace(dustbin_, run_.job.source, run_.job.backup, path);
    if (target.empty())
        return failed(
            fsFail(kErrInvalidArgument, "no place for it in the dustbin folder " + dustbin_));
    if (target == collapsedSeparators(path)) return left();
    if (!dustbinPresent())
        return failed(fsFail(kErrPathNotFound, "the dustbin folder is gone: " + dustbin_));

    ensureDriveFolder();
    const std::string targetFolder = fs_.parentFolder(target);
    if (!fs_.folderExists(targetFolder)) createPath(run_.fs, targetFolder);
    if (FsError e = checkRealPlace(targetFolder); e.failed()) return failed(std::move(e));

    run_.progress.fileStarted(path);
    bool moved;  // set by intoDustbin
    FsError pending = intoDustbin(path, target, file.attributes, moved);
    if (pending.failed()) {
        run_.progress.fileFinished(path);
        return failed(std::move(pending));
    }
    ++moves_;
    if (!moved) pending = fs_.deleteFile(path, false);
    run_.progress.fileFinished(path);
    if (pending.failed()) return failed(std::move(pending));
    return removed();
}

// Nothing is made in a dustbin folder that is gone (its disk unplugged):
// making its path again would write onto the disk below the mount point.
bool OrphanRemover::dustbinPresent() const {
    const RootFolder& known = run_.roots.dustbin;
    const PathInfo info = fs_.lookup(known.known() ? known.path : dustbin_);
    return info.presence == Presence::Present && info.kind == EntryKind::Folder &&
           (!known.known() || info.id == known.id);
}

// The orphan's folder in the dustbin, once it is there, by its real path: a
// link inside the dustbin folder could lead anywhere, the source above all.
FsError OrphanRemover::checkRealPlace(const std::string& folder) const {
    std::string real;
    PathInfo info;
    if (FsError e = fs_.resolveFolder(folder, real, info); e.failed()) return e;
    const std::string& bin = run_.roots.dustbin.known() ? run_.roots.dustbin.path : dustbin_;
    if (pathIsWithin(real, bin) && !pathIsWithin(real, normalisedFolder(run_.job.source)))
        return fsOk();
    return fsFail(kErrInvalidArgument, "the dustbin place " + folder + " leads to " + real);
}

// A drive-letter source gets a per-drive folder in the dustbin, marked with the
// drive icon. Where drives are mount points the per-drive folder would be the
// dustbin folder itself, so nothing is made.
void OrphanRemover::ensureDriveFolder() {
    if (driveFolderDone_) return;
    driveFolderDone_ = true;
    const std::string drive = fs_.driveName(sourceFolder_.substr(0, sourceLength_));
    if (drive.find(':') == std::string::npos) return;
    const std::string perDrive = collapsedSeparators(joinPath(dustbin_, drive.substr(0, 1)));
    if (fs_.folderExists(perDrive)) return;
    createPath(run_.fs, perDrive);
    markDriveFolder(run_.fs, perDrive);
}

// Where the dustbin lies on the backup's file system the orphan is moved in
// one step (`moved`): nothing to copy, no room needed, nothing to lose. Else
// it is copied there and the caller deletes it once the copy exists. A
// read-only file of the same name in the dustbin is made writable and
// replaced; the file there then carries the orphan's attributes.
FsError OrphanRemover::intoDustbin(const std::string& path, const std::string& target,
                                   std::uint32_t attributes, bool& moved) {
    moved = true;
    const auto transfer = [&] {
        FsError e = moved ? fs_.moveFile(path, target) : fs_.copyFile(path, target);
        if (e.number == kErrOtherDrive && moved) {
            moved = false;
            e = fs_.copyFile(path, target);
        }
        return e;
    };
    FsError pending = transfer();
    if (pending.number != kErrAccessDenied) return pending;
    (void)fs_.setAttributes(target, kAttrNormal);
    pending = transfer();
    if (pending.failed()) return pending;
    (void)fs_.setAttributes(target, attributes);
    return pending;
}

}  // namespace zv
