#include "Scratch.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "support/TempDir.h"

namespace zv::fuzz {

namespace fs = std::filesystem;

namespace {

// The tree makeScratchTree builds, below the scratch folder.
constexpr const char* kScratchFiles[] = {"src/a.txt",   "src/b/c.txt",      "src/b/d/e.txt",
                                         "dst/old.txt", "dst/sub/keep.txt", "vol/v.txt"};
constexpr const char* kVolumeLabel = "FUZZDISK";

FsError outsideFence(const std::string& path) {
    return fsFail(kErrAccessDenied, "Outside the scratch folder: " + path);
}

std::size_t componentCount(const std::string& path) {
    std::size_t count = 0;
    for (const auto& part : fs::path(path).relative_path()) count += part.empty() ? 0 : 1;
    return count;
}

}  // namespace

void broken(const std::string& what) {
    std::fprintf(stderr, "Broken property: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

std::string textOf(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string lexicalAbsolute(const std::string& path, const std::string& base) {
    std::string normal = (fs::path(base) / path).lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
    return normal;
}

bool within(const std::string& path, const std::string& folder) {
    const fs::path p(path), f(folder);
    auto pi = p.begin();
    for (auto fi = f.begin(); fi != f.end(); ++fi) {
        if (fi->empty()) continue;  // a trailing separator
        while (pi != p.end() && pi->empty()) ++pi;
        if (pi == p.end() || *pi != *fi) return false;
        ++pi;
    }
    return true;
}

void makeScratchTree(const std::string& root) {
    for (const char* file : kScratchFiles)
        test::writeFile(root + "/" + file, std::string("content of ") + file);
    test::makeDirs(root + "/src/b/empty");
    test::makeDirs(root + "/bin");
}

// --- FencedFileSystem --------------------------------------------------------

FencedFileSystem::FencedFileSystem(FileSystem& inner, std::string fence)
    : inner_(inner), fence_(std::move(fence)) {}

bool FencedFileSystem::inside(const std::string& path) const {
    return within(lexicalAbsolute(path, fence_), fence_);
}

bool FencedFileSystem::mayChange(const char* what, const std::string& path, FsError& error) {
    changes.push_back({what, lexicalAbsolute(path, fence_)});
    if (inside(path)) return true;
    error = outsideFence(path);
    return false;
}

FsError FencedFileSystem::listFolder(const std::string& path, std::vector<Entry>& files,
                                     std::vector<Entry>& folders, ListDetail detail) {
    files.clear();
    folders.clear();
    if (!inside(path)) return outsideFence(path);
    return inner_.listFolder(path, files, folders, detail);
}

FsError FencedFileSystem::listNames(const std::string& path, std::vector<FolderName>& names) {
    names.clear();
    if (!inside(path)) return outsideFence(path);
    return inner_.listNames(path, names);
}

FsError FencedFileSystem::countFiles(const std::string& path, std::uint64_t& count) {
    count = 0;
    if (!inside(path)) return outsideFence(path);
    return inner_.countFiles(path, count);
}

std::unique_ptr<PendingCount> FencedFileSystem::startFileCounts(std::vector<std::string> folders) {
    std::erase_if(folders, [this](const std::string& folder) { return !inside(folder); });
    return inner_.startFileCounts(std::move(folders));
}

FsError FencedFileSystem::readTextFile(const std::string& path, std::string& content) {
    content.clear();
    if (!inside(path)) return outsideFence(path);
    return inner_.readTextFile(path, content);
}

FsError FencedFileSystem::createFolder(const std::string& path) {
    FsError e;
    return mayChange("create folder", path, e) ? inner_.createFolder(path) : e;
}

FsError FencedFileSystem::deleteFile(const std::string& path, bool force) {
    FsError e;
    return mayChange("delete file", path, e) ? inner_.deleteFile(path, force) : e;
}

FsError FencedFileSystem::removeEmptyFolder(const std::string& path) {
    FsError e;
    return mayChange("remove empty folder", path, e) ? inner_.removeEmptyFolder(path) : e;
}

FsError FencedFileSystem::copyFile(const std::string& from, const std::string& to) {
    if (!inside(from)) return outsideFence(from);
    FsError e;
    return mayChange("copy to", to, e) ? inner_.copyFile(from, to) : e;
}

FsError FencedFileSystem::moveFile(const std::string& from, const std::string& to) {
    FsError e;
    if (!mayChange("move from", from, e) || !mayChange("move to", to, e)) return e;
    return inner_.moveFile(from, to);
}

FsError FencedFileSystem::keepFolderMetadata(const std::string& from, const std::string& to,
                                             FolderStage stage) {
    if (!inside(from)) return outsideFence(from);
    FsError e;
    return mayChange("keep folder metadata", to, e) ? inner_.keepFolderMetadata(from, to, stage)
                                                    : e;
}

FsError FencedFileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
    FsError e;
    return mayChange("set attributes", path, e) ? inner_.setAttributes(path, attributes) : e;
}

FsError FencedFileSystem::writeFileAtomic(const std::string& path, const std::string& content) {
    FsError e;
    return mayChange("write", path, e) ? inner_.writeFileAtomic(path, content) : e;
}

FsError FencedFileSystem::writeTextFile(const std::string& path, const std::string& content) {
    FsError e;
    return mayChange("write", path, e) ? inner_.writeTextFile(path, content) : e;
}

FsError FencedFileSystem::createNewFile(const std::string& path) {
    FsError e;
    return mayChange("create file", path, e) ? inner_.createNewFile(path) : e;
}

FsError FencedFileSystem::appendToFile(const std::string& path, const std::string& text) {
    FsError e;
    return mayChange("append", path, e) ? inner_.appendToFile(path, text) : e;
}

// --- TreeSnapshot ------------------------------------------------------------

TreeSnapshot snapshotOf(const std::string& root) {
    TreeSnapshot tree;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        ++tree.entries;
        tree.depth = std::max(tree.depth, static_cast<std::size_t>(it.depth()) + 1);
        if (it->is_symlink(ec)) continue;
        const std::string path = it->path().string();
        if (it->is_directory(ec)) tree.folders.insert(path.substr(root.size() + 1));
        if (it->is_regular_file(ec))
            tree.files[path.substr(root.size() + 1)] = test::readFile(path);
    }
    return tree;
}

// --- RunScene ----------------------------------------------------------------

RunScene::RunScene()
    : disk_({system_ / "mountinfo", system_ / "by-label", false, system_ / "fstab", {}}),
      fence_(disk_, rig_.root.path()) {
    // A mount table with the root file system and the volume FUZZDISK on vol/.
    test::makeDirs(system_ / "by-label");
    test::writeFile(system_ / "fstab", "");
    test::writeFile(system_ / "mountinfo", "1 0 0:1 / / rw - ext4 /dev/fuzzroot rw\n2 1 0:2 / " +
                                               root() + "/vol rw - ext4 /dev/fuzzdisk rw\n");
    std::error_code ec;
    fs::create_symlink("/dev/fuzzdisk", system_ / "by-label/" + kVolumeLabel, ec);
    if (ec) broken("cannot label the scratch volume");
    makeScratchTree(root());
    before_ = snapshotOf(root());
    // The real program's relative paths start from its current folder.
    if (char* current = getcwd(nullptr, 0)) {
        previousFolder_ = current;
        std::free(current);
    }
    if (chdir(root().c_str()) != 0) broken("cannot enter the scratch folder");
    rig_.rebuildWindow(fence_);
}

RunScene::~RunScene() {
    if (!previousFolder_.empty() && chdir(previousFolder_.c_str()) != 0) std::perror("chdir");
}

void RunScene::start(const std::string& commandLine) {
    window().svc.env.commandLine = commandLine;
    window().load();
}

void RunScene::checkAfterRun() {
    AppWindow& w = window();
    const TreeSnapshot after = snapshotOf(root());
    const std::string app = appFolder();
    const RunRoots& roots = w.roots;
    const bool ran = roots.source.known() && roots.backup.known();
    const std::string source = roots.source.path, backup = roots.backup.path;

    // No source file or folder is lost or changed. Before a run resolved its
    // folders nothing may change at all; after, only what lies in the backup:
    // a backup inside the source is the backup (the walks leave it out of
    // the source), a source inside the backup stays the source. The
    // application folder holds the job file and Error.Log.
    const bool sourceInBackup = ran && within(source, backup);
    const auto mayChange = [&](const std::string& path) {
        const std::string absolute = root() + "/" + path;
        return within(absolute, app) ||
               (ran && within(absolute, backup) && !(sourceInBackup && within(absolute, source)));
    };
    for (const auto& [path, content] : before_.files) {
        if (mayChange(path)) continue;
        const auto now = after.files.find(path);
        if (now == after.files.end()) broken("a file was lost: " + path);
        if (now->second != content) broken("a file was changed: " + path);
    }
    for (const std::string& path : before_.folders)
        if (!mayChange(path) && !after.folders.contains(path)) broken("a folder was lost: " + path);

    // The tree is not multiplied: a run copies each file once at most, and
    // the dustbin layout adds the source's own path.
    if (after.entries > 2 * before_.entries + 16)
        broken("the tree grew from " + std::to_string(before_.entries) + " to " +
               std::to_string(after.entries) + " entries");
    if (after.depth > 2 * before_.depth + componentCount(root()) + 2)
        broken("the tree grew from depth " + std::to_string(before_.depth) + " to " +
               std::to_string(after.depth));

    // Changes only where the job says: the backup folder, the dustbin folder,
    // the application folder (job file, Error.Log) and the job file itself.
    // (Relative paths lead from the working folder, a job file's name also
    // from the application folder.)
    std::vector<std::string> allowed = {app, backup, roots.dustbin.path,
                                        lexicalAbsolute(w.jobFileName, app)};
    for (const std::string& path : {w.job.backup, w.job.dustbinPath, w.jobFileName})
        if (!path.empty()) allowed.push_back(lexicalAbsolute(path, root()));
    for (const FencedFileSystem::Change& change : fence_.changes) {
        const bool ok = std::any_of(allowed.begin(), allowed.end(), [&](const std::string& a) {
            return !a.empty() && within(change.path, a);
        });
        if (!ok) broken(std::string(change.what) + " outside the job's folders: " + change.path);
    }

    // A run that reports success has a copy of every source file in the
    // backup (the date filter lets every file through: the files are newer
    // than any from-date a run accepts).
    if (!ran || w.exitStatus() != 0 || !w.runCompleted) return;
    for (const auto& [path, content] : before_.files) {
        const std::string absolute = root() + "/" + path;
        if (!within(absolute, source) || within(absolute, backup) || within(absolute, app))
            continue;
        const std::string copy = backup + absolute.substr(source.size());
        const auto found = within(copy, root()) ? after.files.find(copy.substr(root().size() + 1))
                                                : after.files.end();
        if (found == after.files.end() || found->second != content)
            broken("a run that succeeded has no copy of " + path + " at " + copy);
    }
}

}  // namespace zv::fuzz
