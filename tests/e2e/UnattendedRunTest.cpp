#include <unistd.h>

#include <thread>

#include "e2e/E2eFixture.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/PlatformTest.h"

namespace zv::test {
namespace {

using UnattendedRun = EndToEnd;

// After a run the job is saved byte for byte with CR LF, with the moment the
// run started as the next from-date: with the end time, a file changed during
// the run after the walk passed it would never be copied.
TEST_F(UnattendedRun, ARunSavesTheJobWithItsStartAsTheNextFromDate) {
    const std::string label = labelOf(backup), vl = label.empty() ? "" : " -vl " + label;
    const auto runAndCheck = [&](const std::vector<std::string>& arguments, const std::string& file,
                                 const std::string& cd, const std::string& sy,
                                 const std::string& ke) {
        const DateTime before = SystemClock().now();
        const ProgramOutcome outcome = run(arguments);
        const DateTime after = SystemClock().now();
        EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
        EXPECT_TRUE(copied());
        const std::string text = readFile(app + "/" + file);
        const std::vector<std::string> lines = split(text);
        ASSERT_EQ(lines.size(), 12u) << text;
        const std::string date = lines[4].substr(lines[4].find('=') + 1);
        const std::optional<DateTime> when = parseDateTime(date);
        ASSERT_TRUE(when.has_value()) << date;
        EXPECT_GE(*when, before - std::chrono::seconds(1));
        EXPECT_LE(*when, after);
        std::vector<std::string> saved = job(date);
        saved[5] = "checkdate =" + cd;
        saved[6] = "syncactive =" + sy;
        saved[9] = "killempty =" + ke;
        saved[10] += label;
        saved[11] += " -dd " + date + " -cd " + cd + " -sy " + sy + " -vf 1 -ke " + ke + vl;
        EXPECT_EQ(text, crlf(saved));
    };
    writeFile(app + "/Job.dat", crlf(job()));
    runAndCheck({"-if", "Job.dat", "-qu"}, "Job.dat", "1", "0", "0");
    EXPECT_TRUE(exists(app + "/Error.Log"));
    EXPECT_EQ(errorLog(), "");
    EXPECT_FALSE(exists(app + "/Init.dat"));
    writeFile(backup + "/oud.txt", "weg ermee");
    makeDirs(backup + "/lege map");
    runAndCheck({"-ps", source, "-pd", backup, "-cd", "0", "-sy", "1", "-vf", "1", "-ke", "1"},
                "Init.dat", "0", "1", "1");
    EXPECT_FALSE(exists(backup + "/lege map"));
}

// Quiet, with the window, from a scheduler without any display or runtime
// folder, and a job file in the working folder (saved in the application
// folder). Nothing reaches standard error: cron would mail it every night.
TEST_F(UnattendedRun, EveryUnattendedStartRunsAndSaysNothing) {
    const Lines quiet{"-if", "Job.dat", "-qu"}, shown{"-if", "Job.dat", "-x"};
    Start cron;
    cron.withPlatform = false;
    cron.withRuntimeFolder = false;
    const std::vector<std::pair<Lines, Start>> starts{
        {quiet, {}},
        {shown, {}},
        {quiet, cron},
        {shown, cron},
        {{"-if", "Elders.dat", "-qu"}, {}},
        {{"-ps", source, "-pd", backup, "-cd", "0", "-vf", "1"}, cron}};
    for (const auto& [arguments, how] : starts) {
        SCOPED_TRACE(arguments[1] + " " + arguments[2] + (how.withPlatform ? "" : " from cron"));
        std::filesystem::remove_all(backup);
        makeDirs(backup);
        writeFile(app + "/Job.dat", crlf(job()));
        writeFile(work + "/Elders.dat", crlf(job()));
        const ProgramOutcome outcome = start(arguments, how);
        EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
        EXPECT_EQ(outcome.output, "");
        EXPECT_TRUE(copied());
    }
    EXPECT_EQ(readFile(work + "/Elders.dat"), crlf(job()));
    EXPECT_TRUE(exists(app + "/Elders.dat"));
}

// A crontab line without a job: there is nobody to show the window to, so
// the program says why on standard error and ends at once.
TEST_F(UnattendedRun, AWindowWithoutADisplayIsNotStarted) {
    Start cron;
    cron.withPlatform = false;
    cron.withRuntimeFolder = false;
    const ProgramOutcome outcome = start({}, cron);
    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
    EXPECT_EQ(outcome.output, outcome.errors);
    EXPECT_NE(outcome.errors.find("geen beeldscherm gevonden"), std::string::npos)
        << outcome.errors;
    EXPECT_FALSE(exists(app + "/Init.dat"));
}

TEST_F(UnattendedRun, RefusalsAreLoggedAndRunNothing) {
    writeFile(app + "/Job.dat", crlf(job()));
    refused({"-if", "Job.dat"});  // no run-mode piece
    EXPECT_EQ(readFile(app + "/Job.dat"), crlf(job()));
    EXPECT_TRUE(exists(app + "/Error.Log"));
    EXPECT_EQ(refused({"-if", "Weg.dat", "-qu"}),
              Lines{"DATE TIME Error: \"" + app + "/Weg.dat\" - initfile not found"});
    EXPECT_EQ(refused({"-ps", source, "-vf", "1"}), Lines{"TIME Targetpath invalid"});
    const std::string label = labelOf(backup);
    EXPECT_EQ(
        refused({"-ps", source, "-pd", backup, "-vl", "ANDERE" + label}),
        (Lines{"DATE TIME Error: ANDERE" + label + " <> " + label, "Volumelabels don't match"}));
    EXPECT_FALSE(exists(app + "/Init.dat"));
}

// With the end time as the next from-date, a file changed during the run
// after the walk passed it would never be copied.
TEST_F(UnattendedRun, NextRunTakesOnlyWhatChangedSinceTheLastRunStarted) {
    writeFile(source + "/oud.txt", "van lang geleden");
    setTimes(source + "/oud.txt", 631152000, 631152000);  // 1990
    // The saved from-date has whole seconds: let the second of the files pass.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    writeFile(app + "/Job.dat", crlf(job("19-12-1960 12:58:58", "0")));  // quick mode
    ASSERT_EQ(run({"-if", "Job.dat", "-qu"}).exitStatus, 0);
    ASSERT_TRUE(copied());
    ASSERT_EQ(unlink((backup + "/oud.txt").c_str()), 0);
    writeFile(source + "/nieuw.txt", "van vandaag");
    ASSERT_EQ(run({"-if", "Job.dat", "-qu"}).exitStatus, 0);
    EXPECT_TRUE(exists(backup + "/nieuw.txt"));
    EXPECT_FALSE(exists(backup + "/oud.txt"));  // older than the last run's start
}

TEST_F(UnattendedRun, FilesThatCannotBeCopiedGiveStatusThree) {
    makeDirs(backup + "/brief.txt/bezet");  // a folder where the file belongs
    const ProgramOutcome outcome = run({"-ps", source, "-pd", backup, "-cd", "0", "-vf", "1"});
    EXPECT_EQ(outcome.exitStatus, 3) << outcome.output << errorLog();
    EXPECT_TRUE(exists(backup + "/brief.txt/bezet"));
    EXPECT_EQ(readFile(backup + "/diep/in/de/boom.txt"), "blad");
}

TEST_F(UnattendedRun, VersionAndHelpArePrinted) {
    const ProgramOutcome version = run({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.output, "Zandvast v." + EndToEnd::version() + "\n");
    const ProgramOutcome help = run({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.output.find("-if"), std::string::npos);
}

// A backup disk known by its volume name: a labelled ext4 image, loop-mounted
// where the machine allows it.
TEST_F(UnattendedRun, BackupNamedByTheVolumeNameOfALabelledDisk) {
    const std::string label = "ZV" + std::to_string(getpid() % 100000);
    ScratchMount disk(root / label, ScratchMount::Image, "mkfs.ext4 -q -L " + label);
    if (!disk.ok()) GTEST_SKIP() << disk.why();
    // A volume name matches only as a whole path component.
    EXPECT_EQ(refused({"-ps", source, "-pd", label + "9/Backup", "-cd", "0", "-vf", "1"}),
              Lines{"TIME Targetpath invalid"});
    EXPECT_FALSE(exists(disk.path() + "9"));
    EXPECT_FALSE(exists(disk.path() + "/Backup"));

    ProgramOutcome outcome =
        run({"-ps", source, "-pd", label + "/Backup", "-vl", label, "-cd", "0", "-vf", "1"});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output << errorLog();
    EXPECT_EQ(files(disk.path() + "/Backup"), files(source));
    const std::string saved = readFile(app + "/Init.dat");
    EXPECT_NE(saved.find("\r\npathdestination =" + label + "/Backup\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\r\nvolumelabel =" + label + "\r\n"), std::string::npos);
    EXPECT_NE(saved.find(" -vl " + label + "\r\n"), std::string::npos);

    // The backup folder is made, but never the folders above it.
    Lines lines = job();
    lines[2] = "pathdestination =" + label + "/Week/Backup";
    lines[10] += label;
    writeFile(app + "/Job.dat", crlf(lines));
    outcome = run({"-if", "Job.dat", "-qu", "cf", "1"});
    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output << errorLog();
    EXPECT_FALSE(exists(disk.path() + "/Week"));
    makeDirs(disk.path() + "/Week");
    outcome = run({"-if", "Job.dat", "-qu", "cf", "1"});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output << errorLog();
    EXPECT_EQ(files(disk.path() + "/Week/Backup"), files(source));
}

// Synchronising into a dustbin folder: each orphan lands below the dustbin
// under the source's own path, the rest of the backup stays.
TEST_F(UnattendedRun, OrphansMoveIntoTheDustbinFolderUnderTheSourcePath) {
    const std::string bin = root / "Prullenbak";
    makeDirs(bin);
    writeFile(backup + "/weg.txt", "oud");
    writeFile(backup + "/diep/in/vergeten.txt", "ook oud");
    const ProgramOutcome outcome = run(
        {"-ps", source, "-pd", backup, "-cd", "0", "-sy", "1", "-vf", "1", "-db", "2", "-pr", bin});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_EQ(readFile(bin + source + "/weg.txt"), "oud");
    EXPECT_EQ(readFile(bin + source + "/diep/in/vergeten.txt"), "ook oud");
    EXPECT_FALSE(exists(backup + "/weg.txt"));
    EXPECT_FALSE(exists(backup + "/diep/in/vergeten.txt"));
    EXPECT_EQ(readFile(backup + "/diep/in/de/boom.txt"), "blad");
    EXPECT_EQ(errorLog(), "");
}

}  // namespace
}  // namespace zv::test
