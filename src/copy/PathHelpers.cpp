// Placeholder until the copy engine lands.
#include "app/frmVergelijker.h"
namespace zv {
std::string frmVergelijker::CollapseBackslashes(const std::string& path) { return path; }
bool frmVergelijker::FolderExistsOrVirtual(std::string& path) { return svc.fs.folderExists(path); }
int frmVergelijker::MakeFolder(std::string& path) { return svc.fs.createFolder(path).number; }
std::string frmVergelijker::CreatePath(const std::string& DirIn) { return DirIn; }
double frmVergelijker::TreeSize(const std::string&) { return 0; }
bool frmVergelijker::AskChangeDisk() { return false; }
}  // namespace zv
