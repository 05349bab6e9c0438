#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ConfigFixture.h"
#include "support/FaultInjectingFileSystem.h"

namespace zv::test {
namespace {

class Startup : public ConfigTest {
  protected:
    std::string source, backup;
    void SetUp() override {
        ConfigTest::SetUp();
        source = at("bron");
        backup = at("backup");
        makeDirs(source);
        makeDirs(backup);
        writeFile(source + "/a.txt", "a");
    }
    void start(const std::string& commandLine) {
        w().svc.env.commandLine = commandLine;
        w().Form_Load();
    }
    std::vector<std::string> job() const { return jobLines(source, backup); }
    bool ran() { return rig.fs.fileExists(backup + "/a.txt"); }
    bool errorLogExists() { return rig.fs.fileExists(app() + "/Error.Log"); }
    std::string volumeQuestion(const std::string& now, const std::string& was) const {
        return "HUIDIG backupvolume:  " + now + "\r\nWas:  " + was + "\r\n\r\nDOORGAAN ?";
    }
};

TEST_F(Startup, InteractiveWithoutJobFileShowsTheDefaultJob) {
    start("");
    EXPECT_FALSE(w().ui.closed);
    EXPECT_TRUE(w().ui.visible);
    EXPECT_FALSE(w().ui.cmdGo.enabled);
    EXPECT_EQ(w().InitFileName, "Init.dat");
    EXPECT_EQ(w().ui.Text1[0].text, app());
    EXPECT_EQ(w().ui.Check1.value, 1);
    EXPECT_FALSE(w().NoDateCheck);
    EXPECT_EQ(w().ui.text2.foreColour, kSysWindowText);
    EXPECT_FALSE(w().ui.FolderTreeview1.visible);
    EXPECT_FALSE(w().ui.ProgressBar1.visible);
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_FALSE(ran());
    EXPECT_EQ(w().ExitStatus(), 0);
    EXPECT_EQ(w().AppVersionText, "Zandvast v." + appVersion());
}

TEST_F(Startup, InteractiveWithJobFileWaitsForTheUser) {
    writeJob(job());
    start("");
    EXPECT_FALSE(w().ui.closed);
    EXPECT_EQ(w().SourcePath, source);
    EXPECT_FALSE(w().AutoRun);
    EXPECT_FALSE(ran());
}

TEST_F(Startup, InteractiveWithUnusableJobFileCloses) {
    auto lines = job();
    lines[2] = "pathdestination =NODISK/Backup";
    writeJob(lines);
    start("");
    EXPECT_TRUE(w().ui.closed);
    EXPECT_NE(errorLog().find("NODISK/Backup - kan pad niet maken\r\n"), std::string::npos);
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_EQ(w().ExitStatus(), 1);
}

TEST_F(Startup, ChangedBackupVolumeIsAskedAndNoCloses) {
    auto lines = job();
    lines[10] = "volumelabel =DATA1";
    writeJob(lines);
    lfs.label(backup, "DATA2");
    rig.dialogs.script(MessageAnswer::No);
    start("");
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, volumeQuestion("DATA2", "DATA1"));
    EXPECT_EQ(rig.dialogs.shown[0].style, MessageStyle::YesNo);
    EXPECT_TRUE(w().ui.closed);
    EXPECT_FALSE(ran());
}

TEST_F(Startup, ChangedBackupVolumeAnsweredYesKeepsTheWindow) {
    auto lines = job();
    lines[10] = "volumelabel =DATA1";
    writeJob(lines);
    lfs.label(backup, "DATA2");
    rig.dialogs.script(MessageAnswer::Yes);
    start("");
    EXPECT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_FALSE(w().ui.closed);
    EXPECT_EQ(w().SourcePath, source);
}

TEST_F(Startup, SameVolumeIsNotAsked) {
    auto lines = job();
    lines[10] = "volumelabel =DATA1";
    writeJob(lines);
    lfs.label(backup, "DATA1");
    start("");
    EXPECT_TRUE(rig.dialogs.shown.empty());
}

TEST_F(Startup, VolumeNamesDifferingInCaseAreAsked) {
    auto lines = job();
    lines[10] = "volumelabel =DATA1";
    writeJob(lines);
    lfs.label(backup, "data1");
    start("");
    EXPECT_EQ(rig.dialogs.shown.size(), 1u);
}

TEST_F(Startup, NoBackupFolderNoQuestion) {
    auto lines = job();
    lines.resize(2);  // no backup line: no backup folder
    writeJob(lines);
    lfs.label(source, "DATA2");
    w().VolumeLabelStored = "DATA1";
    start("");
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_FALSE(w().ui.closed);
}

TEST_F(Startup, JobFileWithoutRunModeClosesAtOnce) {
    writeJob(job(), "Job.dat");
    start("-if Job.dat");
    EXPECT_TRUE(w().ui.closed);
    EXPECT_TRUE(errorLogExists());
    EXPECT_EQ(w().SourcePath, "");  // nothing read
    EXPECT_FALSE(ran());
    EXPECT_EQ(w().ExitStatus(), 1);
}

TEST_F(Startup, QuietJobFileRunHidesTheWindowRunsAndCloses) {
    writeJob(job(), "Job.dat");
    start("-if Job.dat -qu");
    EXPECT_EQ(w().CmdToken1, "-if Job.dat");
    EXPECT_EQ(w().CmdToken2, "qu");
    EXPECT_TRUE(ran());
    EXPECT_TRUE(w().ui.closed);
    EXPECT_EQ(w().ExitStatus(), 0);
    // The job was saved back with the run's start as the from-date.
    const std::string saved = readFile(app() + "/Job.dat");
    EXPECT_NE(saved.find("\r\ndedato =" + formatDateTime(w().RunStartTime) + "\r\n"),
              std::string::npos);
}

TEST_F(Startup, JobFileRunWithOtherRunModeShowsTheWindow) {
    writeJob(job(), "Job.dat");
    w().ui.visible = false;
    bool shownDuringRun = false;
    rig.pump.hookAt = 1;
    rig.pump.hook = [&] { shownDuringRun = w().ui.visible; };
    start("-if Job.dat -x");
    EXPECT_TRUE(shownDuringRun);
    EXPECT_TRUE(ran());
    EXPECT_TRUE(w().ui.closed);
}

TEST_F(Startup, OnlyThePieceAfterTheJobFileIsTheRunMode) {
    auto lines = job();
    lines[10] = "volumelabel =DATA1";
    writeJob(lines, "Job.dat");
    lfs.label(backup, "DATA2");
    start("-if Job.dat -qu -cf 1");
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_TRUE(ran());
}

TEST_F(Startup, ConfirmFlagInTheRunModePieceAsksAndNoRefuses) {
    auto lines = job();
    lines[10] = "volumelabel =DATA1";
    writeJob(lines, "Job.dat");
    lfs.label(backup, "DATA2");
    start("-if Job.dat -qu cf 1");
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);  // answered No
    EXPECT_EQ(rig.dialogs.shown[0].text, volumeQuestion("DATA2", "DATA1"));
    EXPECT_FALSE(ran());
    EXPECT_TRUE(w().ui.closed);
    EXPECT_EQ(w().ExitStatus(), 1);
    EXPECT_EQ(readFile(app() + "/Job.dat"), crlf(lines));  // not saved
}

TEST_F(Startup, JobFilePieceWithoutNameClosesWithoutRun) {
    writeJob(job());
    start("-if -qu");
    EXPECT_TRUE(w().AutoRun);
    EXPECT_FALSE(w().ui.visible);
    EXPECT_TRUE(w().ui.closed);
    EXPECT_FALSE(ran());
    EXPECT_NE(errorLog().find(" - initfile not found\r\n"), std::string::npos);
    EXPECT_EQ(w().ExitStatus(), 1);
}

TEST_F(Startup, OtherVersionClosesAnUnattendedStartWithoutRun) {
    auto lines = job();
    lines[0] = "version =Zandvast v.0.0.1";
    writeJob(lines, "Job.dat");
    start("-if Job.dat -qu");
    EXPECT_TRUE(w().ui.closed);
    EXPECT_FALSE(ran());
    EXPECT_NE(errorLog().find("komen niet overeen."), std::string::npos);
    EXPECT_EQ(w().ExitStatus(), 1);
}

TEST_F(Startup, OneOptionAloneIsTheInteractiveForm) {
    writeJob(job());
    start("-ps " + source);
    EXPECT_FALSE(w().ui.closed);
    EXPECT_EQ(w().SourcePath, source);  // from Init.dat
    EXPECT_FALSE(ran());
}

TEST_F(Startup, OptionWithoutValueLeavesAnEmptyInteractiveWindow) {
    writeJob(job());
    start("-ps " + source + " -pr -pd " + backup);
    EXPECT_FALSE(w().ui.closed);
    EXPECT_EQ(w().SourcePath, "");  // no job file was read either
    EXPECT_FALSE(ran());
}

TEST_F(Startup, OptionsRunAndClose) {
    start("-ps " + source + " -pd " + backup + " -cd 0 -vf 1");
    EXPECT_TRUE(ran());
    EXPECT_TRUE(w().ui.closed);
    EXPECT_EQ(w().ExitStatus(), 0);
    EXPECT_TRUE(rig.fs.fileExists(app() + "/Init.dat"));  // the job is saved
}

TEST_F(Startup, RefusedOptionsCloseAndWriteTheLog) {
    start("-ps " + source + " -vf 1");
    EXPECT_TRUE(w().ui.closed);
    EXPECT_EQ(errorLog(), time() + " Targetpath invalid\r\n");
    EXPECT_EQ(w().ExitStatus(), 1);
}

TEST_F(Startup, RunWithFailedFilesEndsWithStatusThree) {
    FaultInjectingFileSystem faulty(lfs);
    faulty.failOn(FsOp::CopyFile, "a.txt", kErrAccessDenied);
    rig.rebuildWindow(faulty);
    writeFile(source + "/b.txt", "b");
    start("-ps " + source + " -pd " + backup + " -cd 0 -vf 1");
    EXPECT_TRUE(rig.fs.fileExists(backup + "/b.txt"));
    EXPECT_FALSE(ran());
    EXPECT_EQ(w().ExitStatus(), 3);
}

TEST_F(Startup, BrokenOffRunEndsWithStatusTwo) {
    writeJob(job(), "Job.dat");
    rig.pump.hookAt = 1;
    rig.pump.hook = [&] { w().cmdExit_Click(); };
    start("-if Job.dat -qu");
    EXPECT_TRUE(w().ui.closed);
    EXPECT_EQ(w().ExitStatus(), 2);
    EXPECT_EQ(readFile(app() + "/Job.dat"), crlf(job()));  // not saved
    EXPECT_NE(errorLog().find("   -  user break\r\n"), std::string::npos);
}

TEST(ExitStatus, Outcomes) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    EXPECT_EQ(w.ExitStatus(), 0);  // interactive, closed by the user
    w.AutoRun = true;
    EXPECT_EQ(w.ExitStatus(), 1);  // unattended, nothing ran
    w.RunCompleted = true;
    EXPECT_EQ(w.ExitStatus(), 0);
    w.FilesFailed = 2;
    EXPECT_EQ(w.ExitStatus(), 3);
    w.UserBreak = true;  // closing after a completed run
    EXPECT_EQ(w.ExitStatus(), 3);
    w.RunCompleted = false;
    EXPECT_EQ(w.ExitStatus(), 2);
    w.JobRefused = true;
    EXPECT_EQ(w.ExitStatus(), 1);
}

}  // namespace
}  // namespace zv::test
