#include <gtest/gtest.h>

#include <filesystem>

#include "platform/LinuxFileSystem.h"
#include "support/FaultInjectingFileSystem.h"
#include "support/TempDir.h"
#include "sync/SourceGuard.h"

namespace zv::test {
namespace {

TEST(SourceGuardTest, AFolderWithEntriesIsPresent) {
    TempDir dir;
    writeFile(dir / "src/a.txt", "a");
    LinuxFileSystem fs;
    SourceGuard guard(fs, dir / "src");
    EXPECT_TRUE(guard.present());
}

TEST(SourceGuardTest, AMissingOrEmptyFolderIsNot) {
    TempDir dir;
    makeDirs(dir / "empty");
    LinuxFileSystem fs;
    EXPECT_FALSE(SourceGuard(fs, dir / "missing").present());
    EXPECT_FALSE(SourceGuard(fs, dir / "empty").present());
    EXPECT_FALSE(SourceGuard(fs, "").present());
}

TEST(SourceGuardTest, LaterChecksCostOneStatAndStillSeeTheFolderEmptied) {
    TempDir dir;
    writeFile(dir / "src/a.txt", "a");
    writeFile(dir / "src/Sub/b.txt", "b");
    LinuxFileSystem real;
    FaultInjectingFileSystem fs(real);
    SourceGuard guard(fs, dir / "src");
    ASSERT_TRUE(guard.present());
    const long listings = fs.calls(FsOp::List);
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(guard.present());
    EXPECT_EQ(fs.calls(FsOp::List), listings);

    std::filesystem::remove_all(dir / "src/Sub");
    EXPECT_TRUE(guard.present());  // another entry is still there
    std::filesystem::remove(dir / "src/a.txt");
    EXPECT_FALSE(guard.present());
}

TEST(SourceGuardTest, AnUnlistableFolderIsNotPresent) {
    TempDir dir;
    writeFile(dir / "src/a.txt", "a");
    LinuxFileSystem real;
    FaultInjectingFileSystem fs(real);
    fs.failOn(FsOp::List, "src", kErrAccessDenied);
    EXPECT_FALSE(SourceGuard(fs, dir / "src").present());
}

}  // namespace
}  // namespace zv::test
