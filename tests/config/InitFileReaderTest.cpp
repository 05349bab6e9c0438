#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ConfigFixture.h"

namespace zv::test {
namespace {

class InitFileReader : public ConfigTest {
  protected:
    std::string source, backup;
    void SetUp() override {
        ConfigTest::SetUp();
        source = at("bron");
        backup = at("backup");
        makeDirs(source);
        makeDirs(backup);
    }
    std::vector<std::string> job() const { return jobLines(source, backup); }
    // The start of an unattended run of the named job file.
    void unattended(const std::string& piece = "-if Init.dat", const std::string& mode = "qu") {
        w().CmdToken1 = piece;
        w().CmdToken2 = mode;
    }
    std::string initFilePath() const { return app() + "/Init.dat"; }
    std::string badFolderBox(const std::string& label, const std::string& value) const {
        return "Initialisatiebestand: \"" + initFilePath() +
               "\" verwijst naar een ongeldige map.\r\n\r\n" + label + "\"" + value +
               "\"\r\nbestaat niet of is momenteel niet toegankelijk.";
    }
    std::string wrongLineBox() const {
        return "Initialisatiebestand: \"" + initFilePath() + "\" bevat een fout\r\nin regel 8";
    }
};

TEST_F(InitFileReader, NoFileGivesTheDefaultJob) {
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_EQ(w().ui.Text1[0].text, app());
    EXPECT_EQ(w().ui.Text1[2].text, app() + "/Backup");
    EXPECT_EQ(w().ui.text2.text, "19-12-1960 12:58:58");
    EXPECT_EQ(w().ui.Check1.value, 1);
    EXPECT_FALSE(w().DoVerify);
    EXPECT_FALSE(w().UseDustbin);
    EXPECT_FALSE(w().SyncActive);
    EXPECT_EQ(w().ui.Frame1.toolTip, " backup wordt  NIET  gecontroleerd op ontbrekende mappen ");
    EXPECT_EQ(w().ui.Frame2.toolTip, " synchroniseren (uitgeschakeld) ");
    EXPECT_TRUE(w().ui.imNoVfy.visible);
    EXPECT_FALSE(w().ui.imSync.visible);
    EXPECT_FALSE(w().ui.imNoSync.visible);
    EXPECT_FALSE(w().ui.imSyncPlus.visible);
    EXPECT_FALSE(w().ui.imPrullenbak.visible);
    EXPECT_EQ(w().SourcePath, "");  // set only when the user confirms
    EXPECT_EQ(w().DestinationPath, "");
    EXPECT_FALSE(rig.fs.fileExists(initFilePath()));  // nothing written yet
    EXPECT_TRUE(rig.dialogs.shown.empty());
}

TEST_F(InitFileReader, GoodFileFillsTheWindow) {
    writeJob(job());
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_EQ(w().ui.Text1[0].text, source);
    EXPECT_EQ(w().ui.Text1[0].toolTip, source);
    EXPECT_EQ(w().SourcePath, source);
    EXPECT_EQ(w().ui.Text1[2].text, backup);
    EXPECT_EQ(w().ui.Text1[2].toolTip, backup);
    EXPECT_EQ(w().DestinationPath, backup);
    EXPECT_EQ(w().ui.imPrullenbak.toolTip, "<RECYCLER>");
    EXPECT_EQ(w().FromDate, "19-12-1960 12:58:58");
    EXPECT_EQ(w().ui.text2.text, "19-12-1960 12:58:58");
    EXPECT_EQ(w().ui.Check1.value, 1);
    EXPECT_FALSE(w().NoDateCheck);
    EXPECT_EQ(w().ui.text2.foreColour, kSysWindowText);
    EXPECT_FALSE(w().SyncActive);
    EXPECT_EQ(w().ui.Frame2.toolTip, " synchroniseren (uitgeschakeld) ");
    EXPECT_TRUE(w().DoVerify);
    EXPECT_EQ(w().ui.Frame1.toolTip, " backup wordt gecontroleerd op ontbrekende mappen ");
    EXPECT_FALSE(w().UseDustbin);
    EXPECT_FALSE(w().KillEmpty);
    EXPECT_FALSE(w().AutoRun);
    EXPECT_TRUE(w().RunLog.empty());
}

TEST_F(InitFileReader, LfOnlyAndByteOrderMarkAreAccepted) {
    std::string text;
    for (const auto& line : job()) text += line + "\n";
    writeFile(initFilePath(), "\xEF\xBB\xBF" + text);
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_EQ(w().SourcePath, source);
    EXPECT_TRUE(w().DoVerify);
}

TEST_F(InitFileReader, KeysAreNotReadOnlyPositions) {
    auto lines = job();
    lines[6] = "doverify =1";  // line 7 read as the sync switch
    lines[7] = "syncactive =0";
    writeJob(lines);
    w().ReadInitFile();
    EXPECT_FALSE(w().DoVerify);
    EXPECT_FALSE(w().SyncActive);  // cleared with the check switch off
}

TEST_F(InitFileReader, SpacesAfterTheEqualsSignAreKept) {
    auto lines = job();
    lines[1] = "pathsource = " + source;
    writeJob(lines);
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_EQ(w().ui.Text1[0].text, " " + source);
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, badFolderBox("Bronmap: ", " " + source));
    EXPECT_EQ(rig.dialogs.shown[0].style, MessageStyle::Ok);
}

TEST_F(InitFileReader, ValueIsTheTextAfterTheFirstEqualsSign) {
    EXPECT_EQ(frmVergelijker::ValueAfterEquals("a =b=c"), "b=c");
    EXPECT_EQ(frmVergelijker::ValueAfterEquals("geen teken"), "geen teken");
    EXPECT_EQ(frmVergelijker::ValueAfterEquals("x = "), " ");
    EXPECT_EQ(frmVergelijker::ValueAfterEquals(""), "");
}

TEST_F(InitFileReader, BareNamesLieInTheFolder) {
    EXPECT_EQ(frmVergelijker::PathInFolder("/opt/zv", "Init.dat"), "/opt/zv/Init.dat");
    EXPECT_EQ(frmVergelijker::PathInFolder("/opt/zv", "/etc/job.dat"), "/etc/job.dat");
    EXPECT_EQ(frmVergelijker::PathInFolder("/opt/zv", "jobs/a.dat"), "jobs/a.dat");
}

TEST_F(InitFileReader, RecycleBinNumberWinsOverAFolder) {
    auto lines = job();
    lines[3] = "pathrecycler =" + at("bin");
    lines[8] = "dustbin =1";
    makeDirs(at("bin"));
    writeJob(lines);
    w().ReadInitFile();
    EXPECT_TRUE(w().DustBinWin);
    EXPECT_FALSE(w().DustBinCustom);
    EXPECT_TRUE(w().UseDustbin);
    EXPECT_EQ(w().ui.imPrullenbak.toolTip, "<RECYCLER>");
    EXPECT_EQ(w().DustBinPath, at("bin"));
}

TEST_F(InitFileReader, OwnDustbinFolder) {
    auto lines = job();
    lines[3] = "pathrecycler =" + at("bin");
    lines[8] = "dustbin =2";
    makeDirs(at("bin"));
    writeJob(lines);
    w().ReadInitFile();
    EXPECT_FALSE(w().DustBinWin);
    EXPECT_TRUE(w().DustBinCustom);
    EXPECT_EQ(w().ui.imPrullenbak.toolTip, at("bin"));
}

TEST_F(InitFileReader, DustbinNumberThreeSwitchesTheDustbinOnWithoutAKind) {
    auto lines = job();
    lines[8] = "dustbin =3";
    writeJob(lines);
    w().ReadInitFile();
    EXPECT_TRUE(w().UseDustbin);
    EXPECT_FALSE(w().DustBinWin);
    EXPECT_FALSE(w().DustBinCustom);
}

TEST_F(InitFileReader, SyncWithDustbinSetsTheWholeMode) {
    auto lines = job();
    lines[6] = "syncactive =1";
    lines[8] = "dustbin =1";
    writeJob(lines);
    w().ReadInitFile();
    EXPECT_TRUE(w().SyncActive);
    EXPECT_TRUE(w().DoVerify);
    EXPECT_TRUE(w().UseDustbin);
    EXPECT_EQ(w().ui.Frame2.toolTip, " synchroniseren + prullenbak (ingeschakeld) ");
    EXPECT_FALSE(w().ui.imSync.visible);
    EXPECT_TRUE(w().ui.imSyncPlus.visible);
    EXPECT_TRUE(w().ui.imPrullenbak.visible);
    EXPECT_FALSE(w().ui.imNoVfy.visible);
}

TEST_F(InitFileReader, SyncWithoutDustbin) {
    auto lines = job();
    lines[6] = "syncactive =1";
    writeJob(lines);
    w().ReadInitFile();
    EXPECT_TRUE(w().SyncActive);
    EXPECT_EQ(w().ui.Frame2.toolTip, " synchroniseren (ingeschakeld) ");
    EXPECT_TRUE(w().ui.imSync.visible);
    EXPECT_FALSE(w().ui.imNoSync.visible);
}

TEST_F(InitFileReader, QuickModeSwitchesSyncOff) {
    auto lines = job();
    lines[6] = "syncactive =1";
    lines[7] = "doverify =0";
    writeJob(lines);
    w().ReadInitFile();
    EXPECT_FALSE(w().DoVerify);
    EXPECT_FALSE(w().SyncActive);
    EXPECT_EQ(w().ui.Frame1.toolTip, " backup wordt  NIET  gecontroleerd op ontbrekende mappen ");
    EXPECT_EQ(w().ui.Frame2.toolTip, " synchroniseren (uitgeschakeld) ");
    EXPECT_FALSE(w().ui.imSync.visible);
    EXPECT_FALSE(w().ui.imNoSync.visible);
    EXPECT_TRUE(w().ui.imNoVfy.visible);
}

TEST_F(InitFileReader, DateFilterOffGreysTheDate) {
    auto lines = job();
    lines[5] = "checkdate =0";
    writeJob(lines);
    w().ReadInitFile();
    EXPECT_EQ(w().ui.Check1.value, 0);
    EXPECT_TRUE(w().NoDateCheck);
    EXPECT_EQ(w().ui.text2.foreColour, kSysActiveBorder);
}

TEST_F(InitFileReader, OtherVersionIsShownAndTheJobLoadedAnyway) {
    auto lines = job();
    lines[0] = "version =Zandvast v.20.0.1";
    writeJob(lines);
    EXPECT_EQ(w().ReadInitFile(), 0);
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text,
              "Versienummers van applicatie (" + appVersion() +
                  ")\r\nen initialisatiebestand (20.0.1) komen niet overeen.");
    EXPECT_EQ(rig.dialogs.shown[0].style, MessageStyle::OkExclamation);
    EXPECT_EQ(w().SourcePath, source);
}

TEST_F(InitFileReader, VersionPrefixIsSkippedNotCompared) {
    auto lines = job();
    lines[0] = "version =Zandbank v." + appVersion();  // as long as the real prefix
    writeJob(lines);
    w().ReadInitFile();
    EXPECT_TRUE(rig.dialogs.shown.empty());
}

TEST_F(InitFileReader, OtherVersionStopsAnUnattendedStart) {
    auto lines = job();
    lines[0] = "version =Zandvast v.20.0.1";
    writeJob(lines);
    unattended();
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_TRUE(w().UserBreak);
    EXPECT_TRUE(w().JobRefused);
    ASSERT_EQ(log().size(), 1u);
    EXPECT_EQ(log()[0], "Versienummers van applicatie (" + appVersion() +
                            ") en initialisatiebestand (20.0.1) komen niet overeen.");
    EXPECT_NE(errorLog().find("komen niet overeen.\r\n"), std::string::npos);
    EXPECT_EQ(w().SourcePath, "");  // nothing further read
}

TEST_F(InitFileReader, MissingSourceIsShownInteractively) {
    auto lines = job();
    lines[1] = "pathsource =" + at("weg");
    writeJob(lines);
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_EQ(w().ui.Text1[0].text, at("weg"));
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, badFolderBox("Bronmap: ", at("weg")));
    EXPECT_EQ(w().DestinationPath, backup);  // reading went on
}

TEST_F(InitFileReader, MissingSourceRefusesAnUnattendedRun) {
    auto lines = job();
    lines[1] = "pathsource =" + at("weg");
    writeJob(lines);
    unattended();
    EXPECT_EQ(w().ReadInitFile(), 1);
    EXPECT_EQ(log(), std::vector<std::string>{stamp() + " Error: \"" + at("weg") +
                                              "\" bronmap bestaat niet"});
    EXPECT_TRUE(w().JobRefused);
    EXPECT_EQ(w().DestinationPath, "");
}

TEST_F(InitFileReader, UnresolvableBackupClosesEvenInteractively) {
    auto lines = job();
    lines[2] = "pathdestination =MYDISK/Backup";
    writeJob(lines);
    w().DriveList = {"/:=***"};
    EXPECT_EQ(w().ReadInitFile(), 1);
    EXPECT_EQ(log(),
              std::vector<std::string>{stamp() + " Error: MYDISK/Backup - kan pad niet maken"});
}

TEST_F(InitFileReader, MissingBackupIsShownInteractively) {
    auto lines = job();
    lines[2] = "pathdestination =" + at("nieuw/backup");
    writeJob(lines);
    EXPECT_EQ(w().ReadInitFile(), 0);
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, badFolderBox("Doelmap: ", at("nieuw/backup")));
    EXPECT_EQ(w().ui.Text1[2].text, at("nieuw/backup"));
    EXPECT_EQ(w().ui.Text1[2].toolTip, at("nieuw/backup"));
    EXPECT_FALSE(rig.fs.folderExists(at("nieuw")));
}

TEST_F(InitFileReader, MissingBackupIsCreatedWithAllLevelsUnattended) {
    auto lines = job();
    lines[2] = "pathdestination =" + at("nieuw/week/backup");
    writeJob(lines);
    unattended();
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_TRUE(rig.fs.folderExists(at("nieuw/week/backup")));
    EXPECT_TRUE(log().empty());
}

TEST_F(InitFileReader, BackupThatCannotBeCreatedRefusesTheRun) {
    writeFile(at("blok"), "a file where a folder should be");
    auto lines = job();
    lines[2] = "pathdestination =" + at("blok/backup");
    writeJob(lines);
    unattended();
    EXPECT_EQ(w().ReadInitFile(), 1);
    EXPECT_EQ(log(), std::vector<std::string>{stamp() + " Error: " + at("blok/backup") +
                                              " - kan pad niet maken"});
}

TEST_F(InitFileReader, MissingDustbinFolderIsCreatedAndMarkedUnattended) {
    auto lines = job();
    lines[3] = "pathrecycler =" + at("prullenbak");
    lines[8] = "dustbin =2";
    writeJob(lines);
    unattended();
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_TRUE(rig.fs.folderExists(at("prullenbak")));
    ASSERT_FALSE(log().empty());
    EXPECT_EQ(log()[0],
              stamp() + " Error: \"" + at("prullenbak") + "\" path dustbin didn't exist, created");
    EXPECT_NE(errorLog().find("path dustbin didn't exist, created\r\n"), std::string::npos);
}

TEST_F(InitFileReader, DustbinFolderThatCannotBeCreatedIsNotReportedAsCreated) {
    auto lines = job();
    lines[3] = "pathrecycler =" + at("geen/prullenbak");  // two levels missing
    lines[8] = "dustbin =2";
    writeJob(lines);
    unattended();
    w().ReadInitFile();
    EXPECT_FALSE(rig.fs.folderExists(at("geen/prullenbak")));
    ASSERT_FALSE(log().empty());
    EXPECT_EQ(log()[0], stamp() + " Error: \"" + at("geen/prullenbak") + "\" - kan pad niet maken");
}

TEST_F(InitFileReader, MissingDustbinFolderIsShownInteractively) {
    auto lines = job();
    lines[3] = "pathrecycler =" + at("prullenbak");
    writeJob(lines);
    w().ReadInitFile();
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, badFolderBox("Pad prullenbak: ", at("prullenbak")));
    EXPECT_FALSE(rig.fs.folderExists(at("prullenbak")));
}

TEST_F(InitFileReader, UnreadableDateStopsAnUnattendedStart) {
    auto lines = job();
    lines[4] = "dedato =gisteren";
    lines[6] = "syncactive =1";
    writeJob(lines);
    unattended();
    EXPECT_EQ(w().ReadInitFile(), 1);
    EXPECT_EQ(log(), std::vector<std::string>{stamp() + " Error: wrong date-format"});
    EXPECT_FALSE(w().SyncActive);  // the rest was not read
    EXPECT_EQ(w().ui.Check1.value, 0);
}

TEST_F(InitFileReader, UnreadableDateIsKeptInteractivelyAndReportedAtTheDustbinLine) {
    auto lines = job();
    lines[4] = "dedato =gisteren";
    writeJob(lines);
    w().FromDate = "1-1-2020 00:00:00";
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_EQ(w().FromDate, "1-1-2020 00:00:00");
    EXPECT_EQ(w().ui.text2.text, "1-1-2020 00:00:00");
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, wrongLineBox());
    EXPECT_TRUE(w().DoVerify);  // reading went on
}

TEST_F(InitFileReader, BadDateFilterValueStopsAnUnattendedStart) {
    auto lines = job();
    lines[5] = "checkdate =ja";
    writeJob(lines);
    unattended();
    EXPECT_EQ(w().ReadInitFile(), 1);
    EXPECT_EQ(log(), std::vector<std::string>{time() + " An error has occurred"});
}

TEST_F(InitFileReader, DateFilterValueOutOfRangeStopsAnUnattendedStart) {
    auto lines = job();
    lines[5] = "checkdate =3";
    writeJob(lines);
    unattended();
    EXPECT_EQ(w().ReadInitFile(), 1);
    EXPECT_EQ(log(), std::vector<std::string>{time() + " An error has occurred"});
}

TEST_F(InitFileReader, BadSyncValueStopsAnUnattendedStart) {
    auto lines = job();
    lines[6] = "syncactive =ja";
    writeJob(lines);
    unattended();
    EXPECT_EQ(w().ReadInitFile(), 1);
    EXPECT_EQ(log(), std::vector<std::string>{time() + " - An error has occurred"});
}

TEST_F(InitFileReader, BadCheckValueGivesTheLineEightBox) {
    auto lines = job();
    lines[7] = "doverify =ja";
    writeJob(lines);
    unattended("-if Init.dat", "x");
    EXPECT_EQ(w().ReadInitFile(), 0);
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, wrongLineBox());
    EXPECT_EQ(rig.dialogs.shown[0].style, MessageStyle::Ok);
}

TEST_F(InitFileReader, DustbinValueThatIsNoWholeNumberLeavesTheDustbinAlone) {
    auto lines = job();
    lines[8] = "dustbin =1.5";
    writeJob(lines);
    w().ReadInitFile();
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, wrongLineBox());
    EXPECT_FALSE(w().UseDustbin);
    EXPECT_FALSE(w().DustBinWin);
    EXPECT_FALSE(w().DustBinCustom);
}

TEST_F(InitFileReader, JobFileNamedOnTheCommandLine) {
    writeJob(job(), "Week.dat");
    unattended("-if Week.dat", "qu");
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_EQ(w().InitFileName, "Week.dat");
    EXPECT_TRUE(w().AutoRun);
    EXPECT_FALSE(w().ui.visible);
    EXPECT_EQ(w().SourcePath, source);
}

TEST_F(InitFileReader, RunWindowIsShownWithoutQuiet) {
    writeJob(job(), "Week.dat");
    w().ui.visible = false;
    w().ui.FolderTreeview1.visible = true;
    unattended("-if Week.dat", "x");
    w().ReadInitFile();
    EXPECT_TRUE(w().ui.visible);
    EXPECT_FALSE(w().ui.FolderTreeview1.visible);
}

TEST_F(InitFileReader, MissingNamedJobFileRefusesTheRun) {
    unattended("-if Weg.dat", "qu");
    EXPECT_EQ(w().ReadInitFile(), 1);
    EXPECT_EQ(log(), std::vector<std::string>{stamp() + " Error: \"" + app() +
                                              "/Weg.dat\" - initfile not found"});
    EXPECT_TRUE(w().AutoRun);
}

TEST_F(InitFileReader, JobFileWithoutNameIsNotFound) {
    unattended("-if", "qu");
    EXPECT_EQ(w().ReadInitFile(), 1);
    EXPECT_EQ(w().InitFileName, "");
    EXPECT_EQ(log(), std::vector<std::string>{stamp() + " Error: \"" + app() +
                                              "/\" - initfile not found"});
}

TEST_F(InitFileReader, JobFileInTheWorkingFolderIsReadButMessagesNameTheApplicationFolder) {
    writeFile(at("Elders.dat"), crlf(job()));  // the working folder is the rig's root
    unattended("-if Elders.dat", "qu");
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_EQ(w().SourcePath, source);
}

TEST_F(InitFileReader, ChangedVolumeIsAskedWithConfirmFlag) {
    auto lines = job();
    lines[10] = "volumelabel =DATA1";
    writeJob(lines);
    lfs.label(backup, "DATA2");
    unattended("-if Init.dat", "qu cf 1");
    rig.dialogs.script(MessageAnswer::No);
    w().ReadInitFile();
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text,
              "HUIDIG backupvolume:  DATA2\r\nWas:  DATA1\r\n\r\nDOORGAAN ?");
    EXPECT_EQ(rig.dialogs.shown[0].style, MessageStyle::YesNo);
    EXPECT_TRUE(w().ui.closed);
    EXPECT_TRUE(w().UserBreak);
    EXPECT_TRUE(w().JobRefused);
}

TEST_F(InitFileReader, ChangedVolumeAnsweredYesRuns) {
    auto lines = job();
    lines[10] = "volumelabel =DATA1";
    writeJob(lines);
    lfs.label(backup, "DATA2");
    unattended("-if Init.dat", "qu cf 1");
    rig.dialogs.script(MessageAnswer::Yes);
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_FALSE(w().ui.closed);
    EXPECT_FALSE(w().JobRefused);
    EXPECT_EQ(w().VolumeLabelStored, "DATA1");
    EXPECT_EQ(w().VolumeLabelCurrent, "DATA2");
}

TEST_F(InitFileReader, ChangedVolumeIsNotAskedWithoutConfirmFlag) {
    auto lines = job();
    lines[10] = "volumelabel =DATA1";
    writeJob(lines);
    lfs.label(backup, "DATA2");
    unattended("-if Init.dat", "qu");
    w().ReadInitFile();
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_FALSE(w().ui.closed);
}

TEST_F(InitFileReader, UnattendedReadingStartsTheRun) {
    writeFile(source + "/a.txt", "inhoud");
    writeJob(job());
    unattended();
    EXPECT_EQ(w().ReadInitFile(), 0);
    EXPECT_EQ(readFile(backup + "/a.txt"), "inhoud");
    EXPECT_TRUE(w().RunCompleted);
}

TEST_F(InitFileReader, InteractiveReadingDoesNotRun) {
    writeFile(source + "/a.txt", "inhoud");
    writeJob(job());
    w().ReadInitFile();
    EXPECT_FALSE(rig.fs.fileExists(backup + "/a.txt"));
}

}  // namespace
}  // namespace zv::test
