#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace zv::test {

enum class FsOp {
    List,
    Stat,
    CopyFile,
    MoveFile,
    DeleteFile,
    CreateFolder,
    CountFiles,
    FlushVolume,
    WriteFileAtomic,
    Any
};

// Forwards every call to another file system, but a call of a rule's operation (or Any)
// on a path containing the rule's text returns the rule's error number. Counts calls.
struct FaultInjectingFileSystem final : FileSystem {
    using enum FsOp;
    using Path = const std::string&;

    explicit FaultInjectingFileSystem(FileSystem& inner) : inner_(inner) {}

    // times -1: every matching call fails; otherwise only the next `times`.
    void failOn(FsOp op, std::string pathSubstring, int errorNumber, int times = -1) {
        rules_.push_back(Rule{op, std::move(pathSubstring), errorNumber, times});
    }
    void clearFailures() { rules_.clear(); }
    // Calls of an operation, failed or not (Any: of all operations).
    long calls(FsOp op) const { return calls_[static_cast<std::size_t>(op)]; }
    long injected() const { return injected_; }
    // Runs before every counted call, with the operation and its first path.
    std::function<void(FsOp, const std::string&)> beforeCall;
    // Changes what listFolder and stat report for a full path (a birth time, say).
    std::function<void(const std::string& path, Entry&)> adjustEntry;
    // Hands out pending file counts (late ones, say); unset, summed at once.
    std::function<std::unique_ptr<PendingCount>(std::vector<std::string>)> startCounts;
    std::string drive;  // the drive name every path is on, where set

    using FileSystem::listFolder;
    FsError listFolder(const std::string& path, std::vector<Entry>& files,
                       std::vector<Entry>& folders, ListDetail detail) override {
        files.clear();  // as a listing that fails leaves them
        folders.clear();
        const FsError result = guarded(
            List, path, {}, [&] { return inner_.listFolder(path, files, folders, detail); });
        const std::string folder = path.empty() || path.back() != kSep ? path + kSep : path;
        for (std::vector<Entry>* list : {&files, &folders})
            for (Entry& e : *list)
                if (adjustEntry) adjustEntry(folder + e.name, e);
        return result;
    }
    FsError listNames(const std::string& path, std::vector<FolderName>& names) override {
        names.clear();  // as a listing that fails leaves them
        return guarded(List, path, {}, [&] { return inner_.listNames(path, names); });
    }
    FsError stat(const std::string& path, Entry& out) override {
        const FsError result = guarded(Stat, path, {}, [&] { return inner_.stat(path, out); });
        if (result.ok() && adjustEntry) adjustEntry(path, out);
        return result;
    }
    PathInfo lookup(const std::string& path) override {
        if (FsError e = check(Stat, path); e.failed()) return failedLook(e);
        return inner_.lookup(path);
    }
    FsError resolveFolder(const std::string& path, std::string& real, PathInfo& info) override {
        real.clear();
        if (FsError e = check(Stat, path); e.failed()) return (info = failedLook(e)).error;
        return inner_.resolveFolder(path, real, info);
    }
    bool fileExists(Path p) override { return inner_.fileExists(p); }
    bool folderExists(Path p) override { return inner_.folderExists(p); }
    FsError createFolder(Path p) override {
        return guarded(CreateFolder, p, {}, [&] { return inner_.createFolder(p); });
    }
    FsError deleteFile(Path p, bool force) override {
        return guarded(DeleteFile, p, {}, [&] { return inner_.deleteFile(p, force); });
    }
    FsError removeEmptyFolder(Path p) override { return inner_.removeEmptyFolder(p); }
    FsError copyFile(Path from, Path to) override {
        return guarded(CopyFile, from, to, [&] { return inner_.copyFile(from, to); });
    }
    FsError copyListedFile(Path from, Path to) override {
        return guarded(CopyFile, from, to, [&] { return inner_.copyListedFile(from, to); });
    }
    FsError moveFile(Path from, Path to) override {
        return guarded(MoveFile, from, to, [&] { return inner_.moveFile(from, to); });
    }
    FsError keepFolderMetadata(Path from, Path to, FolderStage stage) override {
        return inner_.keepFolderMetadata(from, to, stage);
    }
    std::uint32_t takeUnkept() override { return inner_.takeUnkept(); }
    void holdFolders(bool hold) override { inner_.holdFolders(hold); }
    void beginReplacementBatches() override { inner_.beginReplacementBatches(); }
    std::vector<LateFailure> endReplacementBatches() override {
        return inner_.endReplacementBatches();
    }
    FsError getAttributes(Path p, std::uint32_t& a) override { return inner_.getAttributes(p, a); }
    FsError setAttributes(Path p, std::uint32_t a) override { return inner_.setAttributes(p, a); }
    FsError countFiles(Path p, std::uint64_t& count) override {
        return guarded(CountFiles, p, {}, [&] { return inner_.countFiles(p, count); });
    }
    std::unique_ptr<PendingCount> startFileCounts(std::vector<std::string> folders) override {
        return startCounts ? startCounts(std::move(folders))
                           : FileSystem::startFileCounts(std::move(folders));
    }
    std::string parentFolder(Path p) override { return inner_.parentFolder(p); }
    std::string absolutePath(Path p) override { return inner_.absolutePath(p); }
    std::string driveName(Path p) override { return drive.empty() ? inner_.driveName(p) : drive; }
    FsError volumeName(Path p, std::string& label) override { return inner_.volumeName(p, label); }
    std::vector<Volume> volumes() override { return inner_.volumes(); }
    FsError diskIsMounted(Path p) override { return inner_.diskIsMounted(p); }
    FsError flushVolume(Path p) override {
        return guarded(FlushVolume, p, {}, [&] { return inner_.flushVolume(p); });
    }
    FsError lockExclusive(Path p, std::unique_ptr<HeldLock>& lock) override {
        return inner_.lockExclusive(p, lock);
    }
    FsError readTextFile(Path p, std::string& out) override { return inner_.readTextFile(p, out); }
    FsError writeFileAtomic(Path p, Path text) override {
        return guarded(WriteFileAtomic, p, {}, [&] { return inner_.writeFileAtomic(p, text); });
    }
    FsError writeTextFile(Path p, Path text) override { return inner_.writeTextFile(p, text); }
    FsError createNewFile(Path p) override { return inner_.createNewFile(p); }
    FsError appendToFile(Path p, Path text) override { return inner_.appendToFile(p, text); }

  private:
    struct Rule {
        FsOp op;
        std::string pathSubstring;
        int errorNumber, remaining;  // remaining -1: unlimited
    };

    // Counts the call and returns the injected error, if a rule matches.
    FsError check(FsOp op, Path path, Path other = {}) {
        ++calls_[static_cast<std::size_t>(op)];
        ++calls_[static_cast<std::size_t>(Any)];
        if (beforeCall) beforeCall(op, path);
        for (Rule& rule : rules_) {
            if (rule.remaining == 0 || (rule.op != Any && rule.op != op)) continue;
            if (!has(path, rule.pathSubstring) && !has(other, rule.pathSubstring)) continue;
            if (rule.remaining > 0) --rule.remaining;
            ++injected_;
            return fsFail(rule.errorNumber,
                          rule.errorNumber == kErrDiskFull
                              ? "No space left on device (injected)"
                              : "Injected error " + std::to_string(rule.errorNumber));
        }
        return fsOk();
    }
    static bool has(Path text, Path part) { return !text.empty() && text.find(part) != text.npos; }
    static PathInfo failedLook(const FsError& e) {
        return PathInfo{
            isAbsence(e) ? Presence::Absent : Presence::Unknown, EntryKind::File, {}, false, e};
    }
    // The injected error, or what `call` on the wrapped file system returns.
    template <typename Call>
    FsError guarded(FsOp op, Path path, Path other, Call call) {
        if (FsError e = check(op, path, other); e.failed()) return e;
        return call();
    }

    FileSystem& inner_;
    std::vector<Rule> rules_;
    std::array<long, static_cast<std::size_t>(FsOp::Any) + 1> calls_{};  // [Any]: all
    long injected_ = 0;
};

}  // namespace zv::test
