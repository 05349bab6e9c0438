#pragma once

namespace zv {

// The steps that put what was written on the disk. The file-system service
// takes them through this class, so that tests can see their order: a
// replaced file's data is on the disk before its new name is, and a run's
// backup is on the disk before the run says it is done.
class DiskSync {
  public:
    virtual ~DiskSync() = default;
    // A file's data (fdatasync). Returns 0 or an errno value.
    virtual int flushData(int fd);
    // Gives a file its final name (renameat; each name relative to its
    // folder descriptor, or AT_FDCWD). Returns 0 or an errno value.
    virtual int rename(int fromDir, const char* from, int toDir, const char* to);
    // Gives a file written without a name (O_TMPFILE) the name `to` in
    // `dir`, which must not be taken yet (linkat). Returns 0 or an errno value.
    virtual int giveName(int fd, int dir, const char* to);
    // A folder's entries, a rename in it above all (fsync of the folder).
    virtual int flushFolder(int folderFd);
    // Everything written to the file system that holds `fd` (syncfs).
    virtual int flushFileSystem(int fd);
};

}  // namespace zv
