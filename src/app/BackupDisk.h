#pragma once

#include <string>

namespace zv {

class AppWindow;

// Why nothing may be written at `realPath` (absolute, its existing part
// without links): the folder a disk is meant to be mounted on is there but
// the disk is not. Empty when the disk is there. A missing disk is never
// replaced by the folder it would be mounted on.
std::string missingDiskReason(AppWindow& w, const std::string& realPath);

// The same for the backup folder, and also when an unattended job names the
// volume its backup lies on while the path lies on the system's root file
// system.
std::string missingBackupDiskReason(AppWindow& w, const std::string& realPath);

// Makes the backup folder an unattended job names when it is missing: one
// level only, inside a folder that exists, on a disk that is there. Returns
// why it could not, or "" when the folder is there afterwards.
std::string makeBackupFolderUnattended(AppWindow& w, const std::string& path);

}  // namespace zv
