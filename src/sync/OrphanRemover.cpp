#include "sync/OrphanRemover.h"

#include <utility>

#include "app/frmVergelijker.h"
#include "copy/ProgressDisplay.h"
#include "platform/Attributes.h"
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

OrphanRemover::OrphanRemover(frmVergelijker& w, std::string sourceFolder, bool atRoot)
    : w_(w),
      fs_(w.svc.fs),
      sourceFolder_(std::move(sourceFolder)),
      atRoot_(atRoot),
      dustbin_(NormalFolder(w.DustBinPath)) {
    const std::string origin = StripDriveColon(w.ui.Text1[0].text);
    targetBase_ = frmVergelijker::CollapseBackslashes(JoinPath(JoinPath(dustbin_, origin), ""));
}

OrphanResult OrphanRemover::remove(const std::string& folder, const Entry& file,
                                   const std::string& path) {
    if (w_.UseDustbin && w_.DustBinWin) return toTrash(path);
    if (!w_.DustBinCustom) return toDelete(path);
    return toDustbin(folder, file, path);
}

OrphanResult OrphanRemover::toTrash(const std::string& path) {
    ShowFile(w_, path, true);
    w_.Yield();
    FsError pending = SendToRecycleBin(w_.svc.trash, path);
    showDone();
    if (pending) return failed(std::move(pending));
    return removed();
}

OrphanResult OrphanRemover::toDelete(const std::string& path) {
    FsError pending = fs_.deleteFile(path, false);
    showDone();
    if (pending) return failed(std::move(pending));
    return removed();
}

OrphanResult OrphanRemover::toDustbin(const std::string& folder, const Entry& file,
                                      const std::string& path) {
    if (dustbin_.empty()) return failed(fsFail(kErrPathNotFound, "no dustbin folder is set"));
    if (liesInDustbin(folder)) return left();
    const std::string target = targetFile(path, file.name);
    if (target.empty())
        return failed(fsFail(kErrInvalidArgument,
                             "no place in the dustbin: the file lies outside the backup folder " +
                                 w_.DestinationPath));
    if (target == frmVergelijker::CollapseBackslashes(path)) return left();

    ensureDriveFolder();
    const std::string targetFolder = fs_.parentFolder(target);
    if (!fs_.folderExists(targetFolder)) w_.CreatePath(targetFolder);

    ShowFile(w_, path, true);
    w_.Yield();
    bool moved = false;
    FsError pending = intoDustbin(path, target, file.attributes, moved);
    if (pending) {
        showDone();
        return failed(std::move(pending));
    }
    ++moves_;
    if (!moved) pending = fs_.deleteFile(path, false);
    showDone();
    if (pending) return failed(std::move(pending));
    return removed();
}

// At the root only the dustbin being the backup root itself counts; below it,
// any folder whose path contains the dustbin's.
bool OrphanRemover::liesInDustbin(const std::string& folder) const {
    if (atRoot_) return NormalFolder(folder) == dustbin_;
    return folder.find(dustbin_) != std::string::npos;
}

std::string OrphanRemover::targetFile(const std::string& path, const std::string& name) const {
    if (atRoot_) return targetBase_ + name;
    const std::string relative = StrX_Y(path, w_.DestinationPath);
    if (relative.empty()) return {};
    return frmVergelijker::CollapseBackslashes(targetBase_ + relative);
}

// A drive-letter source gets a per-drive folder in the dustbin, marked with the
// drive icon. Where drives are mount points the per-drive folder would be the
// dustbin folder itself, so nothing is made.
void OrphanRemover::ensureDriveFolder() {
    if (driveFolderDone_) return;
    driveFolderDone_ = true;
    const std::string drive = fs_.driveName(sourceFolder_);
    if (drive.empty() || drive.find(':') == std::string::npos) return;
    const std::string perDrive =
        frmVergelijker::CollapseBackslashes(JoinPath(dustbin_, drive.substr(0, 1)));
    if (fs_.folderExists(perDrive)) return;
    w_.CreatePath(perDrive);
    w_.SetIconStation(perDrive);
}

// Where the dustbin lies on the backup's file system the orphan is moved in
// one step (`moved`): nothing to copy, no room needed, nothing to lose. Else
// it is copied there and the caller deletes it once the copy exists. A
// read-only file of the same name in the dustbin is made writable and
// replaced; the file there then carries the orphan's attributes.
FsError OrphanRemover::intoDustbin(const std::string& path, const std::string& target,
                                   std::uint32_t attributes, bool& moved) {
    FsError pending = fs_.moveFile(path, target);
    moved = pending.number != kErrOtherDrive;
    const auto transfer = [&] {
        return moved ? fs_.moveFile(path, target) : fs_.copyFile(path, target);
    };
    if (!moved) pending = transfer();
    if (pending.number != kErrAccessDenied) return pending;
    pending = {};
    (void)fs_.setAttributes(target, kAttrNormal);
    pending = transfer();
    if (pending) return pending;
    (void)fs_.setAttributes(target, attributes);
    return pending;
}

void OrphanRemover::showDone() {
    w_.ui.lblFiles.foreColour = kColourBlack;
    w_.Yield();
}

}  // namespace zv
