#pragma once

#include <string>

namespace zv {

class frmVergelijker;

// The quick copy: selects source files by their own dates, never comparing
// with the backup.
void QuickCopyRoot(frmVergelijker& w, const std::string& Source, const std::string& Destination);
void QuickCopySubfolders(frmVergelijker& w, const std::string& Source,
                         const std::string& Destination);

}  // namespace zv
