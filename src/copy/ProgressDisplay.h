#pragma once

#include <cstdint>
#include <string>

namespace zv {

class frmVergelijker;

// The progress display every walk shares: status panels, progress bar, the
// current file in lblFiles and the percentage in the window caption.

// Panel 2: "Bestanden: <copied>         [ Verwijderd: <removed> ]".
void ShowCounts(frmVergelijker& w);
// Panel 3: "Van: <seen>".
void ShowSeen(frmVergelijker& w);
// Scales the bar to BytesTotal (four-digit maximum), unless ProgressScaled.
// Recomputes the percentage and the caption, and yields.
void ScaleProgress(frmVergelijker& w);
// Moves the bar to BytesDone, trailing by 1/64 of its length.
void AdvanceProgress(frmVergelijker& w);
// PercentDone from BytesDone / BytesTotal (halves to even); not when
// BytesTotal is 0.
void UpdatePercent(frmVergelijker& w);
// Caption: "<percent> %" when minimised, else "<percent> %   <version>";
// `capped`: "100 %" for any percentage above it.
void ShowPercentCaption(frmVergelijker& w, bool capped = false);
// One file's step: its bytes added to BytesDone, the bar moved, the
// percentage and caption recomputed (once the walk's total is known; the
// caption `capped` at 100 %), then a yield.
void StepFileProgress(frmVergelijker& w, std::uint64_t bytes, bool capped = false);
// lblFiles shows a path, green while the file is being handled.
void ShowFile(frmVergelijker& w, const std::string& path, bool busy);

}  // namespace zv
