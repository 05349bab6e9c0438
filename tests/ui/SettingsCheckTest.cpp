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
        w().ui.sourceBox.text = root.path() + "//bron";  // stored collapsed
        w().ui.backupBox.text = root / "backup";
        w().ui.dateFilterBox.value = 1;
        w().dateFilterClicked();
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
        rig.w().driveList = {disk + ":=MIJNSCHIJF"};
        rig.w().ui.backupBox.text = "MIJNSCHIJF/Backup";
        rig.w().ui.fromDateBox.text = typed;
        EXPECT_TRUE(rig.w().checkSettings()) << typed;
        EXPECT_EQ(rig.w().ui.fromDateBox.text, rewritten);
        EXPECT_EQ(rig.w().ui.panel(1), "Status");
        EXPECT_EQ(rig.w().job.source, rig.root / "bron");
        EXPECT_EQ(rig.w().ui.sourceBox.toolTip, rig.root / "bron");
        EXPECT_EQ(rig.w().job.backup + "|" + rig.w().ui.backupBox.toolTip,
                  disk + "/Backup|" + disk + "/Backup");
        EXPECT_EQ(rig.w().ui.backupBox.text, "MIJNSCHIJF/Backup");
        EXPECT_TRUE(rig.dialogs.shown.empty());
        EXPECT_EQ(rig.w().log.text(), "");  // without a dustbin nothing is made or logged
    }
}

// Each refusal in the order the check makes them; fixing one reaches the
// next. A dustbin folder that went missing is made again, marked and logged.
TEST(SettingsCheck, RefusalsComeInOrderAndMarkTheBoxAtFault) {
    GoodJob rig;
    AppWindow& w = rig.w();
    const auto refused = [&](const char* word, const char* detail) {
        EXPECT_FALSE(w.checkSettings());
        EXPECT_EQ(w.ui.panel(1), word);
        EXPECT_EQ(w.ui.panel(2), detail);
    };
    w.job.source = "/vorige/bron";
    w.ui.fromDateBox.text = "morgen vroeg";
    w.ui.sourceBox.text = rig.root / "weg";
    refused("Invoer:", "dd-mm-jj uu:mm:ss");  // red and focused: see the widget tests
    w.ui.fromDateBox.text = formatDateTime(rig.clock.current + std::chrono::hours(24));
    refused("Invoer:", "datum ligt in de toekomst");  // it would skip what changes till then
    EXPECT_EQ(w.ui.fromDateBox.foreColour, kColourRed);
    w.ui.fromDateBox.text = "19-12-1960 12:58:58";
    refused("Invoer", "ongeldig/onvolledig");
    EXPECT_EQ(w.ui.focus, "folderBox(0)");
    EXPECT_EQ(w.ui.sourceBox.foreColour, kColourRed);
    EXPECT_EQ(w.job.source, "/vorige/bron");
    w.ui.sourceBox.text = "";
    refused("Invoer", "ongeldig/onvolledig");
    w.ui.sourceBox.text = rig.root / "bron";
    w.ui.backupBox.text = "";
    refused("Invoer", "ongeldig/onvolledig");
    EXPECT_EQ(w.ui.backupBox.foreColour, kColourRed);
    w.ui.backupBox.text = rig.root / "backup";
    w.job.dustbinAsWritten = "GEENSCHIJF/Prullenbak";  // a volume that is not there
    refused("Fout:", "ongeldige prullenbak");
    w.job.dustbinAsWritten = w.job.dustbinPath = rig.root / "geen/diepe/bak";
    refused("Fout:", "ongeldige prullenbak");
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_EQ(w.log.text(), "");

    w.job.dustbinAsWritten = w.job.dustbinPath = rig.root / "bak";
    EXPECT_TRUE(w.checkSettings());
    EXPECT_EQ(w.job.fromDate, "19-12-1960 12:58:58");  // the run goes by the date box
    std::uint32_t attributes = 0;
    ASSERT_TRUE(rig.fs.getAttributes(rig.root / "bak", attributes).ok());
    EXPECT_TRUE(attributes & kAttrReadOnly) << attributes;
    const std::string line = w.log.dateText() + " " + w.log.timeText() + " Error: \"" +
                             (rig.root / "bak") + "\" path dustbin didn't exist, created";
    EXPECT_EQ(rig.logLines(), std::vector<std::string>{line});
    EXPECT_NE(readFile(rig.appFolder() + "/Error.Log").find(line), std::string::npos);

    // One folder as source and backup, a dustbin folder in use inside the source.
    w.ui.backupBox.text = rig.root / "bron/.";
    refused("Fout:", "bronmap en doelmap zijn dezelfde map");
    w.ui.backupBox.text = rig.root / "backup";
    w.job.verify = w.job.synchronise = w.job.useDustbin = w.job.dustbinToFolder = true;
    w.job.dustbinAsWritten = w.job.dustbinPath = rig.root / "bron";
    refused("Fout:", ("\"" + rig.root / "bron" + "\" prullenbak ligt in de bronmap").c_str());
    w.job.verify = w.job.synchronise = w.job.useDustbin = w.job.dustbinToFolder = false;
}

TEST(SettingsCheck, AMissingBackupFolderIsMadeOnlyWhenTheUserSaysYes) {
    GoodJob rig;
    AppWindow& w = rig.w();
    writeFile(rig.root / "bestand", "geen map");
    w.job.backup = "/vorige/backup";
    w.ui.backupBox.text = rig.root / "nieuw/backup";
    EXPECT_FALSE(w.checkSettings());  // answered No
    EXPECT_EQ(rig.dialogs.shown.at(0).text, "Doelmap bestaat niet. Maken?");
    EXPECT_EQ(rig.dialogs.shown[0].style, MessageStyle::YesNo);
    EXPECT_EQ(w.job.backup, "/vorige/backup");
    EXPECT_EQ(w.ui.backupBox.foreColour, kColourRed);
    EXPECT_FALSE(Exists(rig.root / "nieuw"));
    w.ui.backupBox.text = rig.root / "bestand/backup";
    rig.dialogs.script(MessageAnswer::Yes);
    EXPECT_FALSE(w.checkSettings());
    EXPECT_EQ(rig.dialogs.shown.at(2).text, "Kan doelmap niet maken.");
    w.ui.backupBox.text = rig.root / "nieuw/backup";
    rig.dialogs.script(MessageAnswer::Yes);
    EXPECT_TRUE(w.checkSettings());
    EXPECT_TRUE(Exists(rig.root / "nieuw/backup"));
    EXPECT_EQ(w.job.backup, rig.root / "nieuw/backup");
    EXPECT_EQ(w.ui.backupBox.foreColour, kColourBlack);
}

// An unattended job does not look at the folders; during a run the check
// accepts and changes nothing.
TEST(SettingsCheck, UnattendedOrDuringARunTheFoldersAreNotLookedAt) {
    GoodJob rig;
    AppWindow& w = rig.w();
    w.unattended = true;
    w.ui.sourceBox.text = rig.root / "geen-bron";
    w.ui.backupBox.text = rig.root / "geen-backup";
    w.job.dustbinAsWritten = w.job.dustbinPath = rig.root / "geen-prullenbak";
    EXPECT_TRUE(w.checkSettings());
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_FALSE(Exists(rig.root / "geen-backup") || Exists(rig.root / "geen-prullenbak"));
    EXPECT_EQ(w.job.backup, rig.root / "geen-backup");
    w.runInProgress = true;
    w.ui.fromDateBox.text = "geen datum";
    w.job.source = "/lopende/bron";
    const WindowModel before = w.ui;
    EXPECT_TRUE(w.checkSettings());
    EXPECT_EQ(w.job.source, "/lopende/bron");
    EXPECT_EQ(std::tie(w.ui.fromDateBox.foreColour, w.ui.statusPanels),
              std::tie(before.fromDateBox.foreColour, before.statusPanels));
}

// OK saves the job and unlocks GO; any change of the date check box asks for
// a new confirmation (greyed counts as unchecked, and a greyed date stays
// grey through the check); a refused OK keeps GO locked.
TEST(SettingsCheck, OKConfirmsAndTheDateCheckBoxUndoesIt) {
    GoodJob rig;
    AppWindow& w = rig.w();
    const auto confirmed = [&](bool yes) {
        EXPECT_EQ(w.busy, yes);
        EXPECT_EQ(w.ui.goButton.enabled, yes);
        EXPECT_EQ(w.ui.goButton.text, yes ? ">-->>  GO  <<--<" : ">------------>>>>");
        EXPECT_EQ(
            std::tie(w.ui.verifyArrow.enabled, w.ui.syncArrow.enabled, w.ui.dateFilterBox.enabled),
            std::make_tuple(!yes, !yes, !yes));
    };
    w.ui.currentFileLabel.text = "oud";
    w.okClicked();
    confirmed(true);
    EXPECT_EQ(w.ui.panel(1) + w.ui.panel(2) + w.ui.currentFileLabel.text, "OK");
    EXPECT_NE(readFile(rig.appFolder() + "/Init.dat").find("pathsource =" + w.ui.sourceBox.text),
              std::string::npos);
    for (int value : {0, 2, 1}) {
        SCOPED_TRACE(value);
        w.okClicked();
        ASSERT_TRUE(w.ui.goButton.enabled);
        w.ui.dateFilterBox.value = value;
        w.dateFilterClicked();
        EXPECT_FALSE(w.ui.goButton.enabled);
        EXPECT_EQ(w.ui.goButton.text, ">------------>>>>");
        EXPECT_EQ(w.job.noDateFilter, value != 1);
        EXPECT_EQ(w.ui.fromDateBox.foreColour, value == 1 ? kSysWindowText : kSysActiveBorder);
        EXPECT_TRUE(w.checkSettings());
        EXPECT_EQ(w.ui.fromDateBox.foreColour, value == 1 ? kColourBlack : kSysActiveBorder);
    }
    w.ui.sourceBox.text = rig.root / "weg";
    w.okClicked();
    confirmed(false);
}

}  // namespace
}  // namespace zv::test
