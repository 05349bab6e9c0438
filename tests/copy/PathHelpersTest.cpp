#include "copy/CopyFixture.h"

namespace zv::test {
namespace {

using PathHelpers = CopyFixture;

TEST(CollapseBackslashes, FourSeparatorsBeforeANameBecomeTwo) {
    EXPECT_EQ(frmVergelijker::CollapseBackslashes("////x"), "//x");
}

TEST(CollapseBackslashes, DoubledSeparatorsInsideAPathCollapse) {
    EXPECT_EQ(frmVergelijker::CollapseBackslashes("/a//b///c"), "/a/b/c");
    EXPECT_EQ(frmVergelijker::CollapseBackslashes("//server/share//x"), "//server/share/x");
}

TEST(CollapseBackslashes, APathWithoutDoubledSeparatorsStaysAsItIs) {
    EXPECT_EQ(frmVergelijker::CollapseBackslashes("/home/user/data"), "/home/user/data");
    EXPECT_EQ(frmVergelijker::CollapseBackslashes(""), "");
}

TEST_F(PathHelpers, FolderExistsOrVirtualCollapsesTheCallersPath) {
    std::string path = rig.root.path() + "//src";
    EXPECT_TRUE(w().FolderExistsOrVirtual(path));
    EXPECT_EQ(path, src);
}

TEST_F(PathHelpers, AMissingFolderNamedLikeTheDesktopCountsAsThere) {
    w().DesktopName = "Bureaublad";
    w().ComputerName = "werkstation";
    std::string desktop = "Bureaublad";
    std::string computer = "werkstation";
    std::string other = rig.root / "nothing";
    EXPECT_TRUE(w().FolderExistsOrVirtual(desktop));
    EXPECT_TRUE(w().FolderExistsOrVirtual(computer));
    EXPECT_FALSE(w().FolderExistsOrVirtual(other));
    std::string differentCase = "bureaublad";
    EXPECT_FALSE(w().FolderExistsOrVirtual(differentCase));
}

TEST_F(PathHelpers, AFileIsNoFolder) {
    writeFile(S("file"), "x");
    std::string path = S("file");
    EXPECT_FALSE(w().FolderExistsOrVirtual(path));
}

TEST_F(PathHelpers, CreatePathMakesEveryMissingLevelTopDown) {
    const std::string deep = D("one/two/three");
    std::vector<std::string> created;
    useFaulty();
    faulty.beforeCall = [&](FsOp op, const std::string& path) {
        if (op == FsOp::CreateFolder) created.push_back(path);
    };
    EXPECT_EQ(w().CreatePath(deep), deep);
    EXPECT_TRUE(isFolder(deep));
    ASSERT_EQ(created.size(), 3u);
    EXPECT_EQ(created[0], D("one"));
    EXPECT_EQ(created[1], D("one/two"));
    EXPECT_EQ(created[2], deep);
}

TEST_F(PathHelpers, CreatePathOfAnExistingPathCreatesNothing) {
    useFaulty();
    EXPECT_EQ(w().CreatePath(dst), dst);
    EXPECT_EQ(faulty.calls(FsOp::CreateFolder), 0);
}

TEST_F(PathHelpers, MakeFolderFallsBackToCreatingTheWholePath) {
    std::string deep = D("a/b/c");
    EXPECT_EQ(w().MakeFolder(deep), 0);
    EXPECT_TRUE(isFolder(deep));
    std::string single = D("single");
    EXPECT_EQ(w().MakeFolder(single), 0);
    EXPECT_TRUE(isFolder(single));
}

TEST_F(PathHelpers, MakeFolderReportsAFolderItCouldNotMake) {
    writeFile(D("blocker"), "a file where a folder should go");
    std::string path = D("blocker/sub");
    EXPECT_NE(w().MakeFolder(path), 0);
}

TEST_F(PathHelpers, TreeSizeSkipsSystemFoldersAtTheFirstLevelOnly) {
    writeFile(S("ten.bin"), std::string(10, 'x'));
    writeFile(S("System Volume Information/big.bin"), std::string(1000, 'x'));
    writeFile(S("recycler/big.bin"), std::string(1000, 'x'));
    writeFile(S("_Restore/big.bin"), std::string(1000, 'x'));
    writeFile(S("sub/Recycled/counted.bin"), std::string(5, 'x'));
    writeFile(S("sub/seven.bin"), std::string(7, 'x'));
    EXPECT_EQ(w().TreeSize(src), 22);
}

TEST_F(PathHelpers, TreeSizeOfAFolderWithOnlyASystemFolderAndTenBytesIsTen) {
    writeFile(S("a.bin"), std::string(10, 'x'));
    writeFile(S("SYSTEM VOLUME INFORMATION/x.bin"), std::string(99, 'x'));
    EXPECT_EQ(w().TreeSize(src), 10);
}

TEST_F(PathHelpers, ASizeThatCannotBeReadAddsNothing) {
    writeFile(S("a.bin"), std::string(10, 'x'));
    writeFile(S("locked/b.bin"), std::string(50, 'x'));
    useFaulty();
    faulty.failOn(FsOp::FolderSize, "locked", kErrAccessDenied);
    EXPECT_EQ(w().TreeSize(src), 10);
}

TEST_F(PathHelpers, AskChangeDiskIsAnOkCancelQuestion) {
    rig.dialogs.script(MessageAnswer::Ok);
    EXPECT_TRUE(w().AskChangeDisk());
    EXPECT_FALSE(w().AskChangeDisk());  // closing the box answers Cancel
    ASSERT_EQ(rig.dialogs.shown.size(), 2u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "Schijf vol; verwissel schijf en druk op OK");
    EXPECT_EQ(rig.dialogs.shown[0].style, MessageStyle::OkCancel);
}

}  // namespace
}  // namespace zv::test
