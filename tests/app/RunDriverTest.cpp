#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <string>

#include "app/frmVergelijker.h"
#include "platform/DateText.h"
#include "support/FaultInjectingFileSystem.h"
#include "support/TestRig.h"

namespace zv::test {
namespace {

bool isThere(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// A confirmed job: src/ into dst/, checked mode, date filter off.
class RunDriver : public ::testing::Test {
  protected:
    RunDriver() {
        src = rig.root / "src";
        dst = rig.root / "dst";
        makeDirs(src);
        makeDirs(dst);
        frmVergelijker& win = w();
        win.SourcePath = src;
        win.DestinationPath = dst;
        win.FromDate = "1-1-2000 00:00:00";
        win.ui.text2.text = win.FromDate;
        win.NoDateCheck = true;
        win.DoVerify = true;
        win.Busy = true;
        win.ui.cmdGo.text = "GO";
        win.ui.cmdGo.enabled = true;
        start = rig.clock.current;
    }

    frmVergelijker& w() { return rig.w(); }
    std::string userBreakLine() const {
        return formatDate(rig.clock.current) + " " + formatTime(rig.clock.current) +
               "   -  user break";
    }
    int count(const std::string& line) const {
        int n = 0;
        for (const std::string& l : rig.logLines()) n += l == line;
        return n;
    }

    TestRig rig;
    std::string src;
    std::string dst;
    DateTime start{};
};

TEST_F(RunDriver, ACompletedRunCopiesShowsKlaarAndTheDuration) {
    writeFile(src + "/a.txt", "a");
    writeFile(src + "/sub/b.txt", "b");
    rig.pump.hookAt = 3;
    rig.pump.hook = [this] { rig.clock.current += std::chrono::seconds(125); };
    w().cmdGo_Click();
    EXPECT_EQ(readFile(dst + "/a.txt"), "a");
    EXPECT_EQ(readFile(dst + "/sub/b.txt"), "b");
    EXPECT_EQ(w().ui.panel(1), "Klaar");
    EXPECT_EQ(w().ui.panel(3), "2 min 5 sec");
    EXPECT_EQ(w().ElapsedSeconds, 125);
    EXPECT_TRUE(w().RunCompleted);
    EXPECT_FALSE(w().RunInProgress);
    EXPECT_FALSE(w().Busy);
    EXPECT_FALSE(w().ui.closed);
    EXPECT_FALSE(w().ui.ProgressBar1.visible);
    EXPECT_FALSE(w().ProgressScaled);
    EXPECT_EQ(w().FilesCopied, 2);
    EXPECT_TRUE(isThere(rig.appFolder() + "/Error.Log"));
}

TEST_F(RunDriver, TheNextFromDateIsTheMomentTheRunStarted) {
    writeFile(src + "/a.txt", "a");
    rig.pump.hookAt = 3;
    rig.pump.hook = [this] { rig.clock.current += std::chrono::minutes(10); };
    w().cmdGo_Click();
    EXPECT_EQ(w().RunStartTime, start);
    EXPECT_EQ(w().ui.text2.text, formatDateTime(start));
    EXPECT_NE(w().ui.text2.text, formatDateTime(rig.clock.current));
}

TEST_F(RunDriver, AfterARunTheGoButtonNeedsANewConfirmation) {
    w().cmdGo_Click();
    EXPECT_FALSE(w().ui.cmdGo.enabled);
    EXPECT_EQ(w().ui.cmdGo.text, ">------------>>>>");
    EXPECT_EQ(w().ui.cmdExit.text, "Exit");
}

TEST_F(RunDriver, TheWindowIsLockedDuringTheRunAndUnlockedAfter) {
    writeFile(src + "/a.txt", "a");
    w().ui.Check1.value = 0;
    w().ui.Text1[0].enabled = false;
    w().ui.Text1[2].enabled = false;
    w().ui.text2.enabled = false;
    w().ui.imPrullenbak.enabled = false;
    bool checked = false;
    rig.pump.hookAt = 4;
    rig.pump.hook = [this, &checked] {
        const WindowModel& ui = w().ui;
        EXPECT_FALSE(ui.cmdGo.enabled);
        EXPECT_FALSE(ui.cmdOK.enabled);
        EXPECT_FALSE(ui.Check1.enabled);
        EXPECT_FALSE(ui.Frame1.enabled);
        EXPECT_FALSE(ui.Frame2.enabled);
        EXPECT_TRUE(ui.txtHide.visible);
        EXPECT_TRUE(ui.cmdExit.enabled);
        EXPECT_TRUE(w().RunInProgress);
        checked = true;
    };
    w().cmdGo_Click();
    ASSERT_TRUE(checked);
    const WindowModel& ui = w().ui;
    EXPECT_TRUE(ui.cmdOK.enabled);
    EXPECT_TRUE(ui.cmdExit.enabled);
    EXPECT_TRUE(ui.Text1[0].enabled);
    EXPECT_TRUE(ui.Text1[2].enabled);
    EXPECT_TRUE(ui.text2.enabled);
    EXPECT_TRUE(ui.Check1.enabled);
    EXPECT_TRUE(ui.Frame1.enabled);
    EXPECT_TRUE(ui.Frame2.enabled);
    EXPECT_TRUE(ui.imPrullenbak.enabled);
    EXPECT_FALSE(ui.txtHide.visible);
}

TEST_F(RunDriver, TheDateCoverStaysHiddenWhenTheDateFilterIsOn) {
    w().ui.Check1.value = 1;
    bool checked = false;
    rig.pump.hookAt = 3;
    rig.pump.hook = [this, &checked] {
        EXPECT_FALSE(w().ui.txtHide.visible);
        checked = true;
    };
    w().cmdGo_Click();
    EXPECT_TRUE(checked);
}

TEST_F(RunDriver, MomentjeIsShownAndRepaintedBeforeTheFirstYield) {
    bool checked = false;
    rig.pump.hookAt = 1;
    rig.pump.hook = [this, &checked] {
        EXPECT_EQ(w().ui.panel(1), "Momentje..");
        EXPECT_EQ(w().ui.panel(3), "Van: 0");
        EXPECT_GE(rig.pump.repaints, 1);
        EXPECT_EQ(w().ui.state, WindowState::Normal);
        checked = true;
    };
    w().ui.state = WindowState::Minimised;
    w().ui.lblFiles.text = "old text";
    w().cmdGo_Click();
    EXPECT_TRUE(checked);
}

TEST_F(RunDriver, TheCountersStartFromZero) {
    writeFile(src + "/a.txt", "a");
    w().FilesCopied = 7;
    w().ItemsRemoved = 3;
    w().FilesSeen = 9;
    w().BytesDone = 1e9;
    w().cmdGo_Click();
    EXPECT_EQ(w().FilesCopied, 1);
    EXPECT_EQ(w().ItemsRemoved, 0);
    EXPECT_EQ(w().FilesSeen, 1);
}

TEST_F(RunDriver, CheckedModeWithoutSynchronisationKeepsEmptyFolders) {
    makeDirs(src + "/empty");
    w().KillEmpty = true;
    w().SyncActive = false;
    w().cmdGo_Click();
    EXPECT_TRUE(isThere(dst + "/empty"));
}

TEST_F(RunDriver, QuickModeRemovesEmptyFoldersOnlyWithSynchronisationOn) {
    writeFile(src + "/keep.txt", "k");
    makeDirs(src + "/empty");
    w().DoVerify = false;
    w().KillEmpty = true;
    w().SyncActive = false;
    w().cmdGo_Click();
    EXPECT_TRUE(isThere(dst + "/empty"));
    EXPECT_TRUE(isThere(dst + "/keep.txt"));

    w().SyncActive = true;
    w().cmdGo_Click();
    EXPECT_FALSE(isThere(dst + "/empty"));
    EXPECT_TRUE(isThere(dst + "/keep.txt"));
}

TEST_F(RunDriver, ExitDuringARunBreaksItOffAndClosesTheWindow) {
    for (int i = 0; i < 5; ++i) writeFile(src + "/f" + std::to_string(i), "x");
    const std::string dateBefore = w().ui.text2.text;
    rig.pump.hookAt = 8;
    rig.pump.hook = [this] { w().cmdExit_Click(); };
    w().cmdGo_Click();
    EXPECT_TRUE(w().UserBreak);
    EXPECT_TRUE(w().ui.closed);
    EXPECT_FALSE(w().RunCompleted);
    EXPECT_LT(w().FilesCopied, 5);
    EXPECT_EQ(w().ui.text2.text, dateBefore);
    EXPECT_GE(count(userBreakLine()), 2);
    EXPECT_NE(readFile(rig.appFolder() + "/Error.Log").find("   -  user break"), std::string::npos);
}

TEST_F(RunDriver, ARunWithoutItsSourceCopiesAndRemovesNothing) {
    const std::string missing = rig.root / "unplugged/data";
    w().SourcePath = missing;
    makeDirs(dst + "/empty");
    w().KillEmpty = true;
    w().SyncActive = true;
    const std::string dateBefore = w().ui.text2.text;
    w().cmdGo_Click();
    const DateTime now = rig.clock.current;
    EXPECT_EQ(count(formatDate(now) + " " + formatTime(now) + " Error: \"" + missing +
                    "\" bronmap bestaat niet"),
              1);
    EXPECT_TRUE(isThere(dst + "/empty"));
    EXPECT_TRUE(w().UserBreak);
    EXPECT_FALSE(w().RunCompleted);
    EXPECT_EQ(w().ui.text2.text, dateBefore);
    EXPECT_TRUE(w().ui.closed);
    EXPECT_EQ(w().FilesSeen, 0);
}

TEST_F(RunDriver, ExitOutsideARunClosesTheApplication) {
    w().cmdExit_Click();
    EXPECT_EQ(w().ui.panel(1), "Bezig af te sluiten...");
    EXPECT_TRUE(w().UserBreak);
    EXPECT_TRUE(w().ui.closed);
}

TEST_F(RunDriver, ADiskFullGiveUpEndsTheRunLikeABreak) {
    writeFile(src + "/sub/a.txt", "a");
    makeDirs(dst + "/sub");
    FaultInjectingFileSystem faulty(rig.fs);
    faulty.failOn(FsOp::CopyFile, "", kErrDiskFull);
    rig.rebuildWindow(faulty);
    w().SourcePath = src;
    w().DestinationPath = dst;
    w().NoDateCheck = true;
    w().DoVerify = true;
    w().cmdGo_Click();
    EXPECT_TRUE(w().UserBreak);
    EXPECT_TRUE(w().ui.closed);
    EXPECT_EQ(count(formatTime(rig.clock.current) + "Disk full"), 1);
    EXPECT_FALSE(w().RunCompleted);
}

}  // namespace
}  // namespace zv::test
