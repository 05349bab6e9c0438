#include <sys/stat.h>
#include <unistd.h>

#include "copy/CopyFixture.h"
#include "copy/KillEmpty.h"

namespace zv::test {
namespace {

class KillEmpty : public CopyFixture {
  protected:
    KillEmpty() {
        w().KillEmpty = true;
        w().SyncActive = true;
    }
    void pass() {
        KillEmptyRoot(w(), dst);
        KillEmptySubfolders(w(), dst);
    }
};

TEST_F(KillEmpty, NothingIsRemovedWithoutSynchronisation) {
    makeDirs(D("empty"));
    w().SyncActive = false;
    pass();
    EXPECT_TRUE(isFolder(D("empty")));
}

TEST_F(KillEmpty, NothingIsRemovedWhenNotAskedFor) {
    makeDirs(D("empty"));
    w().KillEmpty = false;
    pass();
    EXPECT_TRUE(isFolder(D("empty")));
}

TEST_F(KillEmpty, AChainOfFoldersWithoutFilesGoesAsAWhole) {
    makeDirs(D("A/B/C"));
    writeFile(D("keep.txt"), "k");
    pass();
    EXPECT_FALSE(isThere(D("A")));
    EXPECT_TRUE(isFile(D("keep.txt")));
}

TEST_F(KillEmpty, AFolderHoldingOnlyZeroByteFilesStays) {
    writeFile(D("pkg/__init__.py"), "");
    writeFile(D("logs/.keep"), "");
    pass();
    EXPECT_TRUE(isFile(D("pkg/__init__.py")));
    EXPECT_TRUE(isFile(D("logs/.keep")));
}

TEST_F(KillEmpty, AFileThreeLevelsDownKeepsItsPathAndEmptySiblingsGo) {
    writeFile(D("a/b/c/data.txt"), "data");
    makeDirs(D("a/empty1"));
    makeDirs(D("a/b/empty2/deeper"));
    makeDirs(D("a/b/c/empty3"));
    pass();
    EXPECT_TRUE(isFile(D("a/b/c/data.txt")));
    EXPECT_FALSE(isThere(D("a/empty1")));
    EXPECT_FALSE(isThere(D("a/b/empty2")));
    EXPECT_FALSE(isThere(D("a/b/c/empty3")));
}

TEST_F(KillEmpty, ABackupRootWithoutAnyFileIsRemovedItself) {
    makeDirs(D("x/y"));
    pass();
    EXPECT_FALSE(isThere(dst));
}

TEST_F(KillEmpty, HiddenAndReadOnlyEmptyFoldersAreRemoved) {
    makeDirs(D("hidden"));
    makeDirs(D("locked"));
    writeFile(D("keep.txt"), "k");
    rig.fs.setAttributes(D("hidden"), kAttrDirectory | kAttrHidden | kAttrSystem);
    rig.fs.setAttributes(D("locked"), kAttrDirectory | kAttrReadOnly);
    pass();
    EXPECT_FALSE(isThere(D("hidden")));
    EXPECT_FALSE(isThere(D("locked")));
}

TEST_F(KillEmpty, AFolderWithAReadOnlyZeroByteFileStays) {
    writeFile(D("ro/empty.txt"), "");
    chmod(D("ro/empty.txt").c_str(), 0444);
    pass();
    EXPECT_TRUE(isFile(D("ro/empty.txt")));
}

TEST_F(KillEmpty, AFolderHoldingOnlyALinkOrASpecialFileStays) {
    makeDirs(D("links"));
    ASSERT_EQ(symlink("/nonexistent", D("links/dangling").c_str()), 0);
    makeDirs(D("fifo"));
    ASSERT_EQ(mkfifo(D("fifo/pipe").c_str(), 0600), 0);
    pass();
    EXPECT_TRUE(isThere(D("links/dangling")));
    EXPECT_TRUE(isThere(D("fifo/pipe")));
}

TEST_F(KillEmpty, AFolderThatCannotBeListedCompletelyIsNotRemoved) {
    makeDirs(D("unreadable/inner"));
    writeFile(D("keep.txt"), "k");
    useFaulty();
    w().KillEmpty = true;
    w().SyncActive = true;
    faulty.failOn(FsOp::List, "inner", kErrAccessDenied);
    pass();
    EXPECT_TRUE(isFolder(D("unreadable/inner")));
}

TEST_F(KillEmpty, RemovedFoldersAreNeitherCountedNorLogged) {
    makeDirs(D("gone"));
    writeFile(D("keep.txt"), "k");
    pass();
    EXPECT_FALSE(isThere(D("gone")));
    EXPECT_EQ(w().ItemsRemoved, 0);
    EXPECT_TRUE(w().RunLog.empty());
}

}  // namespace
}  // namespace zv::test
