#pragma once

#include <string>

namespace zv {

// folder + separator + name, without doubling a separator the folder ends in.
std::string JoinPath(const std::string& folder, const std::string& name);

// A folder path for comparisons: doubled separators collapsed and trailing
// separators dropped (the root "/" stays).
std::string NormalFolder(const std::string& path);

// `path` lies strictly below `folder` (both normal).
bool LiesBelow(const std::string& path, const std::string& folder);

}  // namespace zv
