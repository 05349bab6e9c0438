#include "sync/RecycleBin.h"

#include "platform/Trash.h"

namespace zv {

FsError sendToRecycleBin(Trash& trash, const std::string& Path) {
    const std::string path = Path;
    return trash.moveToTrash(path);
}

}  // namespace zv
