#pragma once

#include <string>

namespace zv {

struct RunContext;

// Removes backup folders that hold no file at all.
void KillEmptyRoot(RunContext& run, const std::string& folder);
void KillEmptySubfolders(RunContext& run, const std::string& folder);

}  // namespace zv
