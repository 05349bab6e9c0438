#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

#include "platform/FsError.h"
#include "platform/linux/DiskSync.h"
#include "platform/linux/FolderHandles.h"
#include "platform/linux/HardLinks.h"
#include "platform/linux/ReplacementBatch.h"

namespace zv {

// The kernel copies (block sharing, copy_file_range) that failed for every
// file from the source's file system `device` into the backup: each refused
// one costs a call a file that fails the same way.
struct KernelCopyRefusals {
    dev_t device = 0;
    bool clone = false;
    bool range = false;

    void moveTo(dev_t source) {
        if (source != device) *this = KernelCopyRefusals{source};
    }
};

// What the copies of a run remember: the copies of files with several
// names, what the target's file system could not keep (kUnkept... bits), the
// kernel copies it refused, the replacements still to be named, and the size
// of the last copy.
struct CopyMemory {
    HardLinks links;
    std::uint32_t unkept = 0;
    KernelCopyRefusals kernelRefusals;
    ReplacementBatch batch;
    std::uint64_t written = 0;  // bytes of the last copy, for the write-behind
};

// Copies a regular file or a symbolic link (as a link) onto `to` through a
// file without a name in the target folder (O_TMPFILE; a temporary name where
// the file system has none), named only when whole, so that a broken-off copy
// leaves nothing and on any failure an existing target stays exactly as it
// was. Carries over the modification and
// access times, the permission bits, the owner and group (FileMetadata.h), the
// extended attributes and ACLs, the holes of a sparse file and the recorded
// attribute bits; a further name of a file copied before becomes a name of
// that copy (HardLinks.h). Never
// opens a FIFO, socket or device; refuses a read-only target (75) and leaves
// it as it was. Whether a target is there is asked before a large file's data
// is copied, and for a small one only when its name proves taken (a new file
// then costs no look-up). Where an existing file is replaced, the new data is
// on the disk before it takes the old file's name, so that at every instant
// one whole copy is there (while memory.batch is open, a small one waits
// there, unnamed, to be flushed and named with its batch); a new file is not
// flushed one by one (the run flushes its backup's file system once at its
// end). `handles` finds the copy a further name is linked to. A source `seen`
// as a regular file by the caller's listing is opened without a look at it by
// name first (what opens as anything else is then refused); any other is
// looked at first, so that nothing else is ever opened.
enum class SourceSeen { Unknown, AsFile };
FsError copyReplacing(const PathAt& from, const PathAt& to, SourceSeen seen, DiskSync& sync,
                      CopyMemory& memory, FolderHandles& handles);

// Moves a regular file or a symbolic link onto `to` with one rename, which
// keeps everything the file carries and cannot lose it. Refuses what
// copyReplacing refuses (a read-only target: 75); 74 when the two paths lie
// on different file systems, where only a copy can take the file over.
FsError moveReplacing(const PathAt& from, const PathAt& to, DiskSync& sync);

}  // namespace zv
