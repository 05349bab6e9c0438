#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

#include "platform/TempName.h"
#include "platform/linux/DiskSync.h"
#include "platform/linux/FolderHandles.h"
#include "platform/linux/UniqueFd.h"

namespace zv {

// A fresh, unused name ".zv-tmp-<random>", and the same in a folder.
std::string tempName();
std::string tempNameIn(const std::string& folder);

// Calls `make` (which returns 0 or an errno value) with fresh temporary names
// in `folder` until one is not taken yet (EEXIST), a bounded number of times;
// `name` is the last one tried. Returns what the last call returned.
int withFreeTempName(const std::string& folder, std::string& name,
                     const std::function<int(const std::string&)>& make);

// withFreeTempName for a name beside `p`, in its folder: `name` is the one
// to use with p.dir (a bare name where p has a folder descriptor).
int withFreeTempNameBeside(const PathAt& p, std::string& name,
                           const std::function<int(const char*)>& make);

// Gives a file written without a name (O_TMPFILE, `fd`) the name `to`,
// replacing what is there: a temporary name beside it first (linkat cannot
// replace), then the rename; on failure nothing is left under the temporary
// name. Returns 0 or an errno value.
int nameUnnamedOver(int fd, const PathAt& to, DiskSync& sync);

// createTempFileIn beside `p`; `name` as for withFreeTempNameBeside.
UniqueFd createTempFileBeside(const PathAt& p, mode_t mode, std::string& name, int& err);

// Creates a new temporary file in `folder` (O_EXCL, permissions `mode`
// less the umask). Returns the descriptor; on failure an invalid one with
// `err` set.
UniqueFd createTempFileIn(const std::string& folder, mode_t mode, std::string& name, int& err);

// The folder a path's temporary file goes to: its textual parent, or "."
// for a bare name.
std::string folderForTemp(const std::string& path);

}  // namespace zv
