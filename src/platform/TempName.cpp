#include "platform/TempName.h"

namespace zv {

bool isTempName(std::string_view name) {
    const std::string_view prefix = kTempPrefix;
    if (name.size() != prefix.size() + 16 || !name.starts_with(prefix)) return false;
    for (char c : name.substr(prefix.size()))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

}  // namespace zv
