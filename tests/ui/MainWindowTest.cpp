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
    EXPECT_EQ(RequestOf("--version"), LaunchRequest::PrintVersion);
    EXPECT_EQ(RequestOf("--help"), LaunchRequest::PrintHelp);
    for (const char* line : {"--version x", "-if Job.dat --help", ""})
        EXPECT_EQ(RequestOf(line), LaunchRequest::Run) << line;
    EXPECT_EQ(VersionLine(Version{20, 0, 1}), "Zandvast v.20.0.1");
    for (const char* piece : {"-if FILE", "-qu", "-x", "-cf 1", "-ps", "-pd", "-pr", "-dd", "-cd",
                              "-sy", "-vf", "-db", "-vl", "-ke", "-mx N"})
        EXPECT_NE(UsageText().find(piece), std::string::npos) << piece;
    // (Without any display: see the end-to-end tests.)
    EXPECT_EQ(ChooseDisplay("", {true, false, false}), DisplayChoice::AsConfigured);
    EXPECT_EQ(ChooseDisplay("-if Job.dat -qu", {true, false, false}), DisplayChoice::AsConfigured);
    EXPECT_EQ(ChooseDisplay("", {false, true, false}), DisplayChoice::AsConfigured);
    EXPECT_EQ(ChooseDisplay("", {false, false, true}), DisplayChoice::AsConfigured);
    // Platforms nobody sees, whose Qt warnings are dropped.
    const std::pair<const char*, bool> platforms[] = {
        {"offscreen", true},   {"minimal", true},     {"offscreen:fontengine=freetype", true},
        {"minimal;xcb", true}, {"xcb", false},        {"wayland;offscreen", false},
        {"", false},           {"offscreenx", false}, {"Offscreen", false}};
    for (const auto& [platform, unseen] : platforms)
        EXPECT_EQ(IsUnseenPlatform(platform), unseen) << platform;
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
        const std::optional<RunEndNotice> notice = NoticeForRunEnd(c.commandLine, c.status, log);
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
    frmVergelijker& w = rig.w();
    w.DriveList = {"stale:=OLD"};
    w.GetDriveList();
    w.GetDriveList();
    EXPECT_EQ(w.DriveList, (std::vector<std::string>{m + "/DATA1:=DATA1", m + "/nolabel:=***",
                                                     m + "/BACKUP:=BACKUP"}));
    const std::pair<std::string, std::string> desktops[] = {{"/home/anna/Bureaublad", "Bureaublad"},
                                                            {"Desktop", "Desktop"},
                                                            {"/home/anna/Desktop/", "Desktop"},
                                                            {"", ""}};
    for (const auto& [path, name] : desktops) {
        w.svc.env.desktopPath = path;
        EXPECT_EQ(w.GetDesktopName(), name) << path;
        EXPECT_EQ(w.DesktopPath, path);
    }
    w.svc.env.computerName = "Deze computer\\extra";
    EXPECT_EQ(w.GetComputerName(), "Deze computer");
    w.svc.env.computerName = "werkplek-7";
    EXPECT_EQ(w.GetComputerName(), "werkplek-7");
}

// The whole display of one mode: pictures, all three lines of each arrow,
// and the frame tooltips.
void ExpectDisplay(const WindowModel& ui, JobMode mode) {
    const bool syncing = mode == JobMode::Synchronise || mode == JobMode::SynchroniseDustbin;
    const auto lines = [](std::uint32_t c) { return std::array<std::uint32_t, 3>{c, c, c}; };
    EXPECT_EQ(ui.imNoVfy.visible, mode == JobMode::NoCheck);
    EXPECT_EQ(ui.imNoSync.visible, mode == JobMode::CheckOnly);
    EXPECT_EQ(ui.imSync.visible, mode == JobMode::Synchronise);
    EXPECT_EQ(ui.imSyncPlus.visible && ui.imPrullenbak.visible,
              mode == JobMode::SynchroniseDustbin);
    EXPECT_EQ(ui.Pijl1, lines(mode == JobMode::NoCheck ? kColourRed : kSys3DDarkShadow));
    EXPECT_EQ(ui.Pijl2, lines(syncing ? kSys3DDarkShadow : kSys3DHighlight));
    EXPECT_EQ(ui.Frame1.toolTip, mode == JobMode::NoCheck
                                     ? " backup wordt  NIET  gecontroleerd op ontbrekende mappen "
                                     : " backup wordt gecontroleerd op ontbrekende mappen ");
    EXPECT_EQ(ui.Frame2.toolTip, mode == JobMode::Synchronise ? " synchroniseren (ingeschakeld) "
                                 : mode == JobMode::SynchroniseDustbin
                                     ? " synchroniseren + prullenbak (ingeschakeld) "
                                     : " synchroniseren (uitgeschakeld) ");
}

TEST(ModeDisplay, TheFramesStepTheSwitchesAndTheDisplay) {
    EXPECT_EQ(ModeOfSwitches(false, true, true), JobMode::NoCheck);
    EXPECT_EQ(ModeOfSwitches(true, false, true), JobMode::CheckOnly);
    using Switches = std::array<bool, 3>;  // DoVerify, SyncActive, UseDustbin
    const struct {
        Switches before;
        int frame;
        Switches after;
        JobMode mode;
    } cases[] = {
        // Three clicks on Frame2 from synchronise come back to it.
        {{1, 1, 0}, 2, {1, 1, 1}, JobMode::SynchroniseDustbin},
        {{1, 1, 1}, 2, {1, 0, 0}, JobMode::CheckOnly},
        {{1, 0, 0}, 2, {1, 1, 0}, JobMode::Synchronise},
        {{0, 0, 0}, 2, {1, 1, 0}, JobMode::Synchronise},
        {{1, 0, 1}, 2, {1, 1, 1}, JobMode::SynchroniseDustbin},  // as a job file can leave it
        {{1, 1, 1}, 1, {0, 1, 0}, JobMode::NoCheck},             // SyncActive keeps its value
        {{0, 1, 0}, 1, {1, 1, 0}, JobMode::Synchronise},
        {{1, 0, 0}, 1, {0, 0, 0}, JobMode::NoCheck},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "Frame" << c.frame << " from " << c.before[0]
                                          << c.before[1] << c.before[2]);
        TestRig rig;
        frmVergelijker& w = rig.w();
        std::tie(w.DoVerify, w.SyncActive, w.UseDustbin) = std::tuple_cat(c.before);
        ShowMode(w, ModeOfSwitches(w.DoVerify, w.SyncActive, w.UseDustbin));
        c.frame == 1 ? w.Frame1_Click() : w.Frame2_Click();
        EXPECT_EQ((Switches{w.DoVerify, w.SyncActive, w.UseDustbin}), c.after);
        ExpectDisplay(w.ui, c.mode);
    }
}

// While minimised the caption shows the run's percentage and must stay.
TEST(MainWindow, FormResizeSetsTheCaptionOnlyWhenNotMinimised) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    w.ui.caption = "42 %";
    w.ui.state = WindowState::Minimised;
    w.Form_Resize();
    EXPECT_EQ(w.ui.caption, "42 %");
    EXPECT_TRUE(w.Minimised);
    w.ui.state = WindowState::Normal;
    w.Form_Resize();
    const Version& v = w.svc.env.version;
    EXPECT_EQ(w.ui.caption, "Zandvast & Backup Tool v." + std::to_string(v.major) + "." +
                                std::to_string(v.minor) + "." + std::to_string(v.revision));
    EXPECT_FALSE(w.Minimised);
}

// Typing clears the feedback; a confirmed job (Busy) takes no typing, no
// picker and no dustbin dialog. Leaving the date box runs the check.
TEST(MainWindow, InputGuards) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    w.ui.sbPanels = {"OK", "ongeldig/onvolledig", "2 min 5 sec"};
    w.ui.lblFiles.text = "/some/file";
    w.ui.Text1[0].foreColour = w.ui.Text1[2].foreColour = kColourRed;
    w.Busy = true;
    EXPECT_TRUE(w.Text1_KeyPress(0) && w.Text1_KeyPress(2) && w.text2_KeyPress());
    w.Text1_DblClick(0);
    w.imPrullenbak_DblClick();
    EXPECT_EQ(w.ui.panel(1), "OK");
    EXPECT_EQ(w.ui.Text1[0].foreColour, kColourRed);
    EXPECT_FALSE(w.ui.FolderTreeview1.visible);
    EXPECT_EQ(rig.host.dustbinDialogs, 0);
    w.Busy = false;
    EXPECT_FALSE(w.Text1_KeyPress(2) || w.text2_KeyPress());
    EXPECT_EQ(w.ui.sbPanels, (std::array<std::string, 3>{"Invoer", "", ""}));
    EXPECT_EQ(w.ui.lblFiles.text, "");
    EXPECT_TRUE(w.ui.Text1[0].foreColour == kColourBlack &&
                w.ui.Text1[2].foreColour == kColourBlack);
    w.ui.text2.text = "geen datum";
    w.text2_LostFocus();
    EXPECT_EQ(w.ui.panel(1), "Invoer:");
    w.ui.panel(1).clear();
    w.lblFiles_Click();
    EXPECT_EQ(w.ui.panel(1), "Invoer:");
}

TEST(MainWindow, Command1ShowsTheBackupFolderAttributesOrTheError) {
    TestRig rig;
    makeDirs(rig.root / "backup");
    rig.w().ui.Text1[2].text = rig.root / "backup";
    rig.w().Command1_Click();
    rig.w().ui.Text1[2].text = rig.root / "missing";
    rig.w().Command1_Click();
    ASSERT_EQ(rig.dialogs.shown.size(), 2u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "16");
    EXPECT_EQ(rig.dialogs.shown[1].text.rfind("Fout ", 0), 0u) << rig.dialogs.shown[1].text;
}

// The picker stands in for one box only; the folder last selected is taken,
// a virtual place by its name. (Gestures and Escape: see the widget tests.)
TEST(MainWindow, TheFolderPickerStandsInForThePathBox) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    w.ui.Text1[2].text = "/data/oud";
    w.Text1_DblClick(2);
    EXPECT_FALSE(w.ui.Text1[2].visible);
    EXPECT_TRUE(w.ui.Text1[0].visible);
    EXPECT_EQ(w.ui.pickerFolder, "/data/oud");
    w.FolderTreeview1_SelectionChanged("/data");
    w.FolderTreeview1_SelectionChanged("Bureaublad");
    w.FolderTreeview1_ChoiceEnded();
    EXPECT_TRUE(w.ui.Text1[2].visible);
    EXPECT_EQ(w.ui.Text1[2].text, "Bureaublad");
    EXPECT_EQ(w.ui.Text1[0].text, "");
}

}  // namespace
}  // namespace zv::test
