#include "config/DriveEntry.h"

#include <vector>

#include "platform/FileSystem.h"

namespace zv {

namespace {

constexpr const char* kMark = ":=";

DriveEntry SplitAt(const std::string& entry, std::size_t at) {
    return DriveEntry{entry.substr(0, at), entry.substr(at + 2)};
}

std::vector<std::size_t> MarkPositions(const std::string& entry) {
    std::vector<std::size_t> found;
    for (auto at = entry.find(kMark); at != std::string::npos; at = entry.find(kMark, at + 1)) {
        found.push_back(at);
    }
    return found;
}

}  // namespace

DriveEntry SplitDriveEntry(FileSystem& fs, const std::string& entry) {
    const std::vector<std::size_t> marks = MarkPositions(entry);
    if (marks.empty()) return DriveEntry{entry, ""};
    if (marks.size() == 1) return SplitAt(entry, marks.front());
    for (auto it = marks.rbegin(); it != marks.rend(); ++it) {
        if (fs.folderExists(entry.substr(0, *it))) return SplitAt(entry, *it);
    }
    return SplitAt(entry, marks.back());
}

}  // namespace zv
