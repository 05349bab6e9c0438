#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/LinuxFileSystem.h"
#include "platform/PathText.h"

namespace zv {
namespace {

TEST(PathText, ParentIsTextual) {
    EXPECT_EQ(parentOfPath("/a/b"), "/a");
    EXPECT_EQ(parentOfPath("/a"), "/");
    EXPECT_EQ(parentOfPath("/"), "");
    EXPECT_EQ(parentOfPath(""), "");
    EXPECT_EQ(parentOfPath("DISK/x"), "DISK");
    EXPECT_EQ(parentOfPath("DISK"), "");
    EXPECT_EQ(parentOfPath("/a/b/"), "/a");
    EXPECT_EQ(parentOfPath("/a//b"), "/a");
    EXPECT_EQ(parentOfPath("//"), "");
    EXPECT_EQ(parentOfPath("/media/u/MY DISK/Backup"), "/media/u/MY DISK");
}

TEST(PathText, ParentChainEndsWithTheRootThenEmpty) {
    std::vector<std::string> chain;
    for (std::string p = "/a/b/c"; !p.empty(); p = parentOfPath(p)) chain.push_back(p);
    EXPECT_EQ(chain, (std::vector<std::string>{"/a/b/c", "/a/b", "/a", "/"}));
}

TEST(PathText, LastComponent) {
    EXPECT_EQ(lastComponent("/a/b"), "b");
    EXPECT_EQ(lastComponent("/a/b/"), "b");
    EXPECT_EQ(lastComponent("b"), "b");
    EXPECT_EQ(lastComponent("/"), "");
}

TEST(PathText, AbsoluteResolvesDotsTextually) {
    EXPECT_EQ(normalisedAbsolute("x/../y/./z", "/home/u"), "/home/u/y/z");
    EXPECT_EQ(normalisedAbsolute("/a//b/", "/cwd"), "/a/b");
    EXPECT_EQ(normalisedAbsolute("/../..", "/cwd"), "/");
    EXPECT_EQ(normalisedAbsolute("", "/cwd"), "/cwd");
    EXPECT_EQ(normalisedAbsolute(".", "/"), "/");
    EXPECT_EQ(normalisedAbsolute("a b/ü", "/m"), "/m/a b/ü");
}

TEST(PathText, WithinIsComponentWise) {
    EXPECT_TRUE(pathIsWithin("/mnt/x", "/mnt"));
    EXPECT_TRUE(pathIsWithin("/mnt", "/mnt"));
    EXPECT_TRUE(pathIsWithin("/mnt", "/mnt/"));
    EXPECT_FALSE(pathIsWithin("/mntx", "/mnt"));
    EXPECT_TRUE(pathIsWithin("/anything", "/"));
    EXPECT_FALSE(pathIsWithin("relative", "/"));
}

TEST(PathText, ServiceMakesRelativePathsAbsoluteAgainstTheCurrentFolder) {
    LinuxFileSystem fs;
    char* cwd = getcwd(nullptr, 0);
    ASSERT_NE(cwd, nullptr);
    std::string expected = std::string(cwd) == "/" ? "/sub" : std::string(cwd) + "/sub";
    free(cwd);
    EXPECT_EQ(fs.absolutePath("sub/./x/.."), expected);
    EXPECT_EQ(fs.absolutePath("/a/b/../c/"), "/a/c");
}

}  // namespace
}  // namespace zv
