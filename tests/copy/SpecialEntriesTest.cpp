#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "copy/CopyFixture.h"

namespace zv::test {
namespace {

using SpecialEntries = CopyFixture;

std::string linkTarget(const std::string& path) {
    char buf[4096];
    ssize_t n = readlink(path.c_str(), buf, sizeof buf);
    return n < 0 ? std::string() : std::string(buf, static_cast<std::size_t>(n));
}

bool isLink(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

TEST_F(SpecialEntries, LinksAreCopiedAsLinksAndNeverFollowed) {
    writeFile(rig.root / "outside/private.txt", "not part of the source");
    makeDirs(S("sub"));
    ASSERT_EQ(symlink("../../outside", S("sub/toOutside").c_str()), 0);
    ASSERT_EQ(symlink("private.txt", S("fileLink").c_str()), 0);
    ASSERT_EQ(symlink("missing", S("dangling").c_str()), 0);
    makeDirs(D("sub"));
    w().NoDateCheck = true;
    checkedCopy();
    EXPECT_TRUE(isLink(D("sub/toOutside")));
    EXPECT_EQ(linkTarget(D("sub/toOutside")), "../../outside");
    EXPECT_TRUE(isLink(D("fileLink")));
    EXPECT_TRUE(isLink(D("dangling")));
    EXPECT_EQ(linkTarget(D("dangling")), "missing");
    EXPECT_EQ(w().FilesCopied, 3);
    EXPECT_EQ(readFile(rig.root / "outside/private.txt"), "not part of the source");
}

TEST_F(SpecialEntries, ALinkLoopInTheSourceEndsTheWalkNormally) {
    makeDirs(S("a/b"));
    writeFile(S("a/b/file.txt"), "f");
    ASSERT_EQ(symlink("..", S("a/b/up").c_str()), 0);
    ASSERT_EQ(symlink(".", S("a/self").c_str()), 0);
    ASSERT_EQ(symlink("loop2", S("loop1").c_str()), 0);
    ASSERT_EQ(symlink("loop1", S("loop2").c_str()), 0);
    w().NoDateCheck = true;
    w().SyncActive = true;
    checkedCopy();
    EXPECT_TRUE(isLink(D("a/b/up")));
    EXPECT_TRUE(isLink(D("a/self")));
    EXPECT_TRUE(isLink(D("loop1")));
    EXPECT_EQ(readFile(D("a/b/file.txt")), "f");

    w().DoVerify = false;
    quickCopy();
    EXPECT_TRUE(isLink(D("a/self")));
}

TEST_F(SpecialEntries, AttributesAreNeverSetThroughABackupLink) {
    writeFile(rig.root / "outside/target.txt", "t");
    chmod((rig.root / "outside/target.txt").c_str(), 0444);
    ASSERT_EQ(symlink((rig.root / "outside/target.txt").c_str(), S("link").c_str()), 0);
    w().NoDateCheck = true;
    w().SyncActive = true;
    checkedCopy();
    checkedCopy();
    EXPECT_EQ(statOf(rig.root / "outside/target.txt").st_mode & 0777, 0444u);
}

TEST_F(SpecialEntries, FifosAndSocketsArePassedOver) {
    ASSERT_EQ(mkfifo(S("pipe").c_str(), 0600), 0);
    makeDirs(S("sub"));
    ASSERT_EQ(mkfifo(S("sub/pipe2").c_str(), 0600), 0);
    int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string sockPath = S("sock");
    ASSERT_LT(sockPath.size(), sizeof addr.sun_path);
    sockPath.copy(addr.sun_path, sockPath.size());
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    writeFile(S("real.txt"), "r");
    w().NoDateCheck = true;
    w().SyncActive = true;
    checkedCopy();
    close(sock);
    EXPECT_FALSE(isThere(D("pipe")));
    EXPECT_FALSE(isThere(D("sub/pipe2")));
    EXPECT_FALSE(isThere(D("sock")));
    EXPECT_TRUE(isFile(D("real.txt")));
    EXPECT_EQ(w().FilesCopied, 1);
    EXPECT_EQ(w().FilesSeen, 1);
    EXPECT_EQ(w().FilesFailed, 0);

    w().DoVerify = false;
    w().FilesCopied = 0;
    quickCopy();
    EXPECT_FALSE(isThere(D("pipe")));
    EXPECT_EQ(w().FilesCopied, 1);
}

}  // namespace
}  // namespace zv::test
