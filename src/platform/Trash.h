#pragma once

#include <string>
#include <vector>

#include "platform/FsError.h"

namespace zv {

// The desktop's trash: moves one file there without asking, so that it can be
// restored later. A file that cannot be trashed stays where it is.
class Trash {
  public:
    virtual ~Trash() = default;
    virtual FsError moveToTrash(const std::string& path) = 0;
    // The folders the trash keeps files in that a walk may meet but must
    // never touch (the trash folders at the top of a volume are known by
    // their names).
    virtual std::vector<std::string> ownFolders() const { return {}; }
};

}  // namespace zv
