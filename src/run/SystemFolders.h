#pragma once

#include <string_view>

namespace zv {

// The system folders a backup leaves alone: a volume's recycle bins and its
// system information. Letter case does not matter.

// The path contains RECYCLER, RECYCLED or SYSTEM VOLUME INFORMATION.
bool hasSystemFolderWord(std::string_view path);

// A folder whose files the progress total leaves out: one of the above by
// its whole name, or _RESTORE.
bool isUncountedFolderName(std::string_view name);

}  // namespace zv
