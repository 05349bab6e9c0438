#pragma once

namespace zv {

class AppWindow;

// Before the synchronisation removes anything: true when it may go on. A run
// that would remove more files than its limit (-mx, else the default share
// of the backup) asks first in the window, showing the count and the first
// few paths; an unattended run refuses instead (log line, status 1). Either
// way, a synchronisation that does not go on removes nothing at all.
bool removalsAllowed(AppWindow& w);

}  // namespace zv
