#pragma once

#include <string>

namespace zv {

class frmVergelijker;

// The checked copy: compares the source tree with the backup and copies what
// is missing or newer than the from-date.
void CopyTreeRoot(frmVergelijker& w, const std::string& Source, const std::string& Destination);
void CopySubTrees(frmVergelijker& w, const std::string& Source, const std::string& Destination);

}  // namespace zv
