#include <chrono>
#include <filesystem>
#include <map>
#include <memory>

#include "PlatformTest.h"
#include "platform/linux/EntryStat.h"

namespace zv::test {
namespace {

using namespace std::chrono_literals;

const Entry* find(const std::vector<Entry>& entries, const std::string& name) {
    for (const Entry& e : entries)
        if (e.name == name) return &e;
    return nullptr;
}

// A tree with a link loop, links in a circle, links to a folder and to a
// file, and a FIFO: a walk must never follow or open any of them.
class FileSystemTest : public PlatformTest {
  protected:
    void SetUp() override {
        writeFile(dir / "tree/file.txt", "12345");
        writeFile(dir / "tree/sub/inner.txt", "123");
        setTimes(dir / "tree/file.txt", 1000000000, 1100000000);
        link("..", dir / "tree/sub/up");
        link("loopB", dir / "tree/loopA");
        link("loopA", dir / "tree/loopB");
        link("sub", dir / "tree/subLink");
        link("file.txt", dir / "tree/fileLink");
        ASSERT_EQ(mkfifo((dir / "tree/pipe").c_str(), 0644), 0);
    }
};

TEST_F(FileSystemTest, ListingAndExistenceNeverFollowLinks) {
    std::vector<Entry> files, folders;
    ASSERT_TRUE(fs.listFolder(dir / "tree", files, folders).ok());
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].name, "sub");
    EXPECT_EQ(folders[0].size, 0u);  // not the size of its listing
    ASSERT_EQ(files.size(), 6u);
    for (const char* link : {"loopA", "loopB", "subLink", "fileLink"})
        EXPECT_EQ(find(files, link)->kind, EntryKind::Symlink) << link;
    EXPECT_EQ(find(files, "pipe")->kind, EntryKind::Special);
    for (mode_t special : {S_IFSOCK, S_IFCHR, S_IFBLK})
        EXPECT_EQ(kindOf(special), EntryKind::Special);
    EXPECT_EQ(find(files, "file.txt")->size, 5u);
    EXPECT_EQ(find(files, "file.txt")->modified.time_since_epoch(), 1000000000s);
    ASSERT_TRUE(fs.listFolder(dir / "tree/sub", files, folders).ok());
    EXPECT_TRUE(folders.empty());  // "up" is a link, not a way back up
    std::uint64_t bytes = 0;
    ASSERT_TRUE(fs.folderSize(dir / "tree", bytes).ok());
    EXPECT_EQ(bytes, 8u);  // regular files once, and the loop ends

    EXPECT_FALSE(fs.folderExists(dir / "tree/subLink"));
    EXPECT_TRUE(fs.fileExists(dir / "tree/fileLink"));
    EXPECT_TRUE(fs.fileExists(dir / "tree/loopA"));  // a link that leads nowhere is still a file
    for (const char* no : {"subLink", "sub", "pipe"})
        EXPECT_FALSE(fs.fileExists(dir / (std::string("tree/") + no))) << no;
    // A FIFO would hang the run.
    const auto start = std::chrono::steady_clock::now();
    std::string text;
    EXPECT_EQ(fs.readTextFile(dir / "tree/pipe", text).number, kErrAccessDenied);
    EXPECT_EQ(fs.writeTextFile(dir / "tree/pipe", "x").number, kErrAccessDenied);
    EXPECT_FALSE(fs.appendToFile(dir / "tree/pipe", "x").ok());
    EXPECT_EQ(fs.writeFileAtomic(dir / "tree/pipe", "x").number, kErrAccessDenied);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

// The cheap forms the walks use: names with the types their folder records,
// a listing without the recorded bits, and tree sizes summed on a thread of
// their own.
TEST_F(FileSystemTest, NamesPlainListingsAndSizesBesideTheCaller) {
    std::vector<FolderName> names;
    ASSERT_TRUE(fs.listNames(dir / "tree", names).ok());
    std::map<std::string, EntryKind> kinds;
    for (const FolderName& n : names) kinds[n.name] = n.typeKnown ? n.kind : EntryKind::File;
    const std::map<std::string, EntryKind> expected{
        {"file.txt", EntryKind::File},   {"sub", EntryKind::Folder},
        {"loopA", EntryKind::Symlink},   {"loopB", EntryKind::Symlink},
        {"subLink", EntryKind::Symlink}, {"fileLink", EntryKind::Symlink},
        {"pipe", EntryKind::Special}};
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(fs.listNames(dir / "missing", names).number, kErrPathNotFound);
    EXPECT_TRUE(names.empty());

    ASSERT_TRUE(fs.setAttributes(dir / "tree/file.txt", kAttrHidden | kAttrArchive).ok());
    std::vector<Entry> files, folders;
    ASSERT_TRUE(fs.listFolder(dir / "tree", files, folders, ListDetail::Plain).ok());
    EXPECT_EQ(find(files, "file.txt")->attributes, 0u);
    EXPECT_EQ(find(files, "file.txt")->size, 5u);
    ASSERT_TRUE(fs.listFolder(dir / "tree", files, folders).ok());
    EXPECT_EQ(find(files, "file.txt")->attributes, kAttrHidden | kAttrArchive);

    std::unique_ptr<PendingSize> sizes =
        fs.startFolderSizes({dir / "tree", dir / "tree/sub", dir / "missing"});
    EXPECT_EQ(sizes->total(), 11u);  // a folder that cannot be read adds nothing
    EXPECT_TRUE(sizes->ready());
    sizes = fs.startFolderSizes({dir / "tree"});
    sizes.reset();  // dropped unfinished: stopped and joined, nothing left running
}

TEST_F(FileSystemTest, DeletingRemovesLinksNeverWhatTheyPointAt) {
    EXPECT_TRUE(fs.deleteFile(dir / "tree/fileLink", false).ok());
    EXPECT_EQ(fs.deleteFolder(dir / "tree/subLink", true).number, kErrPathNotFound);
    EXPECT_TRUE(fs.deleteFile(dir / "tree/subLink", false).ok());
    EXPECT_EQ(fs.deleteFile(dir / "tree/sub", false).number, kErrFileNotFound);
    EXPECT_EQ(readFile(dir / "tree/file.txt"), "12345");
    EXPECT_EQ(readFile(dir / "tree/sub/inner.txt"), "123");
    // A read-only file behind a link does not stop the tree's delete either.
    writeFile(dir / "outside/locked.txt", "x");
    chmod((dir / "outside/locked.txt").c_str(), 0444);
    link(dir / "outside", dir / "tree/sub/out");
    EXPECT_TRUE(fs.deleteFolder(dir / "tree", false).ok());
    EXPECT_FALSE(fs.folderExists(dir / "tree"));
    EXPECT_EQ(readFile(dir / "outside/locked.txt"), "x");
    EXPECT_TRUE(fs.createFolder(dir / "one").ok());  // one level only
    EXPECT_FALSE(fs.createFolder(dir / "one").ok());
}

TEST_F(FileSystemTest, FailuresCarryTheProgramsErrorNumbers) {
    Entry entry;
    std::vector<Entry> files, folders;
    const std::string missing = dir / "missing", noFolder = dir / "nofolder/x",
                      belowFile = dir / "tree/file.txt/below";
    const std::pair<FsError, int> cases[] = {
        {fs.stat(missing, entry), kErrFileNotFound},
        {fs.stat(belowFile, entry), kErrPathNotFound},
        {fs.deleteFile(missing, true), kErrFileNotFound},
        {fs.listFolder(missing, files, folders), kErrPathNotFound},
        {fs.deleteFolder(dir / "tree/file.txt", true), kErrPathNotFound},
        {fs.appendToFile(noFolder, "x"), kErrPathNotFound},
        {fs.writeFileAtomic(noFolder, "x"), kErrPathNotFound},
        {fs.copyFile(missing, dir / "x"), kErrFileNotFound},
        {fs.copyFile(dir / "tree/file.txt", noFolder), kErrPathNotFound},
        {fs.copyFile(dir / "tree/file.txt", ""), kErrInvalidArgument},
        {fs.createFolder(dir / std::string(300, 'n')), kErrInvalidArgument},
        {fs.deleteFile("", false), kErrInvalidArgument},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].first.number, cases[i].second) << "case " << i;
}

TEST_F(FileSystemTest, TextFilesAndAnAtomicWriteThatKeepsTheOldFilesSettings) {
    EXPECT_TRUE(fs.createNewFile(dir / "Error.Log").ok());
    ASSERT_TRUE(fs.appendToFile(dir / "Error.Log", "old\r\n").ok());
    EXPECT_FALSE(fs.createNewFile(dir / "Error.Log").ok());  // never overwrites
    ASSERT_TRUE(fs.appendToFile(dir / "Error.Log", "new\r\n").ok());
    EXPECT_EQ(readFile(dir / "Error.Log"), "old\r\nnew\r\n");
    ASSERT_TRUE(fs.writeTextFile(dir / "Error.Log", "short").ok());
    EXPECT_EQ(readFile(dir / "Error.Log"), "short");

    writeFile(dir / "Init.dat", "old");
    chmod((dir / "Init.dat").c_str(), 0640);
    ASSERT_TRUE(fs.setAttributes(dir / "Init.dat", kAttrArchive).ok());
    ASSERT_TRUE(fs.writeFileAtomic(dir / "Init.dat", "new").ok());
    EXPECT_EQ(readFile(dir / "Init.dat"), "new");
    EXPECT_EQ(modeOf(dir / "Init.dat"), 0640u);
    std::uint32_t attributes = 0;
    ASSERT_TRUE(fs.getAttributes(dir / "Init.dat", attributes).ok());
    EXPECT_EQ(attributes, kAttrArchive);
    chmod((dir / "Init.dat").c_str(), 0444);
    EXPECT_EQ(fs.writeFileAtomic(dir / "Init.dat", "newer").number, kErrAccessDenied);
    EXPECT_EQ(readFile(dir / "Init.dat"), "new");
    // Through a link the linked file is replaced and the link stays.
    writeFile(dir / "fresh.dat", "x");
    link("fresh.dat", dir / "Link.dat");
    ASSERT_TRUE(fs.writeFileAtomic(dir / "Link.dat", "via link").ok());
    EXPECT_EQ(readFile(dir / "fresh.dat"), "via link");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "Link.dat"));

    // A protected Desktop.ini is never replaced in place.
    writeFile(dir / "Desktop.ini", "old");
    for (std::uint32_t bits : {38u, kAttrSystem, kAttrArchive}) {
        ASSERT_TRUE(fs.setAttributes(dir / "Desktop.ini", bits).ok());
        EXPECT_EQ(fs.writeTextFile(dir / "Desktop.ini", "new").ok(), bits == kAttrArchive) << bits;
        EXPECT_EQ(readFile(dir / "Desktop.ini"), bits == kAttrArchive ? "new" : "old");
    }
}

TEST_F(FileSystemTest, DatesToTheNanosecondAndBirthTimeOrItsStandIn) {
    const std::string f = dir / "tree/file.txt";
    timespec times[2] = {{1600000000, 100}, {-86400, 101}};  // modified before the epoch
    ASSERT_EQ(utimensat(AT_FDCWD, f.c_str(), times, 0), 0);
    Entry a, b;
    ASSERT_TRUE(fs.stat(f, a).ok());
    EXPECT_EQ(a.accessed.time_since_epoch(), 1600000000s + 100ns);
    EXPECT_EQ(a.modified.time_since_epoch(), -86400s + 101ns);
    struct statx sx {};
    ASSERT_EQ(statEntry(AT_FDCWD, f.c_str(), sx), 0);
    if (sx.stx_mask & STATX_BTIME) {
        EXPECT_EQ(a.created, toDateTime(sx.stx_btime));
        EXPECT_GT(a.created, a.modified);  // made now, dated back
    }
    // Without a birth time the modification time stands in.
    sx = {};
    sx.stx_mask = STATX_BASIC_STATS;
    sx.stx_mode = S_IFREG | 0644;
    sx.stx_mtime = {1234567890, 500, 0};
    sx.stx_btime = {42, 0, 0};  // not to be used
    fillEntry(sx, "name", 0, b);
    EXPECT_EQ(b.created.time_since_epoch(), 1234567890s + 500ns);
    // Small inodes on ext2 leave no room for a birth time.
    ScratchMount old(dir / "old", ScratchMount::Image, "mkfs.ext2 -q -I 128");
    if (!old.ok()) GTEST_SKIP() << old.why();
    writeFile(old.path() + "/f", "x");
    setTimes(old.path() + "/f", 1000000000, 1100000000);
    std::vector<Entry> files, folders;
    ASSERT_TRUE(fs.listFolder(old.path(), files, folders).ok());
    ASSERT_NE(find(files, "f"), nullptr);
    EXPECT_EQ(find(files, "f")->created.time_since_epoch(), 1000000000s);
}

// A file time the time type cannot hold is read as its nearest end, never
// wrapped around into some other date; within the range, to the nanosecond.
TEST_F(FileSystemTest, FileTimesBeyondTheTimeTypeAreHeldToItsEnds) {
    using std::chrono::floor;
    const std::int64_t first =
        floor<std::chrono::seconds>(kEarliestDateTime).time_since_epoch().count();
    const std::int64_t last =
        floor<std::chrono::seconds>(kLatestDateTime).time_since_epoch().count();
    const std::int64_t year1000 = -30610224000, year3000 = 32503680000;
    const std::pair<statx_timestamp, DateTime> cases[] = {
        {{year1000, 0, 0}, kEarliestDateTime},
        {{INT64_MIN, 999999999, 0}, kEarliestDateTime},
        {{first - 1, 999999999, 0}, kEarliestDateTime},
        {{first, 0, 0}, kEarliestDateTime},
        {{first, 7, 0}, kEarliestDateTime + 7ns},
        {{-1, 999999999, 0}, DateTime{} - 1ns},
        {{last - 1, 999999999, 0}, kLatestDateTime - 1ns},
        {{last, 0, 0}, kLatestDateTime},
        {{last, 1, 0}, kLatestDateTime},
        {{year3000, 5, 0}, kLatestDateTime},
        {{INT64_MAX, 999999999, 0}, kLatestDateTime}};
    for (const auto& [ts, expected] : cases)
        EXPECT_EQ(toDateTime(ts), expected) << ts.tv_sec << "s " << ts.tv_nsec << "ns";
    // Tmpfs keeps such times as they are set.
    ScratchMount scratch(dir / "scratch", ScratchMount::Tmpfs, "1m");
    if (!scratch.ok()) GTEST_SKIP() << scratch.why();
    const std::string f = scratch.path() + "/f";
    writeFile(f, "x");
    setTimes(f, year1000, year3000);
    Entry entry;
    ASSERT_TRUE(fs.stat(f, entry).ok());
    EXPECT_EQ(entry.modified, kEarliestDateTime);
    EXPECT_EQ(entry.accessed, kLatestDateTime);
}

}  // namespace
}  // namespace zv::test

namespace zv::test {
namespace {

// Only "no such file" is absent: whatever else keeps the answer out of reach
// leaves it unknown. Roots are resolved through links to real folders.
TEST_F(FileSystemTest, LookupsTellAbsentFromUnknown) {
    writeFile(dir / "f.txt", "x");
    makeDirs(dir / "d");
    link(dir / "d", dir / "toD");
    const std::string tooLong = dir / std::string(300, 'n');
    const struct {
        std::string path;
        Presence presence;
        EntryKind kind;
    } cases[] = {
        {dir / "f.txt", Presence::Present, EntryKind::File},
        {dir / "d", Presence::Present, EntryKind::Folder},
        {dir / "toD", Presence::Present, EntryKind::Symlink},
        {dir / "none", Presence::Absent, EntryKind::File},
        {dir / "f.txt/inside", Presence::Absent, EntryKind::File},  // through a file
        {tooLong, Presence::Unknown, EntryKind::File},
        {std::string("/tmp\0x", 6), Presence::Unknown, EntryKind::File},
        {"", Presence::Unknown, EntryKind::File},
    };
    for (const auto& c : cases) {
        const PathInfo info = fs.lookup(c.path);
        EXPECT_EQ(info.presence, c.presence) << c.path.substr(0, 80);
        if (c.presence == Presence::Present) {
            EXPECT_EQ(info.kind, c.kind) << c.path;
        }
        EXPECT_EQ(info.error.ok(), c.presence == Presence::Present) << c.path.substr(0, 80);
    }
    std::string real;
    PathInfo folder;
    ASSERT_TRUE(fs.resolveFolder(dir / "toD/../toD/.", real, folder).ok());
    EXPECT_EQ(real, dir / "d");
    EXPECT_EQ(folder.id, fs.lookup(dir / "d").id);
    EXPECT_NE(folder.id, fs.lookup(dir.path()).id);
    EXPECT_EQ(fs.resolveFolder(dir / "f.txt", real, folder).number, kErrPathNotFound);
    EXPECT_EQ(folder.presence, Presence::Absent);
    EXPECT_TRUE(real.empty());
    EXPECT_EQ(fs.copyFile(dir / "f.txt", std::string("/tmp/x\0y", 8)).number, kErrInvalidArgument);
}

// A lock is held once; an empty folder goes, one with anything in it stays.
TEST_F(FileSystemTest, LocksAndEmptyFolders) {
    makeDirs(dir / "held");
    std::unique_ptr<HeldLock> first, second;
    ASSERT_TRUE(fs.lockExclusive(dir / "held", first).ok());
    ASSERT_TRUE(first);
    EXPECT_EQ(fs.lockExclusive(dir / "held", second).number, kErrAccessDenied);
    first.reset();
    EXPECT_TRUE(fs.lockExclusive(dir / "held", second).ok());
    writeFile(dir / "held/x", "");
    EXPECT_FALSE(fs.removeEmptyFolder(dir / "held").ok());
    std::filesystem::remove(dir / "held/x");
    EXPECT_TRUE(fs.removeEmptyFolder(dir / "held").ok());
    EXPECT_FALSE(fs.folderExists(dir / "held"));
}

}  // namespace
}  // namespace zv::test
