// Placeholder until the copy engine lands.
#include "copy/QuickCopy.h"
#include "app/frmVergelijker.h"
namespace zv {
void QuickCopyRoot(frmVergelijker&, const std::string&, const std::string&) {}
void QuickCopySubfolders(frmVergelijker&, const std::string&, const std::string&) {}
}  // namespace zv
