// Links and special files in a walked tree: never followed, never opened.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>

#include "platform/LinuxFileSystem.h"
#include "support/TempDir.h"

namespace zv {
namespace {

using test::writeFile;

const Entry* find(const std::vector<Entry>& entries, const std::string& name) {
    for (const Entry& e : entries)
        if (e.name == name) return &e;
    return nullptr;
}

class SpecialEntriesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        writeFile(dir / "tree/file.txt", "12345");
        writeFile(dir / "tree/sub/inner.txt", "123");
        ASSERT_EQ(symlink("..", (dir / "tree/sub/up").c_str()), 0);    // a loop
        ASSERT_EQ(symlink("loopB", (dir / "tree/loopA").c_str()), 0);  // links in a circle
        ASSERT_EQ(symlink("loopA", (dir / "tree/loopB").c_str()), 0);
        ASSERT_EQ(symlink("sub", (dir / "tree/subLink").c_str()), 0);        // to a folder
        ASSERT_EQ(symlink("file.txt", (dir / "tree/fileLink").c_str()), 0);  // to a file
        ASSERT_EQ(mkfifo((dir / "tree/pipe").c_str(), 0644), 0);
    }
    test::TempDir dir;
    LinuxFileSystem fs;
};

TEST_F(SpecialEntriesTest, ListingPutsLinksAndSpecialsAmongTheFiles) {
    std::vector<Entry> files, folders;
    ASSERT_TRUE(fs.listFolder(dir / "tree", files, folders).ok());
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].name, "sub");
    EXPECT_EQ(files.size(), 6u);
    for (const char* link : {"loopA", "loopB", "subLink", "fileLink"}) {
        const Entry* e = find(files, link);
        ASSERT_NE(e, nullptr) << link;
        EXPECT_EQ(e->kind, EntryKind::Symlink) << link;
    }
    ASSERT_NE(find(files, "pipe"), nullptr);
    EXPECT_EQ(find(files, "pipe")->kind, EntryKind::Special);
    EXPECT_EQ(find(files, "file.txt")->kind, EntryKind::File);
    std::vector<Entry> subFiles, subFolders;
    ASSERT_TRUE(fs.listFolder(dir / "tree/sub", subFiles, subFolders).ok());
    EXPECT_TRUE(subFolders.empty());
    ASSERT_NE(find(subFiles, "up"), nullptr);
    EXPECT_EQ(find(subFiles, "up")->kind, EntryKind::Symlink);
}

TEST_F(SpecialEntriesTest, SocketsAreSpecialToo) {
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::string path = dir / "tree/sock";
    ASSERT_LT(path.size(), sizeof addr.sun_path);
    path.copy(addr.sun_path, path.size());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    std::vector<Entry> files, folders;
    ASSERT_TRUE(fs.listFolder(dir / "tree", files, folders).ok());
    close(fd);
    ASSERT_NE(find(files, "sock"), nullptr);
    EXPECT_EQ(find(files, "sock")->kind, EntryKind::Special);
    EXPECT_EQ(fs.copyFile(path, dir / "copy").number, kErrAccessDenied);
}

TEST_F(SpecialEntriesTest, ExistenceDoesNotTakeALinkToAFolderForAFolder) {
    EXPECT_FALSE(fs.folderExists(dir / "tree/subLink"));
    EXPECT_FALSE(fs.fileExists(dir / "tree/subLink"));
    EXPECT_TRUE(fs.fileExists(dir / "tree/fileLink"));
    EXPECT_TRUE(fs.fileExists(dir / "tree/loopA"));  // a link that leads nowhere is still a file
    EXPECT_FALSE(fs.fileExists(dir / "tree/pipe"));
}

TEST_F(SpecialEntriesTest, FolderSizeCountsRegularFilesOnceAndEnds) {
    std::uint64_t bytes = 0;
    ASSERT_TRUE(fs.folderSize(dir / "tree", bytes).ok());
    EXPECT_EQ(bytes, 8u);
}

TEST_F(SpecialEntriesTest, FifoIsNeverOpened) {
    auto start = std::chrono::steady_clock::now();
    std::string text;
    EXPECT_EQ(fs.copyFile(dir / "tree/pipe", dir / "copy").number, kErrAccessDenied);
    EXPECT_EQ(fs.readTextFile(dir / "tree/pipe", text).number, kErrAccessDenied);
    EXPECT_EQ(fs.writeTextFile(dir / "tree/pipe", "x").number, kErrAccessDenied);
    EXPECT_FALSE(fs.appendToFile(dir / "tree/pipe", "x").ok());
    EXPECT_EQ(fs.writeFileAtomic(dir / "tree/pipe", "x").number, kErrAccessDenied);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(SpecialEntriesTest, DeletingTheTreeRemovesLinksNotTheirTargets) {
    writeFile(dir / "outside/keep.txt", "keep");
    ASSERT_EQ(symlink((dir / "outside").c_str(), (dir / "tree/sub/out").c_str()), 0);
    EXPECT_TRUE(fs.deleteFolder(dir / "tree", false).ok());
    EXPECT_FALSE(fs.folderExists(dir / "tree"));
    EXPECT_TRUE(fs.fileExists(dir / "outside/keep.txt"));
}

TEST_F(SpecialEntriesTest, ReadOnlyScanIgnoresWhatLinksPointAt) {
    writeFile(dir / "outside/locked.txt", "x");
    chmod((dir / "outside/locked.txt").c_str(), 0444);
    ASSERT_EQ(symlink((dir / "outside").c_str(), (dir / "tree/out").c_str()), 0);
    EXPECT_TRUE(fs.deleteFolder(dir / "tree", false).ok());
    EXPECT_TRUE(fs.fileExists(dir / "outside/locked.txt"));
}

TEST_F(SpecialEntriesTest, DeleteFileRemovesTheLinkItself) {
    EXPECT_TRUE(fs.deleteFile(dir / "tree/fileLink", false).ok());
    EXPECT_TRUE(fs.fileExists(dir / "tree/file.txt"));
    EXPECT_TRUE(fs.deleteFile(dir / "tree/subLink", false).ok());
    EXPECT_TRUE(fs.folderExists(dir / "tree/sub"));
    EXPECT_EQ(fs.deleteFile(dir / "tree/sub", false).number, kErrFileNotFound);
    EXPECT_TRUE(fs.folderExists(dir / "tree/sub"));
}

TEST_F(SpecialEntriesTest, DeleteFolderDoesNotFollowALinkToAFolder) {
    EXPECT_EQ(fs.deleteFolder(dir / "tree/subLink", true).number, kErrPathNotFound);
    EXPECT_TRUE(fs.fileExists(dir / "tree/sub/inner.txt"));
}

}  // namespace
}  // namespace zv
