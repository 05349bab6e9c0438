#include "config/VolumePaths.h"

#include <string>

#include "config/DriveEntry.h"
#include "config/WorkingFolderPath.h"
#include "platform/Paths.h"

namespace zv {

namespace {

// No file system takes a longer path; refusing it early also keeps very long
// garbage from costly folder walks.
constexpr std::size_t kMaxPathLength = 4095;
constexpr const char* kNoVolumeName = "***";

// The volume name stands alone or is followed directly by a separator, so
// that MY does not claim MYDISK/Backup.
bool startsWithVolumeName(const std::string& path, const std::string& name) {
    if (name.empty() || name == kNoVolumeName) return false;
    if (path.compare(0, name.size(), name) != 0) return false;
    return path.size() == name.size() || path[name.size()] == kSep;
}

// `rest` is empty or begins with the separator that followed the name.
std::string joinDriveAndRest(const std::string& drive, const std::string& rest) {
    return rest.empty() ? drive : joinPath(drive, std::string_view(rest).substr(1));
}

}  // namespace

std::string resolveVolumePath(FileSystem& fs, const std::vector<std::string>& driveList,
                              const std::string& workingFolder, const std::string& path) {
    if (path.size() > kMaxPathLength) return {};
    // A path that begins with the separator is a path, never a volume name,
    // whatever a volume may be labelled ("/boot", "/tmp").
    if (isAbsolutePath(path)) return path;
    int matches = 0;
    std::string candidate;
    for (const std::string& item : driveList) {
        const DriveEntry entry = splitDriveEntry(fs, item);
        if (!startsWithVolumeName(path, entry.label)) continue;
        candidate = joinDriveAndRest(entry.drive, path.substr(entry.label.size()));
        ++matches;
    }
    if (matches == 1) return candidate;
    if (matches != 0) return {};  // several volumes of that name: which one is unknown
    const std::string root = pathRoot(path);
    if (leadsToFolder(fs, workingFolder, root)) return path;
    return {};
}

// The top-most ancestor: "/" for an absolute path, the first component of a
// relative one.
std::string pathRoot(const std::string& path) {
    return rootOf(path);
}

}  // namespace zv
