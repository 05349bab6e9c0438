
#include <fcntl.h>

#include <functional>

#include "PlatformTest.h"
#include "platform/Paths.h"
#include "platform/linux/DiskSync.h"
#include "platform/linux/TempFile.h"

namespace zv::test {
namespace {

using FileCopyTest = PlatformTest;

// A full disk leaves the old backup copy and no temporary file.
TEST_F(FileCopyTest, AFullDiskLeavesTheOldTarget) {
    writeFile(dir / "src", std::string(3 << 20, 'x'));
    ScratchMount small(dir / "small", ScratchMount::Tmpfs, "1m");
    if (!small.ok()) GTEST_SKIP() << small.why();
    writeFile(small.path() + "/target", "old backup copy");
    EXPECT_EQ(fs.copyFile(dir / "src", small.path() + "/target").number, kErrDiskFull);
    EXPECT_EQ(fs.copyFile(dir / "src", small.path() + "/fresh").number, kErrDiskFull);
    EXPECT_EQ(readFile(small.path() + "/target"), "old backup copy");
    EXPECT_EQ(entriesIn(small.path()), 1);
}

// Holes stay holes also where the kernel cannot copy between the two file systems: only the
// data ranges are read and written.
TEST_F(FileCopyTest, HolesStayHolesAcrossFileSystems) {
    ScratchMount other(dir / "other", ScratchMount::Tmpfs, "16m");
    if (!other.ok()) GTEST_SKIP() << other.why();
    const std::string src = dir / "sparse";
    {
        UniqueFd fd(open(src.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
        const std::string data(64 << 10, 'd');
        for (off_t at : {off_t{0}, off_t{8} << 20})
            ASSERT_EQ(pwrite(fd.get(), data.data(), data.size(), at), ssize_t{64 << 10});
    }
    ASSERT_TRUE(fs.copyFile(src, other.path() + "/sparse").ok());
    const struct stat copy = statOf(other.path() + "/sparse");
    EXPECT_EQ(copy.st_size, statOf(src).st_size);
    EXPECT_LE(copy.st_blocks * 512, 128 << 10);
    EXPECT_EQ(readFile(other.path() + "/sparse"), readFile(src));
}

// A link is replaced by a file; a FIFO (it would hang the run), a folder or a read-only
// target (small or large) is refused and left as it was.
TEST_F(FileCopyTest, LinksAreReplacedAndSpecialFilesRefusedAtOnce) {
    makeDirs(dir / "out/sub");
    link("out", dir / "out/toFolder");
    writeFile(dir / "plain", "p");
    writeFile(dir / "large", std::string(1 << 20, 'l'));
    writeFile(dir / "out/kept", "kept");
    chmod((dir / "out/kept").c_str(), 0444);
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0644), 0);
    ASSERT_TRUE(fs.copyFile(dir / "plain", dir / "out/toFolder").ok());
    EXPECT_EQ(readFile(dir / "out/toFolder"), "p");
    // A source a listing saw as a file is opened at once, any other looked at
    // first: both refuse alike, and a link is copied as a link by both.
    link("plain", dir / "aLink");
    for (auto copy : {&FileSystem::copyFile, &FileSystem::copyListedFile}) {
        EXPECT_EQ((fs.*copy)(dir / "pipe", dir / "out/x").number, kErrAccessDenied);
        for (const char* from : {"plain", "large"}) {
            EXPECT_EQ((fs.*copy)(dir / from, dir / "out/sub").number, kErrAccessDenied);
            EXPECT_EQ((fs.*copy)(dir / from, dir / "out/kept").number, kErrAccessDenied);
        }
        EXPECT_EQ((fs.*copy)(dir / "out", dir / "x").number, kErrFileNotFound);
        EXPECT_TRUE((fs.*copy)(dir / "aLink", dir / "linked").ok());
        EXPECT_TRUE(std::filesystem::is_symlink(dir / "linked"));
    }
    EXPECT_EQ(readFile(dir / "out/kept"), "kept");
    EXPECT_EQ(std::pair(entriesIn(dir / "out"), entriesIn(dir / "out/sub")), std::pair(3L, 0L));
    // A move onto another name of the same file leaves that one name.
    ASSERT_EQ(::link((dir / "plain").c_str(), (dir / "twin").c_str()), 0);
    EXPECT_TRUE(fs.moveFile(dir / "plain", dir / "twin").ok());
    EXPECT_FALSE(std::filesystem::exists(dir / "plain"));
}

// User attributes (more names, a longer value than a first read holds), capabilities; no trusted.
TEST_F(FileCopyTest, CarriesUserAttributesAndCapabilitiesButNotTheMachinesOwn) {
    const std::string src = dir / "src", copy = dir / "copy";
    writeFile(src, "data");
    for (char c = 'a'; c < 'm'; ++c)
        if (!setXattr(src, "user." + std::string(100, c), "v"))
            GTEST_SKIP() << "no user attributes";
    ASSERT_TRUE(setXattr(src, "user.long", std::string(2000, 'v')));
    // Version 2 file capabilities (20 bytes): cap_net_bind_service, effective.
    const std::string caps =
        std::string("\x01\x00\x00\x02\x00\x04\x00\x00", 8) + std::string(12, 0);
    const bool root = geteuid() == 0 && setXattr(src, "security.capability", caps) &&
                      setXattr(src, "trusted.m", "e");
    ASSERT_TRUE(fs.copyFile(src, copy).ok());
    EXPECT_EQ(xattrOf(copy, "user." + std::string(100, 'l')) + xattrOf(copy, "user.long"),
              "v" + std::string(2000, 'v'));
    if (!root) GTEST_SKIP() << "capabilities need root";
    EXPECT_EQ(xattrOf(copy, "security.capability") + xattrOf(copy, "trusted.m"), caps + "-");
}

// A finished folder gets its source's owner, group (each alone differing), times and user
// attributes (the backup's others gone, its recorded attribute bits kept).
TEST_F(FileCopyTest, AFinishedFolderGetsItsSourcesOwnerAndTimes) {
    makeDirs(dir / "src");
    setTimes(dir / "src", 1000000000, 1100000000);
    const bool xattrs = setXattr(dir / "src", "user.kept", "new");
    const std::tuple<timespec, uid_t, gid_t> cases[] = {{{1000000007, 0}, 0, 65534},
                                                        {{1000000000, 5}, 65534, 65534}};
    for (const auto& [modified, owner, group] : cases) {
        ASSERT_TRUE(geteuid() != 0 || chown((dir / "src").c_str(), owner, group) == 0);
        makeDirs(dir / "to");
        for (const char* name : {"user.stale", "user.kept", "user.DOSATTRIB"})
            ASSERT_TRUE(!xattrs || setXattr(dir / "to", name, "old"));
        const timespec times[2] = {{1100000000, 0}, modified};
        ASSERT_EQ(utimensat(AT_FDCWD, (dir / "to").c_str(), times, 0), 0);
        ASSERT_TRUE(fs.keepFolderMetadata(dir / "src", dir / "to", FolderStage::Done).ok());
        const struct stat to = statOf(dir / "to"), src = statOf(dir / "src");
        EXPECT_EQ(std::tuple(to.st_mtim.tv_sec, to.st_mtim.tv_nsec, to.st_uid, to.st_gid),
                  std::tuple(1000000000L, 0L, src.st_uid, src.st_gid));
        const std::string kept = xattrOf(dir / "to", "user.stale") +
                                 xattrOf(dir / "to", "user.kept") +
                                 xattrOf(dir / "to", "user.DOSATTRIB");
        EXPECT_EQ(kept, xattrs ? "-newold" : "---");
    }
}

// Records the steps that put data on the disk, in order, and can fail one.
class RecordingSync final : public DiskSync {
  public:
    int flushData(int fd) override { return step("flushData", DiskSync::flushData(fd)); }
    int rename(int fromDir, const char* from, int toDir, const char* to) override {
        return step("rename " + name(from) + " -> " + name(to),
                    DiskSync::rename(fromDir, from, toDir, to));
    }
    int giveName(int fd, int dir, const char* to) override {
        namesWhileWritten =
            entriesIn(dir == AT_FDCWD ? parentOfPath(to) : "/proc/self/fd/" + std::to_string(dir));
        return step("name " + name(to), DiskSync::giveName(fd, dir, to));
    }
    int flushFolder(int fd) override { return step("flushFolder", DiskSync::flushFolder(fd)); }
    int flushFileSystem(int fd) override {
        return step("flushFileSystem", DiskSync::flushFileSystem(fd));
    }
    std::vector<std::string> steps;
    std::string failing = "-";
    long namesWhileWritten = -1;  // in the folder of a copy written without a name

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

// A replacing file (also a second name) is on the disk before its name; a new file is not
// flushed one by one and has no name until it is whole (a killed run leaves nothing); a small
// file finds its target taken only when naming itself; a failed flush leaves the old copy; a
// job file's folder is flushed last.
TEST_F(FileCopyTest, AReplaceIsOnTheDiskBeforeItsNameIs) {
    RecordingSync sync;
    LinuxFileSystem recorded(MountSources{}, sync);
    writeFile(dir / "src", "new data");
    writeFile(dir / "large", std::string(64 << 10, 'l'));
    link("src", dir / "link");
    writeFile(dir / "pair", "pair");
    for (const char* name : {"pair too", "pair 3", "pair 4"})
        ASSERT_EQ(::link((dir / "pair").c_str(), (dir / name).c_str()), 0);
    ASSERT_TRUE(recorded.copyFile(dir / "pair", dir / "pair copy").ok());
    writeFile(dir / "old", "old copy");
    using Steps = std::vector<std::string>;
    const std::pair<std::function<FsError()>, Steps> cases[] = {
        {[&] { return recorded.copyFile(dir / "src", dir / "old"); },
         {"name old", "flushData", "name temp", "rename temp -> old"}},
        {[&] { return recorded.copyFile(dir / "large", dir / "old"); },
         {"flushData", "name temp", "rename temp -> old"}},
        {[&] { return recorded.copyFile(dir / "src", dir / "new"); }, {"name new"}},
        {[&] { return recorded.copyFile(dir / "link", dir / "lnk"); }, {"rename temp -> lnk"}},
        {[&] { return recorded.copyFile(dir / "pair too", dir / "old"); },
         {"flushData", "rename temp -> old"}},
        {[&] { return recorded.copyFile(dir / "pair 3", dir / "old"); }, {}},  // already one
        {[&] { return recorded.writeFileAtomic(dir / "Init.dat", "job"); },
         {"flushData", "rename temp -> Init.dat", "flushFolder"}},
        {[&] { return recorded.flushVolume(dir.path()); }, {"flushFileSystem"}}};
    for (const auto& [run, steps] : cases) {
        sync.steps.clear();
        const long names = entriesIn(dir.path());
        EXPECT_TRUE(run().ok());
        EXPECT_EQ(sync.steps, steps);
        EXPECT_TRUE(steps != Steps{"name new"} || sync.namesWhileWritten == names);
    }
    EXPECT_EQ(statOf(dir / "old").st_ino, statOf(dir / "pair copy").st_ino);
    writeFile(dir / "old", "old copy");
    sync.failing = "flushData";
    EXPECT_EQ(recorded.copyFile(dir / "src", dir / "old").number, kErrObjectNotAvailable);
    EXPECT_EQ(recorded.copyFile(dir / "pair 4", dir / "src").number, kErrObjectNotAvailable);
    EXPECT_FALSE(recorded.writeFileAtomic(dir / "Init.dat", "another job").ok());
    EXPECT_EQ(readFile(dir / "old") + readFile(dir / "src") + readFile(dir / "Init.dat"),
              "old copynew datajob");
    (void)recorded.takeUnkept();  // a run's end: a later run's copies are not linked to its own
    ASSERT_TRUE(recorded.copyFile(dir / "pair 3", dir / "next run").ok());
    EXPECT_NE(statOf(dir / "next run").st_ino, statOf(dir / "pair copy").st_ino);
    writeFile(dir / "pair", "changed");  // since its copy: copied again, not linked
    ASSERT_TRUE(recorded.copyFile(dir / "pair 3", dir / "again").ok());
    EXPECT_EQ(readFile(dir / "again"), "changed");
    EXPECT_EQ(entriesIn(dir.path()), 14);  // no temporary file left behind
}

// In a run's batches a small replacement leaves the old version under its name until the batch
// is full or ends; then one flush of the file system comes before any takes its name; a folder
// finished meanwhile gets its times after that. A flush that fails leaves every old version, a
// name that has become a folder keeps it; each such file fails, naming its source. Large files
// do not wait.
TEST_F(FileCopyTest, ReplacementsInABatchAreFlushedOnceAndThenNamed) {
    RecordingSync sync;
    LinuxFileSystem recorded(MountSources{}, sync);
    using Steps = std::vector<std::string>;
    makeDirs(dir / "to");
    makeDirs(dir / "other");
    for (const char* name : {"a", "b", "c"}) writeFile(dir / "to/" + name, "old");
    writeFile(dir / "new", "new");
    recorded.beginReplacementBatches();
    for (const char* name : {"a", "b", "c"})
        ASSERT_TRUE(recorded.copyFile(dir / "new", dir / "to/" + name).ok());
    const timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, dir.path().c_str(), times, 0), 0);
    for (const char* folder : {"to", "other"})
        ASSERT_TRUE(recorded.keepFolderMetadata(dir.path(), dir / folder, FolderStage::Done).ok());
    EXPECT_EQ(readFile(dir / "to/a") + readFile(dir / "to/b"), "oldold");
    EXPECT_EQ(statOf(dir / "other").st_mtim.tv_sec, 1000000000);  // nothing of the batch in it
    std::filesystem::remove(dir / "to/c");
    makeDirs(dir / "to/c/in it");
    sync.steps.clear();
    std::vector<LateFailure> late = recorded.endReplacementBatches();
    EXPECT_EQ(sync.steps, (Steps{"flushFileSystem", "name temp", "rename temp -> a", "name temp",
                                 "rename temp -> b", "name temp", "rename temp -> c"}));
    EXPECT_EQ(readFile(dir / "to/a") + readFile(dir / "to/b"), "newnew");
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(std::tuple(late[0].path, late[0].file), std::tuple(dir / "new", true));
    EXPECT_EQ(statOf(dir / "to").st_mtim.tv_sec, 1000000000);
    EXPECT_EQ(entriesIn(dir / "to"), 3);  // no temporary name left
    recorded.beginReplacementBatches();
    sync.failing = "flushFileSystem";
    writeFile(dir / "to/a", "changed");
    ASSERT_TRUE(recorded.copyFile(dir / "to/a", dir / "to/b").ok());
    late = recorded.endReplacementBatches();
    EXPECT_EQ(std::tuple(late.size(), readFile(dir / "to/b")), std::tuple(1u, "new"));
    sync.failing = "-";
    // A full batch is named at once; a large file, and any out of batches, on its own.
    recorded.beginReplacementBatches();
    sync.steps.clear();
    for (std::size_t i = 0; i < ReplacementBatch::kFiles; ++i)
        ASSERT_TRUE(recorded.copyFile(dir / "new", dir / "to/b").ok());
    EXPECT_EQ(std::count(sync.steps.begin(), sync.steps.end(), "flushFileSystem"), 1);
    writeFile(dir / "large", std::string(ReplacementBatch::kLargestFile, 'l'));
    sync.steps.clear();
    ASSERT_TRUE(recorded.copyFile(dir / "large", dir / "to/b").ok());
    EXPECT_EQ(sync.steps, (Steps{"flushData", "name temp", "rename temp -> b"}));
    EXPECT_TRUE(recorded.endReplacementBatches().empty());
    sync.steps.clear();
    ASSERT_TRUE(recorded.copyFile(dir / "to/a", dir / "to/b").ok());
    EXPECT_EQ(sync.steps, (Steps{"name b", "flushData", "name temp", "rename temp -> b"}));
    EXPECT_EQ(readFile(dir / "to/b"), "changed");
    // A batch over two file systems (a disk mounted inside the backup) flushes each.
    ScratchMount other(dir / "mounted", ScratchMount::Tmpfs, "1m");
    if (!other.ok()) return;  // no mounting here: the rows above stand
    writeFile(dir / "mounted/x", "old");
    recorded.beginReplacementBatches();
    for (const char* to : {"to/b", "mounted/x"})
        ASSERT_TRUE(recorded.copyFile(dir / "new", dir / to).ok());
    sync.steps.clear();
    EXPECT_TRUE(recorded.endReplacementBatches().empty());
    EXPECT_EQ(sync.steps, (Steps{"flushFileSystem", "name temp", "rename temp -> b",
                                 "flushFileSystem", "name temp", "rename temp -> x"}));
    // So does the flush at a run's end.
    sync.steps.clear();
    EXPECT_TRUE(recorded.flushVolume(dir.path()).ok());
    EXPECT_EQ(sync.steps, (Steps{"flushFileSystem", "flushFileSystem"}));
}

// Where files cannot be made without a name (FAT), the target is checked before the copy.
TEST_F(FileCopyTest, OnFatAReplaceIsCheckedAndFlushedBeforeItsRename) {
    ScratchMount fat(dir / "fat", ScratchMount::Image, "mkfs.vfat");
    if (!fat.ok()) GTEST_SKIP() << fat.why();
    RecordingSync sync;
    LinuxFileSystem recorded(MountSources{}, sync);
    using Steps = std::vector<std::string>;
    writeFile(dir / "src", "new data");
    writeFile(fat.path() + "/old", "old copy");
    writeFile(fat.path() + "/kept", "kept");
    chmod((fat.path() + "/kept").c_str(), 0444);
    EXPECT_TRUE(recorded.copyFile(dir / "src", fat.path() + "/old").ok());
    EXPECT_EQ(recorded.copyFile(dir / "src", fat.path() + "/kept").number, kErrAccessDenied);
    EXPECT_EQ(sync.steps, (Steps{"flushData", "rename temp -> old"}));
    EXPECT_EQ(readFile(fat.path() + "/old") + readFile(fat.path() + "/kept"), "new datakept");
    EXPECT_EQ(entriesIn(fat.path()), 2);
}

}  // namespace
}  // namespace zv::test
