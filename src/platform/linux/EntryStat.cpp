#include "platform/linux/EntryStat.h"

#include <sys/sysmacros.h>

#include <cerrno>

#include "platform/linux/DosAttributes.h"

namespace zv {

int statEntry(int dirFd, const char* name, struct statx& sx) {
    int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | AT_STATX_SYNC_AS_STAT;
    return statx(dirFd, name, flags, kEntryStatMask, &sx) == 0 ? 0 : errno;
}

// A file time beyond what DateTime holds (touch can set year 1000 or 3000)
// comes out as the nearest end, never as some other date.
DateTime toDateTime(const struct statx_timestamp& ts) {
    return clampedDateTime(ts.tv_sec, ts.tv_nsec);
}

FileId idOf(const struct statx& sx) {
    return FileId{makedev(sx.stx_dev_major, sx.stx_dev_minor), sx.stx_ino};
}

bool isMountRoot(const struct statx& sx) {
    return (sx.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) &&
           (sx.stx_attributes & STATX_ATTR_MOUNT_ROOT);
}

EntryKind kindOf(std::uint16_t mode) {
    if (S_ISREG(mode)) return EntryKind::File;
    if (S_ISDIR(mode)) return EntryKind::Folder;
    if (S_ISLNK(mode)) return EntryKind::Symlink;
    return EntryKind::Special;
}

void fillEntry(const struct statx& sx, std::string name, std::uint32_t recorded, Entry& out) {
    out.kind = kindOf(sx.stx_mode);
    out.size = out.kind == EntryKind::Folder || out.kind == EntryKind::Special ? 0 : sx.stx_size;
    out.modified = toDateTime(sx.stx_mtime);
    out.changed = toDateTime(sx.stx_ctime);
    out.created = (sx.stx_mask & STATX_BTIME) ? toDateTime(sx.stx_btime) : out.modified;
    out.attributes = composeAttributes(sx.stx_mode, name, recorded);
    out.id = idOf(sx);
    out.mountRoot = isMountRoot(sx);
    out.name = std::move(name);
}

}  // namespace zv
