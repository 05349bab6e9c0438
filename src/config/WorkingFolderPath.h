#pragma once

#include <string>

namespace zv {

// A relative path taken against the working folder at start-up; an absolute
// or empty path unchanged.
std::string InWorkingFolder(const std::string& workingFolder, const std::string& path);

}  // namespace zv
