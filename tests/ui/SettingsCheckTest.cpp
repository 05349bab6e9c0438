#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/Attributes.h"
#include "support/TestRig.h"

namespace zv::test {
namespace {

// A window with an existing source and backup folder and a readable date.
class SettingsCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        makeDirs(rig.root / "bron");
        makeDirs(rig.root / "backup");
        w().ui.Text1[0].text = rig.root / "bron";
        w().ui.Text1[2].text = rig.root / "backup";
        w().ui.text2.text = "19-12-1960 12:58:58";
        w().ui.Check1.value = 1;
        w().Check1_Click();
    }
    frmVergelijker& w() { return rig.w(); }
    bool exists(const std::string& path) {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0;
    }

    TestRig rig;
};

TEST_F(SettingsCheck, AcceptsAGoodJobAndStoresItsPaths) {
    EXPECT_TRUE(w().CheckSettings());
    EXPECT_EQ(w().SourcePath, rig.root / "bron");
    EXPECT_EQ(w().DestinationPath, rig.root / "backup");
    EXPECT_EQ(w().ui.Text1[0].toolTip, rig.root / "bron");
    EXPECT_EQ(w().ui.Text1[2].toolTip, rig.root / "backup");
    EXPECT_EQ(w().ui.panel(1), "Status");
    EXPECT_EQ(w().ui.text2.foreColour, kColourBlack);
    EXPECT_TRUE(rig.dialogs.shown.empty());
}

TEST_F(SettingsCheck, ADateThatIsNoDateRefusesBeforeAnythingElse) {
    w().ui.text2.text = "morgen vroeg";
    w().ui.Text1[0].text = rig.root / "bestaat-niet";
    w().SourcePath = "/vorige/bron";
    EXPECT_FALSE(w().CheckSettings());
    EXPECT_EQ(w().ui.panel(1), "Invoer:");
    EXPECT_EQ(w().ui.panel(2), "dd-mm-jj uu:mm:ss");
    EXPECT_EQ(w().ui.focus, "text2");
    EXPECT_EQ(w().ui.text2.foreColour, kColourRed);
    EXPECT_EQ(w().ui.text2.text, "morgen vroeg");
    EXPECT_EQ(w().SourcePath, "/vorige/bron");
    EXPECT_EQ(w().ui.Text1[0].foreColour, kColourBlack);
}

TEST_F(SettingsCheck, AnEmptyDatePassesAndStaysEmpty) {
    w().ui.text2.text = "";
    EXPECT_TRUE(w().CheckSettings());
    EXPECT_EQ(w().ui.text2.text, "");
}

TEST_F(SettingsCheck, ADateIsRewrittenDayMonthYear) {
    w().ui.text2.text = "2024-03-05 7:08";
    EXPECT_TRUE(w().CheckSettings());
    EXPECT_EQ(w().ui.text2.text, "5-3-2024 07:08:00");
    w().ui.text2.text = "5/3/2024";
    EXPECT_TRUE(w().CheckSettings());
    EXPECT_EQ(w().ui.text2.text, "5-3-2024 00:00:00");
}

TEST_F(SettingsCheck, AGreyedDateStaysGrey) {
    w().ui.Check1.value = 0;
    w().Check1_Click();
    EXPECT_TRUE(w().CheckSettings());
    EXPECT_EQ(w().ui.text2.foreColour, kSysActiveBorder);
}

TEST_F(SettingsCheck, AMissingSourceRefusesAndKeepsTheOldPath) {
    w().ui.Text1[0].text = rig.root / "weg";
    w().SourcePath = "/vorige/bron";
    EXPECT_FALSE(w().CheckSettings());
    EXPECT_EQ(w().ui.panel(1), "Invoer");
    EXPECT_EQ(w().ui.panel(2), "ongeldig/onvolledig");
    EXPECT_EQ(w().ui.Text1[0].foreColour, kColourRed);
    EXPECT_EQ(w().ui.focus, "Text1(0)");
    EXPECT_EQ(w().SourcePath, "/vorige/bron");
}

TEST_F(SettingsCheck, AnEmptySourceRefuses) {
    w().ui.Text1[0].text = "";
    EXPECT_FALSE(w().CheckSettings());
    EXPECT_EQ(w().ui.panel(2), "ongeldig/onvolledig");
    EXPECT_EQ(w().ui.Text1[0].foreColour, kColourRed);
}

TEST_F(SettingsCheck, AnEmptyBackupRefuses) {
    w().ui.Text1[2].text = "";
    EXPECT_FALSE(w().CheckSettings());
    EXPECT_EQ(w().ui.panel(1), "Invoer");
    EXPECT_EQ(w().ui.panel(2), "ongeldig/onvolledig");
    EXPECT_EQ(w().ui.Text1[2].foreColour, kColourRed);
    EXPECT_TRUE(rig.dialogs.shown.empty());
}

TEST_F(SettingsCheck, AMissingBackupFolderAnsweredNoRefuses) {
    w().ui.Text1[2].text = rig.root / "nieuw/backup";
    w().DestinationPath = "/vorige/backup";
    rig.dialogs.script(MessageAnswer::No);
    EXPECT_FALSE(w().CheckSettings());
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "Doelmap bestaat niet. Maken?");
    EXPECT_EQ(rig.dialogs.shown[0].style, MessageStyle::YesNo);
    EXPECT_EQ(w().DestinationPath, "/vorige/backup");
    EXPECT_EQ(w().ui.Text1[2].foreColour, kColourRed);
    EXPECT_FALSE(exists(rig.root / "nieuw"));
}

TEST_F(SettingsCheck, AMissingBackupFolderAnsweredYesIsMadeWithItsParents) {
    w().ui.Text1[2].text = rig.root / "nieuw/backup";
    rig.dialogs.script(MessageAnswer::Yes);
    EXPECT_TRUE(w().CheckSettings());
    EXPECT_TRUE(exists(rig.root / "nieuw/backup"));
    EXPECT_EQ(w().DestinationPath, rig.root / "nieuw/backup");
    EXPECT_EQ(w().ui.Text1[2].foreColour, kColourBlack);
    EXPECT_EQ(w().ui.Text1[2].toolTip, rig.root / "nieuw/backup");
}

TEST_F(SettingsCheck, ABackupFolderThatCannotBeMadeRefuses) {
    writeFile(rig.root / "bestand", "geen map");
    w().ui.Text1[2].text = rig.root / "bestand/backup";
    rig.dialogs.script(MessageAnswer::Yes);
    EXPECT_FALSE(w().CheckSettings());
    ASSERT_EQ(rig.dialogs.shown.size(), 2u);
    EXPECT_EQ(rig.dialogs.shown[1].text, "Kan doelmap niet maken.");
    EXPECT_EQ(rig.dialogs.shown[1].style, MessageStyle::Ok);
}

TEST_F(SettingsCheck, AnUnresolvableDustbinRefuses) {
    w().DustBinPathLiteral = "GEENSCHIJF/Prullenbak";
    w().DustBinPath = "";
    EXPECT_FALSE(w().CheckSettings());
    EXPECT_EQ(w().ui.panel(1), "Fout:");
    EXPECT_EQ(w().ui.panel(2), "ongeldige prullenbak");
}

TEST_F(SettingsCheck, WithoutDustbinNothingIsMadeOrLogged) {
    EXPECT_TRUE(w().CheckSettings());
    EXPECT_EQ(w().RunLog, "");
    EXPECT_FALSE(exists(rig.appFolder() + "/Error.Log"));
}

TEST_F(SettingsCheck, AMissingDustbinFolderIsMadeMarkedAndLogged) {
    w().DustBinPathLiteral = w().DustBinPath = rig.root / "prullenbak";
    EXPECT_TRUE(w().CheckSettings());
    EXPECT_TRUE(exists(rig.root / "prullenbak"));
    std::uint32_t attributes = 0;
    ASSERT_TRUE(rig.fs.getAttributes(rig.root / "prullenbak", attributes).ok());
    EXPECT_TRUE(attributes & kAttrReadOnly) << attributes;
    const std::vector<std::string> lines = rig.logLines();
    ASSERT_EQ(lines.size(), 1u);
    const std::string tail =
        " Error: \"" + (rig.root / "prullenbak") + "\" path dustbin didn't exist, created";
    EXPECT_EQ(lines[0], w().NowDateText() + " " + w().NowTimeText() + tail);
    EXPECT_NE(readFile(rig.appFolder() + "/Error.Log").find(tail), std::string::npos);
}

TEST_F(SettingsCheck, ADustbinFolderThatCannotBeMadeRefuses) {
    w().DustBinPathLiteral = w().DustBinPath = rig.root / "geen/diepe/prullenbak";
    EXPECT_FALSE(w().CheckSettings());
    EXPECT_EQ(w().ui.panel(1), "Fout:");
    EXPECT_EQ(w().ui.panel(2), "ongeldige prullenbak");
    EXPECT_EQ(w().RunLog, "");
}

TEST_F(SettingsCheck, AnUnattendedJobSkipsTheExistenceChecks) {
    w().AutoRun = true;
    w().ui.Text1[0].text = rig.root / "geen-bron";
    w().ui.Text1[2].text = rig.root / "geen-backup";
    w().DustBinPathLiteral = w().DustBinPath = rig.root / "geen-prullenbak";
    EXPECT_TRUE(w().CheckSettings());
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_FALSE(exists(rig.root / "geen-backup"));
    EXPECT_FALSE(exists(rig.root / "geen-prullenbak"));
    EXPECT_EQ(w().SourcePath, rig.root / "geen-bron");
    EXPECT_EQ(w().DestinationPath, rig.root / "geen-backup");
}

TEST_F(SettingsCheck, DuringARunAcceptsAndChangesNothing) {
    w().RunInProgress = true;
    w().ui.text2.text = "geen datum";
    w().SourcePath = "/lopende/bron";
    EXPECT_TRUE(w().CheckSettings());
    EXPECT_EQ(w().SourcePath, "/lopende/bron");
    EXPECT_EQ(w().ui.text2.foreColour, kSysWindowText);
    EXPECT_EQ(w().ui.panel(1), "");
}

TEST_F(SettingsCheck, DoubledSeparatorsAreStoredCollapsed) {
    w().ui.Text1[0].text = rig.root.path() + "//bron";
    EXPECT_TRUE(w().CheckSettings());
    EXPECT_EQ(w().SourcePath, rig.root / "bron");
}

TEST_F(SettingsCheck, AVolumeNamePathIsStoredAsItsMountPath) {
    makeDirs(rig.root / "media/MIJNSCHIJF/Backup");
    w().DriveList = {rig.root / "media/MIJNSCHIJF:=MIJNSCHIJF"};
    w().ui.Text1[2].text = "MIJNSCHIJF/Backup";
    EXPECT_TRUE(w().CheckSettings());
    EXPECT_EQ(w().DestinationPath, rig.root / "media/MIJNSCHIJF/Backup");
    EXPECT_EQ(w().ui.Text1[2].toolTip, rig.root / "media/MIJNSCHIJF/Backup");
    EXPECT_EQ(w().ui.Text1[2].text, "MIJNSCHIJF/Backup");
}

TEST_F(SettingsCheck, OKSavesTheJobAndUnlocksGo) {
    w().ui.lblFiles.text = "oud";
    w().cmdOK_Click();
    EXPECT_TRUE(w().Busy);
    EXPECT_TRUE(w().ui.cmdGo.enabled);
    EXPECT_EQ(w().ui.cmdGo.text, ">-->>  GO  <<--<");
    EXPECT_EQ(w().ui.panel(1), "OK");
    EXPECT_EQ(w().ui.panel(2), "");
    EXPECT_EQ(w().ui.lblFiles.text, "");
    EXPECT_FALSE(w().ui.Frame1.enabled);
    EXPECT_FALSE(w().ui.Frame2.enabled);
    EXPECT_FALSE(w().ui.Check1.enabled);
    const std::string saved = readFile(rig.appFolder() + "/Init.dat");
    EXPECT_NE(saved.find("pathsource =" + (rig.root / "bron")), std::string::npos) << saved;
}

TEST_F(SettingsCheck, ARefusedOKKeepsGoLockedAndTheFeedback) {
    w().cmdOK_Click();
    w().ui.Text1[0].text = rig.root / "weg";
    w().cmdOK_Click();
    EXPECT_FALSE(w().Busy);
    EXPECT_FALSE(w().ui.cmdGo.enabled);
    EXPECT_EQ(w().ui.cmdGo.text, ">------------>>>>");
    EXPECT_TRUE(w().ui.Frame1.enabled);
    EXPECT_TRUE(w().ui.Frame2.enabled);
    EXPECT_TRUE(w().ui.Check1.enabled);
    EXPECT_EQ(w().ui.panel(2), "ongeldig/onvolledig");
}

TEST_F(SettingsCheck, ToggleTheDateFilterNeedsANewConfirmation) {
    w().cmdOK_Click();
    ASSERT_TRUE(w().ui.cmdGo.enabled);
    w().ui.Check1.value = 0;
    w().Check1_Click();
    EXPECT_FALSE(w().ui.cmdGo.enabled);
    EXPECT_EQ(w().ui.cmdGo.text, ">------------>>>>");
}

}  // namespace
}  // namespace zv::test
