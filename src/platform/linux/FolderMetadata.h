#pragma once

#include <cstdint>
#include <string>

#include "platform/FileSystem.h"
#include "platform/linux/FolderHandles.h"

namespace zv {

// Gives the backup folder `to` what the source folder `from` carries
// (FileSystem::keepFolderMetadata). Only what differs is written. What the
// target's file system cannot keep is noted in `unkept`; a folder that
// cannot be opened or changed for another reason is an error.
FsError keepFolderMetadata(const PathAt& from, const PathAt& to, FolderStage stage,
                           std::uint32_t& unkept);

}  // namespace zv
