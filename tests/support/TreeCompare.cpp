#include "support/TreeCompare.h"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <set>

#include "support/TempDir.h"

namespace zv::test {

std::vector<std::string> treeDifferences(const std::string& a, const std::string& b,
                                         unsigned aspects) {
    const std::hash<std::string> hash;
    // Names and value hashes of the extended attributes, ACLs among them.
    const auto xattrsOf = [&](const std::string& path) {
        std::string names(65536, '\0'), value(65536, '\0'), out;
        const ssize_t n = llistxattr(path.c_str(), names.data(), names.size());
        for (const char* name = names.data(); name < names.data() + n; name += strlen(name) + 1) {
            const ssize_t size = lgetxattr(path.c_str(), name, value.data(), value.size());
            out += std::string(name) + ":" + std::to_string(hash(value.substr(0, size))) + ",";
        }
        return out;
    };
    // One line per entry of the tree: its path and kind, then what `aspects` asks.
    const auto describe = [&](const std::string& root) {
        std::map<std::string, struct stat> stats;
        std::map<std::pair<dev_t, ino_t>, std::string> namesOfFile;
        lstat(root.c_str(), &stats["."]);
        for (const auto& e : std::filesystem::recursive_directory_iterator(root))
            lstat(e.path().c_str(), &stats[e.path().string().substr(root.size() + 1)]);
        for (const auto& [rel, st] : stats)  // in name order
            if (S_ISREG(st.st_mode)) namesOfFile[{st.st_dev, st.st_ino}] += rel + ",";
        std::set<std::string> lines;
        for (const auto& [rel, st] : stats) {
            const std::string path = root + "/" + rel;
            const bool file = S_ISREG(st.st_mode), link = S_ISLNK(st.st_mode);
            std::string line = rel + " kind=" + std::to_string(st.st_mode & S_IFMT);
            const auto add = [&](unsigned aspect, const char* what, const std::string& value) {
                if (aspects & aspect) line += std::string(" ") + what + "=" + value;
            };
            add(kCompareContent, "content",
                file   ? std::to_string(hash(readFile(path)))
                : link ? std::filesystem::read_symlink(path).string()
                       : "");
            add(link ? 0 : unsigned(kCompareModes), "mode", std::to_string(st.st_mode & 07777));
            add(kCompareOwners, "owner",
                std::to_string(st.st_uid) + ":" + std::to_string(st.st_gid));
            add(kCompareTimes, "modified",
                std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec));
            add(kCompareXattrs, "xattrs", xattrsOf(path));
            add(file ? unsigned(kCompareLinks) : 0, "names", namesOfFile[{st.st_dev, st.st_ino}]);
            add(file ? unsigned(kCompareAllocated) : 0, "blocks", std::to_string(st.st_blocks));
            lines.insert(line);
        }
        return lines;
    };
    const std::set<std::string> left = describe(a), right = describe(b);
    std::vector<std::string> out;
    for (const std::string& line : left)
        if (!right.contains(line)) out.push_back(a + ": " + line);
    for (const std::string& line : right)
        if (!left.contains(line)) out.push_back(b + ": " + line);
    return out;
}

}  // namespace zv::test
