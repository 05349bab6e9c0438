#include "platform/linux/HardLinks.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileSystem.h"
#include "platform/linux/ErrorMapping.h"
#include "platform/linux/TempFile.h"
#include "platform/linux/UniqueFd.h"

namespace zv {

namespace {

bool sameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Where a link cannot be made, but a copy can.
bool copyInstead(int err) {
    return err == EXDEV || err == EMLINK || err == ENOENT || err == EPERM || isUnsupported(err);
}

}  // namespace

const std::string* HardLinks::copyOf(const struct stat& src) const {
    const auto it = copies_.find(Key{src.st_dev, src.st_ino});
    if (it == copies_.end() || !sameTime(it->second.sourceChanged, src.st_ctim)) return nullptr;
    struct stat now;
    if (lstat(it->second.path.c_str(), &now) != 0 || now.st_ino != it->second.inode ||
        now.st_dev != it->second.device)
        return nullptr;
    return &it->second.path;
}

void HardLinks::remember(const struct stat& src, const std::string& path, const struct stat& made) {
    if (src.st_nlink < 2) return;
    copies_[Key{src.st_dev, src.st_ino}] =
        Copy{path, made.st_dev, made.st_ino, src.st_ctim, src.st_nlink - 1};
}

void HardLinks::linked(const struct stat& src) {
    const auto it = copies_.find(Key{src.st_dev, src.st_ino});
    if (it != copies_.end() && --it->second.namesLeft == 0) copies_.erase(it);
}

bool linkReplacing(const PathAt& copy, const PathAt& to, bool replacing, DiskSync& sync,
                   FsError& result, std::uint32_t& unkept) {
    struct stat there;
    struct stat made;
    if (fstatat(copy.dir, copy.name, &made, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (fstatat(to.dir, to.name, &there, AT_SYMLINK_NOFOLLOW) == 0 && there.st_ino == made.st_ino &&
        there.st_dev == made.st_dev) {
        result = fsOk();  // already a name of the copy
        return true;
    }
    std::string temp;
    int err = withFreeTempNameBeside(to, temp, [&](const char* name) {
        return linkat(copy.dir, copy.name, to.dir, name, 0) == 0 ? 0 : errno;
    });
    if (err == EPERM || isUnsupported(err)) unkept |= kUnkeptHardLinks;
    if (copyInstead(err)) return false;
    if (err == 0) {
        if (replacing) {
            UniqueFd fd(openat(copy.dir, copy.name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
            err = fd.valid() ? sync.flushData(fd.get()) : errno;
        }
        if (err == 0) err = sync.rename(to.dir, temp.c_str(), to.dir, to.name);
        if (err != 0) unlinkat(to.dir, temp.c_str(), 0);
    }
    result = err == 0 ? fsOk() : errnoError(err, *to.text, PathRole::File);
    return true;
}

}  // namespace zv
