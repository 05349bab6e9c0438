#include <chrono>

#include "PlatformTest.h"
#include "platform/DiskSync.h"
#include "platform/TempFile.h"

namespace zv::test {
namespace {

using namespace std::chrono_literals;

std::string pattern(std::size_t size) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>('a' + (i * 7 + i / 4096) % 26);
    return s;
}

using FileCopyTest = PlatformTest;

// A plain overwrite would destroy the old backup copy when the disk fills up.
TEST_F(FileCopyTest, FullDiskLeavesTheOldTargetAndNoTemporaryFile) {
    ScratchMount small(dir / "small", ScratchMount::Tmpfs, "1m");
    if (!small.ok()) GTEST_SKIP() << small.why();
    writeFile(dir / "big", pattern(2 * 1024 * 1024));
    writeFile(small.path() + "/target", "old backup copy");
    FsError e = fs.copyFile(dir / "big", small.path() + "/target");
    EXPECT_EQ(e.number, kErrDiskFull) << e.description;
    EXPECT_EQ(readFile(small.path() + "/target"), "old backup copy");
    EXPECT_EQ(fs.copyFile(dir / "big", small.path() + "/fresh").number, kErrDiskFull);
    EXPECT_EQ(entriesIn(small.path()), 1);  // no temporary file left
}

TEST_F(FileCopyTest, CopiesEverySizeCompletelyWithinAndAcrossFileSystems) {
    ScratchMount other(dir / "other", ScratchMount::Tmpfs, "8m");
    makeDirs(dir / "in");
    // Around the copy buffer's smallest size, nothing at all, and large.
    for (const std::size_t size : {0, 100, 65535, 65536, 65537, 3 * 1024 * 1024 + 17}) {
        SCOPED_TRACE(size);
        const std::string content = pattern(size);
        writeFile(dir / "in/src", content);
        writeFile(dir / "in/dst", "an older, longer backup copy");
        ASSERT_TRUE(fs.copyFile(dir / "in/src", dir / "in/dst").ok());
        EXPECT_EQ(readFile(dir / "in/dst"), content);
        EXPECT_EQ(entriesIn(dir / "in"), 2);
        if (!other.ok()) continue;  // no second file system here
        ASSERT_TRUE(fs.copyFile(dir / "in/src", other.path() + "/dst").ok());
        ASSERT_TRUE(fs.copyFile(other.path() + "/dst", dir / "back").ok());
        EXPECT_EQ(readFile(dir / "back"), content);
    }
}

TEST_F(FileCopyTest, CarriesTimesToTheNanosecondAndPermissionsButNoSetUserBit) {
    writeFile(dir / "src", "#!/bin/sh\n");
    writeFile(dir / "dst", "old");
    chmod((dir / "src").c_str(), 04750);
    timespec times[2] = {{1500000000, 123456789}, {1400000000, 987654321}};  // access, modified
    ASSERT_EQ(utimensat(AT_FDCWD, (dir / "src").c_str(), times, 0), 0);
    ASSERT_TRUE(fs.copyFile(dir / "src", dir / "dst").ok());
    Entry src, dst;
    ASSERT_TRUE(fs.stat(dir / "src", src).ok());
    ASSERT_TRUE(fs.stat(dir / "dst", dst).ok());
    EXPECT_EQ(dst.modified.time_since_epoch(), 1400000000s + 987654321ns);
    EXPECT_EQ(dst.accessed, src.accessed);
    // Reading the source left its access time (relatime would have moved it).
    EXPECT_EQ(src.accessed.time_since_epoch(), 1500000000s + 123456789ns);
    EXPECT_EQ(modeOf(dir / "dst"), 0750u);
}

TEST_F(FileCopyTest, LinksAreCopiedAsLinksAndSpecialFilesRefusedAtOnce) {
    makeDirs(dir / "realFolder");
    link("realFolder", dir / "toFolder");
    link("../nowhere", dir / "dangling");
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0644), 0);
    makeDirs(dir / "out");
    ASSERT_TRUE(fs.copyFile(dir / "toFolder", dir / "out/toFolder").ok());
    ASSERT_TRUE(fs.copyFile(dir / "dangling", dir / "out/dangling").ok());
    EXPECT_EQ(std::filesystem::read_symlink(dir / "out/toFolder"), "realFolder");
    // Copying onto a link replaces the link itself, never what it points to.
    writeFile(dir / "plain", "p");
    ASSERT_TRUE(fs.copyFile(dir / "plain", dir / "out/toFolder").ok());
    EXPECT_EQ(readFile(dir / "out/toFolder"), "p");
    // A FIFO would hang the run; devices and folders are no files either.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(fs.copyFile(dir / "pipe", dir / "out/x").number, kErrAccessDenied);
    EXPECT_EQ(fs.copyFile("/dev/null", dir / "out/x").number, kErrAccessDenied);
    EXPECT_EQ(fs.copyFile(dir / "plain", dir / "realFolder").number, kErrAccessDenied);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_TRUE(fs.folderExists(dir / "realFolder"));
    EXPECT_EQ(fs.copyFile(dir / "realFolder", dir / "out/x").number, kErrFileNotFound);
    EXPECT_EQ(entriesIn(dir / "out"), 2);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "out/dangling"));
}

// The temporary file goes beside the target, also for a bare name.
// A move within one file system is a rename: the very file arrives, with all
// it carries. It refuses what a copy refuses, and says so when the target
// lies on another file system, touching nothing.
TEST_F(FileCopyTest, MovesInOneStepWithinAFileSystemOnly) {
    writeFile(dir / "orphan", "orphan");
    setTimes(dir / "orphan", 1'000'000'000, 1'100'000'000);
    ASSERT_TRUE(fs.setAttributes(dir / "orphan", kAttrHidden | kAttrArchive).ok());
    writeFile(dir / "bin/orphan", "an earlier one");
    struct stat before {};
    ::lstat((dir / "orphan").c_str(), &before);
    ASSERT_TRUE(fs.moveFile(dir / "orphan", dir / "bin/orphan").ok());
    struct stat after {};
    ::lstat((dir / "bin/orphan").c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(readFile(dir / "bin/orphan"), "orphan");
    EXPECT_FALSE(std::filesystem::exists(dir / "orphan"));
    Entry moved;
    ASSERT_TRUE(fs.stat(dir / "bin/orphan", moved).ok());
    EXPECT_EQ(moved.modified.time_since_epoch(), 1'000'000'000s);
    EXPECT_EQ(moved.attributes, kAttrHidden | kAttrArchive);

    ASSERT_EQ(::link((dir / "bin/orphan").c_str(), (dir / "twin").c_str()), 0);
    ASSERT_TRUE(fs.moveFile(dir / "twin", dir / "bin/orphan").ok());  // two names of one file
    EXPECT_FALSE(std::filesystem::exists(dir / "twin"));
    EXPECT_EQ(readFile(dir / "bin/orphan"), "orphan");

    link("bin/orphan", dir / "link");
    ASSERT_TRUE(fs.moveFile(dir / "link", dir / "bin/link").ok());
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "bin/link"));

    writeFile(dir / "second", "second");
    ASSERT_TRUE(fs.setAttributes(dir / "bin/orphan", kAttrReadOnly).ok());
    EXPECT_EQ(fs.moveFile(dir / "second", dir / "bin/orphan").number, kErrAccessDenied);
    EXPECT_EQ(fs.moveFile(dir / "second", dir / "bin").number, kErrAccessDenied);
    EXPECT_EQ(fs.moveFile(dir / "bin", dir / "elsewhere").number, kErrFileNotFound);
    EXPECT_EQ(readFile(dir / "bin/orphan") + readFile(dir / "second"), "orphansecond");

    ScratchMount other(dir / "other", ScratchMount::Tmpfs, "1m");
    if (!other.ok()) GTEST_SKIP() << other.why();
    EXPECT_EQ(fs.moveFile(dir / "second", other.path() + "/second").number, kErrOtherDrive);
    EXPECT_EQ(readFile(dir / "second"), "second");
    EXPECT_EQ(entriesIn(other.path()), 0);
}

TEST_F(FileCopyTest, RelativePaths) {
    writeFile(dir / "src", "rel");
    char* old = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    FsError e = fs.copyFile("src", "dst");
    EXPECT_EQ(chdir(old), 0);
    free(old);
    EXPECT_TRUE(e.ok()) << e.description;
    EXPECT_EQ(readFile(dir / "dst"), "rel");
}

}  // namespace
}  // namespace zv::test

namespace zv::test {
namespace {

// Records the steps that put data on the disk, in order, and can fail one.
class RecordingSync final : public DiskSync {
  public:
    int flushData(int fd) override { return step("flushData", DiskSync::flushData(fd)); }
    int rename(const char* from, const char* to) override {
        return step(std::string("rename ") + lastPart(from) + " -> " + lastPart(to),
                    DiskSync::rename(from, to));
    }
    int flushFolder(int fd) override { return step("flushFolder", DiskSync::flushFolder(fd)); }
    int flushFileSystem(int fd) override {
        return step("flushFileSystem", DiskSync::flushFileSystem(fd));
    }

    std::vector<std::string> steps;
    std::string failing;

  private:
    static std::string lastPart(const std::string& path) {
        const std::string name = path.substr(path.rfind('/') + 1);
        return name.starts_with(kTempPrefix) ? "temp" : name;
    }
    int step(std::string what, int result) {
        const bool fail = what.starts_with(failing) && !failing.empty();
        steps.push_back(std::move(what));
        return fail ? EIO : result;
    }
};

// A replaced file's new data is on the disk before it takes the old one's
// name, so that one whole copy is always there; a new file is not flushed one
// by one, and a failed flush leaves the old copy. A job file is saved with
// its folder flushed after the rename.
TEST_F(FileCopyTest, AReplaceIsOnTheDiskBeforeItsNameIs) {
    RecordingSync sync;
    LinuxFileSystem recorded(MountSources{}, sync);
    writeFile(dir / "src", "new data");
    writeFile(dir / "old", "old copy");
    link("src", dir / "link");
    const struct {
        std::string from, to;
        std::vector<std::string> steps;
    } cases[] = {
        {dir / "src", dir / "old", {"flushData", "rename temp -> old"}},
        {dir / "src", dir / "new", {"rename temp -> new"}},
        {dir / "link", dir / "linked", {"rename temp -> linked"}},
    };
    for (const auto& c : cases) {
        sync.steps.clear();
        EXPECT_TRUE(recorded.copyFile(c.from, c.to).ok()) << c.to;
        EXPECT_EQ(sync.steps, c.steps) << c.to;
    }
    sync.steps.clear();
    ASSERT_TRUE(recorded.writeFileAtomic(dir / "Init.dat", "job").ok());
    EXPECT_EQ(sync.steps,
              (std::vector<std::string>{"flushData", "rename temp -> Init.dat", "flushFolder"}));
    sync.steps.clear();
    ASSERT_TRUE(recorded.flushVolume(dir.path()).ok());
    EXPECT_EQ(sync.steps, std::vector<std::string>{"flushFileSystem"});

    writeFile(dir / "old", "old copy");
    sync.failing = "flushData";
    EXPECT_EQ(recorded.copyFile(dir / "src", dir / "old").number, kErrObjectNotAvailable);
    EXPECT_EQ(readFile(dir / "old"), "old copy");
    EXPECT_FALSE(recorded.writeFileAtomic(dir / "Init.dat", "another job").ok());
    EXPECT_EQ(readFile(dir / "Init.dat"), "job");
    sync.failing = "flushFileSystem";
    EXPECT_FALSE(recorded.flushVolume(dir.path()).ok());
    EXPECT_EQ(entriesIn(dir.path()), 6);  // no temporary file left behind
}

}  // namespace
}  // namespace zv::test
