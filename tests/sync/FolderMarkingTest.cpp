#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Attributes.h"
#include "platform/LinuxFileSystem.h"
#include "support/TempDir.h"
#include "sync/FolderMarking.h"

namespace zv::test {
namespace {

const char* const kDustbinIni =
    "[.ShellClassInfo]\r\nIconFile=%SystemRoot%\\system32\\SHELL32.dll\r\nIconIndex=101\r\n";
const char* const kDriveIni =
    "[.ShellClassInfo]\r\nIconFile=%SystemRoot%\\system32\\SHELL32.dll\r\nIconIndex=8\r\n";

class FolderMarkingTest : public ::testing::Test {
  protected:
    FolderMarkingTest() { makeDirs(folder); }

    std::uint32_t attributesOf(const std::string& path) {
        std::uint32_t a = 0;
        EXPECT_TRUE(fs.getAttributes(path, a).ok()) << path;
        return a;
    }

    TempDir dir;
    LinuxFileSystem fs;
    std::string folder = dir / "Bin";
};

TEST_F(FolderMarkingTest, MarkingWritesDesktopIniAndSetsTheAttributes) {
    SetIconDustBin(fs, folder);

    EXPECT_EQ(readFile(folder + "/Desktop.ini"), kDustbinIni);
    EXPECT_EQ(attributesOf(folder + "/Desktop.ini"), 38u);
    EXPECT_EQ(attributesOf(folder), 17u);
    EXPECT_EQ(readFile(folder + "/.directory"), "[Desktop Entry]\nIcon=user-trash\n");
}

TEST_F(FolderMarkingTest, TheDriveMarkUsesTheDriveIcon) {
    SetIconStation(fs, folder);

    EXPECT_EQ(readFile(folder + "/Desktop.ini"), kDriveIni);
    EXPECT_EQ(attributesOf(folder + "/Desktop.ini"), 38u);
    EXPECT_EQ(attributesOf(folder), 17u);
    EXPECT_EQ(readFile(folder + "/.directory"), "[Desktop Entry]\nIcon=drive-harddisk\n");
}

TEST_F(FolderMarkingTest, AProtectedDesktopIniIsNotReplaced) {
    SetIconStation(fs, folder);
    SetIconDustBin(fs, folder);

    EXPECT_EQ(readFile(folder + "/Desktop.ini"), kDriveIni);
    EXPECT_EQ(attributesOf(folder + "/Desktop.ini"), 38u);
    EXPECT_EQ(attributesOf(folder), 17u);
}

TEST_F(FolderMarkingTest, AnUnprotectedDesktopIniIsReplaced) {
    writeFile(folder + "/Desktop.ini", "something else\r\n");

    SetIconDustBin(fs, folder);

    EXPECT_EQ(readFile(folder + "/Desktop.ini"), kDustbinIni);
}

TEST_F(FolderMarkingTest, UnmarkingKeepsBothFilesAndClearsTheFolderBits) {
    SetIconDustBin(fs, folder);
    ASSERT_TRUE(fs.setAttributes(folder, 16 | 1 | 2 | 4).ok());

    ClearFolderMark(fs, folder);

    EXPECT_EQ(attributesOf(folder), 16u);
    EXPECT_EQ(readFile(folder + "/Desktop.ini"), kDustbinIni);
    EXPECT_TRUE(std::filesystem::exists(folder + "/.directory"));
}

TEST_F(FolderMarkingTest, TheUsersOwnDirectorySettingsAreKept) {
    writeFile(folder + "/.directory",
              "[Dolphin]\nViewMode=1\n\n[Desktop Entry]\nIcon=folder-blue\nName=Mine\n");

    SetIconDustBin(fs, folder);

    EXPECT_EQ(readFile(folder + "/.directory"),
              "[Dolphin]\nViewMode=1\n\n[Desktop Entry]\nIcon=user-trash\nName=Mine\n");
}

TEST_F(FolderMarkingTest, ADirectoryFileWithoutTheEntryGroupGetsOne) {
    writeFile(folder + "/.directory", "[Dolphin]\nViewMode=1");

    SetIconStation(fs, folder);

    EXPECT_EQ(readFile(folder + "/.directory"),
              "[Dolphin]\nViewMode=1\n[Desktop Entry]\nIcon=drive-harddisk\n");
}

TEST_F(FolderMarkingTest, AMissingFolderIsLeftMissing) {
    const std::string missing = dir / "missing";

    SetIconDustBin(fs, missing);
    SetIconStation(fs, missing);
    ClearFolderMark(fs, missing);

    EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace zv::test
