// What an ordinary user meets where permissions stop him: 75, never an empty
// tree. Runs the checks in a child process under the "nobody" account when
// the tests run as root.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "platform/LinuxFileSystem.h"
#include "support/TempDir.h"

namespace zv {
namespace {

constexpr uid_t kNobody = 65534;

// Runs `check` without root rights; returns its result, or -1 when that
// cannot be arranged.
int runUnprivileged(const std::function<int()>& check) {
    if (geteuid() != 0) return check();
    pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(100);
        _exit(check());
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status) == 100 ? -1 : WEXITSTATUS(status);
}

class UnprivilegedTest : public ::testing::Test {
  protected:
    void SetUp() override {
        chmod(dir.path().c_str(), 0755);
        test::writeFile(dir / "outer/locked/secret.txt", "s");
        test::writeFile(dir / "outer/open.txt", "o");
        chmod((dir / "outer").c_str(), 0755);
        chmod((dir / "outer/locked").c_str(), 0700);
        chmod((dir / "outer/open.txt").c_str(), 0644);
    }
    int numberAsNobody(const std::function<FsError(LinuxFileSystem&)>& op) {
        int result = runUnprivileged([&] {
            LinuxFileSystem fs;
            return op(fs).number;
        });
        if (result < 0) ADD_FAILURE() << "cannot run as an ordinary user";
        return result;
    }
    test::TempDir dir;
};

TEST_F(UnprivilegedTest, UnreadableTreeHasNoSize) {
    EXPECT_EQ(numberAsNobody([&](LinuxFileSystem& fs) {
                  std::uint64_t bytes = 0;
                  return fs.folderSize(dir / "outer", bytes);
              }),
              kErrAccessDenied);
}

TEST_F(UnprivilegedTest, UnreadableFolderCannotBeListed) {
    EXPECT_EQ(numberAsNobody([&](LinuxFileSystem& fs) {
                  std::vector<Entry> files, folders;
                  return fs.listFolder(dir / "outer/locked", files, folders);
              }),
              kErrAccessDenied);
}

TEST_F(UnprivilegedTest, WritingWhereNotAllowedIsAccessDenied) {
    EXPECT_EQ(numberAsNobody([&](LinuxFileSystem& fs) {
                  return fs.copyFile(dir / "outer/open.txt", dir / "outer/copy.txt");
              }),
              kErrAccessDenied);
    EXPECT_EQ(
        numberAsNobody([&](LinuxFileSystem& fs) { return fs.createFolder(dir / "outer/new"); }),
        kErrAccessDenied);
    EXPECT_EQ(numberAsNobody(
                  [&](LinuxFileSystem& fs) { return fs.deleteFile(dir / "outer/open.txt", true); }),
              kErrAccessDenied);
    EXPECT_EQ(numberAsNobody([&](LinuxFileSystem& fs) {
                  return fs.setAttributes(dir / "outer/open.txt", 38);
              }),
              kErrAccessDenied);
    EXPECT_TRUE(test::readFile(dir / "outer/open.txt") == "o");
}

TEST_F(UnprivilegedTest, FolderThatCannotBeEmptiedStays) {
    EXPECT_EQ(
        numberAsNobody([&](LinuxFileSystem& fs) { return fs.deleteFolder(dir / "outer", true); }),
        kErrAccessDenied);
    EXPECT_TRUE(test::readFile(dir / "outer/locked/secret.txt") == "s");
}

}  // namespace
}  // namespace zv
