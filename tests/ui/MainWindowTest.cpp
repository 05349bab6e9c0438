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
// interactive one must not wait for a window nobody sees; platforms nobody
// sees get their Qt warnings dropped. (What is printed: see the end-to-end
// tests.)
TEST(LaunchOptions, VersionHelpAndTheDisplay) {
    EXPECT_EQ(requestOf("--version"), LaunchRequest::PrintVersion);
    EXPECT_EQ(requestOf("--help"), LaunchRequest::PrintHelp);
    for (const char* line : {"--version x", "-if Job.dat --help", ""})
        EXPECT_EQ(requestOf(line), LaunchRequest::Run) << line;
    for (const char* piece : {"-if FILE", "-ps", "-mx N", "--version"})
        EXPECT_NE(usageText().find(piece), std::string::npos) << piece;
    for (const DisplayEnvironment shown :
         {DisplayEnvironment{true, false, false}, DisplayEnvironment{false, true, false},
          DisplayEnvironment{false, false, true}})
        EXPECT_EQ(chooseDisplay("-if Job.dat -qu", shown), DisplayChoice::AsConfigured);
    EXPECT_EQ(chooseDisplay("-if Job.dat -qu", {}), DisplayChoice::Offscreen);
    EXPECT_EQ(chooseDisplay("", {}), DisplayChoice::NoDisplay);
    const std::pair<const char*, bool> platforms[] = {
        {"offscreen", true},   {"minimal", true},     {"offscreen:fontengine=freetype", true},
        {"minimal;xcb", true}, {"xcb", false},        {"wayland;offscreen", false},
        {"", false},           {"offscreenx", false}, {"Offscreen", false}};
    for (const auto& [platform, unseen] : platforms)
        EXPECT_EQ(isUnseenPlatform(platform), unseen) << platform;
}

// The desktop hears of an unattended run only when it did not end well, with
// its exit status and where to read why, in a sentence of its own per status.
TEST(RunEndNotice, OnlyUnattendedRunsThatEndedBadly) {
    const std::string log = "/home/u/.local/share/zandvast/Error.Log";
    const std::tuple<const char*, int, const char*> cases[] = {
        {"-if Job.dat -qu", 0, nullptr},  // nullptr: no notice
        {"-ps /data -pd /backup", 0, nullptr},
        {"", 1, nullptr},  // an interactive session
        {"-if Job.dat -qu", 1, "Zandvast: backup niet uitgevoerd"},
        {"-if Job.dat -x", 2, "Zandvast: backup afgebroken"},
        {"-ps /data -pd /backup", 3, "Zandvast: backup met fouten"},
        {"-if Job.dat -qu cf 1", 4, "Zandvast: backup mislukt"}};
    std::set<std::string> whatHappened;
    for (const auto& [line, status, summary] : cases) {
        const std::optional<RunEndNotice> notice = noticeForRunEnd(line, status, log);
        ASSERT_EQ(notice.has_value(), summary != nullptr) << line << status;
        if (!notice) continue;
        const std::string end = " (afsluitstatus " + std::to_string(status) + "). Zie " + log + ".";
        EXPECT_EQ(notice->summary, summary);
        ASSERT_TRUE(notice->body.ends_with(end)) << notice->body;
        whatHappened.insert(notice->body.substr(0, notice->body.size() - end.size()));
    }
    EXPECT_EQ(whatHappened.size(), 4u);
    EXPECT_FALSE(whatHappened.contains(""));
}

// One entry per volume in mount order, "***" for a missing label, built
// afresh each time; the desktop's name and the computer's.
TEST(Lookups, DriveListDesktopAndComputerNames) {
    TestRig rig;
    const std::string m = rig.root / "media";
    makeDirs(rig.root / "labels");
    for (const char* volume : {"DATA1", "nolabel"}) makeDirs(m + "/" + volume);
    ASSERT_EQ(symlink("/dev/zvtest-a1", (rig.root / "labels/DATA1").c_str()), 0);
    writeFile(rig.root / "mountinfo", "21 1 8:1 / " + m + "/DATA1 rw - ext4 /dev/zvtest-a1 rw\n" +
                                          "23 1 8:2 / " + m + "/nolabel rw - ext4 /dev/zvb rw\n");
    LinuxFileSystem fs(MountSources{rig.root / "mountinfo", rig.root / "labels", false});
    rig.rebuildWindow(fs);
    AppWindow& w = rig.w();
    w.driveList = {"stale:=OLD"};
    w.readDriveList();
    w.readDriveList();
    EXPECT_EQ(w.driveList, (std::vector<std::string>{m + "/DATA1:=DATA1", m + "/nolabel:=***"}));
    const std::pair<std::string, std::string> desktops[] = {{"/home/anna/Bureaublad", "Bureaublad"},
                                                            {"Desktop", "Desktop"},
                                                            {"/home/anna/Desktop/", "Desktop"},
                                                            {"/", "/"},
                                                            {"", ""}};
    for (const auto& [path, name] : desktops) {
        w.svc.env.desktopPath = path;
        EXPECT_EQ(std::make_tuple(w.readDesktopName(), w.desktopPath), std::tie(name, path));
    }
    for (const char* name : {"Deze computer\\extra", "Deze computer"}) {
        w.svc.env.computerName = name;
        EXPECT_EQ(w.readComputerName(), "Deze computer");
    }
}

// A frame click steps the switches (job.verify, job.synchronise,
// job.useDustbin), and the display shows the new mode: pictures, all three
// lines of each arrow and the frame tooltips.
TEST(ModeDisplay, TheFramesStepTheSwitchesAndTheDisplay) {
    using Switches = std::array<bool, 3>;
    using enum JobMode;
    const std::tuple<Switches, int, Switches, JobMode> cases[] = {
        // Three clicks on syncArrow from synchronise come back to it.
        {{1, 1, 0}, 2, {1, 1, 1}, SynchroniseDustbin},
        {{1, 1, 1}, 2, {1, 0, 0}, CheckOnly},
        {{1, 0, 0}, 2, {1, 1, 0}, Synchronise},
        {{0, 0, 0}, 2, {1, 1, 0}, Synchronise},
        {{1, 0, 1}, 2, {1, 1, 1}, SynchroniseDustbin},  // as a job file can leave it
        {{1, 1, 1}, 1, {0, 1, 0}, NoCheck},             // job.synchronise keeps its value
        {{0, 1, 0}, 1, {1, 1, 0}, Synchronise},
        {{1, 0, 0}, 1, {0, 0, 0}, NoCheck}};
    for (const auto& [before, frame, after, mode] : cases) {
        SCOPED_TRACE(::testing::Message() << frame << before[0] << before[1] << before[2]);
        TestRig rig;
        AppWindow& w = rig.w();
        std::tie(w.job.verify, w.job.synchronise, w.job.useDustbin) = std::tuple_cat(before);
        showMode(w, modeOfSwitches(w.job.verify, w.job.synchronise, w.job.useDustbin));
        frame == 1 ? w.verifyArrowClicked() : w.syncArrowClicked();
        EXPECT_EQ((Switches{w.job.verify, w.job.synchronise, w.job.useDustbin}), after);
        const WindowModel& ui = w.ui;
        const bool bin = mode == SynchroniseDustbin, syncing = bin || mode == Synchronise;
        EXPECT_EQ(
            (std::vector<bool>{ui.noCheckPicture.visible, ui.noSyncPicture.visible,
                               ui.syncPicture.visible, ui.syncDustbinPicture.visible,
                               ui.dustbinPicture.visible}),
            (std::vector<bool>{mode == NoCheck, mode == CheckOnly, mode == Synchronise, bin, bin}));
        const auto lines = [](std::uint32_t k) { return std::array<std::uint32_t, 3>{k, k, k}; };
        EXPECT_EQ(std::tie(ui.verifyArrowLines, ui.syncArrowLines),
                  std::make_tuple(lines(mode == NoCheck ? kColourRed : kSys3DDarkShadow),
                                  lines(syncing ? kSys3DDarkShadow : kSys3DHighlight)));
        EXPECT_EQ(ui.verifyArrow.toolTip,
                  mode == NoCheck ? " backup wordt  NIET  gecontroleerd op ontbrekende mappen "
                                  : " backup wordt gecontroleerd op ontbrekende mappen ");
        EXPECT_EQ(ui.syncArrow.toolTip, !syncing ? " synchroniseren (uitgeschakeld) "
                                        : bin    ? " synchroniseren + prullenbak (ingeschakeld) "
                                                 : " synchroniseren (ingeschakeld) ");
    }
}

// While minimised the caption shows the run's percentage and must stay.
// Typing clears the feedback; a confirmed job (busy) takes no typing, no
// picker and no dustbin dialog. Leaving the date box runs the check, and the
// attributes button shows the backup folder's, or the error.
TEST(MainWindow, CaptionInputGuardsAndTheAttributes) {
    TestRig rig;
    AppWindow& w = rig.w();
    const std::string full = w.ui.caption;
    EXPECT_TRUE(full.starts_with("Zandvast & Backup Tool v.")) << full;
    for (const bool minimised : {true, false}) {
        w.ui.caption = "42 %";
        w.ui.state = minimised ? WindowState::Minimised : WindowState::Normal;
        w.resized();
        EXPECT_EQ(std::tie(w.ui.caption, w.minimised),
                  std::make_tuple(minimised ? "42 %" : full, minimised));
    }
    w.ui.statusPanels = {"OK", "ongeldig/onvolledig", "2 min 5 sec"};
    w.ui.currentFileLabel.text = "/some/file";
    w.ui.sourceBox.foreColour = w.ui.backupBox.foreColour = kColourRed;
    w.busy = true;
    EXPECT_TRUE(w.pathBoxKeyPressed(0) && w.pathBoxKeyPressed(2) && w.fromDateKeyPressed());
    w.pathBoxDoubleClicked(0);
    w.dustbinPictureDoubleClicked();
    EXPECT_EQ(std::tie(w.ui.panel(1), w.ui.sourceBox.foreColour, w.ui.folderPicker.visible,
                       rig.host.dustbinDialogs),
              std::make_tuple("OK", kColourRed, false, 0));
    w.busy = false;
    EXPECT_FALSE(w.pathBoxKeyPressed(2) || w.fromDateKeyPressed());
    EXPECT_EQ(std::tie(w.ui.statusPanels, w.ui.currentFileLabel.text, w.ui.sourceBox.foreColour,
                       w.ui.backupBox.foreColour),
              std::make_tuple(std::array<std::string, 3>{"Invoer", "", ""}, "", kColourBlack,
                              kColourBlack));
    w.dustbinPictureDoubleClicked();
    EXPECT_EQ(std::tie(w.ui.panel(1), rig.host.dustbinDialogs), std::make_tuple("Status", 1));
    w.ui.fromDateBox.text = "geen datum";
    w.fromDateLeft();
    EXPECT_EQ(w.ui.panel(1), "Invoer:");
    w.ui.panel(1).clear();
    w.currentFileClicked();
    EXPECT_EQ(w.ui.panel(1), "Invoer:");
    makeDirs(rig.root / "backup");
    for (const char* folder : {"backup", "missing"}) {
        w.ui.backupBox.text = rig.root / folder;
        w.attributesClicked();
    }
    ASSERT_EQ(rig.dialogs.shown.size(), 2u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "16");
    EXPECT_TRUE(rig.dialogs.shown[1].text.starts_with("Fout ")) << rig.dialogs.shown[1].text;
}

}  // namespace
}  // namespace zv::test
