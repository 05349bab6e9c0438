#pragma once

#include <string>

#include "run/SystemFolders.h"

namespace zv {

// folder + separator + name, without doubling a separator the folder ends in.
std::string joinPath(const std::string& folder, const std::string& name);

// A folder path for comparisons: doubled separators collapsed and trailing
// separators dropped (the root "/" stays).
std::string normalFolder(const std::string& path);

// `path` lies strictly below `folder` (both normal).
bool liesBelow(const std::string& path, const std::string& folder);

// Where the dustbin layout puts an orphan of the backup folder: the dustbin
// folder, the source folder's path (a drive letter without its colon), then
// the orphan's place below the backup folder. Empty when there is no such
// place: the orphan lies outside the backup folder, or the place would lie
// outside the dustbin folder or inside the source. All paths are taken as
// real and absolute: "." and ".." are refused, never resolved.
std::string dustbinPlace(const std::string& dustbin, const std::string& source,
                         const std::string& backup, const std::string& orphan);

}  // namespace zv
