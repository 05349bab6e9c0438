#include <fcntl.h>

#include <chrono>
#include <functional>

#include "PlatformTest.h"
#include "platform/linux/DiskSync.h"
#include "platform/linux/TempFile.h"
#include "platform/linux/UniqueFd.h"

namespace zv::test {
namespace {

using namespace std::chrono_literals;
using FileCopyTest = PlatformTest;

std::string pattern(std::size_t size) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>('a' + (i * 7 + i / 4096) % 26);
    return s;
}

// Every size (around the copy buffer's smallest, none, large) comes over
// whole, within and across file systems; a full disk leaves the old backup
// copy and no temporary file (a plain overwrite would destroy it).
TEST_F(FileCopyTest, CopiesEverySizeAndAFullDiskLeavesTheOldTarget) {
    ScratchMount other(dir / "other", ScratchMount::Tmpfs, "8m");
    for (const std::size_t size : {0, 100, 65535, 65536, 65537, 3 * 1024 * 1024 + 17}) {
        SCOPED_TRACE(size);
        writeFile(dir / "in/src", pattern(size));
        writeFile(dir / "in/dst", "an older, longer backup copy");
        ASSERT_TRUE(fs.copyFile(dir / "in/src", dir / "in/dst").ok());
        EXPECT_EQ(readFile(dir / "in/dst"), pattern(size));
        EXPECT_EQ(entriesIn(dir / "in"), 2);
        if (!other.ok()) continue;  // no second file system here
        ASSERT_TRUE(fs.copyFile(dir / "in/src", other.path() + "/dst").ok());
        ASSERT_TRUE(fs.copyFile(other.path() + "/dst", dir / "back").ok());
        EXPECT_EQ(readFile(dir / "back"), pattern(size));
    }
    ScratchMount small(dir / "small", ScratchMount::Tmpfs, "1m");
    if (!small.ok()) GTEST_SKIP() << small.why();
    writeFile(small.path() + "/target", "old backup copy");
    EXPECT_EQ(fs.copyFile(dir / "in/src", small.path() + "/target").number, kErrDiskFull);
    EXPECT_EQ(fs.copyFile(dir / "in/src", small.path() + "/fresh").number, kErrDiskFull);
    EXPECT_EQ(readFile(small.path() + "/target"), "old backup copy");
    EXPECT_EQ(entriesIn(small.path()), 1);
}

// Links are copied and replaced as links; what is no file is refused at once
// (a FIFO would hang the run).
TEST_F(FileCopyTest, LinksAreCopiedAsLinksAndSpecialFilesRefusedAtOnce) {
    makeDirs(dir / "out");
    link("out", dir / "toFolder");
    link("../nowhere", dir / "dangling");
    writeFile(dir / "plain", "p");
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0644), 0);
    ASSERT_TRUE(fs.copyFile(dir / "toFolder", dir / "out/toFolder").ok());
    ASSERT_TRUE(fs.copyFile(dir / "dangling", dir / "out/dangling").ok());
    EXPECT_EQ(std::filesystem::read_symlink(dir / "out/dangling"), "../nowhere");
    ASSERT_TRUE(fs.copyFile(dir / "plain", dir / "out/toFolder").ok());
    EXPECT_FALSE(std::filesystem::is_symlink(dir / "out/toFolder"));
    EXPECT_EQ(readFile(dir / "out/toFolder"), "p");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(fs.copyFile(dir / "pipe", dir / "out/x").number, kErrAccessDenied);
    EXPECT_EQ(fs.copyFile("/dev/null", dir / "out/x").number, kErrAccessDenied);
    EXPECT_EQ(fs.copyFile(dir / "plain", dir / "out").number, kErrAccessDenied);
    EXPECT_EQ(fs.copyFile(dir / "out", dir / "x").number, kErrFileNotFound);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ(entriesIn(dir / "out"), 2);
}

// What a restore needs and a plain copy loses: times to the nanosecond, the
// permission bits but no set-user bit, the owner, the user namespace's
// attributes and (for root) file capabilities as bytes, not the machine's own
// (trusted); holes. Reading the source leaves its access time. Two names of
// one file stay one until the source changes or a run's end forgets them. A
// target that cannot keep something still gets the file, and says so once.
TEST_F(FileCopyTest, CarriesWhatARestoreNeeds) {
    const std::string src = dir / "src", copy = dir / "copy";
    writeFile(src, "data");
    writeFile(copy, "old");
    if (!setXattr(src, "user.herkomst", "camera")) GTEST_SKIP() << "no user attributes here";
    // Version 2 file capabilities (20 bytes): cap_net_bind_service, effective.
    const std::string caps =
        std::string("\x01\x00\x00\x02\x00\x04\x00\x00", 8) + std::string(12, 0);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(src.c_str(), 1234, 2345), 0);
        ASSERT_TRUE(setXattr(src, "security.capability", caps) && setXattr(src, "trusted.m", "e"));
    }
    // More attributes than a first small read of their names holds.
    for (char c = 'a'; c < 'm'; ++c) ASSERT_TRUE(setXattr(src, "user." + std::string(100, c), "v"));
    chmod(src.c_str(), 04750);
    const timespec times[2] = {{1500000000, 123456789}, {1400000000, 987654321}};
    ASSERT_EQ(utimensat(AT_FDCWD, src.c_str(), times, 0), 0);
    for (const char* name : {"twin", "third", "fourth"})
        ASSERT_EQ(::link(src.c_str(), (dir / name).c_str()), 0);
    ASSERT_TRUE(fs.copyFile(src, copy).ok());
    Entry from, to;
    ASSERT_TRUE(fs.stat(src, from).ok() && fs.stat(copy, to).ok());
    EXPECT_EQ(to.modified.time_since_epoch(), 1400000000s + 987654321ns);
    EXPECT_EQ(from.accessed.time_since_epoch(), 1500000000s + 123456789ns);
    EXPECT_EQ(to.accessed, from.accessed);
    EXPECT_EQ(modeOf(copy), 0750u);
    EXPECT_EQ(xattrOf(copy, "user.herkomst") + xattrOf(copy, "user." + std::string(100, 'l')),
              "camerav");
    if (root) {
        EXPECT_EQ(statOf(copy).st_uid + statOf(copy).st_gid * 10000, 1234u + 2345u * 10000);
        EXPECT_EQ(xattrOf(copy, "security.capability") + xattrOf(copy, "trusted.m"), caps + "-");
    }
    {  // 8 MiB with 64 KiB of data at its start and in the middle
        UniqueFd fd(open((dir / "holes").c_str(), O_WRONLY | O_CREAT, 0644));
        ASSERT_EQ(ftruncate(fd.get(), 8 << 20), 0);
        const std::string data = pattern(64 << 10);
        for (const off_t at : {0, 4 << 20})
            ASSERT_EQ(pwrite(fd.get(), data.data(), data.size(), at), ssize_t(data.size()));
    }
    ASSERT_TRUE(fs.copyFile(dir / "holes", dir / "holes copy").ok());
    EXPECT_LE(statOf(dir / "holes copy").st_blocks, statOf(dir / "holes").st_blocks);
    EXPECT_EQ(readFile(dir / "holes copy"), readFile(dir / "holes"));

    writeFile(dir / "old twin", "old");
    ASSERT_TRUE(fs.copyFile(dir / "twin", dir / "old twin").ok());
    ASSERT_TRUE(fs.copyFile(dir / "third", dir / "third copy").ok());
    writeFile(src, "changed");  // the copy no longer is the file's
    ASSERT_TRUE(fs.copyFile(dir / "fourth", dir / "changed").ok());
    const auto inode = [&](const char* name) { return statOf(dir / name).st_ino; };
    EXPECT_EQ(inode("third copy"), inode("copy"));
    EXPECT_EQ(inode("old twin"), inode("copy"));
    EXPECT_NE(inode("changed"), inode("copy"));
    EXPECT_EQ(readFile(copy) + readFile(dir / "changed"), "datachanged");
    EXPECT_EQ(fs.takeUnkept(), 0u);
    ASSERT_TRUE(fs.copyFile(dir / "twin", dir / "later").ok());  // forgotten at a run's end
    EXPECT_NE(inode("later"), inode("changed"));
    ScratchMount plain(dir / "ramfs", ScratchMount::Ramfs);
    if (!plain.ok()) GTEST_SKIP() << plain.why();
    ASSERT_TRUE(fs.copyFile(src, plain.path() + "/src").ok());
    EXPECT_EQ(readFile(plain.path() + "/src"), "changed");
    EXPECT_EQ(fs.takeUnkept(), kUnkeptXattrs);
    EXPECT_EQ(fs.takeUnkept(), 0u);
}

// A backup folder gets its source folder's permission bits and attributes
// (not the recorded bits), and when Done its
// times; while Filling its owner may write into it. Reopening gives that
// access back only where it is missing: a writable folder is left alone.
TEST_F(FileCopyTest, FoldersKeepWhatTheirSourceFolderCarries) {
    const std::string src = dir / "src";
    makeDirs(src);
    if (!setXattr(src, "user.kleur", "blauw")) GTEST_SKIP() << "no user attributes here";
    ASSERT_TRUE(setXattr(src, "user.DOSATTRIB", "0x4"));
    chmod(src.c_str(), 02550);
    setTimes(src, 1000000000, 1100000000);
    // Stage, bits before -> bits after, whether the attributes come over.
    const std::tuple<FolderStage, mode_t, mode_t, bool> cases[] = {
        {FolderStage::Filling, 02750, 02750, true},
        {FolderStage::Done, 0755, 02550, true},
        {FolderStage::Reopening, 0755, 0755, false}};
    for (const auto& [stage, before, after, carried] : cases) {
        const std::string to = dir / ("to" + std::to_string(int(stage)));
        SCOPED_TRACE(to);
        makeDirs(to);
        chmod(to.c_str(), before);
        const timespec near[2] = {{1100000000, 0}, {1000000000, 5}};  // the source's second
        ASSERT_EQ(utimensat(AT_FDCWD, to.c_str(), near, 0), 0);
        ASSERT_TRUE(setXattr(to, "user.oud", "x"));  // the source has none
        ASSERT_TRUE(fs.keepFolderMetadata(src, to, stage).ok());
        EXPECT_EQ(modeOf(to), after);
        EXPECT_EQ(
            xattrOf(to, "user.kleur") + xattrOf(to, "user.DOSATTRIB") + xattrOf(to, "user.oud"),
            carried ? "blauw--" : "--x");
        EXPECT_EQ(statOf(to).st_mtim.tv_nsec == 0, stage == FolderStage::Done);
    }
    EXPECT_EQ(statOf(src).st_atime, 1100000000);  // read without moving it
}

// A move within one file system is a rename: the very file arrives, with all
// it carries. It refuses what a copy refuses, and says so when the target
// lies on another file system, touching nothing.
TEST_F(FileCopyTest, MovesInOneStepWithinAFileSystemOnly) {
    writeFile(dir / "orphan", "orphan");
    ASSERT_TRUE(fs.setAttributes(dir / "orphan", kAttrHidden | kAttrArchive).ok());
    writeFile(dir / "bin/orphan", "an earlier one");
    const ino_t before = statOf(dir / "orphan").st_ino;
    ASSERT_TRUE(fs.moveFile(dir / "orphan", dir / "bin/orphan").ok());
    EXPECT_EQ(statOf(dir / "bin/orphan").st_ino, before);
    ASSERT_EQ(::link((dir / "bin/orphan").c_str(), (dir / "twin").c_str()), 0);
    ASSERT_TRUE(fs.moveFile(dir / "twin", dir / "bin/orphan").ok());  // two names of one file
    EXPECT_FALSE(std::filesystem::exists(dir / "twin"));
    link("orphan", dir / "link");
    ASSERT_TRUE(fs.moveFile(dir / "link", dir / "bin/link").ok());
    EXPECT_EQ(std::filesystem::read_symlink(dir / "bin/link"), "orphan");
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

// Records the steps that put data on the disk, in order, and can fail one.
class RecordingSync final : public DiskSync {
  public:
    int flushData(int fd) override { return step("flushData", DiskSync::flushData(fd)); }
    int rename(const char* from, const char* to) override {
        return step("rename " + name(from) + " -> " + name(to), DiskSync::rename(from, to));
    }
    int flushFolder(int fd) override { return step("flushFolder", DiskSync::flushFolder(fd)); }
    int flushFileSystem(int fd) override {
        return step("flushFileSystem", DiskSync::flushFileSystem(fd));
    }
    std::vector<std::string> steps;
    std::string failing = "-";

  private:
    static std::string name(const std::string& path) {
        const std::string name = path.substr(path.rfind('/') + 1);
        return name.starts_with(kTempPrefix) ? "temp" : name;
    }
    int step(const std::string& what, int result) {
        steps.push_back(what);
        return what.starts_with(failing) ? EIO : result;
    }
};

// A replaced file's new data is on the disk before it takes the old one's
// name, so one whole copy is always there (also when a second name of a file
// copied before becomes a name of that copy); a new file is not flushed one
// by one; a failed flush leaves the old copy. A job file's folder is flushed
// after the rename.
TEST_F(FileCopyTest, AReplaceIsOnTheDiskBeforeItsNameIs) {
    RecordingSync sync;
    LinuxFileSystem recorded(MountSources{}, sync);
    writeFile(dir / "src", "new data");
    link("src", dir / "link");
    writeFile(dir / "pair", "pair");
    for (const char* name : {"pair too", "pair 3"})
        ASSERT_EQ(::link((dir / "pair").c_str(), (dir / name).c_str()), 0);
    ASSERT_TRUE(recorded.copyFile(dir / "pair", dir / "pair copy").ok());
    writeFile(dir / "old", "old copy");
    using Steps = std::vector<std::string>;
    const std::pair<std::function<FsError()>, Steps> cases[] = {
        {[&] { return recorded.copyFile(dir / "src", dir / "old"); },
         {"flushData", "rename temp -> old"}},
        {[&] { return recorded.copyFile(dir / "src", dir / "new"); }, {"rename temp -> new"}},
        {[&] { return recorded.copyFile(dir / "link", dir / "lnk"); }, {"rename temp -> lnk"}},
        {[&] { return recorded.copyFile(dir / "pair too", dir / "old"); },
         {"flushData", "rename temp -> old"}},
        {[&] { return recorded.copyFile(dir / "pair 3", dir / "old"); }, {}},  // already one
        {[&] { return recorded.writeFileAtomic(dir / "Init.dat", "job"); },
         {"flushData", "rename temp -> Init.dat", "flushFolder"}},
        {[&] { return recorded.flushVolume(dir.path()); }, {"flushFileSystem"}}};
    for (const auto& [run, steps] : cases) {
        sync.steps.clear();
        EXPECT_TRUE(run().ok());
        EXPECT_EQ(sync.steps, steps);
    }
    EXPECT_EQ(statOf(dir / "old").st_ino, statOf(dir / "pair copy").st_ino);
    writeFile(dir / "old", "old copy");
    sync.failing = "flushData";
    EXPECT_EQ(recorded.copyFile(dir / "src", dir / "old").number, kErrObjectNotAvailable);
    EXPECT_FALSE(recorded.writeFileAtomic(dir / "Init.dat", "another job").ok());
    sync.failing = "flushFileSystem";
    EXPECT_FALSE(recorded.flushVolume(dir.path()).ok());
    EXPECT_EQ(readFile(dir / "old") + readFile(dir / "Init.dat"), "old copyjob");
    EXPECT_EQ(entriesIn(dir.path()), 10);  // no temporary file left behind
}

}  // namespace
}  // namespace zv::test
