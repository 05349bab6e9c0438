#include <fcntl.h>
#include <sys/xattr.h>

#include <chrono>
#include <functional>

#include "PlatformTest.h"
#include "platform/linux/DiskSync.h"
#include "platform/linux/TempFile.h"
#include "platform/linux/UniqueFd.h"

namespace zv::test {
namespace {

using namespace std::chrono_literals;

std::string pattern(std::size_t size) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>('a' + (i * 7 + i / 4096) % 26);
    return s;
}

ino_t inode(const std::string& path) {
    struct stat s {};
    ::lstat(path.c_str(), &s);
    return s.st_ino;
}

using FileCopyTest = PlatformTest;

// Every size comes over whole, within and across file systems; a full disk
// leaves the old backup copy and no temporary file (a plain overwrite would
// destroy it).
TEST_F(FileCopyTest, CopiesEverySizeAndAFullDiskLeavesTheOldTarget) {
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
    ScratchMount small(dir / "small", ScratchMount::Tmpfs, "1m");
    if (!small.ok()) GTEST_SKIP() << small.why();
    writeFile(small.path() + "/target", "old backup copy");
    FsError e = fs.copyFile(dir / "in/src", small.path() + "/target");
    EXPECT_EQ(e.number, kErrDiskFull) << e.description;
    EXPECT_EQ(readFile(small.path() + "/target"), "old backup copy");
    EXPECT_EQ(fs.copyFile(dir / "in/src", small.path() + "/fresh").number, kErrDiskFull);
    EXPECT_EQ(entriesIn(small.path()), 1);  // no temporary file left
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
    // Reading the source left its access time (relatime would have moved it).
    EXPECT_EQ(src.accessed.time_since_epoch(), 1500000000s + 123456789ns);
    EXPECT_EQ(dst.accessed, src.accessed);
    EXPECT_EQ(modeOf(dir / "dst"), 0750u);
}

// Links are copied as links and replaced as links; what is no file is refused
// at once (a FIFO would hang the run). Relative paths are the current folder's.
TEST_F(FileCopyTest, LinksAreCopiedAsLinksAndSpecialFilesRefusedAtOnce) {
    makeDirs(dir / "realFolder");
    link("realFolder", dir / "toFolder");
    link("../nowhere", dir / "dangling");
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0644), 0);
    makeDirs(dir / "out");
    ASSERT_TRUE(fs.copyFile(dir / "toFolder", dir / "out/toFolder").ok());
    ASSERT_TRUE(fs.copyFile(dir / "dangling", dir / "out/dangling").ok());
    EXPECT_EQ(std::filesystem::read_symlink(dir / "out/toFolder"), "realFolder");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "out/dangling"));
    writeFile(dir / "plain", "p");
    ASSERT_TRUE(fs.copyFile(dir / "plain", dir / "out/toFolder").ok());
    EXPECT_EQ(readFile(dir / "out/toFolder"), "p");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(fs.copyFile(dir / "pipe", dir / "out/x").number, kErrAccessDenied);
    EXPECT_EQ(fs.copyFile("/dev/null", dir / "out/x").number, kErrAccessDenied);
    EXPECT_EQ(fs.copyFile(dir / "plain", dir / "realFolder").number, kErrAccessDenied);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_TRUE(fs.folderExists(dir / "realFolder"));
    EXPECT_EQ(fs.copyFile(dir / "realFolder", dir / "out/x").number, kErrFileNotFound);
    EXPECT_EQ(entriesIn(dir / "out"), 2);

    char* old = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    const FsError e = fs.copyFile("plain", "out/rel");
    EXPECT_EQ(chdir(old), 0);
    free(old);
    EXPECT_TRUE(e.ok()) << e.description;
    EXPECT_EQ(readFile(dir / "out/rel"), "p");
}

// What a restore needs and a plain copy loses: the owner, the attributes of
// the user namespace, ACLs and (for root) file capabilities as bytes, but
// not the machine's own (trusted); holes; two names of one file stay one
// file until the source changes or the names are forgotten at a run's end.
// A target that cannot keep something still gets the file, and says once.
TEST_F(FileCopyTest, CarriesWhatARestoreNeeds) {
    const bool root = geteuid() == 0;
    const std::string src = dir / "src";
    writeFile(src, "data");
    const auto set = [](const std::string& path, const std::string& name,
                        const std::string& value) {
        return lsetxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0) == 0;
    };
    const auto get = [](const std::string& path, const std::string& name) {
        char buf[256];
        const ssize_t n = lgetxattr(path.c_str(), name.c_str(), buf, sizeof buf);
        return n < 0 ? std::string("-") : std::string(buf, static_cast<std::size_t>(n));
    };
    if (!set(src, "user.herkomst", "camera")) GTEST_SKIP() << "no user attributes here";
    // Version 2 file capabilities (20 bytes): cap_net_bind_service, effective.
    const std::string capability =
        std::string("\x01\x00\x00\x02\x00\x04\x00\x00", 8) + std::string(12, '\0');
    if (root) {
        ASSERT_EQ(chown(src.c_str(), 1234, 2345), 0);
        ASSERT_TRUE(set(src, "security.capability", capability));
        ASSERT_TRUE(set(src, "trusted.machine", "eigen"));
    }
    // More attributes than a first small read of their names holds.
    for (char c = 'a'; c < 'm'; ++c) ASSERT_TRUE(set(src, "user." + std::string(100, c), "v"));
    ASSERT_TRUE(fs.copyFile(src, dir / "copy").ok());
    EXPECT_EQ(get(dir / "copy", "user.herkomst"), "camera");
    for (char c = 'a'; c < 'm'; ++c)
        EXPECT_EQ(get(dir / "copy", "user." + std::string(100, c)), "v");
    struct stat st {};
    ::lstat((dir / "copy").c_str(), &st);
    if (root) {
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 2345u);
        EXPECT_EQ(get(dir / "copy", "security.capability"), capability);
        EXPECT_EQ(get(dir / "copy", "trusted.machine"), "-");
    }

    // 8 MiB with 64 KiB of data at its start and in the middle: the copy
    // takes what the source takes.
    const std::string holes = dir / "holes";
    {
        UniqueFd fd(open(holes.c_str(), O_WRONLY | O_CREAT, 0644));
        ASSERT_EQ(ftruncate(fd.get(), 8 << 20), 0);
        const std::string data = pattern(64 << 10);
        for (const off_t at : {0, 4 << 20})
            ASSERT_EQ(pwrite(fd.get(), data.data(), data.size(), at), ssize_t(data.size()));
    }
    ASSERT_TRUE(fs.copyFile(holes, dir / "holes copy").ok());
    struct stat a {
    }, b{};
    ::stat(holes.c_str(), &a);
    ::stat((dir / "holes copy").c_str(), &b);
    EXPECT_LE(b.st_blocks, a.st_blocks);
    EXPECT_EQ(readFile(dir / "holes copy"), readFile(holes));

    ASSERT_EQ(::link(src.c_str(), (dir / "twin").c_str()), 0);
    ASSERT_EQ(::link(src.c_str(), (dir / "third").c_str()), 0);
    ASSERT_EQ(::link(src.c_str(), (dir / "fourth").c_str()), 0);
    writeFile(dir / "old twin", "old");
    ASSERT_TRUE(fs.copyFile(src, dir / "one").ok());
    ASSERT_TRUE(fs.copyFile(dir / "twin", dir / "old twin").ok());
    EXPECT_EQ(inode(dir / "old twin"), inode(dir / "one"));
    EXPECT_EQ(readFile(dir / "old twin"), "data");
    ASSERT_TRUE(fs.copyFile(dir / "third", dir / "third copy").ok());
    EXPECT_EQ(inode(dir / "third copy"), inode(dir / "one"));
    writeFile(src, "changed");  // the copy no longer is the file's
    ASSERT_TRUE(fs.copyFile(dir / "fourth", dir / "changed").ok());
    EXPECT_NE(inode(dir / "changed"), inode(dir / "one"));
    EXPECT_EQ(readFile(dir / "changed"), "changed");
    EXPECT_EQ(fs.takeUnkept(), 0u);
    ASSERT_TRUE(fs.copyFile(dir / "twin", dir / "later").ok());  // forgotten at a run's end
    EXPECT_NE(inode(dir / "later"), inode(dir / "changed"));

    ScratchMount plain(dir / "ramfs", ScratchMount::Ramfs);
    if (!plain.ok()) GTEST_SKIP() << plain.why();
    ASSERT_TRUE(fs.copyFile(src, plain.path() + "/src").ok());
    EXPECT_EQ(readFile(plain.path() + "/src"), "changed");
    EXPECT_EQ(fs.takeUnkept(), kUnkeptXattrs);
    EXPECT_EQ(fs.takeUnkept(), 0u);
}

// A backup folder gets its source folder's permission bits and attributes
// (not the recorded bits: those keep their own rules), and when Done its
// times; while Filling its owner may write into it. Reopening gives that
// access back only where it is missing: a writable folder is left alone.
TEST_F(FileCopyTest, FoldersKeepWhatTheirSourceFolderCarries) {
    const std::string src = dir / "src";
    makeDirs(src);
    if (lsetxattr(src.c_str(), "user.kleur", "blauw", 5, 0) != 0)
        GTEST_SKIP() << "no user attributes here";
    ASSERT_EQ(lsetxattr(src.c_str(), "user.DOSATTRIB", "0x4", 3, 0), 0);
    chmod(src.c_str(), 02550);
    // An ACL (version 2: owner r-x, user 1234 r-x, group r-x, mask r-x, others
    // none) also sets a folder's permission bits when it is written.
    const std::uint16_t acl[] = {2,      0,      1,    5, 0xffff, 0xffff, 2,    5,
                                 1234,   0,      4,    5, 0xffff, 0xffff, 0x10, 5,
                                 0xffff, 0xffff, 0x20, 0, 0xffff, 0xffff};
    const bool acls = lsetxattr(src.c_str(), "system.posix_acl_access", acl, sizeof acl, 0) == 0;
    setTimes(src, 1000000000, 1100000000);
    const struct {
        FolderStage stage;
        mode_t before, after;
        bool carried;
    } cases[] = {{FolderStage::Filling, 02750, 02750, true},
                 {FolderStage::Done, 0755, 02550, true},
                 {FolderStage::Reopening, 0755, 0755, false}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const std::string to = dir / ("to" + std::to_string(i));
        makeDirs(to);
        chmod(to.c_str(), c.before);
        const timespec near[2] = {{1100000000, 0}, {1000000000, 5}};  // the source's second
        ASSERT_EQ(utimensat(AT_FDCWD, to.c_str(), near, 0), 0);
        ASSERT_EQ(lsetxattr(to.c_str(), "user.oud", "x", 1, 0), 0);  // the source has none
        ASSERT_TRUE(fs.keepFolderMetadata(src, to, c.stage).ok()) << i;
        EXPECT_EQ(modeOf(to), c.after) << i;
        char value[16] = {};
        EXPECT_EQ(lgetxattr(to.c_str(), "user.kleur", value, sizeof value) == 5, c.carried) << i;
        EXPECT_LT(lgetxattr(to.c_str(), "user.DOSATTRIB", value, sizeof value), 0) << i;
        EXPECT_EQ(lgetxattr(to.c_str(), "user.oud", value, sizeof value) < 0, c.carried) << i;
        if (acls) {
            EXPECT_EQ(lgetxattr(to.c_str(), "system.posix_acl_access", nullptr, 0) == sizeof acl,
                      c.carried)
                << i;
        }
        Entry entry;
        ASSERT_TRUE(fs.stat(to, entry).ok());
        EXPECT_EQ(entry.modified.time_since_epoch() == 1000000000s, c.stage == FolderStage::Done)
            << i;
    }
    Entry source;
    ASSERT_TRUE(fs.stat(src, source).ok());
    EXPECT_EQ(source.accessed.time_since_epoch(), 1100000000s);  // read without moving it
}

// A move within one file system is a rename: the very file arrives, with all
// it carries. It refuses what a copy refuses, and says so when the target
// lies on another file system, touching nothing.
TEST_F(FileCopyTest, MovesInOneStepWithinAFileSystemOnly) {
    writeFile(dir / "orphan", "orphan");
    setTimes(dir / "orphan", 1'000'000'000, 1'100'000'000);
    ASSERT_TRUE(fs.setAttributes(dir / "orphan", kAttrHidden | kAttrArchive).ok());
    writeFile(dir / "bin/orphan", "an earlier one");
    const ino_t before = inode(dir / "orphan");
    ASSERT_TRUE(fs.moveFile(dir / "orphan", dir / "bin/orphan").ok());
    EXPECT_EQ(inode(dir / "bin/orphan"), before);
    EXPECT_FALSE(std::filesystem::exists(dir / "orphan"));
    Entry moved;
    ASSERT_TRUE(fs.stat(dir / "bin/orphan", moved).ok());
    EXPECT_EQ(moved.modified.time_since_epoch(), 1'000'000'000s);
    EXPECT_EQ(moved.attributes, kAttrHidden | kAttrArchive);
    ASSERT_EQ(::link((dir / "bin/orphan").c_str(), (dir / "twin").c_str()), 0);
    ASSERT_TRUE(fs.moveFile(dir / "twin", dir / "bin/orphan").ok());  // two names of one file
    EXPECT_FALSE(std::filesystem::exists(dir / "twin"));
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
// name, so that one whole copy is always there (also when a second name of a
// file copied before is made a name of that copy); a new file is not flushed
// one by one, and a failed flush leaves the old copy. A job file is saved
// with its folder flushed after the rename.
TEST_F(FileCopyTest, AReplaceIsOnTheDiskBeforeItsNameIs) {
    RecordingSync sync;
    LinuxFileSystem recorded(MountSources{}, sync);
    writeFile(dir / "src", "new data");
    link("src", dir / "link");
    writeFile(dir / "pair", "pair");
    ASSERT_EQ(::link((dir / "pair").c_str(), (dir / "pair too").c_str()), 0);
    ASSERT_TRUE(recorded.copyFile(dir / "pair", dir / "pair copy").ok());
    using Steps = std::vector<std::string>;
    const std::function<FsError()> cases[] = {
        [&] { return recorded.copyFile(dir / "src", dir / "old"); },
        [&] { return recorded.copyFile(dir / "src", dir / "new"); },
        [&] { return recorded.copyFile(dir / "link", dir / "linked"); },
        [&] { return recorded.copyFile(dir / "pair too", dir / "old"); },
        [&] { return recorded.writeFileAtomic(dir / "Init.dat", "job"); },
        [&] { return recorded.flushVolume(dir.path()); }};
    const Steps expected[] = {{"flushData", "rename temp -> old"},
                              {"rename temp -> new"},
                              {"rename temp -> linked"},
                              {"flushData", "rename temp -> old"},
                              {"flushData", "rename temp -> Init.dat", "flushFolder"},
                              {"flushFileSystem"}};
    writeFile(dir / "old", "old copy");
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        sync.steps.clear();
        EXPECT_TRUE(cases[i]().ok()) << i;
        EXPECT_EQ(sync.steps, expected[i]) << i;
    }
    EXPECT_EQ(inode(dir / "old"), inode(dir / "pair copy"));

    writeFile(dir / "old", "old copy");
    sync.failing = "flushData";
    EXPECT_EQ(recorded.copyFile(dir / "src", dir / "old").number, kErrObjectNotAvailable);
    EXPECT_EQ(readFile(dir / "old"), "old copy");
    EXPECT_FALSE(recorded.writeFileAtomic(dir / "Init.dat", "another job").ok());
    EXPECT_EQ(readFile(dir / "Init.dat"), "job");
    sync.failing = "flushFileSystem";
    EXPECT_FALSE(recorded.flushVolume(dir.path()).ok());
    EXPECT_EQ(entriesIn(dir.path()), 9);  // no temporary file left behind
}

}  // namespace
}  // namespace zv::test
