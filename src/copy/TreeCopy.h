#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace zv {

struct RunContext;

// The checked copy: compares the source tree with the backup and copies what
// is missing or newer than the from-date.
void copyTreeRoot(RunContext& run, const std::string& Source, const std::string& Destination);
void copySubTrees(RunContext& run, const std::string& Source, const std::string& Destination);

// copySubTrees for a source folder whose subfolders the caller has just
// listed (saves listing the folder a second time). Both paths are normal
// (see normalisedFolder), and the walk's buffers: the walk below adds each
// subfolder's name to them and takes it off again (SubfolderStep).
void copySubTreesListed(RunContext& run, std::string& src, std::string& dst,
                        const std::vector<Entry>& subfolders);

}  // namespace zv
