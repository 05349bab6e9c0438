#pragma once

#include <string>

namespace zv {

struct RunContext;

// Fills a backup folder that did not exist yet.
void copyNewFolderFiles(RunContext& run, const std::string& Source, const std::string& Destination);
void copyNewFolderSubfolders(RunContext& run, const std::string& Source,
                             const std::string& Destination);

}  // namespace zv
