#include <regex>

#include "PlatformTest.h"
#include "platform/linux/FreedesktopTrash.h"

namespace zv::test {
namespace {

// The path a .trashinfo record holds (the whole text if it is no record).
std::string recordedPath(const std::string& info) {
    static const std::regex record("^\\[Trash Info\\]\nPath=(.*)\nDeletionDate=[0-9T:-]{19}\n$");
    return std::regex_replace(readFile(info), record, "$1");
}

class FreedesktopTrashTest : public PlatformTest {
  protected:
    std::string home = dir / "home", data = dir / "home/data", work = dir / "work";
    std::string uid = std::to_string(getuid());
    FreedesktopTrash trash{fs, home, data, getuid()};
};

// An unused name (a record only for what arrived) and a record with the escaped path.
TEST_F(FreedesktopTrashTest, TheHomeTrashGetsTheFileARecordAndAnUnusedName) {
    const std::string t = data + "/Trash", stem = "with space & \xC3\xA9t\xC3\xA9%";
    writeFile(work + "/one/" + stem + ".txt", "first");
    writeFile(work + "/two/" + stem + ".txt", "second");
    ASSERT_TRUE(trash.moveToTrash(work + "/one/" + stem + ".txt").ok());
    writeFile(t + "/files/" + stem + ".2.txt", "left over without a record");
    ASSERT_TRUE(trash.moveToTrash(work + "/two/" + stem + ".txt").ok());
    EXPECT_EQ(trash.moveToTrash(work + "/missing.txt").number, kErrFileNotFound);
    for (const char* folder : {"/one/", "/two/"}) {  // a name that starts with its dot
        writeFile(work + folder + ".hidden", folder);
        ASSERT_TRUE(trash.moveToTrash(work + folder + ".hidden").ok());
    }
    EXPECT_EQ(readFile(t + "/files/.hidden.2"), "/two/");
    EXPECT_EQ(readFile(t + "/files/" + stem + ".3.txt"), "second");
    EXPECT_EQ(recordedPath(t + "/info/" + stem + ".3.txt.trashinfo"),
              work + "/two/with%20space%20%26%20%C3%A9t%C3%A9%25.txt");
    EXPECT_EQ(FreedesktopTrash(fs, home, "relative/data", getuid()).homeTrashFolder(),
              home + "/.local/share/Trash");
    EXPECT_EQ(FreedesktopTrash(fs, "", "", getuid()).homeTrashFolder(), "");
    EXPECT_EQ(std::pair(entriesIn(t + "/info"), entriesIn(t + "/files")), std::pair(4L, 5L));
}

// Another volume's trash: .Trash/$uid in a real sticky .Trash, else a real folder .Trash-$uid.
TEST_F(FreedesktopTrashTest, AFileOnAnotherVolumeGoesToThatVolumesTrash) {
    // Set-up on the volume -> the trash folder used ("": refused).
    const std::pair<std::string, std::string> cases[] = {
        {"mkdir -m 1777 .Trash", ".Trash/" + uid},
        {"mkdir -m 1777 .Trash .Trash/" + uid + " && chown 65534 .Trash/" + uid, ".Trash-" + uid},
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
            EXPECT_TRUE(other == trashFolder ||
                        !std::filesystem::exists(v + "/" + other + "/files/a b.txt"));
        EXPECT_FALSE(std::filesystem::exists(data + "/Trash/files/a b.txt"));
        EXPECT_EQ(std::filesystem::exists(v + "/Docs/a b.txt"), trashFolder.empty());
        EXPECT_EQ(e.number, trashFolder.empty() ? kErrAccessDenied : kErrNone) << e.description;
        if (trashFolder.empty()) continue;
        EXPECT_EQ(readFile(v + "/" + trashFolder + "/files/a b.txt"), "on the volume");
        EXPECT_EQ(recordedPath(v + "/" + trashFolder + "/info/a b.txt.trashinfo"),
                  "Docs/a%20b.txt");
        EXPECT_EQ(modeOf(v + "/" + trashFolder), 0700u);
    }
}

}  // namespace
}  // namespace zv::test
