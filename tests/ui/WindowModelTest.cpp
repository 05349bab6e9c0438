#include <gtest/gtest.h>

#include "platform/Attributes.h"
#include "support/TestRig.h"
#include "ui/DustbinWindow.h"
#include "ui/LaunchOptions.h"
#include "ui/ModeDisplay.h"

namespace zv::test {
namespace {

// Early requests are exact texts only; which platforms are unseen (printing: end-to-end tests).
TEST(LaunchOptions, VersionHelpAndTheDisplay) {
    for (const char* line : {"--version x", "-if Job.dat --help", ""})
        EXPECT_EQ(requestOf(line), LaunchRequest::Run) << line;
    for (const DisplayEnvironment shown :
         {DisplayEnvironment{false, false, true}, DisplayEnvironment{false, true, false}})
        EXPECT_EQ(chooseDisplay("-if Job.dat -qu", shown), DisplayChoice::AsConfigured);
    for (const char* platform : {"minimal", "offscreen:fontengine=freetype", "minimal;xcb"})
        EXPECT_TRUE(isUnseenPlatform(platform)) << platform;
    for (const char* platform : {"xcb", "wayland;offscreen", "offscreenx", "Offscreen"})
        EXPECT_FALSE(isUnseenPlatform(platform)) << platform;
}

// A frame click steps the switches (verify, synchronise, dustbin) and the pictures.
TEST(ModeDisplay, TheFramesStepTheSwitchesAndTheDisplay) {
    using Switches = std::array<bool, 3>;
    using enum JobMode;
    const std::tuple<Switches, int, Switches, JobMode> cases[] = {
        {{1, 1, 0}, 2, {1, 1, 1}, SynchroniseDustbin},
        {{1, 1, 1}, 2, {1, 0, 0}, CheckOnly},
        {{1, 0, 0}, 2, {1, 1, 0}, Synchronise},
        {{1, 0, 1}, 2, {1, 1, 1}, SynchroniseDustbin},  // as a job file can leave it
        {{1, 1, 1}, 1, {0, 1, 0}, NoCheck},             // job.synchronise keeps its value
        {{0, 1, 0}, 1, {1, 1, 0}, Synchronise}};
    for (const auto& [before, frame, after, mode] : cases) {
        SCOPED_TRACE(::testing::Message() << frame << before[0] << before[1] << before[2]);
        TestRig rig;
        AppWindow& w = rig.w();
        std::tie(w.job.verify, w.job.synchronise, w.job.useDustbin) = std::tuple_cat(before);
        showMode(w, modeOfSwitches(w.job.verify, w.job.synchronise, w.job.useDustbin));
        frame == 1 ? w.verifyArrowClicked() : w.syncArrowClicked();
        EXPECT_EQ((Switches{w.job.verify, w.job.synchronise, w.job.useDustbin}), after);
        const WindowModel& ui = w.ui;
        const bool bin = mode == SynchroniseDustbin;
        EXPECT_EQ(
            (std::vector<bool>{ui.noCheckPicture.visible, ui.noSyncPicture.visible,
                               ui.syncPicture.visible, ui.syncDustbinPicture.visible,
                               ui.dustbinPicture.visible}),
            (std::vector<bool>{mode == NoCheck, mode == CheckOnly, mode == Synchronise, bin, bin}));
    }
}

// OK in the dialog of a job with the marked dustbin oude-bak: box, dialog, job, folders.
TEST(DustbinDialog, OKTakesTheRecycleBinOrAFolder) {
    const std::string kBin = "<RECYCLER>", kAsk = "Map bestaat niet. Maken ? [Ja/Nee]|open";
    const std::string kFull = "Volledige padnaam S.V.P|open map oude-bak oude bak ";
    const std::string kOld = "media/SCHIJF/Bak nieuwe-bak oude-bak*";
    const std::tuple<std::string, MessageAnswer, std::string> cases[] = {
        {"SCHIJF", MessageAnswer::No, kFull + " |" + kOld},
        {"/", MessageAnswer::No, kFull + " |" + kOld},
        {"nieuw", MessageAnswer::No, kAsk + " map oude-bak oude bak  folderBox|" + kOld},
        {"bestand/bak", MessageAnswer::Yes,
         "Kan map niet maken.|open map oude-bak oude bak  |" + kOld},
        {"nieuw/diep/bak", MessageAnswer::Yes,
         kAsk.substr(0, kAsk.size() - 5) +
             "|dicht map nieuw/diep/bak nieuw/diep/bak nieuw/diep/bak |" +
             "media/SCHIJF/Bak nieuw nieuw/diep/bak* nieuwe-bak oude-bak|opgeslagen"},
        {"oude-bak", MessageAnswer::No, "|dicht map oude-bak oude-bak oude-bak |" + kOld},
        {"SCHIJF/Bak", MessageAnswer::No,
         "|dicht map media/SCHIJF/Bak SCHIJF/Bak media/SCHIJF/Bak |media/SCHIJF/Bak* nieuwe-bak "
         "oude-bak"},
        {kBin, MessageAnswer::No,
         "|dicht bak   " + kBin + " |media/SCHIJF/Bak nieuwe-bak oude-bak|opgeslagen"}};
    for (const auto& [typed, answer, expected] : cases) {
        SCOPED_TRACE(typed);
        TestRig rig;
        AppWindow& w = rig.w();
        for (const char* folder : {"oude-bak", "media/SCHIJF/Bak", "nieuwe-bak"})
            makeDirs(rig.root / folder);
        writeFile(rig.root / "bestand", "x");
        ASSERT_TRUE(
            rig.fs.setAttributes(rig.root / "oude-bak", kAttrDirectory | kAttrReadOnly).ok());
        w.driveList = {rig.root / "media/SCHIJF:=SCHIJF"};
        w.job.dustbinToFolder = true;
        w.job.dustbinPath = rig.root / "oude-bak";
        w.job.dustbinAsWritten = "oude bak";  // a folder job opens as typed
        DustbinWindow d(w);
        d.load();
        // Relative texts stand for folders in the test's own tree.
        const bool relative = typed != kBin && typed != "/" && !typed.starts_with("SCHIJF");
        typed == kBin ? d.dustbinChoiceClicked(1)
                      : void(d.folderBox.text = relative ? rig.root / typed : typed);
        rig.dialogs.script(answer);
        d.okClicked();
        std::string outcome;
        for (const auto& box : rig.dialogs.shown)
            outcome = box.text + (box.style == MessageStyle::YesNo ? " [Ja/Nee]" : "");
        const Job& job = w.job;
        outcome += std::string(d.closed ? "|dicht " : "|open ") +
                   (job.dustbinToTrash ? "bak " : "") + (job.dustbinToFolder ? "map " : "") +
                   job.dustbinPath + " " + job.dustbinAsWritten + " " +
                   w.ui.dustbinPicture.toolTip + " " + d.focus + "|";
        for (const char* folder :
             {"media/SCHIJF/Bak", "nieuw", "nieuw/diep/bak", "nieuwe-bak", "oude-bak"}) {
            std::uint32_t attributes = 0;
            if (!rig.fs.getAttributes(rig.root / folder, attributes).ok()) continue;
            outcome += std::string(folder) + (attributes & kAttrReadOnly ? "* " : " ");
        }
        outcome.pop_back();
        if (rig.fs.fileExists(rig.appFolder() + "/Init.dat")) outcome += "|opgeslagen";
        const std::string root = rig.root.path() + "/";
        for (std::size_t at; (at = outcome.find(root)) != std::string::npos;)
            outcome.erase(at, root.size());
        EXPECT_EQ(outcome, expected);
    }
}
// Refusals in the check's order, the box at fault red; then a good job stored and logged.
TEST(MainWindow, InputGuardsRefusalsOKAndTheDateCheckBox) {
    TestRig rig;
    AppWindow& w = rig.w();
    const std::string disk = rig.root / "media/MIJNSCHIJF";
    makeDirs(rig.root / "bron");
    makeDirs(disk + "/Backup");
    w.driveList = {disk + ":=MIJNSCHIJF"};
    w.ui.sourceBox.text = rig.root.path() + "//bron";  // stored collapsed
    w.ui.backupBox.text = "MIJNSCHIJF/Backup";
    w.ui.dateFilterBox.value = 1;
    w.dateFilterClicked();
    // A busy window takes no typing, picker or dustbin dialog.
    w.ui.panel(1) = "OK";
    w.busy = true;
    EXPECT_TRUE(w.pathBoxKeyPressed(0) && w.fromDateKeyPressed());
    w.pathBoxDoubleClicked(0);
    w.dustbinPictureDoubleClicked();
    EXPECT_EQ(std::tie(w.ui.panel(1), w.ui.folderPicker.visible, rig.host.dustbinDialogs),
              std::make_tuple("OK", false, 0));
    w.busy = false;
    EXPECT_FALSE(w.pathBoxKeyPressed(2) || w.fromDateKeyPressed());
    w.dustbinPictureDoubleClicked();
    EXPECT_EQ(std::tie(w.ui.panel(1), rig.host.dustbinDialogs), std::make_tuple("Status", 1));
    const auto refused = [&](const std::string& word, const std::string& detail) {
        EXPECT_FALSE(w.checkSettings());
        EXPECT_EQ(std::tie(w.ui.panel(1), w.ui.panel(2)), std::tie(word, detail));
    };
    w.job.source = "/vorige/bron";
    w.ui.fromDateBox.text = "2024-03-05 7:08";
    w.ui.sourceBox.text = rig.root / "weg";
    w.fromDateLeft();  // leaving the date box runs the check
    EXPECT_EQ(std::tie(w.ui.panel(1), w.ui.panel(2)),
              std::make_tuple("Invoer", "ongeldig/onvolledig"));
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

    w.job.dustbinAsWritten = w.job.dustbinPath = rig.root / "bak";
    EXPECT_TRUE(w.checkSettings());
    EXPECT_EQ(std::tie(w.job.fromDate, w.job.source, w.job.backup, w.ui.panel(1)),
              std::make_tuple("5-3-2024 07:08:00", rig.root / "bron", disk + "/Backup", "Status"));
    std::uint32_t attributes = 0;
    ASSERT_TRUE(rig.fs.getAttributes(rig.root / "bak", attributes).ok());
    EXPECT_TRUE(attributes & kAttrReadOnly) << attributes;
    const std::string line = w.log.dateText() + " " + w.log.timeText() + " Error: \"" +
                             (rig.root / "bak") + "\" path dustbin didn't exist, created";
    EXPECT_EQ(rig.logLines(), std::vector<std::string>{line});

    // OK saves the job; any change of the date check box asks for a new confirmation.
    w.okClicked();
    EXPECT_EQ(w.ui.panel(1) + w.ui.panel(2), "OK");
    EXPECT_TRUE(rig.fs.fileExists(rig.appFolder() + "/Init.dat"));
    for (int value : {0, 1}) {
        SCOPED_TRACE(value);
        w.okClicked();
        ASSERT_TRUE(w.ui.goButton.enabled);
        w.ui.dateFilterBox.value = value;
        w.dateFilterClicked();
        EXPECT_EQ(std::tie(w.ui.goButton.enabled, w.ui.goButton.text, w.job.noDateFilter,
                           w.ui.fromDateBox.foreColour),
                  std::make_tuple(false, ">------------>>>>", value != 1,
                                  value == 1 ? kSysWindowText : kSysActiveBorder));
    }
    // A missing backup folder is made only on Yes (and if it can be: see the walk).
    writeFile(rig.root / "bestand", "geen map");
    w.ui.backupBox.text = rig.root / "nieuw/backup";
    EXPECT_FALSE(w.checkSettings());  // answered No
    EXPECT_EQ(std::tie(w.job.backup, w.ui.backupBox.foreColour),
              std::make_tuple(disk + "/Backup", kColourRed));  // the one it had
    w.ui.backupBox.text = rig.root / "bestand/backup";
    rig.dialogs.script(MessageAnswer::Yes);
    EXPECT_FALSE(w.checkSettings());
    EXPECT_EQ(rig.dialogs.shown.at(2).text, "Kan doelmap niet maken.");
    EXPECT_FALSE(rig.fs.folderExists(rig.root / "nieuw"));
}

}  // namespace
}  // namespace zv::test
