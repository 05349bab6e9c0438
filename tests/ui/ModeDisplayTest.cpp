#include <gtest/gtest.h>

#include "support/TestRig.h"
#include "ui/ModeDisplay.h"

namespace zv::test {
namespace {

const char* kChecked = " backup wordt gecontroleerd op ontbrekende mappen ";
const char* kNotChecked = " backup wordt  NIET  gecontroleerd op ontbrekende mappen ";
const char* kSyncOff = " synchroniseren (uitgeschakeld) ";
const char* kSyncOn = " synchroniseren (ingeschakeld) ";
const char* kSyncPlus = " synchroniseren + prullenbak (ingeschakeld) ";

std::array<std::uint32_t, 3> Lines(std::uint32_t colour) {
    return {colour, colour, colour};
}

// Checks the whole display of one mode: pictures, arrows and tooltips.
void ExpectDisplay(const frmVergelijker& w, JobMode mode) {
    const WindowModel& ui = w.ui;
    EXPECT_EQ(ui.imNoVfy.visible, mode == JobMode::NoCheck);
    EXPECT_EQ(ui.imNoSync.visible, mode == JobMode::CheckOnly);
    EXPECT_EQ(ui.imSync.visible, mode == JobMode::Synchronise);
    EXPECT_EQ(ui.imSyncPlus.visible, mode == JobMode::SynchroniseDustbin);
    EXPECT_EQ(ui.imPrullenbak.visible, mode == JobMode::SynchroniseDustbin);
    EXPECT_EQ(ui.Pijl1, Lines(mode == JobMode::NoCheck ? kColourRed : kSys3DDarkShadow));
    const bool syncing = mode == JobMode::Synchronise || mode == JobMode::SynchroniseDustbin;
    EXPECT_EQ(ui.Pijl2, Lines(syncing ? kSys3DDarkShadow : kSys3DHighlight));
    EXPECT_EQ(ui.Frame1.toolTip, mode == JobMode::NoCheck ? kNotChecked : kChecked);
    EXPECT_EQ(ui.Frame2.toolTip, mode == JobMode::Synchronise          ? kSyncOn
                                 : mode == JobMode::SynchroniseDustbin ? kSyncPlus
                                                                       : kSyncOff);
}

void SetSwitches(frmVergelijker& w, bool verify, bool sync, bool dustbin) {
    w.DoVerify = verify;
    w.SyncActive = sync;
    w.UseDustbin = dustbin;
    ShowMode(w, ModeOfSwitches(verify, sync, dustbin));
}

void ExpectSwitches(const frmVergelijker& w, bool verify, bool sync, bool dustbin) {
    EXPECT_EQ(w.DoVerify, verify);
    EXPECT_EQ(w.SyncActive, sync);
    EXPECT_EQ(w.UseDustbin, dustbin);
}

TEST(ModeDisplay, EachModeShowsExactlyItsPictures) {
    TestRig rig;
    for (JobMode mode : {JobMode::NoCheck, JobMode::CheckOnly, JobMode::Synchronise,
                         JobMode::SynchroniseDustbin}) {
        ShowMode(rig.w(), mode);
        ExpectDisplay(rig.w(), mode);
    }
}

TEST(ModeDisplay, SwitchesMapOntoTheFourModes) {
    EXPECT_EQ(ModeOfSwitches(false, true, true), JobMode::NoCheck);
    EXPECT_EQ(ModeOfSwitches(true, false, true), JobMode::CheckOnly);
    EXPECT_EQ(ModeOfSwitches(true, true, false), JobMode::Synchronise);
    EXPECT_EQ(ModeOfSwitches(true, true, true), JobMode::SynchroniseDustbin);
}

TEST(Frame2, ThreeClicksFromSynchroniseComeBack) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    SetSwitches(w, true, true, false);
    w.Frame2_Click();
    ExpectSwitches(w, true, true, true);
    ExpectDisplay(w, JobMode::SynchroniseDustbin);
    w.Frame2_Click();
    ExpectSwitches(w, true, false, false);
    ExpectDisplay(w, JobMode::CheckOnly);
    w.Frame2_Click();
    ExpectSwitches(w, true, true, false);
    ExpectDisplay(w, JobMode::Synchronise);
}

TEST(Frame2, InNoCheckModeTurnsCheckingAndSynchronisingOn) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    SetSwitches(w, false, false, false);
    w.Frame2_Click();
    ExpectSwitches(w, true, true, false);
    ExpectDisplay(w, JobMode::Synchronise);
}

TEST(Frame2, AKeptDustbinSwitchIsShown) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    SetSwitches(w, true, false, true);  // as a job file can leave it
    w.Frame2_Click();
    ExpectSwitches(w, true, true, true);
    ExpectDisplay(w, JobMode::SynchroniseDustbin);
}

TEST(Frame1, FromSynchroniseWithDustbinToNoCheckAndBackToSynchronise) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    SetSwitches(w, true, true, true);
    w.Frame1_Click();
    ExpectSwitches(w, false, true, false);  // SyncActive keeps its value
    ExpectDisplay(w, JobMode::NoCheck);
    w.Frame1_Click();
    ExpectSwitches(w, true, true, false);
    ExpectDisplay(w, JobMode::Synchronise);
}

TEST(Frame1, FromCheckOnlyToNoCheck) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    SetSwitches(w, true, false, false);
    w.Frame1_Click();
    ExpectSwitches(w, false, false, false);
    ExpectDisplay(w, JobMode::NoCheck);
}

TEST(Arrows, ColourAllThreeLinesOfTheirArrow) {
    TestRig rig;
    frmVergelijker& w = rig.w();
    w.ShowArrow1Red();
    w.ShowArrow2Faded();
    EXPECT_EQ(w.ui.Pijl1, Lines(255));
    EXPECT_EQ(w.ui.Pijl2, Lines(0x80000014));
    w.ShowArrow1Dark();
    w.ShowArrow2Dark();
    EXPECT_EQ(w.ui.Pijl1, Lines(0x80000015));
    EXPECT_EQ(w.ui.Pijl2, Lines(0x80000015));
}

}  // namespace
}  // namespace zv::test
