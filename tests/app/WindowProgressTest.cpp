#include "app/WindowProgress.h"
#include "sync/SyncFixture.h"

namespace zv::test {
namespace {

// The window's progress display over a synchronisation (the walk with the
// most steps) or driven directly.
class WindowProgressRun : public SyncFixture {
  protected:
    void syncShown() {
        (void)resolveRunFolders(w());
        w().progress.startPhase();
        syncRootFiles(w().run, w().job.backup, w().job.source);
        syncSubfolders(w().run, w().job.backup, w().job.source);
    }
};

// What each report shows: panel 1 names the walk, panel 2 the counts (the
// quick copy starts with the short form), panel 3 the files seen; the file
// line is green while a file is handled.
TEST_F(WindowProgressRun, EachReportShowsItsPanelsAndFileLine) {
    using Walk = RunProgress::Walk;
    const std::string counts = "Bestanden: 2         [ Verwijderd: 1 ]";
    const struct {
        Walk walk;
        bool fileOpen;  // a file started and not yet finished
        std::string panel1, panel2;
        std::uint32_t lineColour;
    } cases[] = {
        {Walk::Copy, true, "Kopieren", counts, kColourGreen},
        {Walk::Copy, false, "Kopieren", counts, kColourBlack},
        {Walk::QuickCopy, false, "Kopieren", "Bestanden: 2", kColourBlack},
        {Walk::Synchronise, true, "Synchroniseren", counts, kColourGreen},
    };
    writeFile(src + "/f", std::string(5000, 'x'));  // a total for the bar
    for (const auto& c : cases) {
        freshWindow(faulty);
        w().counts.copied = 2;
        w().counts.removed = 1;
        w().counts.seen = 3;
        w().ui.panel(1) = "Momentje..";
        WindowProgress& shown = w().progress;
        const long repaints = rig.pump.repaints;
        w().ui.progressBar.value = 50;  // where an earlier walk left it
        shown.walkStarted(c.walk, src);
        EXPECT_EQ(w().ui.progressBar.value, 0);
        // The copies show their bar at once, before the first file.
        EXPECT_EQ(rig.pump.repaints - repaints, c.walk == Walk::Synchronise ? 0 : 1);
        if (c.walk != Walk::QuickCopy) {
            shown.fileStarted(src + "/f");
            if (!c.fileOpen) shown.fileFinished(src + "/f");
        }
        EXPECT_EQ(w().ui.panel(1) + "|" + w().ui.panel(2) + "|" + w().ui.panel(3),
                  c.panel1 + "|" + c.panel2 + "|Van: 3");
        EXPECT_EQ(w().ui.currentFileLabel.text, c.walk == Walk::QuickCopy ? "" : src + "/f");
        EXPECT_EQ(w().ui.currentFileLabel.foreColour, c.lineColour);
        EXPECT_TRUE(w().ui.progressBar.visible);
        shown.countsChanged();
        EXPECT_EQ(w().ui.panel(2), counts);
        shown.runFinished();
        EXPECT_FALSE(w().ui.progressBar.visible);
    }
}

// The bar counts the backup tree without a first-level _RESTORE folder, which
// the walk does visit: below the root the caption then stops at 100 %.
TEST_F(WindowProgressRun, ScalesTheBarByTheBackupTreeAndCapsTheCaption) {
    for (const std::string& folder : {src, dst}) {
        writeFile(folder + "/a.txt", std::string(300, 'a'));
        writeFile(folder + "/Sub/b.txt", std::string(200, 'b'));
        writeFile(folder + "/_RESTORE/big.bin", std::string(1000, 'c'));
    }
    w().versionText = "Zandvast v.1.0.0";
    syncShown();
    EXPECT_EQ(w().ui.progressBar.max, 2000);
    EXPECT_GT(w().progress.percent(), 100.0);
    EXPECT_EQ(w().ui.caption, "100 %   Zandvast v.1.0.0");
    w().minimised = true;
    syncShown();
    EXPECT_EQ(w().ui.caption, "100 %");
}

// An unattended run with a terminal shows one line there: files, bytes and
// percentage, at most ten times a second, ended at the run's end; a run in
// the window, or without a terminal, prints nothing.
TEST_F(WindowProgressRun, AnUnattendedRunShowsOneLineOnATerminal) {
    for (const bool unattended : {true, false}) {
        freshWindow(faulty);
        std::vector<std::string> printed;
        w().terminal = [&](const std::string& line) { printed.push_back(line); };
        w().unattended = unattended;
        WindowProgress& shown = w().progress;
        shown.walkStarted(RunProgress::Walk::QuickCopy, src);  // an empty tree: no total
        for (int step = 0; step < 4; ++step) {                 // 0, 50, 100, 150 ms
            w().counts.seen = step + 1;
            shown.fileReached(2'500'000);
            rig.clock.current += std::chrono::milliseconds(50);
        }
        w().counts.copied = 3;
        shown.runFinished();
        if (!unattended) {
            EXPECT_TRUE(printed.empty());
            continue;
        }
        const std::vector<std::string> expected = {"\r1 bestand, 0 gekopieerd, 2 MB   ",
                                                   "\r3 bestanden, 0 gekopieerd, 8 MB   ",
                                                   "\r4 bestanden, 3 gekopieerd, 10 MB\n"};
        EXPECT_EQ(printed, expected);
    }
}

}  // namespace
}  // namespace zv::test
