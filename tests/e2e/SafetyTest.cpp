#include <fcntl.h>
#include <unistd.h>

#include "e2e/E2eFixture.h"
#include "platform/PlatformTest.h"
#include "platform/linux/UniqueFd.h"

namespace zv::test {
namespace {

// What must never happen to a user's data, whatever the paths, disks and
// files do: the adversarial cases, each run as the real program.
using Safety = EndToEnd;

// A checked run that synchronises, deleting orphans and empty folders.
Lines syncing(const std::string& from, const std::string& to) {
    return {"-ps", from, "-pd", to, "-cd", "0", "-vf", "1", "-sy", "1", "-ke", "1"};
}

// One folder reached by many spellings (a link, "..", ".", a path relative to
// the working folder, in options or in a job file) is still that folder: a
// source inside the backup is never synchronised away, a backup inside the
// source never copied into itself, and with the two the same nothing runs.
TEST_F(Safety, AFolderIsTheSameFolderHoweverItIsSpelled) {
    const std::string bk = root / "bk", data = root / "data";
    ASSERT_TRUE(sh("cd " + quoted(root.path()) + " && ln -s bk toBk && ln -s data toData"));
    const struct {
        std::string source, backup;
        int status;
        bool inJobFile = false;
    } cases[] = {
        // The source inside the backup.
        {root / "toBk/src", bk, 0},
        {bk + "/../bk/src", bk, 0},
        {"../bk/src", "../bk", 0},
        {"../bk/src", "../bk", 0, true},
        {"../bk/src/.", bk + "//", 0},
        // The backup inside the source.
        {data, root / "toData/inner", 0},
        {"../data", "../data/./inner", 0},
        {"../data", "../data/./inner", 0, true},
        {".", "./inner", 0},
        // One folder.
        {data, root / "toData", 1},
        {"../bk/src", bk + "/src/", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source + " -> " + c.backup + (c.inJobFile ? " in a job file" : ""));
        std::filesystem::remove_all(bk);
        std::filesystem::remove_all(data);
        plant(root.path(), {{"/bk/src/a.txt", "a"},
                            {"/bk/src/Deep/b.txt", "b"},
                            {"/bk/old.txt", "orphan"},
                            {"/data/c.txt", "c"},
                            {"/data/More/d.txt", "d"}});
        workingFolder = c.source == "." ? data : work;
        writeFile(app + "/Job.dat", crlf(job({{1, "pathsource =" + c.source},
                                              {2, "pathdestination =" + c.backup},
                                              {6, "syncactive =1"}})));
        const Lines arguments =
            c.inJobFile ? Lines{"-if", "Job.dat", "-qu"} : syncing(c.source, c.backup);
        EXPECT_EQ(run(arguments).exitStatus, c.status) << errorLog();
        EXPECT_EQ(readFile(bk + "/src/a.txt") + readFile(bk + "/src/Deep/b.txt"), "ab");
        EXPECT_EQ(readFile(data + "/c.txt") + readFile(data + "/More/d.txt"), "cd");
        EXPECT_FALSE(exists(data + "/inner/inner"));
        const bool copiedInside = c.status == 0 && c.backup.find("inner") != std::string::npos;
        EXPECT_EQ(readFile(data + "/inner/More/d.txt"), copiedInside ? "d" : "");
    }
}

// A source folder that cannot be read, or whose paths grow too long: its
// backup copies stay, each failure is logged and the run ends with status 3.
TEST_F(Safety, WhatCannotBeLookedAtIsNeverTakenForGone) {
    // Paths of over 4096 bytes on the source side only (the backup's are short).
    const std::string name(250, 'n');
    std::string deep = root / "s", relative;
    for (int i = 0; i < 12; ++i) deep += "/" + name;
    for (int i = 0; i < 5; ++i) relative += "/" + name;
    makeDirs(deep);
    UniqueFd folder(open(deep.c_str(), O_RDONLY | O_DIRECTORY));
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(mkdirat(folder.get(), name.c_str(), 0755), 0);
        folder = UniqueFd(openat(folder.get(), name.c_str(), O_RDONLY | O_DIRECTORY));
    }
    UniqueFd file(openat(folder.get(), "f.txt", O_WRONLY | O_CREAT, 0644));
    ASSERT_EQ(write(file.get(), "x\n", 2), 2);
    writeFile(backup + relative + "/f.txt", "x\n");
    EXPECT_EQ(run(syncing(deep, backup)).exitStatus, 3) << errorLog();
    EXPECT_EQ(readFile(backup + relative + "/f.txt"), "x\n");
    EXPECT_NE(errorLog().find("Error 5: File name too long"), std::string::npos) << errorLog();

    ASSERT_TRUE(sh("rm -rf " + quoted(root / "s") + " " + quoted(backup)));
    for (const std::string& top : {source, backup}) writeFile(top + "/geheim/dagboek.txt", "lief");
    if (!runAs("nobody")) GTEST_SKIP() << "cannot run as another user here";
    chmod((source + "/geheim").c_str(), 0);
    EXPECT_EQ(run(syncing(source, backup)).exitStatus, 3) << errorLog();
    EXPECT_EQ(readFile(backup + "/geheim/dagboek.txt"), "lief");
    EXPECT_NE(errorLog().find(source + "/geheim"), std::string::npos) << errorLog();
}

// A dustbin inside the backup, named through a link, is known as that folder
// and never moves into itself, run after run. A backup reached through a
// folder link on another volume sends its orphans to that volume's trash, a
// backup into the home folder to the home trash; no backup or source ever
// takes a trash folder for its own content.
TEST_F(Safety, DustbinsAndTrashesNeverTakeThemselvesIn) {
    writeFile(backup + "/weer/oud.txt", "orphan");
    makeDirs(backup + "/Bin");
    std::filesystem::create_directory_symlink(backup + "/Bin", root / "toBin");
    const Lines options{"-ps", source, "-pd", backup, "-cd", "0",   "-vf",
                        "1",   "-sy",  "1",   "-db",  "2",   "-pr", root / "toBin"};
    for (int round = 0; round < 2; ++round) EXPECT_EQ(run(options).exitStatus, 0) << errorLog();
    EXPECT_EQ(files(backup + "/Bin"), (Tree{{source + "/weer/oud.txt", "orphan"}}));

    std::vector<std::pair<std::string, std::string>> backups{{home, home + "/.local/share/Trash"}};
    ScratchMount volume(root / "usb", ScratchMount::Tmpfs, "4m");
    const std::string trash = volume.path() + "/.Trash-" + std::to_string(geteuid());
    if (volume.ok()) {
        std::filesystem::create_directory_symlink(volume.path(), root / "toUsb");
        backups.insert(backups.end(), {{volume.path(), trash}, {root / "toUsb/Backup", trash}});
    }
    for (const auto& [to, itsTrash] : backups) {
        SCOPED_TRACE(to);
        std::filesystem::remove_all(itsTrash);
        const Lines toTrash{"-ps", source, "-pd", to,  "-cd", "0",          "-vf", "1",
                            "-sy", "1",    "-db", "1", "-pr", root / "bin", "-ke", "1"};
        for (const char* orphan : {"/weg0.txt", "/weg1.txt"}) {
            writeFile(to + orphan, "orphan");
            EXPECT_EQ(run(toTrash).exitStatus, 0) << errorLog();
        }
        EXPECT_EQ(entriesIn(itsTrash + "/files"), 2) << ::testing::PrintToString(files(itsTrash));
        EXPECT_EQ(entriesIn(itsTrash + "/info"), 2);
    }
    if (!volume.ok()) GTEST_SKIP() << volume.why();
    EXPECT_EQ(run({"-ps", volume.path(), "-pd", root / "copy", "-cd", "0", "-vf", "1"}).exitStatus,
              0);
    EXPECT_TRUE(exists(root / "copy/brief.txt"));
    EXPECT_FALSE(exists(root / "copy/.Trash-" + std::to_string(geteuid())));
}

// A backup disk known by its volume name (a labelled ext4 image): the name
// matches as a whole path component only; the backup folder is made, never
// the folders above it, and the job keeps the name when saved. Unplugged, a
// later run neither writes into the empty folder it was mounted on nor makes
// that path on the system disk.
TEST_F(Safety, ABackupDiskKnownByItsVolumeName) {
    const std::string label = "ZV" + std::to_string(getpid() % 100000);
    const Lines lines =
        job({{2, "pathdestination =" + label + "/Week/Backup"}, {10, "volumelabel =" + label}});
    writeFile(app + "/Job.dat", crlf(lines));
    std::string mountPoint;
    {
        ScratchMount disk(root / label, ScratchMount::Image, "mkfs.ext4 -q -L " + label);
        if (!disk.ok()) GTEST_SKIP() << disk.why();
        mountPoint = disk.path();
        EXPECT_EQ(refused({"-ps", source, "-pd", label + "9/Backup", "-cd", "0", "-vf", "1"}),
                  Lines{"TIME Targetpath invalid"});
        EXPECT_FALSE(exists(mountPoint + "9"));
        refused({"-if", "Job.dat", "-qu", "cf", "1"});
        EXPECT_FALSE(exists(mountPoint + "/Week"));
        makeDirs(mountPoint + "/Week");
        EXPECT_EQ(run({"-if", "Job.dat", "-qu", "cf", "1"}).exitStatus, 0) << errorLog();
        EXPECT_EQ(files(mountPoint + "/Week/Backup"), files(source));
        const Lines saved = split(readFile(app + "/Job.dat"));
        ASSERT_EQ(saved.size(), 12u);
        EXPECT_EQ(saved[2] + "|" + saved[10], lines[2] + "|" + lines[10]);
        EXPECT_TRUE(saved[11].ends_with(" -vl " + label)) << saved[11];
    }
    refused({"-if", "Job.dat", "-qu"});
    // A job saved with the disk's folder, which now lies on the root file
    // system while the job names the disk.
    writeFile(app + "/Job.dat", crlf(job({{2, "pathdestination =" + mountPoint + "/Week/Backup"},
                                          {10, "volumelabel =" + label}})));
    refused({"-if", "Job.dat", "-qu"});
    refused({"-ps", source, "-pd", mountPoint + "/Backup/Week", "-vf", "1"});
    EXPECT_TRUE(std::filesystem::is_empty(mountPoint));
}

}  // namespace
}  // namespace zv::test
