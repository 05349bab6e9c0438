#include "PlatformTest.h"
#include "platform/linux/FreedesktopTrash.h"

namespace zv::test {
namespace {

namespace stdfs = std::filesystem;

bool exists(const std::string& path) {
    std::error_code ec;
    return stdfs::exists(stdfs::symlink_status(path, ec));
}

// The value of a key in a .trashinfo file.
std::string infoLine(const std::string& info, const std::string& key) {
    const std::string text = readFile(info);
    const std::size_t at = text.find("\n" + key + "=");
    if (at == std::string::npos || !text.starts_with("[Trash Info]\n")) return {};
    const std::size_t start = at + key.size() + 2;
    return text.substr(start, text.find('\n', start) - start);
}

class FreedesktopTrashTest : public PlatformTest {
  protected:
    std::string home = dir / "home", data = dir / "home/data", work = dir / "work";
    std::string uid = std::to_string(getuid());
    FreedesktopTrash trash{fs, home, data, getuid()};
};

// The home trash gets the file, a record and an unused name (also where a
// file lies without a record); without a usable data home it is made below
// home; what cannot
// be trashed stays, with no record left: the record written before a move is
// taken back when the move fails.
TEST_F(FreedesktopTrashTest, TheHomeTrashGetsTheFileARecordAndAnUnusedName) {
    const std::string t = data + "/Trash", odd = "with space & \xC3\xA9t\xC3\xA9%.txt";
    writeFile(work + "/one/notes.txt", "first");
    writeFile(work + "/two/notes.txt", "second");
    writeFile(work + "/" + odd, "x");
    writeFile(work + "/target.txt", "t");
    link(work + "/target.txt", work + "/link");
    ASSERT_TRUE(trash.moveToTrash(work + "/one/notes.txt").ok());
    writeFile(t + "/files/notes.2.txt", "left over without a record");
    for (const std::string& name : {std::string("/two/notes.txt"), "/" + odd, std::string("/link")})
        ASSERT_TRUE(trash.moveToTrash(work + name).ok()) << name;
    EXPECT_EQ(trash.moveToTrash(work + "/missing.txt").number, kErrFileNotFound);
    EXPECT_EQ(readFile(t + "/files/notes.txt") + readFile(t + "/files/notes.3.txt"), "firstsecond");
    EXPECT_EQ(stdfs::read_symlink(t + "/files/link"), work + "/target.txt");
    EXPECT_EQ(readFile(work + "/target.txt"), "t");
    EXPECT_FALSE(exists(work + "/one/notes.txt") || exists(t + "/info/notes.2.txt.trashinfo"));
    const std::string info = t + "/info/notes.txt.trashinfo";
    EXPECT_EQ(infoLine(info, "Path"), work + "/one/notes.txt");
    EXPECT_EQ(infoLine(t + "/info/notes.3.txt.trashinfo", "Path"), work + "/two/notes.txt");
    EXPECT_EQ(infoLine(t + "/info/" + odd + ".trashinfo", "Path"),
              work + "/with%20space%20%26%20%C3%A9t%C3%A9%25.txt");
    EXPECT_EQ(FreedesktopTrash(fs, home, "relative/data", getuid()).homeTrashFolder(),
              home + "/.local/share/Trash");
    EXPECT_EQ(FreedesktopTrash(fs, "", "", getuid()).homeTrashFolder(), "");

    const std::string locked = work + "/locked";
    writeFile(locked + "/a.txt", "a");
    if (mount(locked.c_str(), locked.c_str(), nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "bind mounts are not permitted here";
    const bool readOnly =
        mount(nullptr, locked.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    const FsError e = trash.moveToTrash(locked + "/a.txt");
    umount2(locked.c_str(), MNT_DETACH);
    ASSERT_TRUE(readOnly);
    EXPECT_FALSE(e.ok());
    EXPECT_EQ(readFile(locked + "/a.txt"), "a");
    EXPECT_EQ(entriesIn(t + "/info"), 4);
    EXPECT_EQ(entriesIn(t + "/files"), 5);
}

// A file on another volume goes to that volume's own trash: the shared
// .Trash/$uid where .Trash is a real folder with the sticky bit, else
// .Trash-$uid, which must be a real folder.
TEST_F(FreedesktopTrashTest, AFileOnAnotherVolumeGoesToThatVolumesTrash) {
    // Set-up on the volume -> the trash folder used; none: refused.
    const std::pair<std::string, std::string> cases[] = {
        {"true", ".Trash-" + uid},
        {"mkdir -m 1777 .Trash", ".Trash/" + uid},
        {"mkdir -m 777 .Trash", ".Trash-" + uid},
        {"mkdir -m 1777 elsewhere && ln -s elsewhere .Trash", ".Trash-" + uid},
        {"mkdir elsewhere && ln -s elsewhere .Trash-" + uid, ""},
        {"mount -o remount,ro \"$PWD\"", ""}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [prepare, trashFolder] = cases[i];
        SCOPED_TRACE(prepare);
        ScratchMount volume(dir / ("volume" + std::to_string(i)), ScratchMount::Tmpfs, "4m");
        if (!volume.ok()) GTEST_SKIP() << volume.why();
        const std::string v = volume.path();
        writeFile(v + "/Docs/a b.txt", "on the volume");
        ASSERT_EQ(std::system(("cd '" + v + "' && " + prepare).c_str()), 0);
        const FsError e = trash.moveToTrash(v + "/Docs/a b.txt");
        for (const std::string& other : {".Trash-" + uid, ".Trash/" + uid})
            EXPECT_TRUE(other == trashFolder || !exists(v + "/" + other + "/files/a b.txt"));
        EXPECT_FALSE(exists(data + "/Trash/files/a b.txt"));
        EXPECT_EQ(exists(v + "/Docs/a b.txt"), trashFolder.empty());
        EXPECT_EQ(e.number, trashFolder.empty() ? kErrAccessDenied : kErrNone) << e.description;
        if (trashFolder.empty()) continue;
        EXPECT_EQ(readFile(v + "/" + trashFolder + "/files/a b.txt"), "on the volume");
        EXPECT_EQ(infoLine(v + "/" + trashFolder + "/info/a b.txt.trashinfo", "Path"),
                  "Docs/a%20b.txt");
        EXPECT_EQ(modeOf(v + "/" + trashFolder), 0700u);
    }
}

}  // namespace
}  // namespace zv::test
