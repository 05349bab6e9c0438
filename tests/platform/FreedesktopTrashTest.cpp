#include <filesystem>
#include <regex>

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
    if (at == std::string::npos) return {};
    const std::size_t start = at + key.size() + 2;
    return text.substr(start, text.find('\n', start) - start);
}

class FreedesktopTrashTest : public PlatformTest {
  protected:
    std::string home = dir / "home", data = dir / "home/data", work = dir / "work";
    std::string uid = std::to_string(getuid());
    FreedesktopTrash trash{fs, home, data, getuid()};
};

TEST_F(FreedesktopTrashTest, TheHomeTrashGetsTheFileARecordAndAnUnusedName) {
    const std::string t = data + "/Trash", odd = "with space & \xC3\xA9t\xC3\xA9%.txt";
    writeFile(work + "/one/notes.txt", "first");
    writeFile(work + "/two/notes.txt", "second");
    writeFile(work + "/" + odd, "x");
    ASSERT_TRUE(trash.moveToTrash(work + "/one/notes.txt").ok());
    writeFile(t + "/files/notes.2.txt", "left over without a record");
    ASSERT_TRUE(trash.moveToTrash(work + "/two/notes.txt").ok());
    ASSERT_TRUE(trash.moveToTrash(work + "/" + odd).ok());

    EXPECT_FALSE(exists(work + "/one/notes.txt"));
    EXPECT_EQ(readFile(t + "/files/notes.txt"), "first");
    EXPECT_EQ(readFile(t + "/files/notes.2.txt"), "left over without a record");
    EXPECT_FALSE(exists(t + "/info/notes.2.txt.trashinfo"));
    EXPECT_EQ(readFile(t + "/files/notes.3.txt"), "second");
    const std::string info = t + "/info/notes.txt.trashinfo";
    EXPECT_EQ(readFile(info).rfind("[Trash Info]\n", 0), 0u);
    EXPECT_EQ(infoLine(info, "Path"), work + "/one/notes.txt");
    EXPECT_TRUE(std::regex_match(infoLine(info, "DeletionDate"),
                                 std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)")));
    EXPECT_EQ(infoLine(t + "/info/notes.3.txt.trashinfo", "Path"), work + "/two/notes.txt");
    EXPECT_EQ(infoLine(t + "/info/" + odd + ".trashinfo", "Path"),
              work + "/with%20space%20%26%20%C3%A9t%C3%A9%25.txt");
    EXPECT_EQ(modeOf(t) & 077, 0u);
}

// Qt's own move to the trash, with HOME lacking .local/share, put the file in
// ./files of the current folder without a record and reported success.
TEST_F(FreedesktopTrashTest, WithoutAUsableDataHomeTheTrashIsMadeBelowHome) {
    writeFile(work + "/a.txt", "a");
    EXPECT_EQ(FreedesktopTrash(fs, home, "relative/data", getuid()).homeTrashFolder(),
              home + "/.local/share/Trash");
    EXPECT_EQ(FreedesktopTrash(fs, "", "", getuid()).homeTrashFolder(), "");
    ASSERT_TRUE(FreedesktopTrash(fs, home, "", getuid()).moveToTrash(work + "/a.txt").ok());
    EXPECT_EQ(readFile(home + "/.local/share/Trash/files/a.txt"), "a");
    EXPECT_TRUE(exists(home + "/.local/share/Trash/info/a.txt.trashinfo"));
    EXPECT_FALSE(exists(stdfs::current_path().string() + "/files/a.txt"));
}

// A file that cannot be trashed stays where it was, with no record left.
TEST_F(FreedesktopTrashTest, WhatCannotBeTrashedStays) {
    EXPECT_EQ(trash.moveToTrash(work + "/missing.txt").number, kErrFileNotFound);
    // A link goes as a link; what it points at stays.
    writeFile(work + "/target.txt", "t");
    link(work + "/target.txt", work + "/link");
    ASSERT_TRUE(trash.moveToTrash(work + "/link").ok());
    EXPECT_TRUE(stdfs::is_symlink(data + "/Trash/files/link"));
    EXPECT_EQ(readFile(work + "/target.txt"), "t");
    // The record is written before the move; a failed move takes it back.
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
    EXPECT_EQ(entriesIn(data + "/Trash/info"), 1);  // the link's
    EXPECT_EQ(entriesIn(data + "/Trash/files"), 1);
}

// A file on another volume goes to that volume's own trash: the shared
// .Trash/$uid where .Trash is a real folder with the sticky bit, else
// .Trash-$uid, which must be a real folder.
TEST_F(FreedesktopTrashTest, AFileOnAnotherVolumeGoesToThatVolumesTrash) {
    // Set-up on the volume -> the trash folder used; empty: refused with 75.
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
        if (trashFolder.empty()) {
            EXPECT_EQ(e.number, kErrAccessDenied);
            continue;
        }
        ASSERT_TRUE(e.ok()) << e.description;
        EXPECT_EQ(readFile(v + "/" + trashFolder + "/files/a b.txt"), "on the volume");
        EXPECT_EQ(infoLine(v + "/" + trashFolder + "/info/a b.txt.trashinfo", "Path"),
                  "Docs/a%20b.txt");
        EXPECT_EQ(modeOf(v + "/" + trashFolder), 0700u);
    }
}

}  // namespace
}  // namespace zv::test
