// A path written with a volume name: the first line is the path, further
// lines are the drive list ("mountpoint:=label"), looked up from the
// scratch folder as the working folder.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Scratch.h"

namespace {

using zv::fuzz::broken;

constexpr std::size_t kMaxInputBytes = 8192;
constexpr const char* kSplit = ":=";

// Whether `out` is `path` with a volume name replaced by its mount point:
// some entry splits (at one of its ":=") into a mount point and a name that
// `path` starts with, followed by a separator or nothing.
bool resolvedThroughAnEntry(const std::string& path, const std::string& out,
                            const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) {
        for (auto at = entry.find(kSplit); at != std::string::npos;
             at = entry.find(kSplit, at + 1)) {
            const std::string drive = entry.substr(0, at), name = entry.substr(at + 2);
            if (name.empty() || name == "***" || !path.starts_with(name)) continue;
            const std::string rest = path.substr(name.size());
            if (!rest.empty() && rest.front() != '/') continue;
            if (out == drive + rest) return true;
            if (!drive.empty() && drive.back() == '/' && !rest.empty() &&
                out == drive + rest.substr(1))
                return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxInputBytes) return 0;
    const std::vector<std::string> lines = zv::fuzz::linesOf(zv::fuzz::textOf(data, size));
    if (lines.empty()) return 0;
    const std::string& path = lines.front();
    const std::vector<std::string> entries(lines.begin() + 1, lines.end());

    zv::test::TestRig rig;
    zv::fuzz::makeScratchTree(rig.root.path());
    rig.w().driveList = entries;
    const std::string out = rig.w().resolveVolumePath(path);

    if (out.empty() || out == path) return 0;
    if (path.front() == '/') broken("the absolute path \"" + path + "\" became \"" + out + "\"");
    std::size_t longestMountPoint = 0;
    for (const std::string& entry : entries) {
        if (const auto at = entry.rfind(kSplit); at != std::string::npos)
            longestMountPoint = std::max(longestMountPoint, at);
    }
    if (out.size() > path.size() + longestMountPoint)
        broken("\"" + path + "\" grew into \"" + out + "\"");
    if (!resolvedThroughAnEntry(path, out, entries))
        broken("\"" + path + "\" became \"" + out + "\" through no entry of the drive list");
    return 0;
}
