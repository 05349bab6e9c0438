#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/Attributes.h"
#include "platform/DateText.h"
#include "support/TestRig.h"

namespace zv::test {
namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// A window with an existing source and backup folder and the date filter on.
struct GoodJob : TestRig {
    GoodJob() {
        makeDirs(root / "bron");
        makeDirs(root / "backup");
        w().ui.Text1[0].text = root.path() + "//bron";  // stored collapsed
        w().ui.Text1[2].text = root / "backup";
        w().ui.Check1.value = 1;
        w().Check1_Click();
    }
};

// A good job's date is rewritten; a volume name is kept as typed and stored
// as its mount path.
TEST(SettingsCheck, AGoodJobIsAcceptedAndItsDateRewritten) {
    const std::pair<const char*, const char*> dates[] = {
        {"2024-03-05 7:08", "5-3-2024 07:08:00"}, {"5/3/2024", "5-3-2024 00:00:00"}, {"", ""}};
    for (const auto& [typed, rewritten] : dates) {
        GoodJob rig;
        const std::string disk = rig.root / "media/MIJNSCHIJF";
        makeDirs(disk + "/Backup");
        rig.w().DriveList = {disk + ":=MIJNSCHIJF"};
        rig.w().ui.Text1[2].text = "MIJNSCHIJF/Backup";
        rig.w().ui.text2.text = typed;
        EXPECT_TRUE(rig.w().CheckSettings()) << typed;
        EXPECT_EQ(rig.w().ui.text2.text, rewritten);
        EXPECT_EQ(rig.w().ui.panel(1), "Status");
        EXPECT_EQ(rig.w().SourcePath, rig.root / "bron");
        EXPECT_EQ(rig.w().ui.Text1[0].toolTip, rig.root / "bron");
        EXPECT_EQ(rig.w().DestinationPath + "|" + rig.w().ui.Text1[2].toolTip,
                  disk + "/Backup|" + disk + "/Backup");
        EXPECT_EQ(rig.w().ui.Text1[2].text, "MIJNSCHIJF/Backup");
        EXPECT_TRUE(rig.dialogs.shown.empty());
        EXPECT_EQ(rig.w().RunLog, "");  // without a dustbin nothing is made or logged
    }
}

// Each refusal in the order the check makes them; fixing one reaches the
// next. A dustbin folder that went missing is made again, marked and logged.
TEST(SettingsCheck, RefusalsComeInOrderAndMarkTheBoxAtFault) {
    GoodJob rig;
    frmVergelijker& w = rig.w();
    const auto refused = [&](const char* word, const char* detail) {
        EXPECT_FALSE(w.CheckSettings());
        EXPECT_EQ(w.ui.panel(1), word);
        EXPECT_EQ(w.ui.panel(2), detail);
    };
    w.SourcePath = "/vorige/bron";
    w.ui.text2.text = "morgen vroeg";
    w.ui.Text1[0].text = rig.root / "weg";
    refused("Invoer:", "dd-mm-jj uu:mm:ss");  // red and focused: see the widget tests
    w.ui.text2.text = formatDateTime(rig.clock.current + std::chrono::hours(24));
    refused("Invoer:", "datum ligt in de toekomst");  // it would skip what changes till then
    EXPECT_EQ(w.ui.text2.foreColour, kColourRed);
    w.ui.text2.text = "19-12-1960 12:58:58";
    refused("Invoer", "ongeldig/onvolledig");
    EXPECT_EQ(w.ui.focus, "Text1(0)");
    EXPECT_EQ(w.ui.Text1[0].foreColour, kColourRed);
    EXPECT_EQ(w.SourcePath, "/vorige/bron");
    w.ui.Text1[0].text = "";
    refused("Invoer", "ongeldig/onvolledig");
    w.ui.Text1[0].text = rig.root / "bron";
    w.ui.Text1[2].text = "";
    refused("Invoer", "ongeldig/onvolledig");
    EXPECT_EQ(w.ui.Text1[2].foreColour, kColourRed);
    w.ui.Text1[2].text = rig.root / "backup";
    w.DustBinPathLiteral = "GEENSCHIJF/Prullenbak";  // a volume that is not there
    refused("Fout:", "ongeldige prullenbak");
    w.DustBinPathLiteral = w.DustBinPath = rig.root / "geen/diepe/bak";
    refused("Fout:", "ongeldige prullenbak");
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_EQ(w.RunLog, "");

    w.DustBinPathLiteral = w.DustBinPath = rig.root / "bak";
    EXPECT_TRUE(w.CheckSettings());
    EXPECT_EQ(w.FromDate, "19-12-1960 12:58:58");  // the run goes by the date box
    std::uint32_t attributes = 0;
    ASSERT_TRUE(rig.fs.getAttributes(rig.root / "bak", attributes).ok());
    EXPECT_TRUE(attributes & kAttrReadOnly) << attributes;
    const std::string line = w.NowDateText() + " " + w.NowTimeText() + " Error: \"" +
                             (rig.root / "bak") + "\" path dustbin didn't exist, created";
    EXPECT_EQ(rig.logLines(), std::vector<std::string>{line});
    EXPECT_NE(readFile(rig.appFolder() + "/Error.Log").find(line), std::string::npos);

    // One folder as source and backup, a dustbin folder in use inside the source.
    w.ui.Text1[2].text = rig.root / "bron/.";
    refused("Fout:", "bronmap en doelmap zijn dezelfde map");
    w.ui.Text1[2].text = rig.root / "backup";
    w.DoVerify = w.SyncActive = w.UseDustbin = w.DustBinCustom = true;
    w.DustBinPathLiteral = w.DustBinPath = rig.root / "bron";
    refused("Fout:", ("\"" + rig.root / "bron" + "\" prullenbak ligt in de bronmap").c_str());
    w.DoVerify = w.SyncActive = w.UseDustbin = w.DustBinCustom = false;
}

TEST(SettingsCheck, AMissingBackupFolderIsMadeOnlyWhenTheUserSaysYes) {
    GoodJob rig;
    frmVergelijker& w = rig.w();
    writeFile(rig.root / "bestand", "geen map");
    w.DestinationPath = "/vorige/backup";
    w.ui.Text1[2].text = rig.root / "nieuw/backup";
    EXPECT_FALSE(w.CheckSettings());  // answered No
    EXPECT_EQ(rig.dialogs.shown.at(0).text, "Doelmap bestaat niet. Maken?");
    EXPECT_EQ(rig.dialogs.shown[0].style, MessageStyle::YesNo);
    EXPECT_EQ(w.DestinationPath, "/vorige/backup");
    EXPECT_EQ(w.ui.Text1[2].foreColour, kColourRed);
    EXPECT_FALSE(Exists(rig.root / "nieuw"));
    w.ui.Text1[2].text = rig.root / "bestand/backup";
    rig.dialogs.script(MessageAnswer::Yes);
    EXPECT_FALSE(w.CheckSettings());
    EXPECT_EQ(rig.dialogs.shown.at(2).text, "Kan doelmap niet maken.");
    w.ui.Text1[2].text = rig.root / "nieuw/backup";
    rig.dialogs.script(MessageAnswer::Yes);
    EXPECT_TRUE(w.CheckSettings());
    EXPECT_TRUE(Exists(rig.root / "nieuw/backup"));
    EXPECT_EQ(w.DestinationPath, rig.root / "nieuw/backup");
    EXPECT_EQ(w.ui.Text1[2].foreColour, kColourBlack);
}

// An unattended job does not look at the folders; during a run the check
// accepts and changes nothing.
TEST(SettingsCheck, UnattendedOrDuringARunTheFoldersAreNotLookedAt) {
    GoodJob rig;
    frmVergelijker& w = rig.w();
    w.AutoRun = true;
    w.ui.Text1[0].text = rig.root / "geen-bron";
    w.ui.Text1[2].text = rig.root / "geen-backup";
    w.DustBinPathLiteral = w.DustBinPath = rig.root / "geen-prullenbak";
    EXPECT_TRUE(w.CheckSettings());
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_FALSE(Exists(rig.root / "geen-backup") || Exists(rig.root / "geen-prullenbak"));
    EXPECT_EQ(w.DestinationPath, rig.root / "geen-backup");
    w.RunInProgress = true;
    w.ui.text2.text = "geen datum";
    w.SourcePath = "/lopende/bron";
    const WindowModel before = w.ui;
    EXPECT_TRUE(w.CheckSettings());
    EXPECT_EQ(w.SourcePath, "/lopende/bron");
    EXPECT_EQ(std::tie(w.ui.text2.foreColour, w.ui.sbPanels),
              std::tie(before.text2.foreColour, before.sbPanels));
}

// OK saves the job and unlocks GO; any change of the date check box asks for
// a new confirmation (greyed counts as unchecked, and a greyed date stays
// grey through the check); a refused OK keeps GO locked.
TEST(SettingsCheck, OKConfirmsAndTheDateCheckBoxUndoesIt) {
    GoodJob rig;
    frmVergelijker& w = rig.w();
    const auto confirmed = [&](bool yes) {
        EXPECT_EQ(w.Busy, yes);
        EXPECT_EQ(w.ui.cmdGo.enabled, yes);
        EXPECT_EQ(w.ui.cmdGo.text, yes ? ">-->>  GO  <<--<" : ">------------>>>>");
        EXPECT_EQ(std::tie(w.ui.Frame1.enabled, w.ui.Frame2.enabled, w.ui.Check1.enabled),
                  std::make_tuple(!yes, !yes, !yes));
    };
    w.ui.lblFiles.text = "oud";
    w.cmdOK_Click();
    confirmed(true);
    EXPECT_EQ(w.ui.panel(1) + w.ui.panel(2) + w.ui.lblFiles.text, "OK");
    EXPECT_NE(readFile(rig.appFolder() + "/Init.dat").find("pathsource =" + w.ui.Text1[0].text),
              std::string::npos);
    for (int value : {0, 2, 1}) {
        SCOPED_TRACE(value);
        w.cmdOK_Click();
        ASSERT_TRUE(w.ui.cmdGo.enabled);
        w.ui.Check1.value = value;
        w.Check1_Click();
        EXPECT_FALSE(w.ui.cmdGo.enabled);
        EXPECT_EQ(w.ui.cmdGo.text, ">------------>>>>");
        EXPECT_EQ(w.NoDateCheck, value != 1);
        EXPECT_EQ(w.ui.text2.foreColour, value == 1 ? kSysWindowText : kSysActiveBorder);
        EXPECT_TRUE(w.CheckSettings());
        EXPECT_EQ(w.ui.text2.foreColour, value == 1 ? kColourBlack : kSysActiveBorder);
    }
    w.ui.Text1[0].text = rig.root / "weg";
    w.cmdOK_Click();
    confirmed(false);
}

}  // namespace
}  // namespace zv::test
