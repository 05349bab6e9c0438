#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace zv::test {

// Forwards to a real file system, but lets a test say which volume name holds
// which folder and which volumes are mounted, and counts how job files are
// written.
class LabelledFileSystem final : public FileSystem {
  public:
    explicit LabelledFileSystem(FileSystem& inner) : inner_(inner) {}

    // Paths at or below `folder` lie on a volume named `label`.
    void label(const std::string& folder, const std::string& name) { labels_[folder] = name; }
    // The mounted volumes the drive list is built from.
    std::optional<std::vector<Volume>> mounted;
    long atomicWrites = 0;
    long plainWrites = 0;

    FsError volumeName(const std::string& path, std::string& out) override {
        std::string best;
        for (const auto& [folder, name] : labels_) {
            const bool within = path.compare(0, folder.size(), folder) == 0 &&
                                (path.size() == folder.size() || path[folder.size()] == '/');
            if (within && folder.size() >= best.size()) {
                best = folder;
                out = name;
            }
        }
        if (!best.empty()) return {};
        return inner_.volumeName(path, out);
    }
    std::vector<Volume> volumes() override { return mounted ? *mounted : inner_.volumes(); }
    FsError writeFileAtomic(const std::string& path, const std::string& content) override {
        ++atomicWrites;
        return inner_.writeFileAtomic(path, content);
    }
    FsError writeTextFile(const std::string& path, const std::string& content) override {
        ++plainWrites;
        return inner_.writeTextFile(path, content);
    }

    FsError listFolder(const std::string& path, std::vector<Entry>& files,
                       std::vector<Entry>& folders) override {
        return inner_.listFolder(path, files, folders);
    }
    FsError stat(const std::string& path, Entry& out) override { return inner_.stat(path, out); }
    bool fileExists(const std::string& path) override { return inner_.fileExists(path); }
    bool folderExists(const std::string& path) override { return inner_.folderExists(path); }
    FsError createFolder(const std::string& path) override { return inner_.createFolder(path); }
    FsError deleteFile(const std::string& path, bool force) override {
        return inner_.deleteFile(path, force);
    }
    FsError deleteFolder(const std::string& path, bool force) override {
        return inner_.deleteFolder(path, force);
    }
    FsError copyFile(const std::string& from, const std::string& to) override {
        return inner_.copyFile(from, to);
    }
    FsError getAttributes(const std::string& path, std::uint32_t& attributes) override {
        return inner_.getAttributes(path, attributes);
    }
    FsError setAttributes(const std::string& path, std::uint32_t attributes) override {
        return inner_.setAttributes(path, attributes);
    }
    FsError folderSize(const std::string& path, std::uint64_t& bytes) override {
        return inner_.folderSize(path, bytes);
    }
    std::string parentFolder(const std::string& path) override { return inner_.parentFolder(path); }
    std::string absolutePath(const std::string& path) override { return inner_.absolutePath(path); }
    std::string driveName(const std::string& path) override { return inner_.driveName(path); }
    FsError readTextFile(const std::string& path, std::string& content) override {
        return inner_.readTextFile(path, content);
    }
    FsError createNewFile(const std::string& path) override { return inner_.createNewFile(path); }
    FsError appendToFile(const std::string& path, const std::string& text) override {
        return inner_.appendToFile(path, text);
    }

  private:
    FileSystem& inner_;
    std::map<std::string, std::string> labels_;
};

}  // namespace zv::test
