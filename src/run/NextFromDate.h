#pragma once

#include <optional>

#include "platform/DateTime.h"

namespace zv {

// The from-date a completed run saves, so that a file the run failed to copy
// is copied by the next run that can:
//  - without failures it is the run's start;
//  - a file that was selected by its dates and failed holds it back to the
//    last whole second before that date (the saved text keeps whole
//    seconds), the earliest such file deciding, but never before the
//    from-date the run went by;
//  - a failure whose files were never seen (a folder that could not be
//    listed or made) keeps the from-date the run went by.
class NextFromDate {
  public:
    // A file selected by its dates failed; `date` is the later of its
    // modification and creation dates.
    void failedFile(DateTime date);
    // Files failed whose dates are unknown.
    void failedUnseen() { unseen_ = true; }
    void reset() { *this = NextFromDate(); }

    // The date to save; nothing when the old from-date (`old`, unknown when
    // its text is no date) must stay as it is.
    std::optional<DateTime> after(DateTime runStart, std::optional<DateTime> old) const;

  private:
    bool unseen_ = false;
    std::optional<DateTime> earliest_;
};

// The last whole second strictly before `t`.
DateTime lastWholeSecondBefore(DateTime t);

}  // namespace zv
