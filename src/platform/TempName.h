#pragma once

#include <string_view>

namespace zv {

// Temporary files are created beside their final place, so that a rename
// puts them there in one step.
inline constexpr const char* kTempPrefix = ".zv-tmp-";

// A name this program gives its temporary files: the prefix and sixteen
// hexadecimal digits. One left behind by a run that was killed is removed by
// the next run that finds it where the source has no such file.
bool isTempName(std::string_view name);

}  // namespace zv
