#pragma once

#include <string>

namespace zv {

struct RunContext;

// Removes backup folders that hold no file at all.
void killEmptyRoot(RunContext& run, const std::string& folder);
void killEmptySubfolders(RunContext& run, const std::string& folder);

}  // namespace zv
