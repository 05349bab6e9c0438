#include <unistd.h>

#include "e2e/E2eFixture.h"
#include "platform/PlatformTest.h"

namespace zv::test {
namespace {

// What must never happen to a user's data, whatever the paths and disks do.
using Safety = EndToEnd;

// A folder however spelled (a link, "..", ".", in options or a job file) is that folder: a source
// in the backup is never synced away, a backup in the source never copied in, one folder refused.
TEST_F(Safety, AFolderIsTheSameFolderHoweverItIsSpelled) {
    const std::string bk = root / "bk", data = root / "data";
    ASSERT_TRUE(sh("cd " + quoted(root.path()) + " && ln -s bk toBk && ln -s data toData"));
    // source, backup, exit status, whether they are named in a job file
    const std::tuple<std::string, std::string, int, bool> cases[] = {
        {root / "toBk/src", bk, 0, false},  // the source inside the backup
        {"../bk/src", "../bk", 0, true},         {"../bk/src/.", bk + "//", 0, false},
        {data, root / "toData/inner", 0, false},  // the backup inside the source
        {"../data", "../data/./inner", 0, true}, {".", "./inner", 0, false},
        {data, root / "toData", 1, false},  // one folder
        {"../bk/src", bk + "/src/", 1, false},
    };
    for (const auto& [from, to, status, inJobFile] : cases) {
        SCOPED_TRACE(from + " -> " + to + (inJobFile ? " in a job file" : ""));
        std::filesystem::remove_all(bk);
        std::filesystem::remove_all(data);
        plant(root.path(), {{"/bk/src/a.txt", "a"},
                            {"/bk/src/Deep/b.txt", "b"},
                            {"/bk/old.txt", "orphan"},
                            {"/data/c.txt", "c"},
                            {"/data/More/d.txt", "d"}});
        workingFolder = from == "." ? data : work;
        writeFile(
            app + "/Job.dat",
            job({{1, "pathsource =" + from}, {2, "pathdestination =" + to}, {6, "syncactive =1"}}));
        const Lines arguments = inJobFile ? Lines{"-if", "Job.dat", "-qu"}
                                          : checked(from, to, {"-sy", "1", "-ke", "1"});
        EXPECT_EQ(run(arguments).exitStatus, status) << errorLog();
        EXPECT_EQ(readFile(bk + "/src/a.txt") + readFile(bk + "/src/Deep/b.txt"), "ab");
        EXPECT_EQ(readFile(data + "/c.txt") + readFile(data + "/More/d.txt"), "cd");
        EXPECT_FALSE(exists(data + "/inner/inner"));
        const bool copiedInside = status == 0 && to.find("inner") != std::string::npos;
        EXPECT_EQ(readFile(data + "/inner/More/d.txt"), copiedInside ? "d" : "");
    }
}

// A source folder that cannot be opened, or whose names can be read but not their entries: its
// backup copies stay, the failure is logged, status 3.
TEST_F(Safety, WhatCannotBeLookedAtIsNeverTakenForGone) {
    const std::pair<std::string, mode_t> folders[] = {{"/geheim", 0}, {"/halfopen", 0444}};
    for (const auto& [folder, mode] : folders)
        for (const std::string& top : {source, backup})
            writeFile(top + folder + "/dagboek", "lief");
    if (!runAs("nobody")) GTEST_SKIP() << "cannot run as another user here";
    for (const auto& [folder, mode] : folders) chmod((source + folder).c_str(), mode);
    EXPECT_EQ(run(checked(source, backup, {"-sy", "1", "-ke", "1"})).exitStatus, 3) << errorLog();
    for (const auto& [folder, mode] : folders) {
        EXPECT_EQ(readFile(backup + folder + "/dagboek"), "lief");
        EXPECT_NE(errorLog().find(source + folder + "\r\n"), std::string::npos) << errorLog();
    }
}

// A dustbin inside the backup, named through a link, never moves into itself. A backup
// on another volume sends orphans to that volume's trash, which a copy of it leaves out.
TEST_F(Safety, DustbinsAndTrashesNeverTakeThemselvesIn) {
    makeDirs(backup + "/Bin");
    std::filesystem::create_directory_symlink(backup + "/Bin", root / "toBin");
    // The second round runs the job as the first one saved it.
    const Lines first = checked(source, backup, {"-sy", "1", "-db", "2", "-pr", root / "toBin"});
    for (const Lines& round : {first, Lines{"-if", "Init.dat", "-qu"}}) {
        writeFile(backup + "/weer" + round[0] + ".txt", "orphan");
        EXPECT_EQ(run(round).exitStatus, 0) << errorLog();
    }
    EXPECT_EQ(files(backup + "/Bin"),
              (Tree{{source + "/weer-ps.txt", "orphan"}, {source + "/weer-if.txt", "orphan"}}));

    ScratchMount volume(root / "usb", ScratchMount::Tmpfs, "4m");
    if (!volume.ok()) GTEST_SKIP() << volume.why();
    std::filesystem::create_directory_symlink(volume.path(), root / "toUsb");
    writeFile(volume.path() + "/Backup/weg.txt", "orphan");
    const Lines toUsb =
        checked(source, root / "toUsb/Backup", {"-sy", "1", "-db", "1", "-pr", root / "bin"});
    EXPECT_EQ(run(toUsb).exitStatus, 0) << errorLog();
    const std::string trash = "/.Trash-" + std::to_string(geteuid());
    EXPECT_EQ(files(volume.path() + trash + "/files"), (Tree{{"/weg.txt", "orphan"}}));
    EXPECT_EQ(run(checked(volume.path(), root / "copy")).exitStatus, 0);
    EXPECT_TRUE(exists(root / "copy/Backup/brief.txt") && !exists(root / "copy" + trash));
}

// A volume name (a labelled ext4 image) matches a whole component; only the backup folder is
// made. Unplugged, a run neither writes into its empty mount folder nor makes the path.
TEST_F(Safety, ABackupDiskKnownByItsVolumeName) {
    const std::string label = "ZV" + std::to_string(getpid() % 100000);
    writeFile(app + "/Job.dat", job({{2, "pathdestination =" + label + "/Week/Backup"},
                                     {10, "volumelabel =" + label}}));
    std::string mountPoint;
    {
        ScratchMount disk(root / label, ScratchMount::Image, "mkfs.ext4 -q -L " + label);
        if (!disk.ok()) GTEST_SKIP() << disk.why();
        mountPoint = disk.path();
        EXPECT_EQ(refused(checked(source, label + "9/Backup")), Lines{"TIME Targetpath invalid"});
        EXPECT_FALSE(exists(mountPoint + "9"));
        refused({"-if", "Job.dat", "-qu", "cf", "1"});
        EXPECT_FALSE(exists(mountPoint + "/Week"));
        makeDirs(mountPoint + "/Week");
        EXPECT_EQ(run({"-if", "Job.dat", "-qu", "cf", "1"}).exitStatus, 0) << errorLog();
        EXPECT_EQ(files(mountPoint + "/Week/Backup"), files(source));
    }
    refused({"-if", "Job.dat", "-qu"});
    // A job saved with the disk's folder, now on the root file system.
    writeFile(app + "/Job.dat", job({{2, "pathdestination =" + mountPoint + "/Week/Backup"},
                                     {10, "volumelabel =" + label}}));
    refused({"-if", "Job.dat", "-qu"});
    refused({"-ps", source, "-pd", mountPoint + "/Backup/Week", "-vf", "1"});
    EXPECT_TRUE(std::filesystem::is_empty(mountPoint));
}

}  // namespace
}  // namespace zv::test
