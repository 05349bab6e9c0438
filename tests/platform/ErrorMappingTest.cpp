#include <gtest/gtest.h>

#include <cerrno>

#include "platform/ErrorMapping.h"
#include "platform/LinuxFileSystem.h"
#include "support/TempDir.h"

namespace zv {
namespace {

TEST(ErrorMapping, MissingFileAndMissingFolderDiffer) {
    EXPECT_EQ(errorNumberFor(ENOENT, PathRole::File), kErrFileNotFound);
    EXPECT_EQ(errorNumberFor(ENOENT, PathRole::Folder), kErrPathNotFound);
    EXPECT_EQ(errorNumberFor(ENOTDIR, PathRole::File), kErrPathNotFound);
}

TEST(ErrorMapping, AccessProblemsAre75) {
    for (int err : {EACCES, EPERM, EROFS, EBUSY, ETXTBSY})
        EXPECT_EQ(errorNumberFor(err, PathRole::File), kErrAccessDenied) << err;
}

TEST(ErrorMapping, FullDisksAre61) {
    for (int err : {ENOSPC, EDQUOT, EFBIG})
        EXPECT_EQ(errorNumberFor(err, PathRole::File), kErrDiskFull) << err;
}

TEST(ErrorMapping, BadArgumentsAre5AndTheRest91) {
    EXPECT_EQ(errorNumberFor(EINVAL, PathRole::File), kErrInvalidArgument);
    EXPECT_EQ(errorNumberFor(ENAMETOOLONG, PathRole::Folder), kErrInvalidArgument);
    EXPECT_EQ(errorNumberFor(EIO, PathRole::File), kErrObjectNotAvailable);
    EXPECT_EQ(errorNumberFor(ELOOP, PathRole::File), kErrObjectNotAvailable);
    EXPECT_EQ(errorNumberFor(0, PathRole::File), kErrNone);
}

TEST(ErrorMapping, DescriptionNamesTheFailureAndThePath) {
    FsError e = errnoError(ENOENT, "/some/where", PathRole::File);
    EXPECT_EQ(e.number, kErrFileNotFound);
    EXPECT_EQ(e.description, "No such file or directory: /some/where");
    EXPECT_TRUE(static_cast<bool>(e));
    EXPECT_FALSE(e.ok());
}

// The service itself, on real paths.
TEST(ErrorMapping, ServiceReportsTheseNumbers) {
    test::TempDir dir;
    LinuxFileSystem fs;
    test::writeFile(dir / "file", "x");
    Entry entry;
    std::uint32_t attributes = 0;
    std::uint64_t bytes = 0;
    std::string text;
    EXPECT_EQ(fs.stat(dir / "missing", entry).number, kErrFileNotFound);
    EXPECT_EQ(fs.stat(dir / "file/below", entry).number, kErrPathNotFound);
    EXPECT_EQ(fs.getAttributes(dir / "missing", attributes).number, kErrFileNotFound);
    EXPECT_EQ(fs.setAttributes(dir / "missing", 0).number, kErrFileNotFound);
    EXPECT_EQ(fs.folderSize(dir / "missing", bytes).number, kErrPathNotFound);
    EXPECT_EQ(fs.deleteFolder(dir / "missing", true).number, kErrPathNotFound);
    EXPECT_EQ(fs.deleteFolder(dir / "file", true).number, kErrPathNotFound);
    EXPECT_EQ(fs.deleteFile(dir / "missing", true).number, kErrFileNotFound);
    EXPECT_EQ(fs.appendToFile(dir / "missing", "x").number, kErrFileNotFound);
    EXPECT_EQ(fs.appendToFile(dir / "nofolder/log", "x").number, kErrPathNotFound);
    EXPECT_EQ(fs.writeTextFile(dir / "nofolder/x", "x").number, kErrPathNotFound);
    EXPECT_EQ(fs.createNewFile(dir / "nofolder/x").number, kErrPathNotFound);
    EXPECT_EQ(fs.readTextFile(dir / "nofolder/x", text).number, kErrPathNotFound);
    EXPECT_EQ(fs.readTextFile(dir / "missing", text).number, kErrFileNotFound);
    EXPECT_EQ(fs.writeFileAtomic(dir / "nofolder/x", "x").number, kErrPathNotFound);
    EXPECT_EQ(fs.readTextFile(dir / "file/below", text).number, kErrPathNotFound);
    EXPECT_EQ(fs.createFolder(dir / "file/below").number, kErrPathNotFound);
    EXPECT_EQ(fs.createFolder(dir / std::string(300, 'n')).number, kErrInvalidArgument);
    EXPECT_EQ(fs.createFolder("").number, kErrInvalidArgument);
    EXPECT_EQ(fs.deleteFile("", false).number, kErrInvalidArgument);
    EXPECT_EQ(fs.copyFile(dir / "file", "").number, kErrInvalidArgument);
}

}  // namespace
}  // namespace zv
