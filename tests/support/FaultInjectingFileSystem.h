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
// test chose to fail: those of a rule's operation (or Any) with a path that
// contains the rule's text return its error number. Calls are counted.
class FaultInjectingFileSystem final : public FileSystem {
    using enum FsOp;

  public:
    explicit FaultInjectingFileSystem(FileSystem& inner) : inner_(inner) {}

    // times -1: every matching call fails; otherwise only the next `times`.
    void failOn(FsOp op, std::string pathSubstring, int errorNumber, int times = -1);
    void clearFailures() { rules_.clear(); }
    // Calls of an operation, failed or not (Any: of all operations).
    long calls(FsOp op) const;
    long injected() const { return injected_; }
    // Runs before every counted call, with the operation and its first path.
    std::function<void(FsOp, const std::string&)> beforeCall;
    // Changes what listFolder and stat report for an entry's full path (for
    // example a birth time that cannot be set on a real file).
    std::function<void(const std::string& path, Entry&)> adjustEntry;
    // Hands out pending tree sizes (late ones, say); unset, summed at once.
    std::function<std::unique_ptr<PendingSize>(std::vector<std::string>)> startSizes;

    using FileSystem::listFolder;
    FsError listFolder(const std::string& path, std::vector<Entry>& files,
                       std::vector<Entry>& folders, ListDetail detail) override;
    FsError listNames(const std::string& path, std::vector<FolderName>& names) override {
        names.clear();  // as a listing that fails leaves them
        return guarded(List, path, [&] { return inner_.listNames(path, names); });
    }
    FsError stat(const std::string& path, Entry& out) override;
    PathInfo lookup(const std::string& path) override;
    FsError resolveFolder(const std::string& path, std::string& real, PathInfo& info) override;
    bool fileExists(const std::string& path) override { return inner_.fileExists(path); }
    bool folderExists(const std::string& path) override { return inner_.folderExists(path); }
    FsError createFolder(const std::string& path) override {
        return guarded(CreateFolder, path, [&] { return inner_.createFolder(path); });
    }
    FsError deleteFile(const std::string& path, bool force) override {
        return guarded(DeleteFile, path, [&] { return inner_.deleteFile(path, force); });
    }
    FsError deleteFolder(const std::string& path, bool force) override {
        return guarded(DeleteFolder, path, [&] { return inner_.deleteFolder(path, force); });
    }
    FsError removeEmptyFolder(const std::string& path) override {
        return guarded(DeleteFolder, path, [&] { return inner_.removeEmptyFolder(path); });
    }
    FsError copyFile(const std::string& from, const std::string& to) override {
        return guarded(
            CopyFile, from, [&] { return inner_.copyFile(from, to); }, to);
    }
    FsError moveFile(const std::string& from, const std::string& to) override {
        return guarded(
            MoveFile, from, [&] { return inner_.moveFile(from, to); }, to);
    }
    FsError keepFolderMetadata(const std::string& from, const std::string& to,
                               FolderStage stage) override {
        return inner_.keepFolderMetadata(from, to, stage);
    }
    std::uint32_t takeUnkept() override { return inner_.takeUnkept(); }
    FsError getAttributes(const std::string& path, std::uint32_t& attributes) override {
        return guarded(GetAttributes, path, [&] { return inner_.getAttributes(path, attributes); });
    }
    FsError setAttributes(const std::string& path, std::uint32_t attributes) override {
        return guarded(SetAttributes, path, [&] { return inner_.setAttributes(path, attributes); });
    }
    FsError folderSize(const std::string& path, std::uint64_t& bytes) override {
        return guarded(FolderSize, path, [&] { return inner_.folderSize(path, bytes); });
    }
    std::unique_ptr<PendingSize> startFolderSizes(std::vector<std::string> folders) override {
        return startSizes ? startSizes(std::move(folders))
                          : FileSystem::startFolderSizes(std::move(folders));
    }
    std::string parentFolder(const std::string& path) override { return inner_.parentFolder(path); }
    std::string absolutePath(const std::string& path) override { return inner_.absolutePath(path); }
    std::string driveName(const std::string& path) override { return inner_.driveName(path); }
    FsError volumeName(const std::string& path, std::string& label) override {
        return inner_.volumeName(path, label);
    }
    std::vector<Volume> volumes() override { return inner_.volumes(); }
    FsError diskIsMounted(const std::string& path) override { return inner_.diskIsMounted(path); }
    FsError flushVolume(const std::string& path) override {
        return guarded(FlushVolume, path, [&] { return inner_.flushVolume(path); });
    }
    FsError lockExclusive(const std::string& path, std::unique_ptr<HeldLock>& lock) override {
        return inner_.lockExclusive(path, lock);
    }
    FsError readTextFile(const std::string& path, std::string& content) override {
        return inner_.readTextFile(path, content);
    }
    FsError writeFileAtomic(const std::string& path, const std::string& content) override {
        return guarded(WriteFileAtomic, path,
                       [&] { return inner_.writeFileAtomic(path, content); });
    }
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
    // The injected error, or what `call` on the wrapped file system returns.
    template <typename Call>
    FsError guarded(FsOp op, const std::string& path, Call call, const std::string& other = {}) {
        if (FsError e = check(op, path, other); e.failed()) return e;
        return call();
    }

    FileSystem& inner_;
    std::vector<Rule> rules_;
    std::array<long, static_cast<std::size_t>(FsOp::Any)> calls_{};
    long injected_ = 0;
};

}  // namespace zv::test
