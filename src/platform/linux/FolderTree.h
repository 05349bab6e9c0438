#pragma once

#include <cstdint>
#include <stop_token>
#include <string>

#include "platform/FsError.h"

namespace zv {

// Whole-tree operations; none of them follows a symbolic link inside the tree.

// Sums the sizes of the regular files in a folder's tree. A stop request
// ends the sum early (with a partial result).
FsError sumTreeSizes(const std::string& folder, std::uint64_t& bytes, std::stop_token stop = {});

}  // namespace zv
