#pragma once

#include <cstdint>
#include <string>

namespace zv {

// What a run's walks report as they go. The walks count in RunCounters and
// call only this; what is shown, and how, is the implementation's business
// (the window's progress display, or a recording one in tests).
class RunProgress {
  public:
    enum class Walk { Copy, QuickCopy, Synchronise };

    virtual ~RunProgress() = default;
    // A walk starts over the tree at `root`; its total is worked out from
    // there.
    virtual void walkStarted(Walk walk, const std::string& root) = 0;
    // One more file reached; `bytes` of the walk's total passed.
    virtual void fileReached(std::uint64_t bytes) = 0;
    // A file is about to be copied, repaired or removed; what is shown must
    // be on the screen before that step begins.
    virtual void fileStarted(const std::string& path) = 0;
    // Its step has ended, whatever the outcome; the counters are as it left
    // them.
    virtual void fileFinished(const std::string& path) = 0;
    // The counters changed (a file copied, an orphan removed, files seen).
    virtual void countsChanged() = 0;
};

}  // namespace zv
