#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace zv {

class Trash;

// One folder a run works on, resolved once when the run starts: its real
// path (absolute, without links, "." or "..") and its identity.
struct RootFolder {
    std::string path;
    FileId id;
    bool volumeTop = false;  // a file system is mounted on it

    bool known() const { return id.known(); }
};

// The run's own folders. A folder is recognised by its identity, never by
// how its path is spelled, so that no spelling (a link, a bind mount, "..",
// a relative path) can make a walk take one of them for ordinary content.
struct RunRoots {
    RootFolder source;
    RootFolder backup;
    RootFolder dustbin;           // only while orphans are moved there
    std::vector<FileId> trashes;  // trash folders the walks may meet

    // A trash folder a walk meets in a folder (`parentIsVolumeTop`: a file
    // system is mounted on that folder): one known when the run started, or
    // a volume's trash folder by its name, also one made during the run.
    bool isTrashIn(const Entry& sub, bool parentIsVolumeTop) const;

    // One of the roots: no walk enters it as a subfolder of another root.
    bool isRoot(const FileId& id) const;
    bool isDustbin(const FileId& id) const { return id.known() && id == dustbin.id; }
    bool isTrash(const FileId& id) const;
    // A subfolder no walk enters: a root other than the dustbin, or a trash.
    // (The synchronisation walks into a dustbin inside the backup, leaving
    // what it holds alone; see isDustbin.)
    bool excludes(const FileId& id) const { return (isRoot(id) && !isDustbin(id)) || isTrash(id); }
};

// A trash folder of the freedesktop.org layout at the top of a volume
// (".Trash", ".Trash-1000").
bool isVolumeTrashName(std::string_view name);

// The identities of the trash folders a walk under `roots` may meet: the
// trash's own folders and the volume trash folders at the top of every
// mounted volume at or below one of the roots.
std::vector<FileId> trashFoldersUnder(FileSystem& fs, const Trash& trash,
                                      const std::vector<std::string>& roots);

// Adds the identities of the trash's own folders that are not known yet (one
// made by the run itself, when it put the first file in the trash).
void noteTrashFolders(FileSystem& fs, const Trash& trash, RunRoots& roots);

}  // namespace zv
