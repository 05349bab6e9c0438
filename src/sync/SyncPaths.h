#pragma once

#include <string>

#include "platform/Paths.h"
#include "run/SystemFolders.h"

namespace zv {

// Where the dustbin layout puts an orphan of the backup folder: the dustbin
// folder, the source folder's path (a drive letter without its colon), then
// the orphan's place below the backup folder. Empty when there is no such
// place: the orphan lies outside the backup folder, or the place would lie
// outside the dustbin folder or inside the source. All paths are taken as
// real and absolute: "." and ".." are refused, never resolved.
std::string dustbinPlace(const std::string& dustbin, const std::string& source,
                         const std::string& backup, const std::string& orphan);

}  // namespace zv
