// Where an orphan goes in the dustbin folder. Lines: the dustbin folder, the
// source folder as typed, the backup folder, the orphan's path below the
// backup and, on an optional fifth line, its file name.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Scratch.h"
#include "sync/SyncPaths.h"

namespace {

using zv::fuzz::broken;

constexpr std::size_t kMaxInputBytes = 8192;

// The path's components, without the empty ones doubled or trailing
// separators make.
std::vector<std::string> componentsOf(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxInputBytes) return 0;
    const std::vector<std::string> lines = zv::fuzz::linesOf(zv::fuzz::textOf(data, size));
    if (lines.size() < 4) return 0;
    const std::string &dustbin = lines[0], &source = lines[1], &backup = lines[2];
    std::string orphan = backup + "/" + lines[3];
    if (lines.size() > 4) orphan += "/" + lines[4];

    const std::string place = zv::dustbinPlace(dustbin, source, backup, orphan);
    if (place.empty()) return 0;
    const std::string where = "\"" + orphan + "\" goes to \"" + place + "\"";
    const std::vector<std::string> parts = componentsOf(place);
    for (const std::string& part : parts)
        if (part == "." || part == "..") broken(where + ", a path through \"" + part + "\"");
    if (!zv::fuzz::within(place, dustbin) || parts.size() <= componentsOf(dustbin).size())
        broken(where + ", not inside the dustbin \"" + dustbin + "\"");
    if (zv::fuzz::within(place, source)) broken(where + ", inside the source \"" + source + "\"");
    return 0;
}
