#pragma once

#include <string>
#include <unordered_map>

#include "platform/FileSystem.h"

namespace zv {

struct WalkRules;

// Answers, for the new-folder copy, whether a folder holds a file that is
// new by its own dates anywhere below it. Each folder's answer is kept for
// the run, keyed by its identity, so a branch is searched once however deep
// it is: the copy asks again at every level it goes down, and searching the
// whole subtree each time would cost the square of the depth.
class NewFileSearch {
  public:
    // A folder that cannot be listed counts as holding a new file: skipping
    // it is not safe. The search adds each subfolder's name to `folder` and
    // takes it off again (SubfolderStep).
    bool holdsNewFile(FileSystem& fs, std::string& folder, const FileId& id,
                      const WalkRules& rules);
    // A new run starts from nothing: its from-date may differ.
    void clear() { known_.clear(); }

  private:
    struct IdHash {
        std::size_t operator()(const FileId& id) const {
            return std::hash<std::uint64_t>()(id.inode * 31 + id.device);
        }
    };
    std::unordered_map<FileId, bool, IdHash> known_;
};

}  // namespace zv
