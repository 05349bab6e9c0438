#pragma once

namespace zv {

class AppWindow;

// After a run: one line in the run log naming what the backup's file system
// could not keep of what the copies carry over (owners, extended attributes
// and ACLs on a FAT disk, say), once per run and not once per file. The
// files themselves were copied: the run does not fail for it.
void logUnkeptMetadata(AppWindow& w);

}  // namespace zv
