#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "e2e/E2eFixture.h"
#include "platform/Clock.h"

namespace zv::test {
namespace {

class UnattendedRun : public EndToEnd {
  protected:
    std::string source, backup;
    void SetUp() override {
        EndToEnd::SetUp();
        source = at("Mijn bestanden");
        backup = at("Reservekopie");
        writeFile(source + "/brief.txt", "Beste Jan,");
        writeFile(source + "/foto's/zomer één.jpg", std::string(100000, 'j'));
        writeFile(source + "/diep/in/de/boom.txt", "blad");
        makeDirs(backup);
    }
    std::vector<std::string> jobLines(const std::string& date = "19-12-1960 12:58:58",
                                      const std::string& check = "1",
                                      const std::string& verify = "1") const {
        return {"version =Zandvast v." + appVersion(),
                "pathsource =" + source,
                "pathdestination =" + backup,
                "pathrecycler =",
                "dedato =" + date,
                "checkdate =" + check,
                "syncactive =0",
                "doverify =" + verify,
                "dustbin =0",
                "killempty =0",
                "volumelabel =",
                "-ps " + source + " -pd " + backup};
    }
    void writeJob(const std::vector<std::string>& lines, const std::string& name = "Job.dat") {
        writeFile(appFile(name), crlf(lines));
    }
    // Line 5 of a saved job: a from-date inside [before, after].
    std::string savedFromDate(const std::string& text, DateTime before, DateTime after) {
        const auto lines = splitCrLf(text);
        EXPECT_EQ(lines.size(), 12u);
        if (lines.size() < 5 || lines[4].rfind("dedato =", 0) != 0) return {};
        const std::string date = lines[4].substr(8);
        const auto when = parseDateTime(date);
        EXPECT_TRUE(when.has_value()) << date;
        if (when) {
            EXPECT_GE(*when, before - std::chrono::seconds(1));
            EXPECT_LE(*when, after);
        }
        return date;
    }
    static DateTime now() { return SystemClock().now(); }
};

TEST_F(UnattendedRun, QuietJobFileRunCopiesTheTreeAndSavesTheJob) {
    writeJob(jobLines());
    const DateTime before = now();
    const ProgramOutcome outcome = run({"-if", "Job.dat", "-qu"});
    const DateTime after = now();
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_EQ(filesBelow(backup), filesBelow(source));

    const std::string saved = readFile(appFile("Job.dat"));
    const std::string date = savedFromDate(saved, before, after);
    const std::string label = volumeLabelOf(backup);
    EXPECT_EQ(
        saved,
        crlf({"version =Zandvast v." + appVersion(), "pathsource =" + source,
              "pathdestination =" + backup, "pathrecycler =", "dedato =" + date, "checkdate =1",
              "syncactive =0", "doverify =1", "dustbin =0", "killempty =0", "volumelabel =" + label,
              "-ps " + source + " -pd " + backup + " -dd " + date + " -cd 1 -sy 0 -vf 1 -ke 0" +
                  (label.empty() ? "" : " -vl " + label)}));
    EXPECT_EQ(errorLog(), "");
    EXPECT_TRUE(exists(appFile("Error.Log")));
    EXPECT_FALSE(exists(appFile("Init.dat")));
}

TEST_F(UnattendedRun, JobFileWithoutRunModeRunsNothing) {
    writeJob(jobLines());
    const ProgramOutcome outcome = run({"-if", "Job.dat"});
    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
    EXPECT_TRUE(filesBelow(backup).empty());
    EXPECT_TRUE(exists(appFile("Error.Log")));
    EXPECT_EQ(readFile(appFile("Job.dat")), crlf(jobLines()));
}

TEST_F(UnattendedRun, JobFileWithShownWindowRuns) {
    writeJob(jobLines());
    const ProgramOutcome outcome = run({"-if", "Job.dat", "-x"});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_EQ(filesBelow(backup), filesBelow(source));
}

TEST_F(UnattendedRun, MissingJobFileIsLogged) {
    const ProgramOutcome outcome = run({"-if", "Weg.dat", "-qu"});
    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
    const auto lines = splitCrLf(errorLog());
    ASSERT_EQ(lines.size(), 1u) << errorLog();
    EXPECT_TRUE(StartsWithDateAndTime(lines[0])) << lines[0];
    EXPECT_NE(lines[0].find(" Error: \"" + appFile("Weg.dat") + "\" - initfile not found"),
              std::string::npos)
        << lines[0];
}

TEST_F(UnattendedRun, JobFileInTheWorkingFolder) {
    writeFile(work + "/Elders.dat", crlf(jobLines()));
    const ProgramOutcome outcome = run({"-if", "Elders.dat", "-qu"});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_EQ(filesBelow(backup), filesBelow(source));
    EXPECT_EQ(readFile(work + "/Elders.dat"), crlf(jobLines()));  // saved elsewhere:
    EXPECT_TRUE(exists(appFile("Elders.dat")));                   // in the application folder
}

TEST_F(UnattendedRun, FromASchedulerWithoutAnyDisplay) {
    writeJob(jobLines());
    const ProgramOutcome outcome = run({"-if", "Job.dat", "-qu"}, /*withPlatform=*/false);
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_EQ(filesBelow(backup), filesBelow(source));
}

TEST_F(UnattendedRun, OptionsSynchroniseAndSaveTheJob) {
    writeFile(backup + "/oud.txt", "weg ermee");
    makeDirs(backup + "/lege map");
    const DateTime before = now();
    const ProgramOutcome outcome =
        run({"-ps", source, "-pd", backup, "-cd", "0", "-sy", "1", "-vf", "1", "-ke", "1"});
    const DateTime after = now();
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
    EXPECT_EQ(filesBelow(backup), filesBelow(source));
    EXPECT_FALSE(exists(backup + "/lege map"));

    const std::string saved = readFile(appFile("Init.dat"));
    const std::string date = savedFromDate(saved, before, after);
    const std::string label = volumeLabelOf(backup);
    EXPECT_EQ(
        saved,
        crlf({"version =Zandvast v." + appVersion(), "pathsource =" + source,
              "pathdestination =" + backup, "pathrecycler =", "dedato =" + date, "checkdate =0",
              "syncactive =1", "doverify =1", "dustbin =0", "killempty =1", "volumelabel =" + label,
              "-ps " + source + " -pd " + backup + " -dd " + date + " -cd 0 -sy 1 -vf 1 -ke 1" +
                  (label.empty() ? "" : " -vl " + label)}));
}

TEST_F(UnattendedRun, RefusedOptionsAreLogged) {
    const ProgramOutcome outcome = run({"-ps", source, "-vf", "1"});
    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
    const auto lines = splitCrLf(errorLog());
    ASSERT_EQ(lines.size(), 1u) << errorLog();
    EXPECT_TRUE(StartsWithTime(lines[0]));
    EXPECT_EQ(lines[0].substr(8), " Targetpath invalid");
    EXPECT_FALSE(exists(appFile("Init.dat")));
}

TEST_F(UnattendedRun, WrongBackupVolumeIsRefused) {
    const std::string label = volumeLabelOf(backup);
    const ProgramOutcome outcome = run({"-ps", source, "-pd", backup, "-vl", "ANDERE" + label});
    EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
    const auto lines = splitCrLf(errorLog());
    ASSERT_EQ(lines.size(), 2u) << errorLog();
    EXPECT_TRUE(StartsWithDateAndTime(lines[0]));
    EXPECT_NE(lines[0].find(" Error: ANDERE" + label + " <> " + label), std::string::npos);
    EXPECT_EQ(lines[1], "Volumelabels don't match");
    EXPECT_TRUE(filesBelow(backup).empty());
}

TEST_F(UnattendedRun, NextRunTakesOnlyWhatChangedSinceTheLastRunStarted) {
    writeFile(source + "/oud.txt", "van lang geleden");
    setTimes(source + "/oud.txt", 631152000, 631152000);  // 1990
    // The saved from-date has whole seconds: let the second of the files pass.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    writeJob(jobLines("19-12-1960 12:58:58", "1", "0"));  // quick mode, date filter on
    ASSERT_EQ(run({"-if", "Job.dat", "-qu"}).exitStatus, 0);
    ASSERT_EQ(filesBelow(backup), filesBelow(source));

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
    EXPECT_EQ(version.output, "Zandvast v." + appVersion() + "\n");
    const ProgramOutcome help = run({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.output.find("-if"), std::string::npos);
}

}  // namespace
}  // namespace zv::test
