#include "config/DriveEntry.h"

#include <vector>

#include "platform/FileSystem.h"

namespace zv {

namespace {

constexpr const char* kMark = ":=";

DriveEntry splitAt(const std::string& entry, std::size_t at) {
    return DriveEntry{entry.substr(0, at), entry.substr(at + 2)};
}

std::vector<std::size_t> markPositions(const std::string& entry) {
    std::vector<std::size_t> found;
    for (auto at = entry.find(kMark); at != std::string::npos; at = entry.find(kMark, at + 1)) {
        found.push_back(at);
    }
    return found;
}

}  // namespace

DriveEntry splitDriveEntry(FileSystem& fs, const std::string& entry) {
    const std::vector<std::size_t> marks = markPositions(entry);
    if (marks.empty()) return DriveEntry{entry, ""};
    if (marks.size() == 1) return splitAt(entry, marks.front());
    for (auto it = marks.rbegin(); it != marks.rend(); ++it) {
        if (fs.folderExists(entry.substr(0, *it))) return splitAt(entry, *it);
    }
    return splitAt(entry, marks.back());
}

}  // namespace zv
