#include "platform/linux/LinuxFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <utility>

#include "platform/Attributes.h"
#include "platform/Paths.h"
#include "platform/linux/BackgroundCount.h"
#include "platform/linux/DirEntries.h"
#include "platform/linux/DosAttributes.h"
#include "platform/linux/EntryStat.h"
#include "platform/linux/ErrorMapping.h"
#include "platform/linux/FileCopy.h"
#include "platform/linux/FolderMetadata.h"
#include "platform/linux/FolderTree.h"
#include "platform/linux/UniqueFd.h"

namespace zv {

namespace {

PathInfo infoOf(const struct statx& sx) {
    PathInfo info;
    info.presence = Presence::Present;
    info.kind = kindOf(sx.stx_mode);
    info.id = idOf(sx);
    info.mountRoot = isMountRoot(sx);
    return info;
}

PathInfo lookupFailed(int err, const std::string& path) {
    PathInfo info;
    info.presence = err == ENOENT || err == ENOTDIR ? Presence::Absent : Presence::Unknown;
    info.error = errnoError(err, path, PathRole::File);
    return info;
}

UniqueFd openFolder(const PathAt& path, int& err) {
    UniqueFd fd(openat(path.dir, path.name, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    err = fd.valid() ? 0 : errno;
    return fd;
}

// The recorded bits of the entries of one folder: read relative to the
// folder where the kernel can, else through the full path.
class FolderRecordedBits {
  public:
    FolderRecordedBits(int dirFd, const std::string& folder) : dirFd_(dirFd), folder_(folder) {}
    std::uint32_t of(const char* name) {
        std::uint32_t bits = 0;
        if (relative_ && readRecordedBitsAt(dirFd_, name, bits)) return bits;
        // The whole path, made only here: most listings never need it.
        if (relative_) {
            full_ = folder_;
            endWithSeparator(full_);
            base_ = full_.size();
            relative_ = false;
        }
        full_.resize(base_);
        full_ += name;
        return readRecordedBits(full_.c_str());
    }

  private:
    int dirFd_;
    const std::string& folder_;
    std::string full_;
    std::size_t base_ = 0;
    bool relative_ = true;
};

// Reads the entries of an open folder. Returns 0 or an errno value.
int readEntries(int fd, const std::string& path, ListDetail detail, std::vector<Entry>& files,
                std::vector<Entry>& folders) {
    FolderRecordedBits recordedBits(fd, path);
    int statErr = 0;
    int err = forEachDirEntry(fd, [&](const char* name, unsigned char type) {
        if (detail == ListDetail::FileNames && type != DT_DIR && type != DT_UNKNOWN) {
            Entry& file = files.emplace_back();
            file.name = name;
            file.kind = kindOf(static_cast<std::uint16_t>(modeOfDirType(type)));
            return true;
        }
        struct statx sx;
        if (int e = statEntry(fd, name, sx)) {
            if (e == ENOENT) return true;  // removed since it was listed
            statErr = e;
            return false;
        }
        std::uint32_t recorded = detail == ListDetail::Full && mayCarryRecordedBits(sx.stx_mode)
                                     ? recordedBits.of(name)
                                     : 0;
        Entry entry;
        fillEntry(sx, name, recorded, entry);
        (entry.kind == EntryKind::Folder ? folders : files).push_back(std::move(entry));
        return true;
    });
    return err != 0 ? err : statErr;
}

}  // namespace

FsError LinuxFileSystem::listFolder(const std::string& path, std::vector<Entry>& files,
                                    std::vector<Entry>& folders, ListDetail detail) {
    files.clear();
    folders.clear();
    PathAt at;
    if (FsError e = handles_.place(path, at); e.failed()) return e;
    int err = 0;
    UniqueFd dir = openFolder(at, err);
    if (!dir.valid()) return errnoError(err, path, PathRole::Folder);
    err = readEntries(dir.get(), path, detail, files, folders);
    if (err != 0) return errnoError(err, path, PathRole::Folder);
    return fsOk();
}

FsError LinuxFileSystem::listNames(const std::string& path, std::vector<FolderName>& names) {
    names.clear();
    PathAt at;
    if (FsError e = handles_.place(path, at); e.failed()) return e;
    int err = 0;
    UniqueFd dir = openFolder(at, err);
    if (!dir.valid()) return errnoError(err, path, PathRole::Folder);
    err = forEachDirEntry(dir.get(), [&](const char* name, unsigned char type) {
        const mode_t mode = modeOfDirType(type);
        names.push_back(FolderName{name, kindOf(static_cast<std::uint16_t>(mode)), mode != 0});
        return true;
    });
    if (err != 0) return errnoError(err, path, PathRole::Folder);
    return fsOk();
}

FsError LinuxFileSystem::stat(const std::string& path, Entry& out) {
    PathAt at;
    if (FsError e = handles_.place(path, at); e.failed()) return e;
    struct statx sx;
    int err = statEntry(at.dir, at.name, sx);
    if (err != 0) return errnoError(err, path, PathRole::File);
    std::uint32_t recorded = mayCarryRecordedBits(sx.stx_mode) ? readRecordedBitsOf(at) : 0;
    fillEntry(sx, std::string(lastComponent(path)), recorded, out);
    return fsOk();
}

PathInfo LinuxFileSystem::lookup(const std::string& path) {
    PathAt at;
    if (FsError e = handles_.place(path, at); e.failed())
        return PathInfo{Presence::Unknown, EntryKind::File, {}, false, e};
    struct statx sx;
    const int flags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | AT_STATX_SYNC_AS_STAT;
    if (statx(at.dir, at.name, flags, STATX_TYPE | STATX_INO, &sx) != 0)
        return lookupFailed(errno, path);
    return infoOf(sx);
}

FsError LinuxFileSystem::resolveFolder(const std::string& path, std::string& real, PathInfo& info) {
    real.clear();
    info = PathInfo{};
    if (FsError e = checkPath(path); e.failed()) return info.error = e;
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr),
                                                         &std::free);
    if (!resolved) return (info = lookupFailed(errno, path)).error;
    struct statx sx;
    if (statx(AT_FDCWD, resolved.get(), AT_NO_AUTOMOUNT, STATX_TYPE | STATX_INO, &sx) != 0)
        return (info = lookupFailed(errno, path)).error;
    info = infoOf(sx);
    if (info.kind != EntryKind::Folder) {
        info = lookupFailed(ENOTDIR, path);
        return info.error;
    }
    real = resolved.get();
    return fsOk();
}

bool LinuxFileSystem::fileExists(const std::string& path) {
    PathAt at;
    if (!handles_.place(path, at).ok()) return false;
    struct stat st;
    if (fstatat(at.dir, at.name, &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (S_ISREG(st.st_mode)) return true;
    if (!S_ISLNK(st.st_mode)) return false;
    struct stat target;
    return fstatat(at.dir, at.name, &target, 0) != 0 || !S_ISDIR(target.st_mode);
}

bool LinuxFileSystem::folderExists(const std::string& path) {
    PathAt at;
    if (!handles_.place(path, at).ok()) return false;
    struct stat st;
    return fstatat(at.dir, at.name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

FsError LinuxFileSystem::createFolder(const std::string& path) {
    PathAt at;
    if (FsError e = handles_.place(path, at); e.failed()) return e;
    if (mkdirat(at.dir, at.name, 0777) != 0) return errnoError(errno, path, PathRole::Folder);
    return fsOk();
}

FsError LinuxFileSystem::getAttributes(const std::string& path, std::uint32_t& attributes) {
    attributes = 0;
    PathAt at;
    if (FsError e = handles_.place(path, at); e.failed()) return e;
    struct stat st;
    if (fstatat(at.dir, at.name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errnoError(errno, path, PathRole::File);
    std::uint32_t recorded = mayCarryRecordedBits(st.st_mode) ? readRecordedBitsOf(at) : 0;
    attributes = composeAttributes(st.st_mode, lastComponent(path), recorded);
    return fsOk();
}

namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

// The bits to record for a wish: the directory bit is implied, and so is the
// hidden bit of a name that starts with ".".
std::uint32_t bitsToRecord(bool isFolder, std::string_view name, std::uint32_t wanted) {
    std::uint32_t bits = wanted & recordableBits(isFolder);
    if (!name.empty() && name.front() == '.') bits &= ~kAttrHidden;
    return bits;
}

FsError changeMode(const PathAt& path, mode_t mode) {
    if (fchmodat(path.dir, path.name, mode, 0) != 0)
        return errnoError(errno, *path.text, PathRole::File);
    return fsOk();
}

FsError record(const PathAt& path, std::uint32_t bits) {
    if (readRecordedBitsOf(path) == bits) return fsOk();
    int err = writeRecordedBits(callablePath(path).c_str(), bits);
    return err == 0 ? fsOk() : errnoError(err, *path.text, PathRole::File);
}

}  // namespace

FsError LinuxFileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
    PathAt at;
    if (FsError e = handles_.place(path, at); e.failed()) return e;
    struct stat st;
    if (fstatat(at.dir, at.name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errnoError(errno, path, PathRole::File);
    if (!mayCarryRecordedBits(st.st_mode)) return fsOk();  // links and devices keep nothing
    bool isFolder = S_ISDIR(st.st_mode);
    std::uint32_t bits = bitsToRecord(isFolder, lastComponent(path), attributes);
    if (isFolder) return record(at, bits);
    // Write permission is needed to record, so it is given back first and
    // taken away last.
    bool wantReadOnly = attributes & kAttrReadOnly;
    bool isReadOnlyNow = (st.st_mode & kWriteBits) == 0;
    mode_t mode = st.st_mode & 07777;
    if (!wantReadOnly && isReadOnlyNow) {
        if (FsError e = changeMode(at, mode | S_IWUSR); e.failed()) return e;
    }
    if (FsError e = record(at, bits); e.failed()) return e;
    if (wantReadOnly && !isReadOnlyNow) return changeMode(at, mode & ~kWriteBits);
    return fsOk();
}

FsError LinuxFileSystem::deleteFile(const std::string& path, bool force) {
    PathAt at;
    if (FsError e = handles_.place(path, at); e.failed()) return e;
    struct stat st;
    if (fstatat(at.dir, at.name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errnoError(errno, path, PathRole::File);
    if (S_ISDIR(st.st_mode)) return fsFail(kErrFileNotFound, "Is a folder, not a file: " + path);
    if (!force && S_ISREG(st.st_mode) && isReadOnly(st.st_mode, readRecordedBitsOf(at)))
        return fsFail(kErrAccessDenied, "Read-only: " + path);
    if (unlinkat(at.dir, at.name, 0) != 0) return errnoError(errno, path, PathRole::File);
    return fsOk();
}

FsError LinuxFileSystem::removeEmptyFolder(const std::string& path) {
    PathAt at;
    if (FsError e = handles_.place(path, at); e.failed()) return e;
    if (unlinkat(at.dir, at.name, AT_REMOVEDIR) != 0)
        return errnoError(errno, path, PathRole::Folder);
    handles_.forget();  // it may be one of them
    return fsOk();
}

FsError LinuxFileSystem::copyFile(const std::string& from, const std::string& to) {
    return copy(from, to, SourceSeen::Unknown);
}

FsError LinuxFileSystem::copyListedFile(const std::string& from, const std::string& to) {
    return copy(from, to, SourceSeen::AsFile);
}

FsError LinuxFileSystem::copy(const std::string& from, const std::string& to, SourceSeen seen) {
    PathAt fromAt, toAt;
    if (FsError e = handles_.place(from, fromAt); e.failed()) return e;
    if (FsError e = handles_.place(to, toAt); e.failed()) return e;
    FsError copied = copyReplacing(fromAt, toAt, seen, sync(), memory_, handles_);
    if (copied.ok()) writeBehind_.wrote(toAt.dir, std::exchange(memory_.written, 0));
    if (memory_.batch.full()) nameBatch();
    return copied;
}

FsError LinuxFileSystem::keepFolderMetadata(const std::string& from, const std::string& to,
                                            FolderStage stage) {
    PathAt fromAt, toAt;
    if (FsError e = handles_.place(from, fromAt); e.failed()) return e;
    if (FsError e = handles_.place(to, toAt); e.failed()) return e;
    if (stage == FolderStage::Done && memory_.batch.holdsIn(toAt)) {
        memory_.batch.deferFolder(from, to);
        return fsOk();
    }
    return zv::keepFolderMetadata(fromAt, toAt, stage, memory_.unkept);
}

void LinuxFileSystem::nameBatch() {
    memory_.batch.nameAll(sync(), [&](const ReplacementBatch::Folder& f) {
        return zv::keepFolderMetadata(handles_.at(f.from), handles_.at(f.to), FolderStage::Done,
                                      memory_.unkept);
    });
}

std::vector<LateFailure> LinuxFileSystem::endReplacementBatches() {
    nameBatch();
    memory_.batch.setOn(false);
    return memory_.batch.takeFailures();
}

std::uint32_t LinuxFileSystem::takeUnkept() {
    memory_.links.clear();
    memory_.kernelRefusals = {};
    return std::exchange(memory_.unkept, 0);
}

FsError LinuxFileSystem::moveFile(const std::string& from, const std::string& to) {
    PathAt fromAt, toAt;
    if (FsError e = handles_.place(from, fromAt); e.failed()) return e;
    if (FsError e = handles_.place(to, toAt); e.failed()) return e;
    return moveReplacing(fromAt, toAt, sync());
}

FsError LinuxFileSystem::countFiles(const std::string& path, std::uint64_t& count) {
    count = 0;
    if (FsError e = checkPath(path); e.failed()) return e;
    return countTreeFiles(path, count);
}

std::unique_ptr<PendingCount> LinuxFileSystem::startFileCounts(std::vector<std::string> folders) {
    return countFilesInBackground(std::move(folders));
}

std::string LinuxFileSystem::parentFolder(const std::string& path) {
    return parentOfPath(path);
}

std::string LinuxFileSystem::absolutePath(const std::string& path) {
    if (isAbsolutePath(path)) return normalisedAbsolute(path, "/");
    std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);
    return normalisedAbsolute(path, cwd ? cwd.get() : "/");
}

std::string LinuxFileSystem::driveName(const std::string& path) {
    std::vector<MountEntry> mounts;
    if (path.empty() || !readMountTable(sources_.mountInfoPath, mounts)) return "/";
    const MountEntry* mount = mountHolding(mounts, absolutePath(path));
    return mount ? mount->mountPoint : "/";
}

FsError LinuxFileSystem::volumeName(const std::string& path, std::string& label) {
    label.clear();
    if (FsError e = checkPath(path); e.failed()) return e;
    std::vector<MountEntry> mounts;
    if (!readMountTable(sources_.mountInfoPath, mounts))
        return fsFail(kErrPathNotFound, "Cannot read the mount table: " + sources_.mountInfoPath);
    const MountEntry* mount = mountHolding(mounts, absolutePath(path));
    if (!mount) return fsFail(kErrPathNotFound, "No mounted file system holds: " + path);
    label = labelOf(*mount, sources_);
    return fsOk();
}

std::vector<Volume> LinuxFileSystem::volumes() {
    std::vector<MountEntry> mounts;
    std::vector<Volume> out;
    if (!readMountTable(sources_.mountInfoPath, mounts)) return out;
    for (const MountEntry& m : userMounts(mounts))
        out.push_back({m.mountPoint, labelOf(m, sources_)});
    return out;
}

FsError LinuxFileSystem::diskIsMounted(const std::string& path) {
    if (FsError e = checkPath(path); e.failed()) return e;
    std::vector<MountEntry> mounts;
    if (!readMountTable(sources_.mountInfoPath, mounts))
        return fsFail(kErrObjectNotAvailable,
                      "Cannot read the mount table: " + sources_.mountInfoPath);
    std::string fstab;
    (void)readTextFile(sources_.fstabPath, fstab);  // no table: no disks expected by it
    const std::string missing = missingDiskFolder(mounts, parseFstabMountPoints(fstab),
                                                  sources_.removableRoots, absolutePath(path));
    if (missing.empty()) return fsOk();
    return fsFail(kErrObjectNotAvailable, "No disk is mounted at " + missing);
}

FsError LinuxFileSystem::flushVolume(const std::string& path) {
    if (FsError e = checkPath(path); e.failed()) return e;
    UniqueFd fd(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) return errnoError(errno, path, PathRole::Folder);
    int err = writeBehind_.takeError();
    if (int last = sync().flushFileSystem(fd.get()); err == 0) err = last;
    if (err != 0) return errnoError(err, path, PathRole::Folder);
    // A disk mounted inside the backup holds backup files too.
    std::vector<MountEntry> mounts;
    if (!readMountTable(sources_.mountInfoPath, mounts)) return fsOk();
    const std::string folder = absolutePath(path);
    for (const MountEntry& m : mounts) {
        if (!pathLiesBelow(m.mountPoint, folder)) continue;
        UniqueFd inner(open(m.mountPoint.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!inner.valid()) continue;  // one the run cannot open it cannot have written to
        if (int e = sync().flushFileSystem(inner.get()))
            return errnoError(e, m.mountPoint, PathRole::Folder);
    }
    return fsOk();
}

namespace {

// Holds a flock until it goes.
class FlockHeld final : public HeldLock {
  public:
    explicit FlockHeld(UniqueFd fd) : fd_(std::move(fd)) {}

  private:
    UniqueFd fd_;
};

}  // namespace

FsError LinuxFileSystem::lockExclusive(const std::string& path, std::unique_ptr<HeldLock>& lock) {
    lock.reset();
    if (FsError e = checkPath(path); e.failed()) return e;
    UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd.valid()) return errnoError(errno, path, PathRole::File);
    if (flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
        lock = std::make_unique<FlockHeld>(std::move(fd));
        return fsOk();
    }
    if (errno == EWOULDBLOCK) return fsFail(kErrAccessDenied, "In use by another run: " + path);
    return fsOk();  // a file system without locks: nothing to hold
}

}  // namespace zv
