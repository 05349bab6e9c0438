#include "copy/ProgressDisplay.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "app/frmVergelijker.h"
#include "copy/ProgressTotal.h"

namespace zv {

namespace {

// The decimal text of a whole byte count, as the scale is derived from it.
std::string decimalText(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.0f", value);
    return buffer;
}

std::string percentText(double percent) {
    return decimalText(percent);
}

}  // namespace

void ShowCounts(frmVergelijker& w) {
    w.ui.panel(2) = "Bestanden: " + std::to_string(w.FilesCopied) +
                    "         [ Verwijderd: " + std::to_string(w.ItemsRemoved) + " ]";
}

void ShowSeen(frmVergelijker& w) {
    w.ui.panel(3) = "Van: " + std::to_string(w.FilesSeen);
}

void ScaleProgress(frmVergelijker& w) {
    if (w.ProgressScaled) return;
    ProgressBarState& bar = w.ui.ProgressBar1;
    bar.min = 0;
    w.ProgressScale = static_cast<int>(decimalText(w.BytesTotal).size()) - 4;
    bar.max = static_cast<int>(std::floor(w.BytesTotal / std::pow(10.0, w.ProgressScale)));
    if (bar.value > bar.max) bar.value = bar.max;
    UpdatePercent(w);
    ShowPercentCaption(w);
    w.Yield();
}

void AdvanceProgress(frmVergelijker& w) {
    ProgressBarState& bar = w.ui.ProgressBar1;
    const double scaled = std::floor(w.BytesDone / std::pow(10.0, w.ProgressScale));
    bar.setValue(static_cast<long long>(scaled) - bar.max / 64);
}

void UpdatePercent(frmVergelijker& w) {
    if (w.BytesTotal <= 0) return;
    w.PercentDone = std::nearbyint(w.BytesDone / w.BytesTotal * 100.0);  // halves to even
}

void ShowPercentCaption(frmVergelijker& w, bool capped) {
    const std::string percent =
        capped && w.PercentDone > 100 ? std::string("100") : percentText(w.PercentDone);
    if (w.Minimised)
        w.ui.caption = percent + " %";
    else
        w.ui.caption = percent + " %   " + w.AppVersionText;
}

void ShowFile(frmVergelijker& w, const std::string& path, bool busy) {
    w.ui.lblFiles.text = path;
    w.ui.lblFiles.foreColour = busy ? kColourGreen : kColourBlack;
}

void StepFileProgress(frmVergelijker& w, std::uint64_t bytes, bool capped) {
    w.BytesDone += static_cast<double>(bytes);
    if (ProgressTotalKnown(w)) {
        AdvanceProgress(w);
        UpdatePercent(w);
        ShowPercentCaption(w, capped);
    }
    w.Yield();
}

}  // namespace zv
