#include "support/TreeCompare.h"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <filesystem>
#include <map>
#include <set>

#include "support/TempDir.h"

namespace zv::test {

namespace {

struct Node {
    struct stat st {};
    std::string content;  // a file's data, a link's target
    std::map<std::string, std::string> xattrs;
    std::set<std::string> sameFile;  // the names of this file in its tree
};

std::map<std::string, std::string> xattrsOf(const std::string& path) {
    std::map<std::string, std::string> out;
    std::string names(llistxattr(path.c_str(), nullptr, 0) + 1, '\0');
    const ssize_t n = llistxattr(path.c_str(), names.data(), names.size());
    for (ssize_t at = 0; at < n;) {
        const std::string name(names.data() + at);
        std::string value(lgetxattr(path.c_str(), name.c_str(), nullptr, 0) + 1, '\0');
        const ssize_t v = lgetxattr(path.c_str(), name.c_str(), value.data(), value.size());
        value.resize(v < 0 ? 0 : static_cast<std::size_t>(v));
        out[name] = value;
        at += static_cast<ssize_t>(name.size()) + 1;
    }
    return out;
}

std::map<std::string, Node> read(const std::string& root) {
    std::map<std::string, Node> nodes;
    std::map<std::pair<dev_t, ino_t>, std::set<std::string>> files;
    const auto add = [&](const std::string& path, const std::string& rel) {
        Node& node = nodes[rel];
        lstat(path.c_str(), &node.st);
        node.xattrs = xattrsOf(path);
        if (S_ISREG(node.st.st_mode)) {
            node.content = readFile(path);
            files[{node.st.st_dev, node.st.st_ino}].insert(rel);
        } else if (S_ISLNK(node.st.st_mode)) {
            node.content = std::filesystem::read_symlink(path).string();
        }
    };
    add(root, ".");
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        add(e.path().string(), e.path().string().substr(root.size() + 1));
    for (auto& [rel, node] : nodes)
        if (S_ISREG(node.st.st_mode)) node.sameFile = files[{node.st.st_dev, node.st.st_ino}];
    return nodes;
}

std::string text(const std::set<std::string>& names) {
    std::string out;
    for (const std::string& n : names) out += (out.empty() ? "" : ",") + n;
    return out;
}

std::string text(const std::map<std::string, std::string>& xattrs) {
    std::string out;
    for (const auto& [name, value] : xattrs) out += name + "=" + std::to_string(value.size()) + ";";
    return out;
}

}  // namespace

std::vector<std::string> treeDifferences(const std::string& a, const std::string& b,
                                         unsigned aspects) {
    const std::map<std::string, Node> left = read(a);
    const std::map<std::string, Node> right = read(b);
    std::vector<std::string> out;
    const auto differ = [&](const std::string& rel, const std::string& what, auto x, auto y) {
        if (x != y)
            out.push_back(rel + ": " + what + " " + std::to_string(x) + " / " + std::to_string(y));
    };
    for (const auto& [rel, l] : left) {
        const auto it = right.find(rel);
        if (it == right.end()) {
            out.push_back(rel + ": only in " + a);
            continue;
        }
        const Node& r = it->second;
        const bool link = S_ISLNK(l.st.st_mode);
        const bool file = S_ISREG(l.st.st_mode);
        differ(rel, "kind", l.st.st_mode & S_IFMT, r.st.st_mode & S_IFMT);
        if ((aspects & kCompareContent) && l.content != r.content)
            out.push_back(rel + ": content differs");
        if ((aspects & kCompareModes) && !link)
            differ(rel, "mode", l.st.st_mode & 07777, r.st.st_mode & 07777);
        if (aspects & kCompareOwners) {
            differ(rel, "owner", l.st.st_uid, r.st.st_uid);
            differ(rel, "group", l.st.st_gid, r.st.st_gid);
        }
        if (aspects & kCompareTimes) {
            differ(rel, "modified s", l.st.st_mtim.tv_sec, r.st.st_mtim.tv_sec);
            differ(rel, "modified ns", l.st.st_mtim.tv_nsec, r.st.st_mtim.tv_nsec);
        }
        if ((aspects & kCompareXattrs) && l.xattrs != r.xattrs)
            out.push_back(rel + ": xattrs " + text(l.xattrs) + " / " + text(r.xattrs));
        if ((aspects & kCompareLinks) && file && l.sameFile != r.sameFile)
            out.push_back(rel + ": names of one file " + text(l.sameFile) + " / " +
                          text(r.sameFile));
        if ((aspects & kCompareAllocated) && file)
            differ(rel, "blocks", l.st.st_blocks, r.st.st_blocks);
    }
    for (const auto& [rel, r] : right)
        if (!left.contains(rel)) out.push_back(rel + ": only in " + b);
    return out;
}

}  // namespace zv::test
