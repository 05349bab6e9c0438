// Placeholder until the synchronisation lands.
#include "sync/SyncWalk.h"
#include "app/frmVergelijker.h"
namespace zv {
void SyncRootFiles(frmVergelijker&, const std::string&, const std::string&) {}
void SyncSubfolders(frmVergelijker&, const std::string&, const std::string&) {}
std::string StrX_Y(const std::string&, const std::string&) { return {}; }
std::string StrTail(const std::string&, const std::string&) { return {}; }
std::string StripDriveColon(const std::string& Path) { return Path; }
}  // namespace zv
