// Placeholder until the copy engine lands.
#include "copy/NewFolderCopy.h"
#include "app/frmVergelijker.h"
namespace zv {
void CopyNewFolderFiles(frmVergelijker&, const std::string&, const std::string&) {}
void CopyNewFolderSubfolders(frmVergelijker&, const std::string&, const std::string&) {}
}  // namespace zv
