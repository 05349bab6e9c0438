#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace zv {

// Answers "what is there under this name?" for the names of one folder,
// which the walks ask once per file of the other tree. Where many names will
// be asked, the folder's names are read once and a name found there with its
// type is taken as present. Every other answer comes from the file system
// itself at the moment it is asked, so "absent" is never stale, names that
// the file system matches without regard to case are still found, and a
// name that cannot be looked at is Unknown, never absent. A "present" may be
// as old as the folder's reading, which is always the safe side: a walk
// keeps or skips a file on it, it never removes or copies one.
class FolderPresence {
  public:
    explicit FolderPresence(FileSystem& fs) : fs_(fs) {}

    // Starts answering for `folder`; `expected` is how many names will be
    // asked there, which decides whether reading the folder pays.
    void moveTo(const std::string& folder, std::size_t expected);

    // What lies at `path`, the folder's `name` (its identity only where the
    // file system was asked).
    PathInfo find(std::string_view name, const std::string& path);

  private:
    FileSystem& fs_;
    std::vector<FolderName> names_;  // sorted by name; empty when not read
};

}  // namespace zv
