#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/DateTime.h"
#include "platform/FsError.h"
#include "platform/PendingCount.h"

namespace zv {

// The separator the logic joins and splits paths with.
inline constexpr char kSep = '/';

enum class EntryKind { File, Folder, Symlink, Special };

// What a file or folder is, whatever path it is reached by: the device it
// lies on and its inode. Links, bind mounts, "..", doubled separators and
// relative paths change how a folder is spelled, never its identity, so the
// walks compare folders by this and never by their path text.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    bool known() const { return inode != 0; }
    friend bool operator==(const FileId&, const FileId&) = default;
};

// One directory entry, read once (the link itself, never its target).
struct Entry {
    std::string name;
    EntryKind kind = EntryKind::File;
    std::uint64_t size = 0;
    DateTime created{};  // birth time, or the modification time where none is kept
    DateTime modified{};
    // The last change of the entry itself (ctime): its data, but also its
    // permission bits, owner, extended attributes or name.
    DateTime changed{};
    std::uint32_t attributes = 0;  // see Attributes.h
    FileId id;
    bool mountRoot = false;  // a file system is mounted on this folder
};

// Whether something is at a path. Only "no such file" (ENOENT, or ENOTDIR
// for a path through a file) is Absent; any other failure (no permission, a
// name too long, an I/O error) leaves the answer Unknown, and what is unknown
// is never treated as missing.
enum class Presence { Absent, Present, Unknown };

// What a lookup found: for Present the entry's kind and identity, for
// Unknown the error that kept the answer out of reach.
struct PathInfo {
    Presence presence = Presence::Unknown;
    EntryKind kind = EntryKind::File;
    FileId id;
    bool mountRoot = false;
    FsError error;
};

// A lock a run holds for as long as it lives.
class HeldLock {
  public:
    virtual ~HeldLock() = default;
};

// How much a listing reads of each entry. `Plain` leaves the recorded
// attribute bits out (hidden, system, archive, a recorded read-only bit): the
// entries' attributes then hold only what their mode and name give, and a walk
// reads the whole attributes with getAttributes for the few entries that need
// them. `FileNames` reads folders as Plain does but files (links, special
// files) by their name and type alone, where the folder records their type:
// their size, dates, attributes and identity stay empty.
enum class ListDetail { Full, Plain, FileNames };

// A name in a folder with the type its directory entry records; `typeKnown`
// is false where the file system records none.
struct FolderName {
    std::string name;
    EntryKind kind = EntryKind::File;
    bool typeKnown = false;
};

// What a backup's file system could not keep of what a copy carries over
// (bits, collected over a run; see FileSystem::takeUnkept).
inline constexpr std::uint32_t kUnkeptOwner = 1;      // owner and group
inline constexpr std::uint32_t kUnkeptXattrs = 2;     // extended attributes
inline constexpr std::uint32_t kUnkeptAcls = 4;       // POSIX ACLs
inline constexpr std::uint32_t kUnkeptHardLinks = 8;  // names of one file made into copies
inline constexpr std::uint32_t kUnkeptModes = 16;     // permission bits, times

// Where a backup folder stands in the walk that fills it.
enum class FolderStage {
    Filling,    // just made: its files are still to come
    Reopening,  // already there, a walk is about to write into it: only the
                // owner's write access, and only where the process lacks it
    Done,       // its files and subfolders are written
};

// A step that failed after the call that began it had returned success.
struct LateFailure {
    std::string path;  // the source file, or the backup folder
    FsError error;
    bool file;  // a file, which was counted as copied
};

// A mounted file system that may hold user files.
struct Volume {
    std::string mountPoint;
    std::string label;  // empty when it has none
};

// The file-system service the logic reaches files through. Every operation
// reports failure as an error number with a description (FsError.h) and never
// throws. The same semantics hold for every user, root included:
//  - copying onto a read-only file fails with 75;
//  - deleting a read-only file without force fails with 75;
//  - deleting a folder without force fails, and leaves the folder whole, when
//    anything inside it is read-only.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Lists a folder's direct entries in the order the file system gives.
    // Files, symbolic links (to anything) and special files go to `files`
    // (the walks skip Special entries); real folders go to `folders`. Both
    // lists are replaced; after a failure they hold what was read before it.
    FsError listFolder(const std::string& path, std::vector<Entry>& files,
                       std::vector<Entry>& folders) {
        return listFolder(path, files, folders, ListDetail::Full);
    }
    virtual FsError listFolder(const std::string& path, std::vector<Entry>& files,
                               std::vector<Entry>& folders, ListDetail detail) = 0;
    // The names in a folder, in the order the file system gives, without
    // reading any entry itself: much cheaper than listFolder.
    virtual FsError listNames(const std::string& path, std::vector<FolderName>& names) = 0;
    // Reads one entry without following a final symbolic link.
    virtual FsError stat(const std::string& path, Entry& out) = 0;
    // Whether and what is at a path, without following a final symbolic
    // link and without reading more than the entry's type and identity.
    virtual PathInfo lookup(const std::string& path) = 0;
    // The folder a path leads to, following links: its real path (absolute,
    // without links, "." or "..") and its identity. Relative paths are taken
    // from the working folder. Fails when the path does not lead to a folder.
    virtual FsError resolveFolder(const std::string& path, std::string& real, PathInfo& info) = 0;
    // A file (regular, or a symbolic link that is not to a folder) exists.
    virtual bool fileExists(const std::string& path) = 0;
    // A real folder exists (a symbolic link to a folder does not count).
    virtual bool folderExists(const std::string& path) = 0;

    virtual FsError createFolder(const std::string& path) = 0;  // one level
    virtual FsError deleteFile(const std::string& path, bool force) = 0;
    // Removes a folder only when it holds nothing at all (rmdir): never
    // removes anything inside it.
    virtual FsError removeEmptyFolder(const std::string& path) = 0;
    // Copies a file (a symbolic link as a link) onto `to`, replacing it
    // atomically: on any failure an existing target stays exactly as it was.
    // Carries over what a restore needs: the modification and access times,
    // the permission bits, the owner and group (where this process may set
    // them), the extended attributes and ACLs, the holes of a sparse file and
    // the recorded attribute bits. A file with several names whose other name
    // was copied before (since the last takeUnkept) becomes another name of
    // that copy.
    virtual FsError copyFile(const std::string& from, const std::string& to) = 0;
    // copyFile for a source that the caller's listing has just shown to be a
    // regular file: the copy may open it without looking at it by name first.
    // What opens as anything else is refused as copyFile refuses it.
    virtual FsError copyListedFile(const std::string& from, const std::string& to) {
        return copyFile(from, to);
    }
    // Moves a file (a symbolic link as a link) onto `to` in one step that
    // keeps all it carries; refuses a read-only target (75) as copyFile
    // does. 74 when the two lie on different file systems: then only a copy
    // (and a delete) can take the file over.
    virtual FsError moveFile(const std::string& from, const std::string& to) = 0;

    // Gives a backup folder what its source folder carries: permission bits,
    // owner and group, extended attributes and ACLs; when Done also its times
    // (writing into a folder moves them). While Filling the owner may still
    // write into it. What the backup's file system cannot keep is noted for
    // takeUnkept and is no failure.
    virtual FsError keepFolderMetadata(const std::string& from, const std::string& to,
                                       FolderStage stage) = 0;
    // What the copies and folders since the last call could not keep
    // (kUnkept... bits); forgets the files with several names seen so far.
    virtual std::uint32_t takeUnkept() = 0;
    // While a run walks, the folders it reaches may be held open, so that a
    // call on a path in one of them costs the same however deep it lies.
    // Let go at the run's end: a held folder keeps its disk from being
    // unmounted.
    virtual void holdFolders(bool hold) = 0;
    // From this call to endReplacementBatches, a small copy that replaces a
    // file of one name waits, without a name, for the others of its batch:
    // their data is put on the disk together (one commit of the disk's
    // journal where each would cost one), then each takes its name. Until
    // then the old version stays under the name, and a folder's last steps
    // that would come before a rename in it come after.
    virtual void beginReplacementBatches() = 0;
    // Names what the last batch holds and returns what failed since
    // beginReplacementBatches after its call had returned: a file kept its
    // old version, or a folder missed its last steps.
    virtual std::vector<LateFailure> endReplacementBatches() = 0;

    virtual FsError getAttributes(const std::string& path, std::uint32_t& attributes) = 0;
    virtual FsError setAttributes(const std::string& path, std::uint32_t attributes) = 0;
    // The number of files and symbolic links in a folder's tree, counted by
    // their names alone (links are not followed).
    virtual FsError countFiles(const std::string& path, std::uint64_t& count) = 0;
    // The sum of countFiles over `folders`, leaving out those whose tree
    // cannot be read; worked out beside the caller where the file system
    // allows that, else at once (as here).
    virtual std::unique_ptr<PendingCount> startFileCounts(std::vector<std::string> folders) {
        std::uint64_t sum = 0;
        for (const std::string& folder : folders) {
            std::uint64_t count = 0;
            if (countFiles(folder, count).ok()) sum += count;
        }
        return std::make_unique<KnownCount>(sum);
    }

    // Textual parent: "/a/b" -> "/a", "/a" -> "/", "/" -> "", "DISK/x" -> "DISK",
    // "DISK" -> "".
    virtual std::string parentFolder(const std::string& path) = 0;
    virtual std::string absolutePath(const std::string& path) = 0;
    // The drive of a path: the mount point of the file system that holds it.
    virtual std::string driveName(const std::string& path) = 0;
    // The volume label of the file system that holds a path.
    virtual FsError volumeName(const std::string& path, std::string& label) = 0;
    // Mounted file systems that hold user files, in mount-table order.
    virtual std::vector<Volume> volumes() = 0;
    // Fails (91) when an absolute path lies in a folder where a disk is meant
    // to be mounted and none is: a mount point of the system's file-system
    // table that is not mounted, or a folder below /media or /run/media that
    // lies on the file system of that folder itself. Writing there would
    // fill the system disk in place of the missing one.
    virtual FsError diskIsMounted(const std::string& path) = 0;
    // Puts everything written to the file system that holds a folder, and to
    // any mounted inside it, on the disk (syncfs): a run is done only once
    // its backup is.
    virtual FsError flushVolume(const std::string& path) = 0;
    // Takes an exclusive lock on a file or folder for as long as `lock`
    // lives; fails (75) when another process holds it. Where the file system
    // keeps no locks the call succeeds without one.
    virtual FsError lockExclusive(const std::string& path, std::unique_ptr<HeldLock>& lock) = 0;

    // Text files, taken and written as bytes.
    virtual FsError readTextFile(const std::string& path, std::string& content) = 0;
    // Creates or replaces a file in one step (temporary file, flushed, then
    // renamed; the folder flushed after the rename).
    virtual FsError writeFileAtomic(const std::string& path, const std::string& content) = 0;
    // Creates or replaces a file in place; fails with 75 when an existing file
    // carries the hidden or system attribute.
    virtual FsError writeTextFile(const std::string& path, const std::string& content) = 0;
    // Creates an empty file; fails when the file already exists.
    virtual FsError createNewFile(const std::string& path) = 0;
    virtual FsError appendToFile(const std::string& path, const std::string& text) = 0;
};

}  // namespace zv
