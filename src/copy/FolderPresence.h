#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace zv {

// Answers "is there a file of this name?" for the names of one folder, which
// the walks ask once per file of the other tree. Where many names will be
// asked, the folder's names are read once and a name found there as a regular
// file (or folder, where that counts) is taken as present. Every other answer
// comes from the file system itself at the moment it is asked, so "absent" is
// never stale, and names that the file system matches without regard to case
// are still found. A "present" may be as old as the folder's reading, which
// is always the safe side: a walk keeps or skips a file, it never removes or
// copies one on it.
class FolderPresence {
  public:
    explicit FolderPresence(FileSystem& fs) : fs_(fs) {}

    // Starts answering for `folder`; `expected` is how many names will be
    // asked there, which decides whether reading the folder pays.
    void moveTo(const std::string& folder, std::size_t expected);

    // fileExists(path), where `path` is the folder's `name`.
    bool hasFile(std::string_view name, const std::string& path);
    // fileExists(path) || folderExists(path).
    bool hasFileOrFolder(std::string_view name, const std::string& path);

  private:
    // The folder's names hold `name` as a regular file, or as a folder when
    // `folderCounts`.
    bool listedAs(std::string_view name, bool folderCounts) const;

    FileSystem& fs_;
    bool listed_ = false;
    std::vector<FolderName> names_;  // sorted by name
};

}  // namespace zv
