#include "ui/ModeDisplay.h"

#include "app/AppWindow.h"

namespace zv {

namespace {

constexpr const char* kTipChecked = " backup wordt gecontroleerd op ontbrekende mappen ";
constexpr const char* kTipNotChecked = " backup wordt  NIET  gecontroleerd op ontbrekende mappen ";
constexpr const char* kTipSyncOff = " synchroniseren (uitgeschakeld) ";
constexpr const char* kTipSyncOn = " synchroniseren (ingeschakeld) ";
constexpr const char* kTipSyncDustbin = " synchroniseren + prullenbak (ingeschakeld) ";

void showOnlyPicture(WindowModel& ui, JobMode mode) {
    ui.noCheckPicture.visible = mode == JobMode::NoCheck;
    ui.noSyncPicture.visible = mode == JobMode::CheckOnly;
    ui.syncPicture.visible = mode == JobMode::Synchronise;
    ui.syncDustbinPicture.visible = mode == JobMode::SynchroniseDustbin;
    ui.dustbinPicture.visible = mode == JobMode::SynchroniseDustbin;
}

const char* syncArrowTip(JobMode mode) {
    switch (mode) {
        case JobMode::Synchronise:
            return kTipSyncOn;
        case JobMode::SynchroniseDustbin:
            return kTipSyncDustbin;
        default:
            return kTipSyncOff;
    }
}

}  // namespace

JobMode modeOfSwitches(bool doVerify, bool syncActive, bool useDustbin) {
    if (!doVerify) return JobMode::NoCheck;
    if (!syncActive) return JobMode::CheckOnly;
    return useDustbin ? JobMode::SynchroniseDustbin : JobMode::Synchronise;
}

void showMode(AppWindow& w, JobMode mode) {
    w.ui.verifyArrow.toolTip = mode == JobMode::NoCheck ? kTipNotChecked : kTipChecked;
    w.ui.syncArrow.toolTip = syncArrowTip(mode);
    if (mode == JobMode::NoCheck)
        w.showVerifyArrowRed();
    else
        w.showVerifyArrowDark();
    if (mode == JobMode::Synchronise || mode == JobMode::SynchroniseDustbin)
        w.showSyncArrowDark();
    else
        w.showSyncArrowFaded();
    showOnlyPicture(w.ui, mode);
}

}  // namespace zv

namespace zv {

void AppWindow::showVerifyArrowRed() {
    ui.verifyArrowLines.fill(kColourRed);
}
void AppWindow::showVerifyArrowDark() {
    ui.verifyArrowLines.fill(kSys3DDarkShadow);
}
void AppWindow::showSyncArrowFaded() {
    ui.syncArrowLines.fill(kSys3DHighlight);
}
void AppWindow::showSyncArrowDark() {
    ui.syncArrowLines.fill(kSys3DDarkShadow);
}

void AppWindow::verifyArrowClicked() {
    if (job.verify) {
        showMode(*this, JobMode::NoCheck);
        job.verify = false;
        job.useDustbin = false;
        return;
    }
    showMode(*this, JobMode::Synchronise);
    job.verify = true;
    job.synchronise = true;
    job.useDustbin = false;
}

void AppWindow::syncArrowClicked() {
    if (job.synchronise && !job.useDustbin) {
        job.verify = job.synchronise = job.useDustbin = true;
    } else if (job.synchronise) {
        job.synchronise = false;
        job.verify = true;
        job.useDustbin = false;
    } else {
        job.synchronise = job.verify = true;  // job.useDustbin keeps its value
    }
    // The display shows what the switches now do, so a kept dustbin switch is
    // never hidden behind the plain synchronise picture.
    showMode(*this, modeOfSwitches(job.verify, job.synchronise, job.useDustbin));
}

}  // namespace zv
