#pragma once

#include <cstdint>
#include <stop_token>
#include <string>

#include "platform/FsError.h"

namespace zv {

// Counts the files and symbolic links in a folder's tree by their names
// alone, never following a link. A stop request ends the count early (with a
// partial result).
FsError countTreeFiles(const std::string& folder, std::uint64_t& count, std::stop_token stop = {});

}  // namespace zv
