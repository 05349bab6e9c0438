#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <string>

#include "platform/FreedesktopTrash.h"
#include "platform/LinuxFileSystem.h"
#include "support/TempDir.h"

namespace zv::test {
namespace {

namespace stdfs = std::filesystem;

bool exists(const std::string& path) {
    std::error_code ec;
    return stdfs::exists(stdfs::symlink_status(path, ec));
}

std::string infoLine(const std::string& info, const std::string& key) {
    const std::string text = readFile(info);
    const std::size_t at = text.find("\n" + key + "=");
    if (at == std::string::npos) return {};
    const std::size_t start = at + key.size() + 2;
    return text.substr(start, text.find('\n', start) - start);
}

mode_t modeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

// Unmounts on the way out.
class Mounted {
  public:
    explicit Mounted(std::string point) : point_(std::move(point)) {}
    ~Mounted() { (void)umount2(point_.c_str(), MNT_DETACH); }

  private:
    std::string point_;
};

class FreedesktopTrashTest : public ::testing::Test {
  protected:
    FreedesktopTrashTest() {
        makeDirs(home);
        makeDirs(work);
    }

    FreedesktopTrash trashWithDataHome() { return FreedesktopTrash(fs, home, dataHome, getuid()); }

    TempDir dir;
    LinuxFileSystem fs;
    std::string home = dir / "home";
    std::string dataHome = dir / "home/data";
    std::string work = dir / "work";
};

TEST_F(FreedesktopTrashTest, AFileOnTheHomeVolumeGoesToTheHomeTrashWithItsRecord) {
    writeFile(work + "/report.txt", "contents");
    FreedesktopTrash trash = trashWithDataHome();

    ASSERT_TRUE(trash.moveToTrash(work + "/report.txt").ok());

    const std::string trashDir = dataHome + "/Trash";
    EXPECT_FALSE(exists(work + "/report.txt"));
    EXPECT_EQ(readFile(trashDir + "/files/report.txt"), "contents");
    const std::string info = trashDir + "/info/report.txt.trashinfo";
    ASSERT_TRUE(exists(info));
    EXPECT_EQ(readFile(info).rfind("[Trash Info]\n", 0), 0u);
    EXPECT_EQ(infoLine(info, "Path"), work + "/report.txt");
    EXPECT_TRUE(std::regex_match(infoLine(info, "DeletionDate"),
                                 std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)")));
    EXPECT_EQ(modeOf(trashDir) & 077, 0u);
}

// The folders below HOME need not exist: they are made, and nothing lands in
// the current folder.
TEST_F(FreedesktopTrashTest, WithoutADataHomeTheTrashIsMadeBelowHome) {
    writeFile(work + "/a.txt", "a");
    FreedesktopTrash trash(fs, home, "", getuid());

    ASSERT_TRUE(trash.moveToTrash(work + "/a.txt").ok());

    EXPECT_EQ(trash.homeTrashFolder(), home + "/.local/share/Trash");
    EXPECT_EQ(readFile(home + "/.local/share/Trash/files/a.txt"), "a");
    EXPECT_TRUE(exists(home + "/.local/share/Trash/info/a.txt.trashinfo"));
    EXPECT_FALSE(exists(stdfs::current_path().string() + "/files/a.txt"));
}

TEST_F(FreedesktopTrashTest, ARelativeDataHomeIsIgnored) {
    FreedesktopTrash trash(fs, home, "relative/data", getuid());
    EXPECT_EQ(trash.homeTrashFolder(), home + "/.local/share/Trash");
    FreedesktopTrash none(fs, "", "", getuid());
    EXPECT_EQ(none.homeTrashFolder(), "");
}

TEST_F(FreedesktopTrashTest, TwoFilesOfOneNameGetTwoNames) {
    writeFile(work + "/one/notes.txt", "first");
    writeFile(work + "/two/notes.txt", "second");
    writeFile(work + "/three/notes.txt", "third");
    FreedesktopTrash trash = trashWithDataHome();

    ASSERT_TRUE(trash.moveToTrash(work + "/one/notes.txt").ok());
    ASSERT_TRUE(trash.moveToTrash(work + "/two/notes.txt").ok());
    ASSERT_TRUE(trash.moveToTrash(work + "/three/notes.txt").ok());

    const std::string t = dataHome + "/Trash";
    EXPECT_EQ(readFile(t + "/files/notes.txt"), "first");
    EXPECT_EQ(readFile(t + "/files/notes.2.txt"), "second");
    EXPECT_EQ(readFile(t + "/files/notes.3.txt"), "third");
    EXPECT_EQ(infoLine(t + "/info/notes.2.txt.trashinfo", "Path"), work + "/two/notes.txt");
}

TEST_F(FreedesktopTrashTest, AFileLeftInFilesWithoutARecordIsNeverOverwritten) {
    writeFile(dataHome + "/Trash/files/x.txt", "left over");
    writeFile(work + "/x.txt", "new");
    FreedesktopTrash trash = trashWithDataHome();

    ASSERT_TRUE(trash.moveToTrash(work + "/x.txt").ok());

    EXPECT_EQ(readFile(dataHome + "/Trash/files/x.txt"), "left over");
    EXPECT_EQ(readFile(dataHome + "/Trash/files/x.2.txt"), "new");
    EXPECT_FALSE(exists(dataHome + "/Trash/info/x.txt.trashinfo"));
    EXPECT_TRUE(exists(dataHome + "/Trash/info/x.2.txt.trashinfo"));
}

TEST_F(FreedesktopTrashTest, ThePathIsPercentEncoded) {
    const std::string name = "with space & \xC3\xA9t\xC3\xA9%.txt";
    writeFile(work + "/" + name, "x");
    FreedesktopTrash trash = trashWithDataHome();

    ASSERT_TRUE(trash.moveToTrash(work + "/" + name).ok());

    EXPECT_EQ(infoLine(dataHome + "/Trash/info/" + name + ".trashinfo", "Path"),
              work + "/with%20space%20%26%20%C3%A9t%C3%A9%25.txt");
}

TEST_F(FreedesktopTrashTest, AMissingFileIsReportedAndLeavesNoRecord) {
    FreedesktopTrash trash = trashWithDataHome();

    const FsError e = trash.moveToTrash(work + "/missing.txt");

    EXPECT_EQ(e.number, kErrFileNotFound);
    EXPECT_FALSE(exists(dataHome + "/Trash/info/missing.txt.trashinfo"));
}

TEST_F(FreedesktopTrashTest, AFolderIsRefused) {
    makeDirs(work + "/folder");
    FreedesktopTrash trash = trashWithDataHome();

    EXPECT_EQ(trash.moveToTrash(work + "/folder").number, kErrInvalidArgument);
    EXPECT_TRUE(exists(work + "/folder"));
}

TEST_F(FreedesktopTrashTest, ASymbolicLinkGoesAsALink) {
    writeFile(work + "/target.txt", "t");
    ASSERT_EQ(symlink((work + "/target.txt").c_str(), (work + "/link").c_str()), 0);
    FreedesktopTrash trash = trashWithDataHome();

    ASSERT_TRUE(trash.moveToTrash(work + "/link").ok());

    EXPECT_TRUE(stdfs::is_symlink(dataHome + "/Trash/files/link"));
    EXPECT_EQ(readFile(work + "/target.txt"), "t");
}

class VolumeTrashTest : public FreedesktopTrashTest {
  protected:
    void SetUp() override {
        makeDirs(volume);
        if (mount("tmpfs", volume.c_str(), "tmpfs", 0, "size=4m") != 0)
            GTEST_SKIP() << "mounting a tmpfs is not permitted here";
        mounted_ = std::make_unique<Mounted>(volume);
    }

    std::string volume = dir / "volume";
    std::string uid = std::to_string(getuid());

  private:
    std::unique_ptr<Mounted> mounted_;
};

TEST_F(VolumeTrashTest, AFileOnAnotherVolumeGoesToThatVolumesOwnTrash) {
    writeFile(volume + "/Docs/a b.txt", "on the volume");
    FreedesktopTrash trash = trashWithDataHome();

    ASSERT_TRUE(trash.moveToTrash(volume + "/Docs/a b.txt").ok());

    const std::string t = volume + "/.Trash-" + uid;
    EXPECT_FALSE(exists(volume + "/Docs/a b.txt"));
    EXPECT_EQ(readFile(t + "/files/a b.txt"), "on the volume");
    EXPECT_EQ(infoLine(t + "/info/a b.txt.trashinfo", "Path"), "Docs/a%20b.txt");
    EXPECT_EQ(modeOf(t), 0700u);
    EXPECT_FALSE(exists(dataHome + "/Trash/files/a b.txt"));
}

TEST_F(VolumeTrashTest, TheSharedTrashWithTheStickyBitHoldsAFolderPerUser) {
    makeDirs(volume + "/.Trash");
    ASSERT_EQ(chmod((volume + "/.Trash").c_str(), 01777), 0);
    writeFile(volume + "/a.txt", "a");
    FreedesktopTrash trash = trashWithDataHome();

    ASSERT_TRUE(trash.moveToTrash(volume + "/a.txt").ok());

    EXPECT_EQ(readFile(volume + "/.Trash/" + uid + "/files/a.txt"), "a");
    EXPECT_EQ(infoLine(volume + "/.Trash/" + uid + "/info/a.txt.trashinfo", "Path"), "a.txt");
    EXPECT_FALSE(exists(volume + "/.Trash-" + uid));
}

TEST_F(VolumeTrashTest, ASharedTrashWithoutTheStickyBitIsNotUsed) {
    makeDirs(volume + "/.Trash");
    ASSERT_EQ(chmod((volume + "/.Trash").c_str(), 0777), 0);
    writeFile(volume + "/a.txt", "a");
    FreedesktopTrash trash = trashWithDataHome();

    ASSERT_TRUE(trash.moveToTrash(volume + "/a.txt").ok());

    EXPECT_FALSE(exists(volume + "/.Trash/" + uid));
    EXPECT_EQ(readFile(volume + "/.Trash-" + uid + "/files/a.txt"), "a");
}

TEST_F(VolumeTrashTest, ASharedTrashThatIsASymbolicLinkIsNotUsed) {
    makeDirs(volume + "/elsewhere");
    ASSERT_EQ(chmod((volume + "/elsewhere").c_str(), 01777), 0);
    ASSERT_EQ(symlink((volume + "/elsewhere").c_str(), (volume + "/.Trash").c_str()), 0);
    writeFile(volume + "/a.txt", "a");
    FreedesktopTrash trash = trashWithDataHome();

    ASSERT_TRUE(trash.moveToTrash(volume + "/a.txt").ok());

    EXPECT_FALSE(exists(volume + "/elsewhere/" + uid));
    EXPECT_EQ(readFile(volume + "/.Trash-" + uid + "/files/a.txt"), "a");
}

TEST_F(VolumeTrashTest, AUserTrashThatIsASymbolicLinkIsRefused) {
    makeDirs(volume + "/elsewhere");
    ASSERT_EQ(symlink((volume + "/elsewhere").c_str(), (volume + "/.Trash-" + uid).c_str()), 0);
    writeFile(volume + "/a.txt", "a");
    FreedesktopTrash trash = trashWithDataHome();

    EXPECT_FALSE(trash.moveToTrash(volume + "/a.txt").ok());

    EXPECT_EQ(readFile(volume + "/a.txt"), "a");
    EXPECT_TRUE(stdfs::is_empty(volume + "/elsewhere"));
}

TEST_F(VolumeTrashTest, AReadOnlyVolumeKeepsItsFile) {
    writeFile(volume + "/a.txt", "a");
    ASSERT_EQ(mount(nullptr, volume.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    FreedesktopTrash trash = trashWithDataHome();

    EXPECT_EQ(trash.moveToTrash(volume + "/a.txt").number, kErrAccessDenied);

    EXPECT_EQ(readFile(volume + "/a.txt"), "a");
    EXPECT_FALSE(exists(dataHome + "/Trash/files/a.txt"));
}

// The record is written before the move; when the move then fails, the record
// is taken back and the file stays where it was.
TEST_F(FreedesktopTrashTest, AFailedMoveTakesItsRecordBack) {
    const std::string locked = work + "/locked";
    writeFile(locked + "/a.txt", "a");
    if (mount(locked.c_str(), locked.c_str(), nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "bind mounts are not permitted here";
    Mounted bound(locked);
    ASSERT_EQ(mount(nullptr, locked.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr),
              0);
    FreedesktopTrash trash = trashWithDataHome();

    const FsError e = trash.moveToTrash(locked + "/a.txt");

    EXPECT_FALSE(e.ok());
    EXPECT_EQ(readFile(locked + "/a.txt"), "a");
    EXPECT_TRUE(stdfs::is_empty(dataHome + "/Trash/info"));
    EXPECT_TRUE(stdfs::is_empty(dataHome + "/Trash/files"));
}

}  // namespace
}  // namespace zv::test
