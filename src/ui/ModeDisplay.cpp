#include "ui/ModeDisplay.h"

#include "app/frmVergelijker.h"

namespace zv {

namespace {

constexpr const char* kTipChecked = " backup wordt gecontroleerd op ontbrekende mappen ";
constexpr const char* kTipNotChecked = " backup wordt  NIET  gecontroleerd op ontbrekende mappen ";
constexpr const char* kTipSyncOff = " synchroniseren (uitgeschakeld) ";
constexpr const char* kTipSyncOn = " synchroniseren (ingeschakeld) ";
constexpr const char* kTipSyncDustbin = " synchroniseren + prullenbak (ingeschakeld) ";

void ShowOnlyPicture(WindowModel& ui, JobMode mode) {
    ui.imNoVfy.visible = mode == JobMode::NoCheck;
    ui.imNoSync.visible = mode == JobMode::CheckOnly;
    ui.imSync.visible = mode == JobMode::Synchronise;
    ui.imSyncPlus.visible = mode == JobMode::SynchroniseDustbin;
    ui.imPrullenbak.visible = mode == JobMode::SynchroniseDustbin;
}

const char* Frame2Tip(JobMode mode) {
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

JobMode ModeOfSwitches(bool doVerify, bool syncActive, bool useDustbin) {
    if (!doVerify) return JobMode::NoCheck;
    if (!syncActive) return JobMode::CheckOnly;
    return useDustbin ? JobMode::SynchroniseDustbin : JobMode::Synchronise;
}

void ShowMode(frmVergelijker& w, JobMode mode) {
    w.ui.Frame1.toolTip = mode == JobMode::NoCheck ? kTipNotChecked : kTipChecked;
    w.ui.Frame2.toolTip = Frame2Tip(mode);
    if (mode == JobMode::NoCheck)
        w.ShowArrow1Red();
    else
        w.ShowArrow1Dark();
    if (mode == JobMode::Synchronise || mode == JobMode::SynchroniseDustbin)
        w.ShowArrow2Dark();
    else
        w.ShowArrow2Faded();
    ShowOnlyPicture(w.ui, mode);
}

}  // namespace zv

namespace zv {

void frmVergelijker::ShowArrow1Red() {
    ui.Pijl1.fill(kColourRed);
}
void frmVergelijker::ShowArrow1Dark() {
    ui.Pijl1.fill(kSys3DDarkShadow);
}
void frmVergelijker::ShowArrow2Faded() {
    ui.Pijl2.fill(kSys3DHighlight);
}
void frmVergelijker::ShowArrow2Dark() {
    ui.Pijl2.fill(kSys3DDarkShadow);
}

void frmVergelijker::Frame1_Click() {
    if (job.verify) {
        ShowMode(*this, JobMode::NoCheck);
        job.verify = false;
        job.useDustbin = false;
        return;
    }
    ShowMode(*this, JobMode::Synchronise);
    job.verify = true;
    job.synchronise = true;
    job.useDustbin = false;
}

void frmVergelijker::Frame2_Click() {
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
    ShowMode(*this, ModeOfSwitches(job.verify, job.synchronise, job.useDustbin));
}

}  // namespace zv
