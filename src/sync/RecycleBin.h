#pragma once

#include <string>

#include "platform/FsError.h"

namespace zv {

class Trash;

// Hands one file to the desktop's trash without asking.
FsError sendToRecycleBin(Trash& trash, const std::string& Path);

}  // namespace zv
