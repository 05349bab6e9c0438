#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zv {

// Where the mount table and the volume labels are read from; tests point
// these at their own files.
struct MountSources {
    std::string mountInfoPath = "/proc/self/mountinfo";
    std::string byLabelDir = "/dev/disk/by-label";
    bool useBlkid = true;
    // The file-system table, and the folders below which removable disks
    // are mounted by the desktop: where disks are expected.
    std::string fstabPath = "/etc/fstab";
    std::vector<std::string> removableRoots = {"/media", "/run/media"};
};

// One line of the mount table.
struct MountEntry {
    std::string mountPoint;
    std::string fsType;
    std::string source;
};

// Parses the /proc/<pid>/mountinfo format, unescaping octal escapes such as
// "\040". Malformed lines are skipped.
std::vector<MountEntry> parseMountInfo(std::string_view text);
std::string unescapeOctal(std::string_view field);
// Reads and parses the table; false when it cannot be read.
bool readMountTable(const std::string& mountInfoPath, std::vector<MountEntry>& out);

// Block-device and network file systems, and tmpfs outside the system's own
// trees; never the kernel's pseudo file systems.
bool holdsUserFiles(const MountEntry& mount);
// The mounts that hold user files, in table order; of several mounts on the
// same point only the last (the visible one) is kept.
std::vector<MountEntry> userMounts(const std::vector<MountEntry>& all);

// The mount points a file-system table (fstab format) names, unescaped;
// without the root, swap space and "none". Comments and malformed lines are
// skipped.
std::vector<std::string> parseFstabMountPoints(std::string_view text);

// Where a disk is expected for an absolute path but none is mounted: the
// folder it should be mounted on, or "" when the path is on a disk that is
// there. See FileSystem::diskIsMounted.
std::string missingDiskFolder(const std::vector<MountEntry>& mounts,
                              const std::vector<std::string>& fstabPoints,
                              const std::vector<std::string>& removableRoots,
                              std::string_view path);

// The mount whose point is the longest prefix of an absolute path, or null.
const MountEntry* mountHolding(const std::vector<MountEntry>& all, std::string_view path);

// The volume label of a mount: from the by-label folder (a link there that
// leads to the mount's source), else, for a device and when allowed, from
// its superblock; empty when it has none.
std::string labelOf(const MountEntry& mount, const MountSources& sources);
// udev escapes characters in by-label names as "\x20" and the like.
std::string unescapeHex(std::string_view name);

}  // namespace zv
