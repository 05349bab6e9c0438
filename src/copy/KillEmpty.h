#pragma once

#include <string>

namespace zv {

class frmVergelijker;

// Removes backup folders that hold no file at all.
void KillEmptyRoot(frmVergelijker& w, const std::string& folder);
void KillEmptySubfolders(frmVergelijker& w, const std::string& folder);

}  // namespace zv
