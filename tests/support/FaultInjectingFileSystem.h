#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace zv::test {

// The operations a test can make fail.
enum class FsOp {
    List,
    Stat,
    CopyFile,
    MoveFile,
    DeleteFile,
    DeleteFolder,
    CreateFolder,
    SetAttributes,
    GetAttributes,
    FolderSize,
    FlushVolume,
    WriteFileAtomic,
    Any
};

// A file system that forwards every call to another one, except the calls a
// test has chosen to fail. A rule matches when its operation is the one
// called (or Any) and one of the call's path arguments contains the rule's
// text; the call then returns the rule's error number without reaching the
// wrapped file system. Every call is also counted per operation.
class FaultInjectingFileSystem final : public FileSystem {
  public:
    explicit FaultInjectingFileSystem(FileSystem& inner) : inner_(inner) {}

    // times -1: every matching call fails; otherwise only the next `times`.
    void failOn(FsOp op, std::string pathSubstring, int errorNumber, int times = -1);
    // Removes every rule.
    void clearFailures() { rules_.clear(); }
    // How many calls of an operation reached this wrapper (failed or not);
    // Any gives the total of all counted operations.
    long calls(FsOp op) const;
    // How many calls were failed by a rule.
    long injected() const { return injected_; }
    // Runs before every counted call, with the operation and its first path.
    std::function<void(FsOp, const std::string&)> beforeCall;
    // Lets a test change what listFolder and stat report (for example a
    // birth time that cannot be set on a real file); called with the entry's
    // full path.
    std::function<void(const std::string& path, Entry&)> adjustEntry;
    // Lets a test hand out the pending tree sizes (for example ones that are
    // late); unset, sizes are summed at once through this wrapper.
    std::function<std::unique_ptr<PendingSize>(std::vector<std::string>)> startSizes;

    using FileSystem::listFolder;
    FsError listFolder(const std::string& path, std::vector<Entry>& files,
                       std::vector<Entry>& folders, ListDetail detail) override;
    FsError listNames(const std::string& path, std::vector<FolderName>& names) override;
    FsError stat(const std::string& path, Entry& out) override;
    PathInfo lookup(const std::string& path) override;
    FsError resolveFolder(const std::string& path, std::string& real, PathInfo& info) override;
    bool fileExists(const std::string& path) override { return inner_.fileExists(path); }
    bool folderExists(const std::string& path) override { return inner_.folderExists(path); }
    FsError createFolder(const std::string& path) override;
    FsError deleteFile(const std::string& path, bool force) override;
    FsError deleteFolder(const std::string& path, bool force) override;
    FsError removeEmptyFolder(const std::string& path) override;
    FsError copyFile(const std::string& from, const std::string& to) override;
    FsError moveFile(const std::string& from, const std::string& to) override;
    FsError keepFolderMetadata(const std::string& from, const std::string& to,
                               FolderStage stage) override {
        return inner_.keepFolderMetadata(from, to, stage);
    }
    std::uint32_t takeUnkept() override { return inner_.takeUnkept(); }
    FsError getAttributes(const std::string& path, std::uint32_t& attributes) override;
    FsError setAttributes(const std::string& path, std::uint32_t attributes) override;
    FsError folderSize(const std::string& path, std::uint64_t& bytes) override;
    std::unique_ptr<PendingSize> startFolderSizes(std::vector<std::string> folders) override {
        if (startSizes) return startSizes(std::move(folders));
        return FileSystem::startFolderSizes(std::move(folders));
    }
    std::string parentFolder(const std::string& path) override { return inner_.parentFolder(path); }
    std::string absolutePath(const std::string& path) override { return inner_.absolutePath(path); }
    std::string driveName(const std::string& path) override { return inner_.driveName(path); }
    FsError volumeName(const std::string& path, std::string& label) override {
        return inner_.volumeName(path, label);
    }
    std::vector<Volume> volumes() override { return inner_.volumes(); }
    FsError diskIsMounted(const std::string& path) override { return inner_.diskIsMounted(path); }
    FsError flushVolume(const std::string& path) override;
    FsError lockExclusive(const std::string& path, std::unique_ptr<HeldLock>& lock) override {
        return inner_.lockExclusive(path, lock);
    }
    FsError readTextFile(const std::string& path, std::string& content) override {
        return inner_.readTextFile(path, content);
    }
    FsError writeFileAtomic(const std::string& path, const std::string& content) override;
    FsError writeTextFile(const std::string& path, const std::string& content) override {
        return inner_.writeTextFile(path, content);
    }
    FsError createNewFile(const std::string& path) override { return inner_.createNewFile(path); }
    FsError appendToFile(const std::string& path, const std::string& text) override {
        return inner_.appendToFile(path, text);
    }

  private:
    struct Rule {
        FsOp op;
        std::string pathSubstring;
        int errorNumber;
        int remaining;  // -1: unlimited
    };

    // Counts the call and returns the injected error, if a rule matches.
    FsError check(FsOp op, const std::string& path, const std::string& otherPath = {});

    FileSystem& inner_;
    std::vector<Rule> rules_;
    std::array<long, static_cast<std::size_t>(FsOp::Any)> calls_{};
    long injected_ = 0;
};

}  // namespace zv::test
