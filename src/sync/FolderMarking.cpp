// Placeholder until the synchronisation lands.
#include "sync/FolderMarking.h"
#include "app/frmVergelijker.h"
namespace zv {
void SetIconStation(FileSystem&, const std::string&) {}
void SetIconDustBin(FileSystem&, const std::string&) {}
void ClearFolderMark(FileSystem&, const std::string&) {}
void frmVergelijker::SetIconStation(const std::string& StrStation) { zv::SetIconStation(svc.fs, StrStation); }
}  // namespace zv
