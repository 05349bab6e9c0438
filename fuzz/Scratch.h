#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/AppWindow.h"
#include "platform/linux/LinuxFileSystem.h"
#include "support/TestRig.h"

// What the fuzz harnesses share: a small scratch folder, a file system that
// keeps a run inside it, and the checks made after a run.
namespace zv::fuzz {

// A broken property: says which and aborts, so that libFuzzer keeps the input.
[[noreturn]] void broken(const std::string& what);

// The input's bytes as text, and cut into lines (LF or CR LF).
std::string textOf(const std::uint8_t* data, std::size_t size);
std::vector<std::string> linesOf(const std::string& text);

// `path` made absolute against `base`, "." and ".." taken away textually.
std::string lexicalAbsolute(const std::string& path, const std::string& base);
// `path` is `folder` or lies below it, compared by whole components.
bool within(const std::string& path, const std::string& folder);

// Fills a scratch folder: src/ with a few files in subfolders and an empty
// folder, dst/ (a backup holding an orphan and a folder of its own), bin/ (an
// empty dustbin) and vol/ (the folder of the volume FUZZDISK). Every file
// name is unique.
void makeScratchTree(const std::string& root);

// Forwards to another file system, but refuses every change, every listing
// and every file read outside `fence`, so that no input can reach the rest
// of the machine. Every change asked for, refused or not, is recorded.
class FencedFileSystem final : public FileSystem {
  public:
    FencedFileSystem(FileSystem& inner, std::string fence);

    struct Change {
        const char* what;
        std::string path;  // absolute, without "." and ".."
    };
    std::vector<Change> changes;

    using FileSystem::listFolder;
    FsError listFolder(const std::string& path, std::vector<Entry>& files,
                       std::vector<Entry>& folders, ListDetail detail) override;
    FsError listNames(const std::string& path, std::vector<FolderName>& names) override;
    FsError stat(const std::string& path, Entry& out) override { return inner_.stat(path, out); }
    PathInfo lookup(const std::string& path) override { return inner_.lookup(path); }
    FsError resolveFolder(const std::string& path, std::string& real, PathInfo& info) override {
        return inner_.resolveFolder(path, real, info);
    }
    bool fileExists(const std::string& path) override { return inner_.fileExists(path); }
    bool folderExists(const std::string& path) override { return inner_.folderExists(path); }
    FsError createFolder(const std::string& path) override;
    FsError deleteFile(const std::string& path, bool force) override;
    FsError removeEmptyFolder(const std::string& path) override;
    FsError copyFile(const std::string& from, const std::string& to) override;
    FsError moveFile(const std::string& from, const std::string& to) override;
    FsError keepFolderMetadata(const std::string& from, const std::string& to,
                               FolderStage stage) override;
    std::uint32_t takeUnkept() override { return inner_.takeUnkept(); }
    void holdFolders(bool hold) override { inner_.holdFolders(hold); }
    void beginReplacementBatches() override { inner_.beginReplacementBatches(); }
    std::vector<LateFailure> endReplacementBatches() override {
        return inner_.endReplacementBatches();
    }
    FsError getAttributes(const std::string& path, std::uint32_t& attributes) override {
        return inner_.getAttributes(path, attributes);
    }
    FsError setAttributes(const std::string& path, std::uint32_t attributes) override;
    FsError countFiles(const std::string& path, std::uint64_t& count) override;
    std::unique_ptr<PendingCount> startFileCounts(std::vector<std::string> folders) override;
    std::string parentFolder(const std::string& path) override { return inner_.parentFolder(path); }
    std::string absolutePath(const std::string& path) override { return inner_.absolutePath(path); }
    std::string driveName(const std::string& path) override { return inner_.driveName(path); }
    FsError volumeName(const std::string& path, std::string& label) override {
        return inner_.volumeName(path, label);
    }
    std::vector<Volume> volumes() override { return inner_.volumes(); }
    FsError diskIsMounted(const std::string& path) override { return inner_.diskIsMounted(path); }
    FsError flushVolume(const std::string& path) override { return inner_.flushVolume(path); }
    FsError lockExclusive(const std::string& path, std::unique_ptr<HeldLock>& lock) override {
        return inner_.lockExclusive(path, lock);
    }
    FsError readTextFile(const std::string& path, std::string& content) override;
    FsError writeFileAtomic(const std::string& path, const std::string& content) override;
    FsError writeTextFile(const std::string& path, const std::string& content) override;
    FsError createNewFile(const std::string& path) override;
    FsError appendToFile(const std::string& path, const std::string& text) override;

  private:
    bool inside(const std::string& path) const;
    // Records a change; false (and the refusal in `error`) outside the fence.
    bool mayChange(const char* what, const std::string& path, FsError& error);

    FileSystem& inner_;
    std::string fence_;
};

// Every file of a tree (its path below the root, its content), every
// folder, and the tree's size in entries and depth.
struct TreeSnapshot {
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::size_t entries = 0;
    std::size_t depth = 0;
};
TreeSnapshot snapshotOf(const std::string& root);

// The program started in-process on a scratch folder that is also its
// working folder: dialogs answer themselves, the clock shows the real
// time, and the scratch folder's vol/ is the volume FUZZDISK.
class RunScene {
  public:
    RunScene();
    ~RunScene();
    RunScene(const RunScene&) = delete;
    RunScene& operator=(const RunScene&) = delete;

    const std::string& root() const { return rig_.root.path(); }
    std::string appFolder() const { return rig_.appFolder(); }
    AppWindow& window() { return rig_.w(); }
    // Starts the program with this text after its name; an unattended run
    // runs to its end before this returns.
    void start(const std::string& commandLine);
    // Aborts when the run lost or changed a source file, multiplied the
    // tree, changed anything outside the folders the job names, or reported
    // success without a copy of every source file.
    void checkAfterRun();

  private:
    test::TempDir system_;  // the mount table and label folder of the scene
    test::TestRig rig_;
    LinuxFileSystem disk_;
    FencedFileSystem fence_;
    TreeSnapshot before_;
    std::string previousFolder_;
};

}  // namespace zv::fuzz
