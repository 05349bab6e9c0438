#include <gtest/gtest.h>

#include "sync/SyncPaths.h"
#include "sync/SyncWalk.h"

namespace zv {
namespace {

TEST(SyncPathsTest, StrX_YCutsALeadingPartOrGivesNothing) {
    EXPECT_EQ(StrX_Y("/mnt/b/Backup/Sub/a.txt", "/mnt/b/Backup"), "/Sub/a.txt");
    EXPECT_EQ(StrX_Y("/mnt/b/Backup/Sub/a.txt", "/mnt/b/Backup/"), "Sub/a.txt");
    EXPECT_EQ(StrX_Y("/other/Backup/Sub/a.txt", "/mnt/b/Backup"), "");
    EXPECT_EQ(StrX_Y("/x/mnt/b/Backup/a", "/mnt/b/Backup"), "");  // contains, not begins
    EXPECT_EQ(StrX_Y("/mnt/B/backup/a", "/mnt/b/Backup"), "");    // case counts
    EXPECT_EQ(StrX_Y("/a", "/a"), "");
    EXPECT_EQ(StrX_Y("/a", ""), "/a");
}

TEST(SyncPathsTest, StrTailTakesTheLastCharactersWithoutATest) {
    EXPECT_EQ(StrTail("/mnt/b/Backup", "/mnt/b/Backup/Sub"), "/Sub");
    EXPECT_EQ(StrTail("/mnt/b/Backup", "/zzz/b/Backup/Sub"), "/Sub");
    EXPECT_EQ(StrTail("/mnt/b/Backup", "/mnt/b/Backup"), "");
    EXPECT_EQ(StrTail("/mnt/b/Backup", "/mnt"), "");
}

TEST(SyncPathsTest, StripDriveColonDropsTheSecondCharacterOfADrivePath) {
    EXPECT_EQ(StripDriveColon("C:\\Data"), "C\\Data");
    EXPECT_EQ(StripDriveColon("D:\\"), "D\\");
    EXPECT_EQ(StripDriveColon("C:/Data"), "C/Data");
    EXPECT_EQ(StripDriveColon("/data/src"), "/data/src");
    EXPECT_EQ(StripDriveColon("MYDISK/Data"), "MYDISK/Data");
    EXPECT_EQ(StripDriveColon(":"), ":");
    EXPECT_EQ(StripDriveColon(""), "");
}

TEST(SyncPathsTest, JoinPathNeverDoublesTheSeparator) {
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/", "b"), "/b");
    EXPECT_EQ(JoinPath("", "b"), "/b");
}

TEST(SyncPathsTest, NormalFolderAndLiesBelow) {
    EXPECT_EQ(NormalFolder("/a//b/"), "/a/b");
    EXPECT_EQ(NormalFolder("/"), "/");
    EXPECT_TRUE(LiesBelow("/a/b/c", "/a/b"));
    EXPECT_FALSE(LiesBelow("/a/bc", "/a/b"));
    EXPECT_FALSE(LiesBelow("/a/b", "/a/b"));
    EXPECT_TRUE(LiesBelow("/a", "/"));
}

}  // namespace
}  // namespace zv
