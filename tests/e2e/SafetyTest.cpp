#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <ctime>
#include <functional>
#include <sstream>

#include "e2e/E2eFixture.h"
#include "platform/PlatformTest.h"
#include "platform/linux/UniqueFd.h"

namespace zv::test {
namespace {

// What must never happen to a user's data, whatever the paths, disks and
// files do: the adversarial cases, each run as the real program.
class Safety : public EndToEnd {
  protected:
    void link(const std::string& target, const std::string& at) {
        ASSERT_EQ(symlink(target.c_str(), at.c_str()), 0) << at;
    }
    // The options of a synchronising checked run that deletes its orphans
    // and removes empty folders.
    static Lines syncing(const std::string& from, const std::string& to) {
        return {"-ps", from, "-pd", to, "-cd", "0", "-vf", "1", "-sy", "1", "-ke", "1"};
    }
    static bool anyPathHolds(const std::string& folder, const std::string& part) {
        for (const auto& [path, content] : files(folder))
            if (path.find(part) != std::string::npos) return true;
        return false;
    }
};

// One folder reached by many spellings (a link, "..", ".", a path relative to
// the working folder) is still that folder: a source inside the backup is
// never synchronised away, a backup inside the source never copied into
// itself, and with the two the same nothing runs.
TEST_F(Safety, AFolderIsTheSameFolderHoweverItIsSpelled) {
    const std::string bk = root / "bk", data = root / "data";
    link(bk, root / "toBk");
    link(data, root / "toData");
    const struct {
        std::string source, backup;
        int status;
    } cases[] = {
        // The source inside the backup.
        {root / "toBk/src", bk, 0},
        {bk + "/../bk/src", bk, 0},
        {"../bk/src", "../bk", 0},
        {"../bk/src/.", bk + "//", 0},
        // The backup inside the source.
        {data, root / "toData/inner", 0},
        {"../data", "../data/./inner", 0},
        {".", "./inner", 0},
        // One folder.
        {data, root / "toData", 1},
        {"../bk/src", bk + "/src/", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source + " -> " + c.backup);
        std::filesystem::remove_all(bk);
        std::filesystem::remove_all(data);
        writeFile(bk + "/src/a.txt", "a");
        writeFile(bk + "/src/Deep/b.txt", "b");
        writeFile(bk + "/old.txt", "orphan");
        writeFile(data + "/c.txt", "c");
        writeFile(data + "/More/d.txt", "d");
        workingFolder = c.source == "." ? data : work;
        std::filesystem::remove(app + "/Error.Log");
        EXPECT_EQ(run(syncing(c.source, c.backup)).exitStatus, c.status) << errorLog();
        EXPECT_EQ(readFile(bk + "/src/a.txt") + readFile(bk + "/src/Deep/b.txt"), "ab");
        EXPECT_EQ(readFile(data + "/c.txt") + readFile(data + "/More/d.txt"), "cd");
        EXPECT_FALSE(anyPathHolds(data, "/inner/inner/"));
        if (c.status == 0 && c.backup.find("inner") != std::string::npos) {
            EXPECT_EQ(readFile(data + "/inner/More/d.txt"), "d");
        }
    }
}

// The options and job files of adversarial findings, in a working folder
// holding src/, dst/ and bin/: the source never loses a file, the tree is
// never copied into itself.
TEST_F(Safety, FoundOptionsAndJobFilesLeaveTheSourceWhole) {
    const std::string scratch = root / "scratch";
    using namespace std::string_literals;
    const Lines findings[] = {{"-ps", ".", "-pd", "dst"},
                              {"-ps", "src", "-pd", "./src/bk"},
                              {"-ps", "./dst/sub", "-pd", "dst", "-sy", "1", "-vf", "1"},
                              {"-if", "Nested.dat", "-qu"},
                              {"-if", "Deleting.dat", "-qu"},
                              {"-if", "Nul.dat", "-qu"}};
    const auto jobWith = [&](const std::string& from, const std::string& to, const char* sync) {
        Lines lines = job();
        lines[1] = "pathsource =" + from;
        lines[2] = "pathdestination =" + to;
        lines[6] = std::string("syncactive =") + sync;
        return crlf(lines);
    };
    for (const Lines& arguments : findings) {
        SCOPED_TRACE(arguments[1]);
        std::filesystem::remove_all(scratch);
        for (const char* f : {"src/a.txt", "src/b/c.txt", "dst/sub/keep.txt", "dst/sub/x/y.txt"})
            writeFile(scratch + "/" + f, f);
        makeDirs(scratch + "/bin");
        writeFile(app + "/Nested.dat", jobWith("src", "./src/bk", "0"));
        writeFile(app + "/Deleting.dat", jobWith("./dst/sub", "dst", "1"));
        writeFile(app + "/Nul.dat", jobWith("src\0x"s, "dst", "0"));
        workingFolder = scratch;
        run(arguments);
        for (const char* f : {"src/a.txt", "src/b/c.txt", "dst/sub/keep.txt", "dst/sub/x/y.txt"})
            EXPECT_EQ(readFile(scratch + "/" + f), f) << f;
        EXPECT_LT(files(scratch).size(), 40u);
    }
}

// A volume labelled like a path does not take over absolute paths: the run
// goes to the folder named, and the other disk is left alone.
TEST_F(Safety, AnAbsolutePathIsNeverAVolumeName) {
    ScratchMount disk(root / "disk", ScratchMount::Image, "mkfs.ext4 -q -L /tmp");
    if (!disk.ok()) GTEST_SKIP() << disk.why();
    writeFile(backup + "/orphan.txt", "stays in its backup until the sync removes it");
    const ProgramOutcome outcome = run({"-ps", source, "-pd", backup, "-cd", "0", "-vf", "1"});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output << errorLog();
    EXPECT_EQ(readFile(backup + "/brief.txt"), "Beste Jan,");
    EXPECT_FALSE(anyPathHolds(disk.path(), "brief.txt"));
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
    ProgramOutcome outcome = run(syncing(deep, backup));
    EXPECT_EQ(outcome.exitStatus, 3) << errorLog();
    EXPECT_EQ(readFile(backup + relative + "/f.txt"), "x\n");
    EXPECT_NE(errorLog().find("Error 5: File name too long"), std::string::npos) << errorLog();

    ASSERT_EQ(std::system(("rm -rf " + quoted(root / "s") + " " + quoted(backup)).c_str()), 0);
    writeFile(backup + "/geheim/dagboek.txt", "lief dagboek");
    writeFile(source + "/geheim/dagboek.txt", "lief dagboek");
    if (!runAs("nobody")) GTEST_SKIP() << "cannot run as another user here";
    chmod((source + "/geheim").c_str(), 0);
    outcome = run(syncing(source, backup));
    EXPECT_EQ(outcome.exitStatus, 3) << errorLog();
    EXPECT_EQ(readFile(backup + "/geheim/dagboek.txt"), "lief dagboek");
    EXPECT_NE(errorLog().find(source + "/geheim"), std::string::npos) << errorLog();
}

// A file that failed is copied by the next run that can: the saved from-date
// stays before it.
TEST_F(Safety, AFailedFileIsCopiedByTheNextRun) {
    const struct {
        bool asNobody;
        std::function<void()> spoil, mend;
    } cases[] = {
        {false, [&] { makeDirs(backup + "/brief.txt/bezet"); },
         [&] { std::filesystem::remove_all(backup + "/brief.txt"); }},
        {true, [&] { chmod((source + "/brief.txt").c_str(), 0); },
         [&] { chmod((source + "/brief.txt").c_str(), 0644); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asNobody);
        if (c.asNobody && !runAs("nobody")) GTEST_SKIP() << "cannot run as another user here";
        Lines lines = job();  // checked, date filter on, no synchronisation
        writeFile(app + "/Job.dat", crlf(lines));
        std::filesystem::remove_all(backup);
        makeDirs(backup);
        if (c.asNobody) runAs("nobody");
        c.spoil();
        EXPECT_EQ(run({"-if", "Job.dat", "-qu"}).exitStatus, 3) << errorLog();
        c.mend();
        EXPECT_EQ(run({"-if", "Job.dat", "-qu"}).exitStatus, 0) << errorLog();
        EXPECT_EQ(readFile(backup + "/brief.txt"), "Beste Jan,");
        EXPECT_EQ(run({"-if", "Job.dat", "-qu"}).exitStatus, 0) << errorLog();
    }
}

// Refused before anything is written, with a log line and status 1.
TEST_F(Safety, RunsThatWouldHarmAreRefused) {
    makeDirs(root / "bin");
    const std::string nextYear = std::to_string(1900 + [] {
        const std::time_t now = std::time(nullptr);
        std::tm tm{};
        localtime_r(&now, &tm);
        return tm.tm_year;
    }() + 1);
    const std::pair<Lines, std::string> cases[] = {
        {{"-ps", source, "-pd", backup, "-dd", "1-1-" + nextYear, "-cd", "1"},
         "ligt in de toekomst"},
        {{"-ps", source, "-pd", backup, "-dd", "31-12-9999", "-cd", "1"}, "ligt in de toekomst"},
        {{"-ps", source, "-pd", source, "-ke", "1", "-sy", "1", "-vf", "1"},
         "bronmap en doelmap zijn dezelfde map"},
        {{"-ps", source, "-pd", backup, "-sy", "1", "-vf", "1", "-db", "2", "-pr", source},
         "prullenbak ligt in de bronmap"},
        {{"-ps", source, "-pd", backup, "-sy", "1", "-vf", "1", "-db", "2", "-pr",
          source + "/foto's"},
         "prullenbak ligt in de bronmap"},
        {{"-ps", source, "-pd", backup, "-sy", "1", "-vf", "1", "-db", "9", "-pr", root / "bin"},
         "Dustbinpath invalid"},
        {{"-ps", source, "-pd", root / "nergens/Backup", "-vf", "1"}, "Targetpath invalid"},
    };
    for (const auto& [arguments, reason] : cases) {
        SCOPED_TRACE(reason);
        const std::map<std::string, std::string> before = files(source);
        const Lines lines = refused(arguments);
        ASSERT_EQ(lines.size(), 1u) << ::testing::PrintToString(lines);
        EXPECT_NE(lines.front().find(reason), std::string::npos) << lines.front();
        EXPECT_EQ(files(source), before);
        EXPECT_FALSE(exists(root / "nergens"));
    }
    EXPECT_FALSE(exists(app + "/Init.dat"));
}

// A date centuries back means everything, also files dated before what the
// program can hold: never a date that wraps into the future.
TEST_F(Safety, AVeryOldFromDateCopiesEverything) {
    setTimes(source + "/brief.txt", -24'000'000'000, -24'000'000'000);  // the year 1209
    const ProgramOutcome outcome =
        run({"-ps", source, "-pd", backup, "-dd", "1-1-1000", "-cd", "1", "-vf", "0"});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output << errorLog();
    EXPECT_TRUE(copied());
}

// A second run of one job, or into one backup folder, while a first one
// holds it, is refused.
TEST_F(Safety, OneRunAtATime) {
    writeFile(app + "/Job.dat", crlf(job()));
    for (const std::string& held : {backup, app + "/Job.dat"}) {
        SCOPED_TRACE(held);
        UniqueFd fd(open(held.c_str(), O_RDONLY));
        ASSERT_EQ(flock(fd.get(), LOCK_EX), 0);
        const Lines lines = refused({"-if", "Job.dat", "-qu"});
        ASSERT_EQ(lines.size(), 1u) << ::testing::PrintToString(lines);
        EXPECT_EQ(lines.front(),
                  "DATE TIME Error: \"" + held + "\" is in gebruik door een andere run");
    }
    EXPECT_EQ(run({"-if", "Job.dat", "-qu"}).exitStatus, 0);
}

// roots given as links to folders are those folders, in every mode; a link
// to a folder inside the source is an entry like a file: it stays in the
// backup, run after run, and never lands in the dustbin.
TEST_F(Safety, LinksAreFoldersAsRootsAndEntriesInside) {
    link(source, root / "toSource");
    link(backup, root / "toBackup");
    link(source + "/diep", source + "/dirlink");
    const std::string bin = root / "bin";
    makeDirs(bin);
    for (const char* verify : {"0", "1", "1"}) {
        SCOPED_TRACE(verify);
        const ProgramOutcome outcome =
            run({"-ps", root / "toSource", "-pd", root / "toBackup", "-cd", "0", "-vf", verify,
                 "-sy", "1", "-db", "2", "-pr", bin});
        EXPECT_EQ(outcome.exitStatus, 0) << outcome.output << errorLog();
        EXPECT_EQ(readFile(backup + "/diep/in/de/boom.txt"), "blad");
        EXPECT_TRUE(std::filesystem::is_symlink(backup + "/dirlink"));
        EXPECT_TRUE(files(bin).empty());
        EXPECT_TRUE(std::filesystem::is_empty(bin));
    }
}

// The temporary file of a run that was killed is removed by the next run
// that finds it, never moved into the dustbin; what the dustbin gets lands
// inside it, below the source's real path, however the source was spelled.
TEST_F(Safety, DustbinPlacesAndLeftovers) {
    const std::string bin = root / "bin";
    link(bin, root / "toBin");
    makeDirs(bin);
    writeFile(backup + "/.zv-tmp-0123456789abcdef", "half a file");
    writeFile(backup + "/weg/oud.txt", "orphan");
    for (int round = 0; round < 2; ++round) {
        const ProgramOutcome outcome =
            run({"-ps", "../Mijn bestanden", "-pd", backup, "-cd", "0", "-vf", "1", "-sy", "1",
                 "-db", "2", "-pr", root / "toBin"});
        EXPECT_EQ(outcome.exitStatus, 0) << outcome.output << errorLog();
    }
    EXPECT_FALSE(exists(backup + "/.zv-tmp-0123456789abcdef"));
    EXPECT_EQ(files(bin),
              (std::map<std::string, std::string>{{source + "/weg/oud.txt", "orphan"}}));

    // A dustbin inside the backup, named through a link, never moves into itself.
    writeFile(backup + "/weer/oud.txt", "orphan");
    link(backup + "/Bin", root / "toInnerBin");
    makeDirs(backup + "/Bin");
    for (int round = 0; round < 2; ++round) {
        const ProgramOutcome outcome = run({"-ps", source, "-pd", backup, "-cd", "0", "-vf", "1",
                                            "-sy", "1", "-db", "2", "-pr", root / "toInnerBin"});
        EXPECT_EQ(outcome.exitStatus, 0) << outcome.output << errorLog();
    }
    EXPECT_EQ(readFile(backup + "/Bin" + source + "/weer/oud.txt"), "orphan");
    EXPECT_FALSE(anyPathHolds(backup + "/Bin", "/Bin/"));
}

// A backup reached through a folder link on another volume sends its orphans
// to that volume's trash; a backup at the top of a volume never takes the
// volume's trash folder for its own content.
TEST_F(Safety, TheTrashOfTheBackupVolume) {
    ScratchMount volume(root / "usb", ScratchMount::Tmpfs, "4m");
    if (!volume.ok()) GTEST_SKIP() << volume.why();
    link(volume.path(), root / "toUsb");
    const std::string trash = volume.path() + "/.Trash-" + std::to_string(geteuid());
    for (const std::string& to : {std::string(root / "toUsb/Backup"), volume.path()}) {
        SCOPED_TRACE(to);
        std::filesystem::remove_all(trash);
        std::filesystem::remove_all(volume.path() + "/Backup");
        for (int round = 0; round < 3; ++round) {
            writeFile(to + "/weg" + std::to_string(round) + ".txt", "orphan");
            const ProgramOutcome outcome =
                run({"-ps", source, "-pd", to, "-cd", "0", "-vf", "1", "-sy", "1", "-db", "1",
                     "-pr", root / "bin", "-ke", "1"});
            EXPECT_EQ(outcome.exitStatus, 0) << outcome.output << errorLog();
        }
        EXPECT_EQ(entriesIn(trash + "/files"), 3) << ::testing::PrintToString(files(trash));
        EXPECT_EQ(entriesIn(trash + "/info"), 3);
    }
    // Nor is a source at the top of a volume ever backed up with its trash.
    const ProgramOutcome outcome =
        run({"-ps", volume.path(), "-pd", root / "copy", "-cd", "0", "-vf", "1"});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output << errorLog();
    EXPECT_TRUE(exists(root / "copy/brief.txt"));
    EXPECT_FALSE(exists(root / "copy/.Trash-" + std::to_string(geteuid())));
}

// A backup folder that holds the home trash (a backup into the home folder)
// never takes the trash for its own content.
TEST_F(Safety, TheHomeTrashInsideTheBackup) {
    for (int round = 0; round < 3; ++round) {
        writeFile(home + "/weg" + std::to_string(round) + ".txt", "orphan");
        const ProgramOutcome outcome = run({"-ps", source, "-pd", home, "-cd", "0", "-vf", "1",
                                            "-sy", "1", "-db", "1", "-pr", home, "-ke", "1"});
        EXPECT_EQ(outcome.exitStatus, 0) << outcome.output << errorLog();
    }
    EXPECT_EQ(entriesIn(home + "/.local/share/Trash/files"), 3);
    EXPECT_EQ(entriesIn(home + "/.local/share/Trash/info"), 3);
}

// The backup disk is not plugged in: a job that names it by its volume
// keeps that name when saved, and a later run neither writes into the
// empty folder it was mounted on nor makes that path on the system disk.
TEST_F(Safety, AMissingDiskIsNeverReplacedByTheSystemDisk) {
    const std::string label = "ZS" + std::to_string(getpid() % 100000);
    std::string mountPoint;
    {
        ScratchMount disk(root / label, ScratchMount::Image, "mkfs.ext4 -q -L " + label);
        if (!disk.ok()) GTEST_SKIP() << disk.why();
        mountPoint = disk.path();
        const ProgramOutcome outcome =
            run({"-ps", source, "-pd", label + "/Backup", "-cd", "0", "-vf", "0"});
        EXPECT_EQ(outcome.exitStatus, 0) << outcome.output << errorLog();
        EXPECT_NE(readFile(app + "/Init.dat").find("\r\npathdestination =" + label + "/Backup\r\n"),
                  std::string::npos);
    }
    refused({"-if", "Init.dat", "-qu"});
    // A job saved with the disk's folder, which now lies on the root file
    // system while the job names the disk.
    Lines lines = job();
    lines[2] = "pathdestination =" + mountPoint + "/Backup";
    lines[10] += label;
    writeFile(app + "/Job.dat", crlf(lines));
    refused({"-if", "Job.dat", "-qu"});
    refused({"-ps", source, "-pd", mountPoint + "/Backup/Week", "-vf", "1"});
    EXPECT_TRUE(std::filesystem::is_empty(mountPoint));
}

}  // namespace
}  // namespace zv::test

namespace zv::test {
namespace {

// As the system sees a run: a replaced backup file's data is flushed before
// its temporary file takes the old name, a new file is not flushed by
// itself, and the backup's file system is flushed before the job file is
// saved with the next from-date.
TEST_F(EndToEnd, FlushedBeforeReplacedAndBeforeDone) {
    if (std::system("command -v strace >/dev/null 2>&1") != 0) GTEST_SKIP() << "no strace";
    const std::string trace = root / "trace";
    writeFile(backup + "/brief.txt", "an older letter");
    // (the leak checker of a sanitizer build cannot work under a tracer)
    launcher = {"env",
                "ASAN_OPTIONS=detect_leaks=0",
                "strace",
                "-f",
                "-qq",
                "-o",
                trace,
                "-e",
                "trace=fdatasync,fsync,syncfs,rename,renameat,renameat2"};
    const ProgramOutcome outcome = run({"-ps", source, "-pd", backup, "-cd", "0", "-vf", "1"});
    ASSERT_EQ(outcome.exitStatus, 0) << outcome.output;
    ASSERT_EQ(readFile(backup + "/brief.txt"), "Beste Jan,");
    // The calls in order, each as its name and, for a rename, its new name.
    std::vector<std::string> calls;
    const std::regex call("(\\w+)\\((.*)\\) += 0$");
    std::istringstream lines(readFile(trace));
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (!std::regex_search(line, m, call)) continue;
        const std::string arguments = m[2];
        const std::size_t last = arguments.rfind(", \"");
        calls.push_back(m[1].str().starts_with("rename") && last != std::string::npos
                            ? "rename " + arguments.substr(last + 3, arguments.size() - last - 4)
                            : m[1].str());
    }
    // (strace writes the backup folder's non-ASCII letters as octal escapes)
    const auto at = [&](const std::string& what) {
        return std::find_if(calls.begin(), calls.end(),
                            [&](const std::string& c) { return c.ends_with(what); }) -
               calls.begin();
    };
    const long replaced = at("/brief.txt");
    ASSERT_LT(replaced, static_cast<long>(calls.size())) << ::testing::PrintToString(calls);
    ASSERT_GT(replaced, 0) << ::testing::PrintToString(calls);
    EXPECT_EQ(calls[replaced - 1], "fdatasync");
    const long added = at("/diep/in/de/boom.txt");
    ASSERT_LT(added, static_cast<long>(calls.size()));
    EXPECT_TRUE(added == 0 || calls[added - 1] != "fdatasync");
    const long flushed = at("syncfs");
    EXPECT_GT(flushed, std::max(replaced, added));
    EXPECT_LT(flushed, at("/app/Init.dat"));
}

}  // namespace
}  // namespace zv::test
