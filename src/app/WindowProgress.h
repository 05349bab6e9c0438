#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/DateTime.h"
#include "platform/PendingCount.h"
#include "run/RunProgress.h"

namespace zv {

class AppWindow;

// The window's progress display of a run: status panel 1 names the walk,
// panel 2 the counts ("Bestanden: <copied>         [ Verwijderd: <removed> ]"),
// panel 3 the files seen ("Van: <seen>"), the current file in the file line
// (green while it is handled), and the progress bar and the percentage in the
// window caption measured in files of the walk's total.
//
// A walk's total is the number of files in its root folder's tree, counted
// by their names alone: reading every entry for its size would read the tree
// twice, the walk being the other time. Where the file system can, it is
// counted beside the walk, so the first file need not wait for a scan of the
// whole tree: until the total is known the bar and the percentage stay where
// they are, and they catch up when it arrives. The quick copy counts it
// before its first file.
class WindowProgress : public RunProgress {
  public:
    explicit WindowProgress(AppWindow& w) : w_(w) {}

    void walkStarted(Walk walk, const std::string& root) override;
    void fileReached(std::uint64_t bytes) override;
    void fileStarted(const std::string& path) override;
    void fileFinished(const std::string& path) override;
    void countsChanged() override;

    // The next walk's total is known already (the count before removals read
    // the backup's names): it is not counted again beside the walk.
    void totalKnownAhead(std::uint64_t files) { totalAhead_ = files; }
    // A run, and its synchronisation after the copy, counts from 0: no figure
    // of an earlier run or walk is shown while the new total is unknown.
    void startPhase();
    // At the end of a walk: waits for a total still pending and brings the
    // bar, percentage and caption up to the bytes done. After a break nothing
    // is waited for (the run's end drops it).
    void settle();
    // The run is over: a total still pending is dropped, the bar hidden.
    void runFinished();
    // The file line shows `path`, green while it is being handled.
    void showFile(const std::string& path, bool busy);
    // Caption: "<percent> %" when minimised, else "<percent> %   <version>".
    // A walk can pass more than its total (a tree that grew, or a folder the
    // total leaves out): the caption then stays at 100 %.
    void showPercentCaption();
    // The percentage as last worked out.
    double percent() const { return percentDone_; }

  private:
    // An unattended run's line on a terminal: files, bytes and percentage,
    // at most ten times a second; `last` ends it.
    void showOnTerminal(bool last);
    void startTotal(const std::string& folder);
    bool totalKnown();
    void takeTotal();
    void scale();
    void advance();
    void updatePercent();
    bool captionStale() const;

    AppWindow& w_;
    const char* walkText_ = "Kopieren";
    double bytesDone_ = 0;  // for the terminal line
    double filesDone_ = 0;
    double filesTotal_ = 0;
    double percentDone_ = 0;
    // The bar's unit: 10 to the power of its scale, worked out once a total.
    double unit_ = 1;
    // A total still being worked out beside the walk, and the part of it
    // already known.
    std::unique_ptr<PendingCount> pendingTotal_;
    std::uint64_t pendingBase_ = 0;
    std::optional<std::uint64_t> totalAhead_;
    // What the caption was last set to, and from what.
    struct ShownCaption {
        std::string text;
        double percent = -1;
        bool minimised = false;
    } captionShown_;
    DateTime lastTerminalLine_{};
};

}  // namespace zv
