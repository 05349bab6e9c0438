#pragma once

#include <sys/types.h>

#include <array>
#include <cstdint>
#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/FsError.h"
#include "platform/linux/UniqueFd.h"

namespace zv {

// Where a system call finds a path: a folder descriptor and a name in it
// (the *at calls), or AT_FDCWD and the whole path. `text` is the path as the
// caller gave it, for messages. A folder opened for this one path alone is
// owned here and closed with it. A folder is never opened by a path with a
// NUL byte (a call would stop there, at another folder): `name` runs to the
// end of the path, and holds what is left to check.
struct PathAt {
    int dir = -1;
    const char* name = nullptr;
    const std::string* text = nullptr;
    UniqueFd owned;
};

// The folders a run reaches, held open while it walks, so that a call on a
// path in one of them looks up one name rather than every folder of the
// path again: its cost stays the same however deep the folder lies, and a
// folder swapped for a link after it was reached is not followed. Paths
// longer than the system's limit (PATH_MAX) work with or without holding:
// their folder is opened a part at a time.
//
// A PathAt from `at` stays valid for the next kSlots - 1 calls of `at`.
// Holding is for the length of a run only: a held folder keeps its disk from
// being unmounted, and the program itself may remove a folder (forget) or a
// user may replace one between runs.
class FolderHandles {
  public:
    PathAt at(const std::string& path);
    // `at`, for a path a call can take as given: an empty one, or one with a
    // NUL byte (a call would stop there, on another file), is refused. In a
    // held folder only the name is read, so the check costs the same at any
    // depth.
    FsError place(const std::string& path, PathAt& out);
    void hold(bool on);
    // Lets every held folder go (one of them may have been removed).
    void forget();

  private:
    static constexpr std::size_t kSlots = 8;
    // How many folders' parents are kept for the way back up.
    static constexpr std::size_t kKnownParents = 4096;
    struct FolderId {
        dev_t device = 0;
        ino_t inode = 0;
        bool operator==(const FolderId&) const = default;
    };
    struct FolderIdHash {
        std::size_t operator()(const FolderId& id) const noexcept {
            return std::hash<ino_t>{}(id.inode) ^ (std::hash<dev_t>{}(id.device) << 1);
        }
    };
    struct Slot {
        std::string folder;
        UniqueFd fd;
        std::optional<FolderId> id;
        std::uint64_t used = 0;
    };
    static std::optional<FolderId> identityOf(int fd);
    Slot& slotFor(std::string_view folder, bool& found);
    UniqueFd openNearHeld(std::string_view folder, std::optional<FolderId>& parent) const;
    UniqueFd openAboveHeld(std::string_view folder) const;

    std::array<Slot, kSlots> slots_;
    // Each folder opened from its held parent, by identity, with the
    // parent's identity: what ".." from it must lead to on the way back up.
    // Kept by identity, not path, so that no look-up reads a path that grows
    // with the depth; in a pool of their own, so that the entries lie
    // together rather than scattered among the walk's long paths.
    std::pmr::unsynchronized_pool_resource pool_;
    std::pmr::unordered_map<FolderId, FolderId, FolderIdHash> parents_{&pool_};
    std::uint64_t clock_ = 0;
    bool holding_ = false;
};

// Opens a folder by its path (not to read: O_PATH), also one longer than
// PATH_MAX. Returns an invalid descriptor, errno set, on failure.
UniqueFd openFolderPath(std::string_view folder);

// The path of `p` as text a path-taking call (lgetxattr) can take, however
// long `p` is.
std::string callablePath(const PathAt& p);

}  // namespace zv
