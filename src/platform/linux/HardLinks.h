#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <unordered_map>

#include "platform/FsError.h"
#include "platform/linux/DiskSync.h"
#include "platform/linux/FolderHandles.h"

namespace zv {

// The copies made of source files that have more than one name, so that the
// other names become names of the same copy in the backup (as cp -a keeps
// them). Only files with a link count above one are remembered, and each is
// forgotten once all its names have been copied: the memory stays as small
// as the number of such files whose names are still to come.
class HardLinks {
  public:
    // The path of the copy made of `src` (as fstat saw it), or nullptr: none
    // was made, the source changed since, or the copy is no longer there.
    const std::string* copyOf(const struct stat& src) const;
    // `made` is the copy of `src` now at `path`.
    void remember(const struct stat& src, const std::string& path, const struct stat& made);
    // One more name of `src` was made a name of its copy.
    void linked(const struct stat& src);
    void clear() { copies_.clear(); }

  private:
    struct Key {
        dev_t device;
        ino_t inode;
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& k) const {
            return std::hash<std::uint64_t>()(static_cast<std::uint64_t>(k.inode) * 31 +
                                              static_cast<std::uint64_t>(k.device));
        }
    };
    struct Copy {
        std::string path;
        dev_t device;
        ino_t inode;
        struct timespec sourceChanged;  // the source's ctime when it was copied
        nlink_t namesLeft;
    };

    std::unordered_map<Key, Copy, KeyHash> copies_;
};

// Makes `to` another name of the file at `copy` through a temporary name
// and a rename, so an old file at `to` stays whole until then; when it
// replaces one, the copy's data is flushed first. Returns false, changing
// nothing, where no link can be made there (another file system, one
// without hard links: then noted in `unkept`, or the copy gone): the caller
// copies instead.
bool linkReplacing(const PathAt& copy, const PathAt& to, bool replacing, DiskSync& sync,
                   FsError& result, std::uint32_t& unkept);

}  // namespace zv
