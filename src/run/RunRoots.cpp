#include "run/RunRoots.h"

#include <algorithm>

#include "platform/Paths.h"
#include "platform/Trash.h"

namespace zv {

bool RunRoots::isRoot(const FileId& id) const {
    if (!id.known()) return false;
    return id == source.id || id == backup.id || id == dustbin.id;
}

bool RunRoots::isTrash(const FileId& id) const {
    return id.known() && std::ranges::find(trashes, id) != trashes.end();
}

bool RunRoots::isTrashIn(const Entry& sub, bool parentIsVolumeTop) const {
    return isTrash(sub.id) || (parentIsVolumeTop && isVolumeTrashName(sub.name));
}

bool isVolumeTrashName(std::string_view name) {
    if (name == ".Trash") return true;
    constexpr std::string_view kUserTrash = ".Trash-";
    if (!name.starts_with(kUserTrash) || name.size() == kUserTrash.size()) return false;
    return std::ranges::all_of(name.substr(kUserTrash.size()),
                               [](char c) { return c >= '0' && c <= '9'; });
}

namespace {

void addFolder(FileSystem& fs, const std::string& path, std::vector<FileId>& out) {
    const PathInfo info = fs.lookup(path);
    if (info.presence == Presence::Present && info.kind == EntryKind::Folder)
        out.push_back(info.id);
}

bool underAnyRoot(const std::string& mountPoint, const std::vector<std::string>& roots) {
    return std::ranges::any_of(roots, [&](const std::string& root) {
        return !root.empty() && pathIsWithin(mountPoint, root);
    });
}

}  // namespace

void noteTrashFolders(FileSystem& fs, const Trash& trash, RunRoots& roots) {
    std::vector<FileId> found;
    for (const std::string& folder : trash.ownFolders()) addFolder(fs, folder, found);
    for (const FileId& id : found)
        if (!roots.isTrash(id)) roots.trashes.push_back(id);
}

std::vector<FileId> trashFoldersUnder(FileSystem& fs, const Trash& trash,
                                      const std::vector<std::string>& roots) {
    RunRoots known;
    noteTrashFolders(fs, trash, known);
    std::vector<FileId> out = std::move(known.trashes);
    std::vector<FolderName> names;
    for (const Volume& volume : fs.volumes()) {
        if (!underAnyRoot(volume.mountPoint, roots)) continue;
        if (fs.listNames(volume.mountPoint, names).failed()) continue;
        for (const FolderName& n : names) {
            if (!isVolumeTrashName(n.name)) continue;
            std::string path = volume.mountPoint;
            if (path.back() != '/') path += '/';
            addFolder(fs, path + n.name, out);
        }
    }
    return out;
}

}  // namespace zv
