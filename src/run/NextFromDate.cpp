#include "run/NextFromDate.h"

#include <algorithm>

namespace zv {

DateTime lastWholeSecondBefore(DateTime t) {
    const auto whole = std::chrono::floor<std::chrono::seconds>(t);
    return whole < t ? DateTime(whole) : DateTime(whole - std::chrono::seconds(1));
}

void NextFromDate::failedFile(DateTime date) {
    if (!earliest_ || date < *earliest_) earliest_ = date;
}

std::optional<DateTime> NextFromDate::after(DateTime runStart, std::optional<DateTime> old) const {
    if (unseen_) return old ? old : std::nullopt;
    if (!earliest_) return runStart;
    DateTime held = lastWholeSecondBefore(*earliest_);
    if (old) held = std::max(held, *old);
    return std::min(runStart, held);
}

}  // namespace zv
