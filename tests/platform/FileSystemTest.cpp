#include <chrono>
#include <memory>

#include "PlatformTest.h"
#include "platform/linux/EntryStat.h"

namespace zv::test {
namespace {

using namespace std::chrono_literals;

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

// Listings (names only and full), existence checks and tree sizes (summed
// here and beside the caller) never follow a link nor open a FIFO.
TEST_F(FileSystemTest, ListingsSizesAndExistenceNeverFollowLinks) {
    std::vector<Entry> files, folders;
    std::vector<FolderName> names;
    ASSERT_TRUE(fs.listFolder(dir / "tree", files, folders).ok());
    EXPECT_EQ(folders.size(), 1u);      // "sub"; no link to a folder
    EXPECT_EQ(folders.at(0).size, 0u);  // not the size of its listing
    EXPECT_EQ(fs.listNames(dir / "missing", names).number, kErrPathNotFound);
    std::uint64_t bytes = 0;
    ASSERT_TRUE(fs.folderSize(dir / "tree", bytes).ok());
    EXPECT_EQ(bytes, 8u);  // regular files once, and the loop ends
    std::unique_ptr<PendingSize> sizes =
        fs.startFolderSizes({dir / "tree", dir / "tree/sub", dir / "missing"});
    EXPECT_EQ(sizes->total(), 11u);  // a folder that cannot be read adds nothing
    sizes = fs.startFolderSizes({dir / "tree"});
    sizes.reset();  // dropped unfinished: stopped and joined, nothing left running
    // A link that leads nowhere is still a file; a link to a folder is none.
    EXPECT_FALSE(fs.folderExists(dir / "tree/subLink"));
    const std::pair<const char*, bool> exists[] = {
        {"fileLink", true}, {"loopA", true}, {"subLink", false}, {"sub", false}, {"pipe", false}};
    for (const auto& [name, file] : exists)
        EXPECT_EQ(fs.fileExists(dir / ("tree/" + std::string(name))), file) << name;
}

// Deleting removes links, never what they point at (a read-only file behind a
// link does not stop a tree's delete either).
TEST_F(FileSystemTest, DeletingRemovesLinksNeverWhatTheyPointAt) {
    writeFile(dir / "outside/locked.txt", "x");
    chmod((dir / "outside/locked.txt").c_str(), 0444);
    link(dir / "outside", dir / "tree/sub/out");
    EXPECT_TRUE(fs.deleteFile(dir / "tree/fileLink", false).ok());
    EXPECT_TRUE(fs.deleteFolder(dir / "tree", false).ok());
    EXPECT_FALSE(fs.folderExists(dir / "tree"));
    EXPECT_EQ(readFile(dir / "outside/locked.txt"), "x");
}

// Every failure carries the program's error number; a FIFO is refused at
// once (opening it would hang the run).
TEST_F(FileSystemTest, FailuresCarryTheProgramsErrorNumbers) {
    Entry entry;
    std::vector<Entry> files, folders;
    std::string text;
    const std::string missing = dir / "missing", noFolder = dir / "nofolder/x",
                      file = dir / "tree/file.txt", pipe = dir / "tree/pipe";
    writeFile(dir / "readOnly", "x");
    chmod((dir / "readOnly").c_str(), 0444);
    link("readOnly", dir / "toReadOnly");
    const auto start = std::chrono::steady_clock::now();
    const std::pair<FsError, int> cases[] = {
        {fs.readTextFile(missing, text), kErrFileNotFound},
        {fs.readTextFile(noFolder, text), kErrPathNotFound},
        {fs.writeTextFile(dir / "toReadOnly", "x"), kErrAccessDenied},
        {fs.stat(missing, entry), kErrFileNotFound},
        {fs.stat(file + "/below", entry), kErrPathNotFound},
        {fs.deleteFile(missing, true), kErrFileNotFound},
        {fs.deleteFile(dir / "tree/sub", false), kErrFileNotFound},
        {fs.deleteFolder(dir / "tree/subLink", true), kErrPathNotFound},
        {fs.deleteFolder(file, true), kErrPathNotFound},
        {fs.listFolder(missing, files, folders), kErrPathNotFound},
        {fs.appendToFile(noFolder, "x"), kErrPathNotFound},
        {fs.writeFileAtomic(noFolder, "x"), kErrPathNotFound},
        {fs.copyFile(missing, dir / "x"), kErrFileNotFound},
        {fs.copyFile(file, noFolder), kErrPathNotFound},
        {fs.copyFile(file, ""), kErrInvalidArgument},
        {fs.copyFile(file, std::string("/tmp/x\0y", 8)), kErrInvalidArgument},
        {fs.createFolder(dir / std::string(300, 'n')), kErrInvalidArgument},
        {fs.deleteFile("", false), kErrInvalidArgument},
        {fs.readTextFile(pipe, text), kErrAccessDenied},
        {fs.writeTextFile(pipe, "x"), kErrAccessDenied},
        {fs.writeFileAtomic(pipe, "x"), kErrAccessDenied},
    };
    EXPECT_FALSE(fs.appendToFile(pipe, "x").ok());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].first.number, cases[i].second) << "case " << i;
}

// Appends never overwrite; an atomic write keeps the old file's permission
// bits and attributes, replaces what a link points at, and refuses a
// read-only file and a protected Desktop.ini.
TEST_F(FileSystemTest, TextFilesAndAnAtomicWriteThatKeepsTheOldFilesSettings) {
    writeFile(dir / "Error.Log", "old\r\n");
    ASSERT_TRUE(fs.appendToFile(dir / "Error.Log", "new\r\n").ok());
    std::string text = "stale";
    ASSERT_TRUE(fs.readTextFile(dir / "Error.Log", text).ok());
    EXPECT_EQ(text, "old\r\nnew\r\n");
    writeFile(dir / "Init.dat", "old");
    chmod((dir / "Init.dat").c_str(), 0640);
    ASSERT_TRUE(fs.setAttributes(dir / "Init.dat", kAttrArchive).ok());
    ASSERT_TRUE(fs.writeFileAtomic(dir / "Init.dat", "new").ok());
    EXPECT_EQ(modeOf(dir / "Init.dat"), 0640u);
    EXPECT_EQ(xattrOf(dir / "Init.dat", "user.DOSATTRIB"), "0x20");
    chmod((dir / "Init.dat").c_str(), 0444);
    EXPECT_EQ(fs.writeFileAtomic(dir / "Init.dat", "newer").number, kErrAccessDenied);
    EXPECT_EQ(readFile(dir / "Init.dat"), "new");
    link("tree/file.txt", dir / "Link.dat");
    ASSERT_TRUE(fs.writeFileAtomic(dir / "Link.dat", "via link").ok());
    EXPECT_EQ(readFile(dir / "tree/file.txt"), "via link");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "Link.dat"));
    writeFile(dir / "Desktop.ini", "old");
    for (std::uint32_t bits : {38u, kAttrSystem, kAttrArchive}) {
        ASSERT_TRUE(fs.setAttributes(dir / "Desktop.ini", bits).ok());
        EXPECT_EQ(fs.writeTextFile(dir / "Desktop.ini", "new").ok(), bits == kAttrArchive) << bits;
        EXPECT_EQ(readFile(dir / "Desktop.ini"), bits == kAttrArchive ? "new" : "old");
    }
}

// Dates to the nanosecond; the birth time, or the modification time where the
// file system keeps none (small ext2 inodes); a time the time type cannot hold
// is read as its nearest end, never wrapped around into some other date.
TEST_F(FileSystemTest, DatesToTheNanosecondBirthTimeOrItsStandInAndTheEnds) {
    const std::string f = dir / "tree/file.txt";
    timespec times[2] = {{1600000000, 100}, {-86400, 101}};  // modified before the epoch
    ASSERT_EQ(utimensat(AT_FDCWD, f.c_str(), times, 0), 0);
    Entry a, b;
    ASSERT_TRUE(fs.stat(f, a).ok());
    EXPECT_EQ(a.accessed.time_since_epoch(), 1600000000s + 100ns);
    EXPECT_EQ(a.modified.time_since_epoch(), -86400s + 101ns);
    struct statx sx {};
    sx = {};
    sx.stx_mask = STATX_BASIC_STATS;
    sx.stx_mode = S_IFREG | 0644;
    sx.stx_mtime = {1234567890, 500, 0};
    sx.stx_btime = {42, 0, 0};  // not to be used
    fillEntry(sx, "name", 0, b);
    EXPECT_EQ(b.created.time_since_epoch(), 1234567890s + 500ns);
    const std::int64_t first =
        std::chrono::floor<std::chrono::seconds>(kEarliestDateTime).time_since_epoch().count();
    const std::int64_t last =
        std::chrono::floor<std::chrono::seconds>(kLatestDateTime).time_since_epoch().count();
    // clang-format off
    const std::pair<statx_timestamp, DateTime> ends[] = {
        {{INT64_MIN, 999999999, 0}, kEarliestDateTime}, {{first - 1, 999999999, 0}, kEarliestDateTime},
        {{first, 7, 0}, kEarliestDateTime + 7ns},       {{-1, 999999999, 0}, DateTime{} - 1ns},
        {{last - 1, 999999999, 0}, kLatestDateTime - 1ns}, {{last, 1, 0}, kLatestDateTime},
        {{INT64_MAX, 999999999, 0}, kLatestDateTime}};
    // clang-format on
    for (const auto& [ts, expected] : ends)
        EXPECT_EQ(toDateTime(ts), expected) << ts.tv_sec << "s " << ts.tv_nsec << "ns";
    ScratchMount old(dir / "old", ScratchMount::Image, "mkfs.ext2 -q -I 128");
    if (!old.ok()) GTEST_SKIP() << old.why();
    writeFile(old.path() + "/f", "x");
    setTimes(old.path() + "/f", 1000000000, 1100000000);
    std::vector<Entry> files, folders;
    ASSERT_TRUE(fs.listFolder(old.path(), files, folders).ok());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].created.time_since_epoch(), 1000000000s);
}

// Only "no such file" is absent: whatever else keeps the answer out of reach
// leaves it unknown. Roots are resolved through links to real folders.
TEST_F(FileSystemTest, LookupsTellAbsentFromUnknown) {
    link(dir / "tree/sub", dir / "tree/toD");
    const std::string file = dir / "tree/file.txt";
    // clang-format off
    const std::tuple<std::string, Presence, EntryKind> cases[] = {
        {file, Presence::Present, EntryKind::File}, {dir / "tree/sub", Presence::Present, EntryKind::Folder},
        {dir / "tree/toD", Presence::Present, EntryKind::Symlink}, {dir / "none", Presence::Absent, EntryKind::File},
        {file + "/inside", Presence::Absent, EntryKind::File}, {dir / std::string(300, 'n'), Presence::Unknown, EntryKind::File},
        {std::string("/tmp\0x", 6), Presence::Unknown, EntryKind::File}, {"", Presence::Unknown, EntryKind::File}};
    // clang-format on
    for (const auto& [path, presence, kind] : cases) {
        const PathInfo info = fs.lookup(path);
        SCOPED_TRACE(path.substr(0, 80));
        EXPECT_EQ(info.presence, presence);
        if (presence == Presence::Present) {
            EXPECT_EQ(info.kind, kind);
        }
        EXPECT_EQ(info.error.ok(), presence == Presence::Present);
    }
}

}  // namespace
}  // namespace zv::test
