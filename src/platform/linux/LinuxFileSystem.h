#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/linux/DiskSync.h"
#include "platform/linux/FileCopy.h"
#include "platform/linux/FolderHandles.h"
#include "platform/linux/MountTable.h"
#include "platform/linux/WriteBehind.h"

namespace zv {

// The file-system service on Linux (POSIX calls, statx, extended attributes
// for the recorded attribute bits, the mount table for drives and volumes).
class LinuxFileSystem final : public FileSystem {
  public:
    LinuxFileSystem() = default;
    explicit LinuxFileSystem(MountSources sources) : sources_(std::move(sources)) {}
    // `sync` takes the steps that put data on the disk (tests record them).
    LinuxFileSystem(MountSources sources, DiskSync& sync)
        : sources_(std::move(sources)), sync_(&sync) {}

    using FileSystem::listFolder;
    FsError listFolder(const std::string& path, std::vector<Entry>& files,
                       std::vector<Entry>& folders, ListDetail detail) override;
    FsError listNames(const std::string& path, std::vector<FolderName>& names) override;
    FsError stat(const std::string& path, Entry& out) override;
    PathInfo lookup(const std::string& path) override;
    FsError resolveFolder(const std::string& path, std::string& real, PathInfo& info) override;
    bool fileExists(const std::string& path) override;
    bool folderExists(const std::string& path) override;

    FsError createFolder(const std::string& path) override;
    FsError deleteFile(const std::string& path, bool force) override;
    FsError removeEmptyFolder(const std::string& path) override;
    FsError copyFile(const std::string& from, const std::string& to) override;
    FsError copyListedFile(const std::string& from, const std::string& to) override;
    FsError moveFile(const std::string& from, const std::string& to) override;
    FsError keepFolderMetadata(const std::string& from, const std::string& to,
                               FolderStage stage) override;
    std::uint32_t takeUnkept() override;
    void holdFolders(bool hold) override {
        handles_.hold(hold);
        writeBehind_.setOn(hold);
    }
    void beginReplacementBatches() override { memory_.batch.setOn(true); }
    std::vector<LateFailure> endReplacementBatches() override;

    FsError getAttributes(const std::string& path, std::uint32_t& attributes) override;
    FsError setAttributes(const std::string& path, std::uint32_t attributes) override;
    FsError countFiles(const std::string& path, std::uint64_t& count) override;
    // On a thread of its own.
    std::unique_ptr<PendingCount> startFileCounts(std::vector<std::string> folders) override;

    std::string parentFolder(const std::string& path) override;
    std::string absolutePath(const std::string& path) override;
    std::string driveName(const std::string& path) override;
    FsError volumeName(const std::string& path, std::string& label) override;
    std::vector<Volume> volumes() override;
    FsError diskIsMounted(const std::string& path) override;
    FsError lockExclusive(const std::string& path, std::unique_ptr<HeldLock>& lock) override;
    FsError flushVolume(const std::string& path) override;

    FsError readTextFile(const std::string& path, std::string& content) override;
    FsError writeFileAtomic(const std::string& path, const std::string& content) override;
    FsError writeTextFile(const std::string& path, const std::string& content) override;
    FsError createNewFile(const std::string& path) override;
    FsError appendToFile(const std::string& path, const std::string& text) override;

  private:
    FsError copy(const std::string& from, const std::string& to, SourceSeen seen);
    MountSources sources_;
    DiskSync& sync() { return sync_ ? *sync_ : ownSync_; }
    void nameBatch();

    CopyMemory memory_;  // what the copies of a run remember
    FolderHandles handles_;
    DiskSync ownSync_;
    DiskSync* sync_ = nullptr;         // the test's, where one is given
    WriteBehind writeBehind_{sync()};  // while a run walks
};

}  // namespace zv
