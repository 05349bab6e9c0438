#pragma once

#include <string>

namespace zv {

struct RunContext;

// Fills a backup folder that did not exist yet. Both paths are normal (see
// normalisedFolder), as the walks make them: asked at every level of paths
// that grow with the depth, they are not normalised again here.
void copyNewFolderFiles(RunContext& run, const std::string& src, const std::string& dst);
// The subfolder walk adds each subfolder's name to `src` and `dst` and takes
// it off again (SubfolderStep): they are the walk's buffers.
void copyNewFolderSubfolders(RunContext& run, std::string& src, std::string& dst);

}  // namespace zv
