#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/PendingSize.h"

namespace zv {

// Sums the tree sizes of `folders` on a thread of its own; a folder whose
// tree cannot be read completely adds nothing.
std::unique_ptr<PendingSize> sumFolderSizesInBackground(std::vector<std::string> folders);

}  // namespace zv
