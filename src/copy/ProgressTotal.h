#pragma once

#include <string>

namespace zv {

class frmVergelijker;

// A walk's progress total is the TreeSize of its root folder. Where the file
// system can, it is worked out beside the walk, so the first file need not
// wait for a scan of the whole tree: until the total is known the bar and the
// percentage stay where they are, and they catch up when it arrives. Where
// the file system works it out at once, the bar is scaled before the first
// file, as it always was.

// Starts working out BytesTotal for `folder`, dropping a total still pending
// from an earlier walk; scales the bar when the total is known at once.
void StartProgressTotal(frmVergelijker& w, const std::string& folder);

// True when BytesTotal holds the walk's total; takes it (and scales the bar)
// when it has just arrived. Never waits.
bool ProgressTotalKnown(frmVergelijker& w);

// At the end of a walk: waits for a total still pending and brings the bar,
// percentage and caption up to BytesDone (`capped`: the caption shows at most
// 100 %). After a break the work is dropped instead.
void SettleProgressTotal(frmVergelijker& w, bool capped);

}  // namespace zv
