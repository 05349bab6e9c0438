#pragma once

#include <string>

#include "platform/FsError.h"

namespace zv {

// The desktop's trash: moves one file there without asking, so that it can be
// restored later. A file that cannot be trashed stays where it is.
class Trash {
  public:
    virtual ~Trash() = default;
    virtual FsError moveToTrash(const std::string& path) = 0;
};

}  // namespace zv
