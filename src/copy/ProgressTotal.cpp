#include "copy/ProgressTotal.h"

#include <utility>
#include <vector>

#include "app/frmVergelijker.h"
#include "copy/ProgressDisplay.h"

namespace zv {

namespace {

void takeTotal(frmVergelijker& w) {
    w.BytesTotal = w.PendingTotalBase + static_cast<double>(w.PendingTotal->total());
    w.PendingTotal.reset();
    ScaleProgress(w);
}

}  // namespace

void StartProgressTotal(frmVergelijker& w, const std::string& folder) {
    w.PendingTotal.reset();
    std::vector<std::string> subfolders;
    w.PendingTotalBase = w.TreeSizeOfRoot(folder, subfolders);
    w.PendingTotal = w.svc.fs.startFolderSizes(std::move(subfolders));
    if (w.PendingTotal->ready()) takeTotal(w);
}

bool ProgressTotalKnown(frmVergelijker& w) {
    if (!w.PendingTotal) return true;
    if (!w.PendingTotal->ready()) return false;
    takeTotal(w);
    return true;
}

void SettleProgressTotal(frmVergelijker& w, bool capped) {
    if (!w.PendingTotal) return;
    if (w.UserBreak) {
        w.PendingTotal.reset();
        return;
    }
    takeTotal(w);
    AdvanceProgress(w);
    ShowPercentCaption(w, capped);
}

}  // namespace zv
