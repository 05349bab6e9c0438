#include <gtest/gtest.h>

#include "platform/Attributes.h"
#include "platform/DateText.h"
#include "support/TestRig.h"

namespace zv::test {
namespace {

// A window with an existing source folder, a backup folder typed by its
// volume's name, and the date filter on.
struct GoodJob : TestRig {
    GoodJob() {
        makeDirs(root / "bron");
        makeDirs(disk + "/Backup");
        w().driveList = {disk + ":=MIJNSCHIJF"};
        w().ui.sourceBox.text = root.path() + "//bron";  // stored collapsed
        w().ui.backupBox.text = "MIJNSCHIJF/Backup";
        w().ui.dateFilterBox.value = 1;
        w().dateFilterClicked();
    }
    const std::string disk = root / "media/MIJNSCHIJF";
};

// Each refusal in the order the check makes them, the box at fault red;
// fixing one reaches the next. A good date is rewritten, a volume name kept
// as typed and stored as its mount path, and a dustbin folder that went
// missing made again, marked and logged.
TEST(SettingsCheck, RefusalsComeInOrderAndMarkTheBoxAtFault) {
    GoodJob rig;
    AppWindow& w = rig.w();
    const auto refused = [&](const std::string& word, const std::string& detail) {
        EXPECT_FALSE(w.checkSettings());
        EXPECT_EQ(std::tie(w.ui.panel(1), w.ui.panel(2)), std::tie(word, detail));
    };
    w.job.source = "/vorige/bron";
    w.ui.fromDateBox.text = "morgen vroeg";
    w.ui.sourceBox.text = rig.root / "weg";
    refused("Invoer:", "dd-mm-jj uu:mm:ss");  // focused: see the widget tests
    w.ui.fromDateBox.text = formatDateTime(rig.clock.current + std::chrono::hours(24));
    refused("Invoer:", "datum ligt in de toekomst");  // it would skip what changes till then
    EXPECT_EQ(w.ui.fromDateBox.foreColour, kColourRed);
    w.ui.fromDateBox.text = "2024-03-05 7:08";
    refused("Invoer", "ongeldig/onvolledig");
    EXPECT_EQ(std::tie(w.ui.focus, w.ui.sourceBox.foreColour, w.job.source),
              std::make_tuple("folderBox(0)", kColourRed, "/vorige/bron"));
    w.ui.sourceBox.text = "";
    refused("Invoer", "ongeldig/onvolledig");
    w.ui.sourceBox.text = rig.root / "bron";
    w.ui.backupBox.text = "";
    refused("Invoer", "ongeldig/onvolledig");
    EXPECT_EQ(w.ui.backupBox.foreColour, kColourRed);
    w.ui.backupBox.text = "MIJNSCHIJF/Backup";
    w.job.dustbinAsWritten = "GEENSCHIJF/Prullenbak";  // a volume that is not there
    refused("Fout:", "ongeldige prullenbak");
    w.job.dustbinAsWritten = w.job.dustbinPath = rig.root / "geen/diepe/bak";
    refused("Fout:", "ongeldige prullenbak");
    EXPECT_EQ(w.ui.fromDateBox.text, "5-3-2024 07:08:00");
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_EQ(w.log.text(), "");

    w.job.dustbinAsWritten = w.job.dustbinPath = rig.root / "bak";
    EXPECT_TRUE(w.checkSettings());
    EXPECT_EQ(std::tie(w.job.fromDate, w.job.source, w.ui.sourceBox.toolTip, w.ui.panel(1)),
              std::make_tuple("5-3-2024 07:08:00", rig.root / "bron", rig.root / "bron", "Status"));
    EXPECT_EQ(std::tie(w.job.backup, w.ui.backupBox.toolTip, w.ui.backupBox.text),
              std::make_tuple(rig.disk + "/Backup", rig.disk + "/Backup", "MIJNSCHIJF/Backup"));
    std::uint32_t attributes = 0;
    ASSERT_TRUE(rig.fs.getAttributes(rig.root / "bak", attributes).ok());
    EXPECT_TRUE(attributes & kAttrReadOnly) << attributes;
    const std::string line = w.log.dateText() + " " + w.log.timeText() + " Error: \"" +
                             (rig.root / "bak") + "\" path dustbin didn't exist, created";
    EXPECT_EQ(rig.logLines(), std::vector<std::string>{line});
    EXPECT_NE(readFile(rig.appFolder() + "/Error.Log").find(line), std::string::npos);

    // The folders overlap (each way: see the run's own checks).
    w.ui.backupBox.text = rig.root / "bron/.";
    refused("Fout:", "bronmap en doelmap zijn dezelfde map");
    w.ui.backupBox.text = "MIJNSCHIJF/Backup";
    w.ui.fromDateBox.text = "5/3/2024";
    EXPECT_TRUE(w.checkSettings());
    EXPECT_EQ(w.ui.fromDateBox.text, "5-3-2024 00:00:00");
}

// A missing backup folder is made only when the user says Yes (and it can
// be); an unattended job does not look at the folders; during a run the
// check accepts and changes nothing.
TEST(SettingsCheck, AMissingBackupFolderUnattendedOrDuringARun) {
    GoodJob rig;
    AppWindow& w = rig.w();
    writeFile(rig.root / "bestand", "geen map");
    w.ui.backupBox.text = rig.root / "nieuw/backup";
    EXPECT_FALSE(w.checkSettings());  // answered No
    EXPECT_EQ(std::tie(rig.dialogs.shown.at(0).text, rig.dialogs.shown[0].style),
              std::make_tuple("Doelmap bestaat niet. Maken?", MessageStyle::YesNo));
    EXPECT_EQ(std::tie(w.job.backup, w.ui.backupBox.foreColour), std::make_tuple("", kColourRed));
    w.ui.backupBox.text = rig.root / "bestand/backup";
    rig.dialogs.script(MessageAnswer::Yes);
    EXPECT_FALSE(w.checkSettings());
    EXPECT_EQ(rig.dialogs.shown.at(2).text, "Kan doelmap niet maken.");
    EXPECT_FALSE(rig.fs.folderExists(rig.root / "nieuw"));
    w.unattended = true;
    w.ui.sourceBox.text = rig.root / "geen-bron";
    w.job.dustbinAsWritten = w.job.dustbinPath = rig.root / "geen-prullenbak";
    EXPECT_TRUE(w.checkSettings());
    EXPECT_EQ(rig.dialogs.shown.size(), 3u);
    EXPECT_FALSE(rig.fs.folderExists(rig.root / "bestand/backup") ||
                 rig.fs.folderExists(rig.root / "geen-prullenbak"));
    EXPECT_EQ(w.job.backup, rig.root / "bestand/backup");
    w.runInProgress = true;
    w.ui.fromDateBox.text = "geen datum";
    w.job.source = "/lopende/bron";
    const WindowModel before = w.ui;
    EXPECT_TRUE(w.checkSettings());
    EXPECT_EQ(std::tie(w.job.source, w.ui.fromDateBox.foreColour, w.ui.statusPanels),
              std::tie("/lopende/bron", before.fromDateBox.foreColour, before.statusPanels));
}

// OK saves the job and unlocks GO; any change of the date check box asks for
// a new confirmation (greyed counts as unchecked, and a greyed date stays
// grey through the check); a refused OK keeps GO locked.
TEST(SettingsCheck, OKConfirmsAndTheDateCheckBoxUndoesIt) {
    GoodJob rig;
    AppWindow& w = rig.w();
    const auto confirmed = [&](bool yes) {
        EXPECT_EQ(
            std::tie(w.busy, w.ui.goButton.enabled, w.ui.goButton.text, w.ui.verifyArrow.enabled,
                     w.ui.syncArrow.enabled, w.ui.dateFilterBox.enabled),
            std::make_tuple(yes, yes, yes ? ">-->>  GO  <<--<" : ">------------>>>>", !yes, !yes,
                            !yes));
    };
    w.ui.currentFileLabel.text = "oud";
    w.okClicked();
    confirmed(true);
    EXPECT_EQ(w.ui.panel(1) + w.ui.panel(2) + w.ui.currentFileLabel.text, "OK");
    EXPECT_TRUE(rig.fs.fileExists(rig.appFolder() + "/Init.dat"));
    for (int value : {0, 2, 1}) {
        SCOPED_TRACE(value);
        w.okClicked();
        ASSERT_TRUE(w.ui.goButton.enabled);
        w.ui.dateFilterBox.value = value;
        w.dateFilterClicked();
        EXPECT_EQ(std::tie(w.ui.goButton.enabled, w.ui.goButton.text, w.job.noDateFilter,
                           w.ui.fromDateBox.foreColour),
                  std::make_tuple(false, ">------------>>>>", value != 1,
                                  value == 1 ? kSysWindowText : kSysActiveBorder));
        EXPECT_TRUE(w.checkSettings());
        EXPECT_EQ(w.ui.fromDateBox.foreColour, value == 1 ? kColourBlack : kSysActiveBorder);
    }
    w.ui.sourceBox.text = rig.root / "weg";
    w.okClicked();
    confirmed(false);
}

}  // namespace
}  // namespace zv::test
