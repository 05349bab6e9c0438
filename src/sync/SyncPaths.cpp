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

std::string remainderAfter(const std::string& X, const std::string& Y) {
    if (!X.starts_with(Y)) return {};
    return X.substr(Y.size());
}

std::string strTail(const std::string& Root, const std::string& Path) {
    if (Path.size() <= Root.size()) return {};
    return Path.substr(Root.size());
}

// Only a real drive-letter prefix ("C:") loses its colon: a colon anywhere
// else is part of a name.
std::string stripDriveColon(const std::string& Path) {
    const bool driveLetter =
        Path.size() >= 2 && Path[1] == ':' &&
        ((Path[0] >= 'A' && Path[0] <= 'Z') || (Path[0] >= 'a' && Path[0] <= 'z'));
    if (!driveLetter) return Path;
    return Path.substr(0, 1) + Path.substr(2);
}

std::string joinPath(const std::string& folder, const std::string& name) {
    std::string out;
    out.reserve(folder.size() + 1 + name.size());
    out = folder;
    if (out.empty() || out.back() != kSep) out += kSep;
    out += name;
    return out;
}

std::string normalFolder(const std::string& path) {
    std::string out = collapseSeparators(path);
    while (out.size() > 1 && out.back() == kSep) out.pop_back();
    return out;
}

bool liesBelow(const std::string& path, const std::string& folder) {
    if (folder.empty() || path.size() <= folder.size() || !path.starts_with(folder)) return false;
    return folder.back() == kSep || path[folder.size()] == kSep;
}

std::string dustbinPlace(const std::string& dustbin, const std::string& source,
                         const std::string& backup, const std::string& orphan) {
    const std::string bin = normalFolder(dustbin);
    const std::string root = normalFolder(backup);
    if (bin.empty() || source.empty() || !liesBelow(orphan, root)) return {};
    const std::string relative = orphan.substr(root == "/" ? 0 : root.size());
    const std::string place =
        collapseSeparators(joinPath(joinPath(bin, stripDriveColon(source)), relative));
    if (place != normalisedAbsolute(place, "/")) return {};
    // The source as the system reads it: "//data" is the folder "/data".
    if (!liesBelow(place, bin) || pathIsWithin(place, normalisedAbsolute(source, "/"))) return {};
    return place;
}

}  // namespace zv
