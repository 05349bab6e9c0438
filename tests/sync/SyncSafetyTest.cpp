#include <gtest/gtest.h>
#include <sys/mount.h>

#include <filesystem>

#include "support/FaultInjectingFileSystem.h"
#include "sync/SyncFixture.h"

namespace zv::test {
namespace {

using SyncSafetyTest = SyncFixture;

const char* const kSourceGone = "\" bronmap bestaat niet";

TEST_F(SyncSafetyTest, AnOrphanWhoseDustbinCopyFailedStaysInTheBackup) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/root.txt", "r");
    writeFile(dst + "/Sub/o.txt", "o");
    FaultInjectingFileSystem faulty(rig.fs);
    faulty.failOn(FsOp::CopyFile, "root.txt", kErrPathNotFound);
    faulty.failOn(FsOp::CopyFile, "o.txt", kErrAccessDenied);  // the retry fails as well
    rig.rebuildWindow(faulty);
    configure(w());
    useDustbinFolder();

    sync();

    EXPECT_EQ(readFile(dst + "/root.txt"), "r");
    EXPECT_EQ(readFile(dst + "/Sub/o.txt"), "o");
    EXPECT_EQ(w().ItemsRemoved, 0);
    EXPECT_EQ(w().FilesFailed, 2);
    EXPECT_EQ(logCount(dst + "/root.txt"), 1);
    EXPECT_EQ(logCount(dst + "/Sub/o.txt"), 1);
    EXPECT_EQ(logCount("Error 76: "), 1);
    EXPECT_EQ(logCount("Error 75: "), 1);
    EXPECT_EQ(w().ui.panel(2), "Bestanden: 0         [ Verwijderd: 0 ]");
}

TEST_F(SyncSafetyTest, AFileTheTrashRefusedStaysAndIsNotCounted) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/o.txt", "o");
    useTrash();
    rig.trash.result = fsFail(kErrAccessDenied, "refused");

    sync();

    EXPECT_EQ(rig.trash.trashed.size(), 1u);
    EXPECT_TRUE(exists(dst + "/o.txt"));
    EXPECT_EQ(w().ItemsRemoved, 0);
    EXPECT_EQ(logCount("Error 75: refused"), 1);
    EXPECT_EQ(w().FilesFailed, 1);
}

TEST_F(SyncSafetyTest, AFailedDeleteIsNotCounted) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/Sub/o.txt", "o");
    FaultInjectingFileSystem faulty(rig.fs);
    faulty.failOn(FsOp::DeleteFile, "o.txt", kErrAccessDenied);
    rig.rebuildWindow(faulty);
    configure(w());

    sync();

    EXPECT_TRUE(exists(dst + "/Sub/o.txt"));
    EXPECT_EQ(w().ItemsRemoved, 0);
    EXPECT_EQ(logCount("Error 75: "), 1);
}

TEST_F(SyncSafetyTest, AMissingSourceRootRemovesNothing) {
    writeFile(dst + "/root.txt", "r");
    writeFile(dst + "/Sub/o.txt", "o");
    std::filesystem::remove_all(src);

    sync();

    EXPECT_TRUE(exists(dst + "/root.txt"));
    EXPECT_TRUE(exists(dst + "/Sub/o.txt"));
    EXPECT_EQ(w().ItemsRemoved, 0);
    EXPECT_TRUE(w().UserBreak);
    EXPECT_EQ(logCount(" Error: \"" + src + kSourceGone), 1);
}

// The bare mount point of a disk that is not plugged in.
TEST_F(SyncSafetyTest, AnEmptySourceRootCountsAsMissing) {
    writeFile(dst + "/Sub/o.txt", "o");
    writeFile(dst + "/Sub/Deeper/p.txt", "p");
    useDustbinFolder();

    sync();

    EXPECT_TRUE(exists(dst + "/Sub/o.txt"));
    EXPECT_TRUE(exists(dst + "/Sub/Deeper/p.txt"));
    EXPECT_FALSE(exists(bin + src));
    EXPECT_TRUE(w().UserBreak);
    const std::vector<std::string> lines = rig.logLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(),
              w().NowDateText() + " " + w().NowTimeText() + " Error: \"" + src + kSourceGone);
    EXPECT_NE(readFile(rig.appFolder() + "/Error.Log").find(kSourceGone), std::string::npos);
}

TEST_F(SyncSafetyTest, ASourceThatVanishesDuringTheWalkStopsTheRemoval) {
    writeFile(src + "/A/keep1.txt", "1");
    writeFile(src + "/B/keep2.txt", "2");
    writeFile(dst + "/A/keep1.txt", "1");
    writeFile(dst + "/B/keep2.txt", "2");
    FaultInjectingFileSystem watched(rig.fs);
    bool unplugged = false;
    watched.beforeCall = [&](FsOp op, const std::string& path) {
        if (op != FsOp::List || unplugged || !path.starts_with(dst + "/")) return;
        std::filesystem::remove_all(src);
        unplugged = true;
    };
    rig.rebuildWindow(watched);
    configure(w());

    sync();

    ASSERT_TRUE(unplugged);
    EXPECT_TRUE(exists(dst + "/A/keep1.txt"));
    EXPECT_TRUE(exists(dst + "/B/keep2.txt"));
    EXPECT_EQ(w().ItemsRemoved, 0);
    EXPECT_TRUE(w().UserBreak);
    EXPECT_EQ(logCount(kSourceGone), 1);
}

// Unmounts a file system when it goes, unless that already happened.
class MountGuard {
  public:
    explicit MountGuard(std::string point) : point_(std::move(point)) {}
    ~MountGuard() { unmount(); }
    bool unmount() {
        if (!mounted_) return false;
        mounted_ = umount2(point_.c_str(), MNT_DETACH) != 0;
        return !mounted_;
    }

  private:
    std::string point_;
    bool mounted_ = true;
};

TEST_F(SyncSafetyTest, AnUnpluggedSourceDiskDuringTheWalkStopsTheRemoval) {
    if (mount("tmpfs", src.c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    MountGuard disk(src);
    writeFile(src + "/A/keep1.txt", "1");
    writeFile(src + "/B/keep2.txt", "2");
    writeFile(dst + "/A/keep1.txt", "1");
    writeFile(dst + "/B/keep2.txt", "2");
    writeFile(dst + "/B/orphan.txt", "o");
    FaultInjectingFileSystem watched(rig.fs);
    bool unplugged = false;
    watched.beforeCall = [&](FsOp op, const std::string& path) {
        if (op == FsOp::List && !unplugged && path.starts_with(dst + "/"))
            unplugged = disk.unmount();
    };
    rig.rebuildWindow(watched);
    configure(w());

    sync();

    ASSERT_TRUE(unplugged);
    EXPECT_TRUE(exists(dst + "/A/keep1.txt"));
    EXPECT_TRUE(exists(dst + "/B/keep2.txt"));
    EXPECT_TRUE(exists(dst + "/B/orphan.txt"));
    EXPECT_EQ(w().ItemsRemoved, 0);
    EXPECT_TRUE(w().UserBreak);
    EXPECT_EQ(logCount(kSourceGone), 1);
}

TEST_F(SyncSafetyTest, AnOrphanOutsideTheBackupPathIsLeftAndLogged) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/Sub/o.txt", "o");
    useDustbinFolder();
    // The walk is handed the backup folder in another spelling than the one
    // the job holds: no relative path can be formed from it.
    w().DestinationPath = dst + "/";
    const std::string otherSpelling = rig.root.path() + "/./dst";

    SyncSubfolders(w(), otherSpelling, src);

    EXPECT_EQ(readFile(dst + "/Sub/o.txt"), "o");
    EXPECT_EQ(w().ItemsRemoved, 0);
    EXPECT_EQ(logCount(otherSpelling + "/Sub/o.txt"), 1);
    std::error_code ec;
    EXPECT_TRUE(std::filesystem::is_empty(bin, ec));
}

TEST_F(SyncSafetyTest, ASourceInsideTheBackupIsNeverTakenForOrphans) {
    const std::string inner = dst + "/x/src";
    writeFile(inner + "/precious.txt", "p");
    writeFile(inner + "/Deeper/precious2.txt", "p2");
    writeFile(dst + "/x/orphan.txt", "o");
    w().SourcePath = inner;
    w().ui.Text1[0].text = inner;

    sync();

    EXPECT_EQ(readFile(inner + "/precious.txt"), "p");
    EXPECT_EQ(readFile(inner + "/Deeper/precious2.txt"), "p2");
    EXPECT_FALSE(exists(dst + "/x/orphan.txt"));
}

TEST_F(SyncSafetyTest, AnOrphanIsNeverCopiedOntoItself) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/o.txt", "only copy");
    useDustbinFolder();
    // Dustbin + source box text lands exactly on the backup root.
    w().DustBinPath = rig.root.path();
    w().ui.Text1[0].text = "dst";

    sync();

    EXPECT_EQ(readFile(dst + "/o.txt"), "only copy");
    EXPECT_EQ(w().ItemsRemoved, 0);
}

TEST_F(SyncSafetyTest, AnEmptyDustbinPathNeverSendsOrphansIntoTheSource) {
    writeFile(src + "/anchor.txt", "a");
    writeFile(dst + "/o.txt", "o");
    useDustbinFolder();
    w().DustBinPath.clear();

    sync();

    EXPECT_EQ(readFile(dst + "/o.txt"), "o");
    EXPECT_FALSE(exists(src + "/o.txt"));
    EXPECT_FALSE(exists(src + src + "/o.txt"));
    EXPECT_EQ(w().ItemsRemoved, 0);
    EXPECT_EQ(logCount(dst + "/o.txt"), 1);
}

}  // namespace
}  // namespace zv::test
