#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/PendingCount.h"

namespace zv {

// Counts the files in the trees of `folders` on a thread of its own; a
// folder whose tree cannot be read completely adds nothing.
std::unique_ptr<PendingCount> countFilesInBackground(std::vector<std::string> folders);

}  // namespace zv
