#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"

namespace zv::test {

// Forwards everything to another file system, but gives every path the same
// drive name (for example "E:"), as a system with drive letters would.
class DriveLetterFileSystem final : public FileSystem {
  public:
    DriveLetterFileSystem(FileSystem& inner, std::string drive)
        : inner_(inner), drive_(std::move(drive)) {}

    std::string driveName(const std::string&) override { return drive_; }

    FsError listFolder(const std::string& p, std::vector<Entry>& f,
                       std::vector<Entry>& d) override {
        return inner_.listFolder(p, f, d);
    }
    FsError stat(const std::string& p, Entry& e) override { return inner_.stat(p, e); }
    bool fileExists(const std::string& p) override { return inner_.fileExists(p); }
    bool folderExists(const std::string& p) override { return inner_.folderExists(p); }
    FsError createFolder(const std::string& p) override { return inner_.createFolder(p); }
    FsError deleteFile(const std::string& p, bool f) override { return inner_.deleteFile(p, f); }
    FsError deleteFolder(const std::string& p, bool f) override {
        return inner_.deleteFolder(p, f);
    }
    FsError copyFile(const std::string& a, const std::string& b) override {
        return inner_.copyFile(a, b);
    }
    FsError getAttributes(const std::string& p, std::uint32_t& a) override {
        return inner_.getAttributes(p, a);
    }
    FsError setAttributes(const std::string& p, std::uint32_t a) override {
        return inner_.setAttributes(p, a);
    }
    FsError folderSize(const std::string& p, std::uint64_t& b) override {
        return inner_.folderSize(p, b);
    }
    std::string parentFolder(const std::string& p) override { return inner_.parentFolder(p); }
    std::string absolutePath(const std::string& p) override { return inner_.absolutePath(p); }
    FsError volumeName(const std::string& p, std::string& l) override {
        return inner_.volumeName(p, l);
    }
    std::vector<Volume> volumes() override { return inner_.volumes(); }
    FsError readTextFile(const std::string& p, std::string& c) override {
        return inner_.readTextFile(p, c);
    }
    FsError writeFileAtomic(const std::string& p, const std::string& c) override {
        return inner_.writeFileAtomic(p, c);
    }
    FsError writeTextFile(const std::string& p, const std::string& c) override {
        return inner_.writeTextFile(p, c);
    }
    FsError createNewFile(const std::string& p) override { return inner_.createNewFile(p); }
    FsError appendToFile(const std::string& p, const std::string& t) override {
        return inner_.appendToFile(p, t);
    }

  private:
    FileSystem& inner_;
    std::string drive_;
};

}  // namespace zv::test
