#include "platform/linux/FileCopy.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include "platform/FileSystem.h"
#include "platform/linux/DosAttributes.h"
#include "platform/linux/ErrorMapping.h"
#include "platform/linux/FileMetadata.h"
#include "platform/linux/TempFile.h"
#include "platform/linux/UniqueFd.h"
#include "platform/linux/WriteAll.h"

namespace zv {

namespace {

// The copy buffer stays small enough for the processor's cache: a megabyte
// buffer halved the throughput of a read/write copy to tmpfs.
constexpr std::size_t kChunk = 128 << 10;
// One kernel copy call may move this much; fewer calls for large files.
constexpr std::size_t kKernelChunk = std::size_t{1} << 30;
constexpr std::size_t kMinBuffer = 64 << 10;
// From this size the source is read ahead in larger steps (the kernel's
// sequential read-ahead): fewer, longer reads from a disk.
constexpr off_t kSequentialFrom = 1 << 20;
// Set-user and set-group bits are not carried over: the copy belongs to
// whoever runs the backup, often root.
constexpr mode_t kCopiedModeBits = 0777 | S_ISVTX;
constexpr std::size_t kPage = 4096;

struct FreeBuffer {
    void operator()(char* p) const { std::free(p); }
};
using CopyBuffer = std::unique_ptr<char, FreeBuffer>;

// A buffer that starts on a page: the kernel copies to and from it about a
// tenth faster than from one a few bytes off (what a plain allocation of
// this size gives). Left uninitialised: clearing a large buffer for every
// small file costs more than copying the file.
CopyBuffer pageAlignedBuffer(std::size_t length) {
    return CopyBuffer(
        static_cast<char*>(std::aligned_alloc(kPage, (length + kPage - 1) / kPage * kPage)));
}

// The buffer fits the file (one read more sees its end).
int copyByReadWrite(int in, int out, off_t size) {
    const std::size_t wanted = static_cast<std::size_t>(std::max<off_t>(size, 0)) + 1;
    const std::size_t length = std::clamp(wanted, kMinBuffer, kChunk);
    const CopyBuffer buffer = pageAlignedBuffer(length);
    if (!buffer) return ENOMEM;
    for (;;) {
        const ssize_t n = TEMP_FAILURE_RETRY(read(in, buffer.get(), length));
        if (n == -1) return errno;
        if (n == 0) return 0;
        if (int err = writeAll(out, buffer.get(), static_cast<std::size_t>(n))) return err;
    }
}

// Errors after which the plain read/write loop can go on from where the
// kernel copy stopped.
bool kernelCopyUnsupported(int err) {
    return err == EXDEV || err == EINVAL || err == ENOSYS || err == EOPNOTSUPP || err == EBADF ||
           err == ETXTBSY;
}

// Copies [from, to) through a buffer, at the same offsets in both files.
int copyRangeByReadWrite(int in, int out, off_t from, off_t to) {
    const CopyBuffer buffer = pageAlignedBuffer(kChunk);
    if (!buffer) return ENOMEM;
    while (from < to) {
        const std::size_t wanted = static_cast<std::size_t>(std::min<off_t>(to - from, kChunk));
        const ssize_t n = TEMP_FAILURE_RETRY(pread(in, buffer.get(), wanted, from));
        if (n == -1) return errno;
        if (n == 0) return 0;  // the source shrank meanwhile
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = TEMP_FAILURE_RETRY(
                pwrite(out, buffer.get() + done, static_cast<std::size_t>(n - done), from + done));
            if (w == -1) return errno;
            if (w == 0) return ENOSPC;
            done += w;
        }
        from += n;
    }
    return 0;
}

// Copies [from, to) at the same offsets, by the kernel where it can.
int copyRange(int in, int out, off_t from, off_t to) {
    while (from < to) {
        loff_t inAt = from;
        loff_t outAt = from;
        const std::size_t length =
            static_cast<std::size_t>(std::min<off_t>(to - from, kKernelChunk));
        const ssize_t n = TEMP_FAILURE_RETRY(copy_file_range(in, &inAt, out, &outAt, length, 0));
        if (n > 0) {
            from += n;
            continue;
        }
        if (n == 0) return 0;
        if (kernelCopyUnsupported(errno)) return copyRangeByReadWrite(in, out, from, to);
        return errno;
    }
    return 0;
}

// A file with holes: only its data is copied (found with SEEK_DATA and
// SEEK_HOLE), and the holes stay holes. A kernel copy of the whole file would
// write every hole out as zeros on most file systems.
int copySparse(int in, int out, off_t size) {
    off_t at = 0;
    while (at < size) {
        const off_t data = lseek(in, at, SEEK_DATA);
        if (data < 0 && errno == ENXIO) break;  // only a hole is left
        if (data < 0) return copyRange(in, out, at, size);
        const off_t hole = lseek(in, data, SEEK_HOLE);
        if (hole < 0) return errno;
        if (int err = copyRange(in, out, data, hole)) return err;
        at = hole;
    }
    return ftruncate(out, size) == 0 ? 0 : errno;
}

// Fewer blocks than the size needs: the file may have holes.
bool mayHaveHoles(const struct stat& st) {
    return st.st_blocks * 512 < st.st_size;
}

// Errors by which a file system pair refuses a kind of kernel copy for
// every file, not just this one.
bool refusedForAll(int err) {
    return err == EXDEV || err == EOPNOTSUPP || err == ENOSYS || err == ENOTTY;
}

// Shares the blocks where the file system can (reflink, which keeps holes),
// else copies only the data of a file with holes, else lets the kernel copy,
// else copies through a buffer. A kind of copy the file systems refused
// once is not asked for again.
int copyData(int in, int out, const struct stat& src, KernelCopyRefusals& refused) {
    refused.moveTo(src.st_dev);
    if (!refused.clone) {
        if (ioctl(out, FICLONE, in) == 0) return 0;
        refused.clone = refusedForAll(errno);
    }
    if (src.st_size >= kSequentialFrom) (void)posix_fadvise(in, 0, 0, POSIX_FADV_SEQUENTIAL);
    if (mayHaveHoles(src)) return copySparse(in, out, src.st_size);
    if (refused.range) return copyByReadWrite(in, out, src.st_size);
    for (;;) {
        const ssize_t n =
            TEMP_FAILURE_RETRY(copy_file_range(in, nullptr, out, nullptr, kKernelChunk, 0));
        if (n > 0) continue;
        if (n == 0) return 0;
        if (!kernelCopyUnsupported(errno)) return errno;
        refused.range = refusedForAll(errno);
        return copyByReadWrite(in, out, src.st_size);
    }
}

int openSource(const PathAt& from) {
    const int flags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    // Reading the source must not change its access time, which the
    // walks compare.
    int fd = openat(from.dir, from.name, flags | O_NOATIME);
    if (fd < 0 && errno == EPERM) fd = openat(from.dir, from.name, flags);
    return fd;
}

// Fills the open temporary file and gives it the source's metadata. The
// owner comes before the extended attributes (a change of owner clears file
// capabilities), the permission bits after the ACLs; an owner and bits the
// new file already has (as made, or from its folder) are not set again.
// `made` gets the new file's identity.
int fillTemp(int in, int out, const struct stat& src, CopyMemory& memory, struct stat& made) {
    if (int err = copyData(in, out, src, memory.kernelRefusals)) return err;
    if (fstat(out, &made) != 0) return errno;
    const bool sameOwner = made.st_uid == src.st_uid && made.st_gid == src.st_gid;
    if (!sameOwner) copyOwner(out, src, memory.unkept);
    bool changed;  // whether an attribute was written (an ACL changes the bits)
    if (int err = copyExtendedAttributes(in, out, false, false, memory.unkept, changed)) return err;
    const mode_t wanted = src.st_mode & kCopiedModeBits;
    const bool sameBits = sameOwner && !changed && (made.st_mode & 07777) == wanted;
    if (!sameBits && fchmod(out, wanted) != 0) return errno;
    const timespec times[2] = {src.st_atim, src.st_mtim};
    if (futimens(out, times) != 0) return errno;
    return 0;
}

// A folder whose file system cannot make a file without a name (FAT, some
// network file systems, old kernels): the copy is written under a temporary
// name instead.
bool unnamedUnsupported(int err) {
    return err == EOPNOTSUPP || err == EISDIR || err == EINVAL || err == ENOENT;
}

// A file without a name in the folder of `to`, made with the permission
// bits it is to have (no one can open it before it has a name).
UniqueFd openUnnamedBeside(const PathAt& to, mode_t bits) {
    constexpr int kFlags = O_TMPFILE | O_WRONLY | O_CLOEXEC;
    if (to.dir != AT_FDCWD) return UniqueFd(openat(to.dir, ".", kFlags, bits));
    return UniqueFd(open(folderForTemp(*to.text).c_str(), kFlags, bits));
}

// An existing target must be a file or link that may be replaced; `exists`
// tells whether there is one.
FsError checkTarget(const PathAt& to, bool& exists) {
    struct stat st;
    exists = fstatat(to.dir, to.name, &st, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists) return errno == ENOENT ? fsOk() : errnoError(errno, *to.text, PathRole::Folder);
    if (S_ISDIR(st.st_mode)) return fsFail(kErrAccessDenied, "Target is a folder: " + *to.text);
    if (S_ISREG(st.st_mode) && isReadOnly(st.st_mode, readRecordedBitsOf(to)))
        return fsFail(kErrAccessDenied, "Target is read-only: " + *to.text);
    return fsOk();
}

// What lies at a copy's target, asked once: before the copy, or when the
// unnamed copy finds its name taken.
struct TargetCheck {
    bool asked = false;
    bool present = false;

    FsError ask(const PathAt& to) {
        asked = true;
        return checkTarget(to, present);
    }
};

// From this size a target is checked before the data is copied: a refused
// target would waste the copy, which then costs more than the look-up.
constexpr off_t kCheckFirstFrom = 64 << 10;

// Gives a copy written without a name its own name where nothing is there
// (then nothing of a broken-off copy is ever left under any name). `named`
// stays false where something is, or has appeared since: the target is then
// checked, and the caller replaces it.
FsError nameIfFree(int fd, const PathAt& to, TargetCheck& target, DiskSync& sync, bool& named) {
    named = false;
    if (target.present) return fsOk();
    const int err = sync.giveName(fd, to.dir, to.name);
    named = err == 0;
    if (err != EEXIST) return named ? fsOk() : errnoError(err, *to.text, PathRole::File);
    return target.ask(to);
}

// Names a copy written without a name: its own name where that is free;
// where it replaces a file, a small file of one name goes to the run's batch
// where one is open (taking `out`), any other is on the disk before it takes
// the name, so that the old file stays whole until the new one replaces it.
FsError nameUnnamed(UniqueFd& out, const struct stat& src, const PathAt& from, const PathAt& to,
                    TargetCheck& target, DiskSync& sync, ReplacementBatch& batch) {
    bool named = false;
    if (FsError e = nameIfFree(out.get(), to, target, sync, named); e.failed() || named) return e;
    if (target.present && batch.takes(src)) return batch.add(std::move(out), to, *from.text);
    int err = target.present ? sync.flushData(out.get()) : 0;
    if (err == 0) err = nameUnnamedOver(out.get(), to, sync);
    return err == 0 ? fsOk() : errnoError(err, *to.text, PathRole::File);
}

// Writes and names the copy: unnamed where the file system can, else under a
// temporary name (`temp`, for the caller's rename), for which the target is
// checked first.
FsError writeCopy(int in, const struct stat& src, const PathAt& from, const PathAt& to,
                  TargetCheck& target, DiskSync& sync, CopyMemory& memory, std::string& temp,
                  struct stat& made) {
    UniqueFd out = openUnnamedBeside(to, src.st_mode & 0777);
    if (!out.valid() && !unnamedUnsupported(errno))
        return errnoError(errno, *to.text, PathRole::Folder);
    const bool unnamed = out.valid();
    int err = 0;
    if (!unnamed) {
        if (!target.asked)
            if (FsError refused = target.ask(to); refused.failed()) return refused;
        out = createTempFileBeside(to, 0600, temp, err);
        if (!out.valid()) return errnoError(err, *to.text, PathRole::Folder);
    }
    err = fillTemp(in, out.get(), src, memory, made);
    if (err == 0 && !unnamed && target.present) err = sync.flushData(out.get());
    if (err != 0) return errnoError(err, *to.text, PathRole::File);
    if (unnamed)
        if (FsError e = nameUnnamed(out, src, from, to, target, sync, memory.batch); e.failed())
            return e;
    if (int closeErr = out.close()) return errnoError(closeErr, *to.text, PathRole::File);
    return fsOk();
}

// `in` is the source, open, and `src` what it is: a regular file.
FsError copyRegular(int in, const struct stat& src, const PathAt& from, const PathAt& to,
                    DiskSync& sync, CopyMemory& memory, FolderHandles& handles) {
    TargetCheck target;
    if (src.st_size >= kCheckFirstFrom || src.st_nlink > 1)
        if (FsError refused = target.ask(to); refused.failed()) return refused;
    if (const std::string* copy = memory.links.copyOf(src)) {
        FsError linked;
        if (linkReplacing(handles.at(*copy), to, target.present, sync, linked, memory.unkept)) {
            if (linked.ok()) memory.links.linked(src);
            return linked;
        }
    }
    std::string temp;
    struct stat made {};
    FsError written = writeCopy(in, src, from, to, target, sync, memory, temp, made);
    if (written.ok() && !temp.empty())
        if (int err = sync.rename(to.dir, temp.c_str(), to.dir, to.name))
            written = errnoError(err, *to.text, PathRole::File);
    if (written.ok()) {
        memory.links.remember(src, *to.text, made);
        memory.written = static_cast<std::uint64_t>(src.st_size);
        return written;
    }
    if (!temp.empty()) unlinkat(to.dir, temp.c_str(), 0);
    return written;
}

// A link has no data to flush: its target text lives in its inode. It keeps
// its owner and times; Linux gives links no permission bits and no
// attributes of the user namespace.
FsError copyLink(const PathAt& from, const PathAt& to, const struct stat& src, DiskSync& sync,
                 std::uint32_t& unkept) {
    // Filled with NULs: the text read ends at the first one.
    std::string target(static_cast<std::size_t>(src.st_size) + 1, '\0');
    ssize_t n = readlinkat(from.dir, from.name, target.data(), target.size());
    if (n < 0) return errnoError(errno, *from.text, PathRole::File);
    if (static_cast<std::size_t>(n) >= target.size())
        return fsFail(kErrObjectNotAvailable, "Link changed while being copied: " + *from.text);
    std::string temp;
    int err = withFreeTempNameBeside(to, temp, [&](const char* name) {
        return symlinkat(target.c_str(), to.dir, name) == 0 ? 0 : errno;
    });
    if (err != 0) return errnoError(err, *to.text, PathRole::Folder);
    if (geteuid() == 0 &&
        fchownat(to.dir, temp.c_str(), src.st_uid, src.st_gid, AT_SYMLINK_NOFOLLOW) != 0)
        unkept |= kUnkeptOwner;
    const timespec times[2] = {src.st_atim, src.st_mtim};
    if (utimensat(to.dir, temp.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) err = errno;
    if (err == 0) err = sync.rename(to.dir, temp.c_str(), to.dir, to.name);
    if (err == 0) return fsOk();
    unlinkat(to.dir, temp.c_str(), 0);
    return errnoError(err, *to.text, PathRole::File);
}

// Both paths of a copy or a move given.
FsError checkGiven(const PathAt& from, const PathAt& to) {
    if (from.text->empty() || to.text->empty())
        return fsFail(kErrInvalidArgument, "Invalid argument: empty path");
    return fsOk();
}

// What a copy and a move both require of the source: a file or link to
// take. Fills `src` with its lstat data.
FsError checkSource(const PathAt& from, const PathAt& to, struct stat& src) {
    const std::string& source = *from.text;
    if (FsError e = checkGiven(from, to); e.failed()) return e;
    if (fstatat(from.dir, from.name, &src, AT_SYMLINK_NOFOLLOW) != 0)
        return errnoError(errno, source, PathRole::File);
    if (S_ISDIR(src.st_mode)) return fsFail(kErrFileNotFound, "Source is a folder: " + source);
    if (!S_ISREG(src.st_mode) && !S_ISLNK(src.st_mode))
        return fsFail(kErrAccessDenied, "Not a regular file: " + source);
    return fsOk();
}

// The source of a copy, opened, and what it is (`src`): a regular file, or a
// link, which does not open (O_NOFOLLOW) and leaves `in` closed. A source
// the caller saw as a file is opened at once (each search of its folder for
// the name costs, most in a large folder); any other is looked at by name
// first, so that a FIFO or a device is never opened.
FsError openCopySource(const PathAt& from, const PathAt& to, SourceSeen seen, UniqueFd& in,
                       struct stat& src) {
    const std::string& source = *from.text;
    if (seen == SourceSeen::Unknown) {
        if (FsError e = checkSource(from, to, src); e.failed() || S_ISLNK(src.st_mode)) return e;
    } else if (FsError e = checkGiven(from, to); e.failed()) {
        return e;
    }
    const int fd = openSource(from);
    const int err = errno;
    in = UniqueFd(fd);
    if (!in.valid()) {
        if (err != ELOOP) return errnoError(err, source, PathRole::File);
        if (FsError e = checkSource(from, to, src); e.failed()) return e;
        return S_ISLNK(src.st_mode) ? fsOk() : errnoError(err, source, PathRole::File);
    }
    if (fstat(in.get(), &src) != 0) return errnoError(errno, source, PathRole::File);
    if (S_ISDIR(src.st_mode)) return fsFail(kErrFileNotFound, "Source is a folder: " + source);
    if (!S_ISREG(src.st_mode)) return fsFail(kErrAccessDenied, "Not a regular file: " + source);
    return fsOk();
}

}  // namespace

FsError copyReplacing(const PathAt& from, const PathAt& to, SourceSeen seen, DiskSync& sync,
                      CopyMemory& memory, FolderHandles& handles) {
    UniqueFd in;
    struct stat src;
    if (FsError e = openCopySource(from, to, seen, in, src); e.failed()) return e;
    if (in.valid()) return copyRegular(in.get(), src, from, to, sync, memory, handles);
    bool replacing = false;
    if (FsError e = checkTarget(to, replacing); e.failed()) return e;
    return copyLink(from, to, src, sync, memory.unkept);
}

FsError moveReplacing(const PathAt& from, const PathAt& to, DiskSync& sync) {
    struct stat src;
    bool replacing = false;
    if (FsError e = checkSource(from, to, src); e.failed()) return e;
    if (FsError e = checkTarget(to, replacing); e.failed()) return e;
    if (int err = sync.rename(from.dir, from.name, to.dir, to.name))
        return errnoError(err, *to.text, PathRole::File);
    // Two names of one file: rename leaves both, and the target already is
    // the file, so the old name goes.
    struct stat left;
    if (fstatat(from.dir, from.name, &left, AT_SYMLINK_NOFOLLOW) == 0 &&
        left.st_ino == src.st_ino && left.st_dev == src.st_dev &&
        unlinkat(from.dir, from.name, 0) != 0)
        return errnoError(errno, *from.text, PathRole::File);
    return fsOk();
}

}  // namespace zv
