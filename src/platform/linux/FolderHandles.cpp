#include "platform/linux/FolderHandles.h"

#include <fcntl.h>
#include <linux/limits.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/linux/ErrorMapping.h"

namespace zv {

namespace {

constexpr int kOpenPath = O_PATH | O_DIRECTORY | O_CLOEXEC;

PathAt plain(const std::string& path) {
    return PathAt{AT_FDCWD, path.c_str(), &path, {}};
}

bool holdsNul(std::string_view text) {
    return std::memchr(text.data(), '\0', text.size()) != nullptr;
}

}  // namespace

UniqueFd openFolderPath(std::string_view folder) {
    if (folder.size() < PATH_MAX) return UniqueFd(open(std::string(folder).c_str(), kOpenPath));
    // A part at a time, each under the limit and ending at a separator.
    UniqueFd dir;
    int base = AT_FDCWD;
    for (std::size_t at = 0; at < folder.size();) {
        std::size_t end = folder.size();
        if (end - at >= PATH_MAX) {
            end = folder.rfind('/', at + PATH_MAX - 1);
            if (end == std::string_view::npos || end < at) {
                errno = ENAMETOOLONG;  // one name longer than the limit
                return {};
            }
        }
        if (end == at) {  // a doubled separator
            ++at;
            continue;
        }
        const std::string part(folder.substr(at, end - at));
        UniqueFd next(openat(base, part.c_str(), kOpenPath));
        if (!next.valid()) return {};
        dir = std::move(next);
        base = dir.get();
        at = end + 1;
    }
    return dir;
}

PathAt FolderHandles::at(const std::string& path) {
    const std::size_t cut = path.rfind('/');
    // No folder part, or a path ending in a separator: taken whole.
    if (cut == std::string::npos || cut + 1 == path.size()) return plain(path);
    const std::string_view folder =
        cut == 0 ? std::string_view("/") : std::string_view(path).substr(0, cut);
    const char* name = path.c_str() + cut + 1;
    if (!holding_) {
        if (path.size() < PATH_MAX || holdsNul(folder)) return plain(path);
        UniqueFd fd = openFolderPath(folder);
        if (!fd.valid()) return plain(path);  // the call itself then says why
        const int dir = fd.get();
        return PathAt{dir, name, &path, std::move(fd)};
    }
    bool found = false;
    Slot& slot = slotFor(folder, found);
    if (!found) {
        if (holdsNul(folder)) return plain(path);
        std::optional<FolderId> parent;
        UniqueFd fd = openNearHeld(folder, parent);
        if (!fd.valid()) fd = openAboveHeld(folder);
        if (!fd.valid()) fd = openFolderPath(folder);
        if (!fd.valid()) return plain(path);
        slot.id = identityOf(fd.get());
        if (parent && slot.id) {
            if (parents_.size() >= kKnownParents) parents_.clear();
            parents_.insert_or_assign(*slot.id, *parent);
        }
        slot.folder = folder;
        slot.fd = std::move(fd);
    }
    slot.used = ++clock_;
    return PathAt{slot.fd.get(), name, &path, {}};
}

FsError FolderHandles::place(const std::string& path, PathAt& out) {
    out = at(path);
    return checkPath(path, std::string_view(out.name, path.c_str() + path.size() - out.name));
}

// A walk goes down one folder at a time, so a new folder's parent is mostly
// held already: opened from there, it costs one name, not the whole path.
// `parent` is then the held parent's identity.
UniqueFd FolderHandles::openNearHeld(std::string_view folder,
                                     std::optional<FolderId>& parent) const {
    const std::size_t cut = folder.rfind('/');
    if (cut == std::string_view::npos || cut == 0 || cut + 1 == folder.size()) return {};
    const std::string_view above = folder.substr(0, cut);
    for (const Slot& slot : slots_) {
        if (!slot.fd.valid() || slot.folder != above) continue;
        parent = slot.id;
        return UniqueFd(
            openat(slot.fd.get(), std::string(folder.substr(cut + 1)).c_str(), kOpenPath));
    }
    return {};
}

// A walk comes back up one folder at a time, so a folder it returns to has
// mostly a subfolder held. ".." from there is taken only when it leads to
// the very folder (device and inode) that subfolder was opened from on the
// way down: a subfolder moved away meanwhile would lead elsewhere.
UniqueFd FolderHandles::openAboveHeld(std::string_view folder) const {
    for (const Slot& slot : slots_) {
        const std::string_view held = slot.folder;
        if (!slot.fd.valid() || held.size() <= folder.size() + 1 || !held.starts_with(folder) ||
            held[folder.size()] != '/' || held.find('/', folder.size() + 1) != held.npos)
            continue;
        const auto known = slot.id ? parents_.find(*slot.id) : parents_.end();
        if (known == parents_.end()) return {};
        UniqueFd up(openat(slot.fd.get(), "..", kOpenPath));
        if (up.valid() && identityOf(up.get()) == known->second) return up;
        return {};
    }
    return {};
}

std::optional<FolderHandles::FolderId> FolderHandles::identityOf(int fd) {
    struct stat st;
    if (fstat(fd, &st) != 0) return std::nullopt;
    return FolderId{st.st_dev, st.st_ino};
}

// The slot holding `folder`, else the one used least recently.
FolderHandles::Slot& FolderHandles::slotFor(std::string_view folder, bool& found) {
    Slot* oldest = &slots_[0];
    for (Slot& slot : slots_) {
        if (slot.fd.valid() && slot.folder == folder) {
            found = true;
            return slot;
        }
        if (slot.used < oldest->used) oldest = &slot;
    }
    found = false;
    return *oldest;
}

void FolderHandles::hold(bool on) {
    holding_ = on;
    forget();
}

void FolderHandles::forget() {
    parents_.clear();
    for (Slot& slot : slots_) {
        slot.fd.reset();
        slot.folder.clear();
        slot.id.reset();
        slot.used = 0;
    }
}

std::string callablePath(const PathAt& p) {
    if (p.dir == AT_FDCWD) return p.name;
    return "/proc/self/fd/" + std::to_string(p.dir) + "/" + p.name;
}

}  // namespace zv
