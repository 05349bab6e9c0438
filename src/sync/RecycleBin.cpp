// Placeholder until the synchronisation lands.
#include "sync/RecycleBin.h"
#include "platform/Trash.h"
namespace zv {
FsError SendToRecycleBin(Trash& trash, const std::string& Path) { return trash.moveToTrash(Path); }
}  // namespace zv
