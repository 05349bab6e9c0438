#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "platform/UniqueFd.h"

namespace zv {

// Temporary files are created beside their final place, so that a rename
// puts them there in one step.
inline constexpr const char* kTempPrefix = ".zv-tmp-";

// A name this program gives its temporary files: the prefix and sixteen
// hexadecimal digits. One left behind by a run that was killed is removed by
// the next run that finds it where the source has no such file.
bool isTempName(std::string_view name);

// A fresh, unused name "<folder>/.zv-tmp-<random>".
std::string tempNameIn(const std::string& folder);

// Creates a new temporary file in `folder` (O_EXCL, permissions `mode`
// less the umask). Returns the descriptor; on failure an invalid one with
// `err` set.
UniqueFd createTempFileIn(const std::string& folder, mode_t mode, std::string& name, int& err);

// The folder a path's temporary file goes to: its textual parent, or "."
// for a bare name.
std::string folderForTemp(const std::string& path);

}  // namespace zv
