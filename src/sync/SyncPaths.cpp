#include "sync/SyncPaths.h"

#include <array>
#include <cctype>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "run/FolderHelpers.h"
#include "run/RunContext.h"
#include "sync/SyncWalk.h"

namespace zv {

// Only a real drive-letter prefix ("C:") loses its colon: a colon anywhere
// else is part of a name.
std::string stripDriveColon(const std::string& path) {
    const bool driveLetter =
        path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (!driveLetter) return path;
    return path.substr(0, 1) + path.substr(2);
}

std::string dustbinPlace(const std::string& dustbin, const std::string& source,
                         const std::string& backup, const std::string& orphan) {
    const std::string bin = normalisedFolder(dustbin);
    const std::string root = normalisedFolder(backup);
    if (bin.empty() || source.empty() || !pathLiesBelow(orphan, root)) return {};
    const std::string relative = orphan.substr(root == "/" ? 0 : root.size());
    const std::string place =
        collapsedSeparators(joinPath(joinPath(bin, stripDriveColon(source)), relative));
    if (place != normalisedAbsolute(place, "/")) return {};
    // The source as the system reads it: "//data" is the folder "/data".
    if (!pathLiesBelow(place, bin) || pathIsWithin(place, normalisedAbsolute(source, "/")))
        return {};
    return place;
}

}  // namespace zv
