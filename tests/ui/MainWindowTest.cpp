#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "support/TestRig.h"
#include "ui/LaunchOptions.h"
#include "ui/ModeDisplay.h"
#include "ui/RunEndNotice.h"

namespace zv::test {
namespace {

// Only the two exact texts are taken before the usual command-line handling.
// Without a display (cron) an unattended start draws off screen and an
// interactive one must not wait for a window nobody sees.
TEST(LaunchOptions, VersionHelpAndTheDisplay) {
    EXPECT_EQ(requestOf("--version"), LaunchRequest::PrintVersion);
    EXPECT_EQ(requestOf("--help"), LaunchRequest::PrintHelp);
    for (const char* line : {"--version x", "-if Job.dat --help", ""})
        EXPECT_EQ(requestOf(line), LaunchRequest::Run) << line;
    EXPECT_EQ(versionLine(Version{20, 0, 1}), "Zandvast v.20.0.1");
    for (const char* piece : {"-if FILE", "-qu", "-x", "-cf 1", "-ps", "-pd", "-pr", "-dd", "-cd",
                              "-sy", "-vf", "-db", "-vl", "-ke", "-mx N"})
        EXPECT_NE(usageText().find(piece), std::string::npos) << piece;
    // (Without any display: see the end-to-end tests.)
    EXPECT_EQ(chooseDisplay("", {true, false, false}), DisplayChoice::AsConfigured);
    EXPECT_EQ(chooseDisplay("-if Job.dat -qu", {true, false, false}), DisplayChoice::AsConfigured);
    EXPECT_EQ(chooseDisplay("", {false, true, false}), DisplayChoice::AsConfigured);
    EXPECT_EQ(chooseDisplay("", {false, false, true}), DisplayChoice::AsConfigured);
    // Platforms nobody sees, whose Qt warnings are dropped.
    const std::pair<const char*, bool> platforms[] = {
        {"offscreen", true},   {"minimal", true},     {"offscreen:fontengine=freetype", true},
        {"minimal;xcb", true}, {"xcb", false},        {"wayland;offscreen", false},
        {"", false},           {"offscreenx", false}, {"Offscreen", false}};
    for (const auto& [platform, unseen] : platforms)
        EXPECT_EQ(isUnseenPlatform(platform), unseen) << platform;
}

// The desktop hears of an unattended run only when it did not end well, with
// its exit status and where to read why.
TEST(RunEndNotice, OnlyUnattendedRunsThatEndedBadly) {
    const std::string log = "/home/u/.local/share/zandvast/Error.Log";
    struct Case {
        const char* commandLine;
        int status;
        const char* summary;  // nullptr: no notice
    };
    const Case cases[] = {{"-if Job.dat -qu", 0, nullptr},
                          {"-ps /data -pd /backup", 0, nullptr},
                          {"", 1, nullptr},  // an interactive session
                          {"-if Job.dat -qu", 1, "Zandvast: backup niet uitgevoerd"},
                          {"-if Job.dat -x", 2, "Zandvast: backup afgebroken"},
                          {"-ps /data -pd /backup", 3, "Zandvast: backup met fouten"},
                          {"-if Job.dat -qu cf 1", 4, "Zandvast: backup mislukt"}};
    std::set<std::string> whatHappened;  // one sentence of its own per status
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.commandLine) + " -> " + std::to_string(c.status));
        const std::optional<RunEndNotice> notice = noticeForRunEnd(c.commandLine, c.status, log);
        ASSERT_EQ(notice.has_value(), c.summary != nullptr);
        if (!notice) continue;
        EXPECT_EQ(notice->summary, c.summary);
        const std::string ending =
            " (afsluitstatus " + std::to_string(c.status) + "). Zie " + log + ".";
        ASSERT_TRUE(notice->body.ends_with(ending)) << notice->body;
        whatHappened.insert(notice->body.substr(0, notice->body.size() - ending.size()));
    }
    EXPECT_EQ(whatHappened.size(), 4u);
    EXPECT_FALSE(whatHappened.contains(""));
}

// One entry per user volume in mount order, "***" for a missing label, none
// for the kernel's own file systems; built afresh each time.
TEST(Lookups, DriveListDesktopAndComputerNames) {
    TestRig rig;
    const std::string m = rig.root / "media";
    makeDirs(rig.root / "labels");
    for (const char* volume : {"DATA1", "nolabel", "BACKUP"}) makeDirs(m + "/" + volume);
    ASSERT_EQ(symlink("/dev/zvtest-a1", (rig.root / "labels/DATA1").c_str()), 0);
    ASSERT_EQ(symlink("/dev/zvtest-c1", (rig.root / "labels/BACKUP").c_str()), 0);
    writeFile(rig.root / "mountinfo", "20 1 0:20 / /proc rw - proc proc rw\n21 1 8:1 / " + m +
                                          "/DATA1 rw - ext4 /dev/zvtest-a1 rw\n"
                                          "22 1 0:21 / /sys rw - sysfs sysfs rw\n23 1 8:2 / " +
                                          m + "/nolabel rw - ext4 /dev/zvtest-b1 rw\n24 1 8:3 / " +
                                          m + "/BACKUP rw - vfat /dev/zvtest-c1 rw\n");
    LinuxFileSystem fs(MountSources{rig.root / "mountinfo", rig.root / "labels", false});
    rig.rebuildWindow(fs);
    AppWindow& w = rig.w();
    w.driveList = {"stale:=OLD"};
    w.readDriveList();
    w.readDriveList();
    EXPECT_EQ(w.driveList, (std::vector<std::string>{m + "/DATA1:=DATA1", m + "/nolabel:=***",
                                                     m + "/BACKUP:=BACKUP"}));
    const std::pair<std::string, std::string> desktops[] = {{"/home/anna/Bureaublad", "Bureaublad"},
                                                            {"Desktop", "Desktop"},
                                                            {"/home/anna/Desktop/", "Desktop"},
                                                            {"", ""}};
    for (const auto& [path, name] : desktops) {
        w.svc.env.desktopPath = path;
        EXPECT_EQ(w.readDesktopName(), name) << path;
        EXPECT_EQ(w.desktopPath, path);
    }
    w.svc.env.computerName = "Deze computer\\extra";
    EXPECT_EQ(w.readComputerName(), "Deze computer");
    w.svc.env.computerName = "werkplek-7";
    EXPECT_EQ(w.readComputerName(), "werkplek-7");
}

// The whole display of one mode: pictures, all three lines of each arrow,
// and the frame tooltips.
void ExpectDisplay(const WindowModel& ui, JobMode mode) {
    const bool syncing = mode == JobMode::Synchronise || mode == JobMode::SynchroniseDustbin;
    const auto lines = [](std::uint32_t c) { return std::array<std::uint32_t, 3>{c, c, c}; };
    EXPECT_EQ(ui.noCheckPicture.visible, mode == JobMode::NoCheck);
    EXPECT_EQ(ui.noSyncPicture.visible, mode == JobMode::CheckOnly);
    EXPECT_EQ(ui.syncPicture.visible, mode == JobMode::Synchronise);
    EXPECT_EQ(ui.syncDustbinPicture.visible && ui.dustbinPicture.visible,
              mode == JobMode::SynchroniseDustbin);
    EXPECT_EQ(ui.verifyArrowLines, lines(mode == JobMode::NoCheck ? kColourRed : kSys3DDarkShadow));
    EXPECT_EQ(ui.syncArrowLines, lines(syncing ? kSys3DDarkShadow : kSys3DHighlight));
    EXPECT_EQ(ui.verifyArrow.toolTip,
              mode == JobMode::NoCheck ? " backup wordt  NIET  gecontroleerd op ontbrekende mappen "
                                       : " backup wordt gecontroleerd op ontbrekende mappen ");
    EXPECT_EQ(ui.syncArrow.toolTip, mode == JobMode::Synchronise ? " synchroniseren (ingeschakeld) "
                                    : mode == JobMode::SynchroniseDustbin
                                        ? " synchroniseren + prullenbak (ingeschakeld) "
                                        : " synchroniseren (uitgeschakeld) ");
}

TEST(ModeDisplay, TheFramesStepTheSwitchesAndTheDisplay) {
    EXPECT_EQ(modeOfSwitches(false, true, true), JobMode::NoCheck);
    EXPECT_EQ(modeOfSwitches(true, false, true), JobMode::CheckOnly);
    using Switches = std::array<bool, 3>;  // job.verify, job.synchronise, job.useDustbin
    const struct {
        Switches before;
        int frame;
        Switches after;
        JobMode mode;
    } cases[] = {
        // Three clicks on syncArrow from synchronise come back to it.
        {{1, 1, 0}, 2, {1, 1, 1}, JobMode::SynchroniseDustbin},
        {{1, 1, 1}, 2, {1, 0, 0}, JobMode::CheckOnly},
        {{1, 0, 0}, 2, {1, 1, 0}, JobMode::Synchronise},
        {{0, 0, 0}, 2, {1, 1, 0}, JobMode::Synchronise},
        {{1, 0, 1}, 2, {1, 1, 1}, JobMode::SynchroniseDustbin},  // as a job file can leave it
        {{1, 1, 1}, 1, {0, 1, 0}, JobMode::NoCheck},             // job.synchronise keeps its value
        {{0, 1, 0}, 1, {1, 1, 0}, JobMode::Synchronise},
        {{1, 0, 0}, 1, {0, 0, 0}, JobMode::NoCheck},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "Frame" << c.frame << " from " << c.before[0]
                                          << c.before[1] << c.before[2]);
        TestRig rig;
        AppWindow& w = rig.w();
        std::tie(w.job.verify, w.job.synchronise, w.job.useDustbin) = std::tuple_cat(c.before);
        showMode(w, modeOfSwitches(w.job.verify, w.job.synchronise, w.job.useDustbin));
        c.frame == 1 ? w.verifyArrowClicked() : w.syncArrowClicked();
        EXPECT_EQ((Switches{w.job.verify, w.job.synchronise, w.job.useDustbin}), c.after);
        ExpectDisplay(w.ui, c.mode);
    }
}

// While minimised the caption shows the run's percentage and must stay.
TEST(MainWindow, FormResizeSetsTheCaptionOnlyWhenNotMinimised) {
    TestRig rig;
    AppWindow& w = rig.w();
    w.ui.caption = "42 %";
    w.ui.state = WindowState::Minimised;
    w.resized();
    EXPECT_EQ(w.ui.caption, "42 %");
    EXPECT_TRUE(w.minimised);
    w.ui.state = WindowState::Normal;
    w.resized();
    const Version& v = w.svc.env.version;
    EXPECT_EQ(w.ui.caption, "Zandvast & Backup Tool v." + std::to_string(v.major) + "." +
                                std::to_string(v.minor) + "." + std::to_string(v.revision));
    EXPECT_FALSE(w.minimised);
}

// Typing clears the feedback; a confirmed job (busy) takes no typing, no
// picker and no dustbin dialog. Leaving the date box runs the check.
TEST(MainWindow, InputGuards) {
    TestRig rig;
    AppWindow& w = rig.w();
    w.ui.statusPanels = {"OK", "ongeldig/onvolledig", "2 min 5 sec"};
    w.ui.currentFileLabel.text = "/some/file";
    w.ui.sourceBox.foreColour = w.ui.backupBox.foreColour = kColourRed;
    w.busy = true;
    EXPECT_TRUE(w.pathBoxKeyPressed(0) && w.pathBoxKeyPressed(2) && w.fromDateKeyPressed());
    w.pathBoxDoubleClicked(0);
    w.dustbinPictureDoubleClicked();
    EXPECT_EQ(w.ui.panel(1), "OK");
    EXPECT_EQ(w.ui.sourceBox.foreColour, kColourRed);
    EXPECT_FALSE(w.ui.folderPicker.visible);
    EXPECT_EQ(rig.host.dustbinDialogs, 0);
    w.busy = false;
    EXPECT_FALSE(w.pathBoxKeyPressed(2) || w.fromDateKeyPressed());
    EXPECT_EQ(w.ui.statusPanels, (std::array<std::string, 3>{"Invoer", "", ""}));
    EXPECT_EQ(w.ui.currentFileLabel.text, "");
    EXPECT_TRUE(w.ui.sourceBox.foreColour == kColourBlack &&
                w.ui.backupBox.foreColour == kColourBlack);
    w.ui.fromDateBox.text = "geen datum";
    w.fromDateLeft();
    EXPECT_EQ(w.ui.panel(1), "Invoer:");
    w.ui.panel(1).clear();
    w.currentFileClicked();
    EXPECT_EQ(w.ui.panel(1), "Invoer:");
}

TEST(MainWindow, Command1ShowsTheBackupFolderAttributesOrTheError) {
    TestRig rig;
    makeDirs(rig.root / "backup");
    rig.w().ui.backupBox.text = rig.root / "backup";
    rig.w().attributesClicked();
    rig.w().ui.backupBox.text = rig.root / "missing";
    rig.w().attributesClicked();
    ASSERT_EQ(rig.dialogs.shown.size(), 2u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "16");
    EXPECT_EQ(rig.dialogs.shown[1].text.rfind("Fout ", 0), 0u) << rig.dialogs.shown[1].text;
}

// The picker stands in for one box only; the folder last selected is taken,
// a virtual place by its name. (Gestures and Escape: see the widget tests.)
TEST(MainWindow, TheFolderPickerStandsInForThePathBox) {
    TestRig rig;
    AppWindow& w = rig.w();
    w.ui.backupBox.text = "/data/oud";
    w.pathBoxDoubleClicked(2);
    EXPECT_FALSE(w.ui.backupBox.visible);
    EXPECT_TRUE(w.ui.sourceBox.visible);
    EXPECT_EQ(w.ui.pickerFolder, "/data/oud");
    w.pickerSelectionChanged("/data");
    w.pickerSelectionChanged("Bureaublad");
    w.pickerChoiceEnded();
    EXPECT_TRUE(w.ui.backupBox.visible);
    EXPECT_EQ(w.ui.backupBox.text, "Bureaublad");
    EXPECT_EQ(w.ui.sourceBox.text, "");
}

}  // namespace
}  // namespace zv::test
