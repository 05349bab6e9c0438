#pragma once

namespace zv {

class AppWindow;

// The four modes the three job switches are shown as.
enum class JobMode { NoCheck, CheckOnly, Synchronise, SynchroniseDustbin };

// The mode the switches job.verify, job.synchronise and job.useDustbin amount to.
JobMode modeOfSwitches(bool doVerify, bool syncActive, bool useDustbin);

// Puts the mode display into one mode: frame tooltips, arrow colours and
// exactly the pictures of that mode. The switches themselves stay as they are.
void showMode(AppWindow& w, JobMode mode);

}  // namespace zv
