#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ScratchMount.h"
#include "platform/EntryStat.h"
#include "platform/LinuxFileSystem.h"
#include "support/TempDir.h"

namespace zv {
namespace {

using namespace std::chrono_literals;

TEST(EntryDates, BirthTimeWhereTheFileSystemKeepsIt) {
    test::TempDir dir;
    LinuxFileSystem fs;
    test::writeFile(dir / "f", "x");
    struct statx sx {};
    ASSERT_EQ(statEntry(AT_FDCWD, (dir / "f").c_str(), sx), 0);
    if (!(sx.stx_mask & STATX_BTIME)) GTEST_SKIP() << "this file system keeps no birth time";
    test::setTimes(dir / "f", 1000000000, 1000000000);
    Entry e;
    ASSERT_TRUE(fs.stat(dir / "f", e).ok());
    EXPECT_EQ(e.created, toDateTime(sx.stx_btime));
    EXPECT_GT(e.created, e.modified);  // made now, dated back to 2001
}

TEST(EntryDates, ModificationTimeStandsInForAMissingBirthTime) {
    struct statx sx {};
    sx.stx_mask = STATX_BASIC_STATS;  // no STATX_BTIME
    sx.stx_mode = S_IFREG | 0644;
    sx.stx_size = 12;
    sx.stx_mtime = {1234567890, 500, 0};
    sx.stx_atime = {1300000000, 0, 0};
    sx.stx_btime = {42, 0, 0};  // not to be used
    Entry e;
    fillEntry(sx, "name", 0, e);
    EXPECT_EQ(e.created, e.modified);
    EXPECT_EQ(e.modified.time_since_epoch(), 1234567890s + 500ns);
    EXPECT_EQ(e.accessed.time_since_epoch(), 1300000000s);
    EXPECT_EQ(e.size, 12u);
    EXPECT_EQ(e.name, "name");
}

TEST(EntryDates, FileSystemWithoutBirthTimesFallsBackOnRealFiles) {
    test::TempDir dir;
    LinuxFileSystem fs;
    // Small inodes leave no room for a birth time.
    test::ScratchMount old =
        test::ScratchMount::image(dir / "old.img", dir / "old", "8", "mkfs.ext2 -q -I 128");
    if (!old.ok()) GTEST_SKIP() << old.why();
    test::writeFile(old.path() + "/f", "x");
    test::setTimes(old.path() + "/f", 1000000000, 1100000000);
    Entry e;
    ASSERT_TRUE(fs.stat(old.path() + "/f", e).ok());
    EXPECT_EQ(e.created, e.modified);
    EXPECT_EQ(e.modified.time_since_epoch(), 1000000000s);
    std::vector<Entry> files, folders;
    ASSERT_TRUE(fs.listFolder(old.path(), files, folders).ok());
    ASSERT_FALSE(files.empty());
    for (const Entry& f : files) {
        if (f.name == "f") {
            EXPECT_EQ(f.created, f.modified);
        }
    }
}

TEST(EntryDates, SubSecondPrecisionIsKept) {
    test::TempDir dir;
    LinuxFileSystem fs;
    test::writeFile(dir / "a", "x");
    test::writeFile(dir / "b", "x");
    timespec ta[2] = {{1600000000, 100}, {1600000000, 100}};
    timespec tb[2] = {{1600000000, 101}, {1600000000, 101}};
    ASSERT_EQ(utimensat(AT_FDCWD, (dir / "a").c_str(), ta, 0), 0);
    ASSERT_EQ(utimensat(AT_FDCWD, (dir / "b").c_str(), tb, 0), 0);
    Entry a, b;
    ASSERT_TRUE(fs.stat(dir / "a", a).ok());
    ASSERT_TRUE(fs.stat(dir / "b", b).ok());
    EXPECT_LT(a.modified, b.modified);
    EXPECT_EQ(b.modified - a.modified, 1ns);
}

TEST(EntryDates, DatesBeforeTheEpoch) {
    test::TempDir dir;
    LinuxFileSystem fs;
    test::writeFile(dir / "a", "x");
    test::setTimes(dir / "a", -86400, -86400);
    Entry a;
    ASSERT_TRUE(fs.stat(dir / "a", a).ok());
    EXPECT_EQ(a.modified.time_since_epoch(), -86400s);
}

}  // namespace
}  // namespace zv
