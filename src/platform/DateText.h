#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/DateTime.h"

namespace zv {

// The system's short-date and long-time text forms, fixed to day-month-year:
// "19-12-1960 12:58:58" (d-M-yyyy HH:mm:ss, 24-hour), in local time.
std::string formatDate(DateTime t);      // "19-12-1960"
std::string formatTime(DateTime t);      // "12:58:58"
std::string formatDateTime(DateTime t);  // "19-12-1960 12:58:58"

// The local date and time as "1960-12-19T12:58:58" (the form of the desktop
// trash's records).
std::string formatIsoDateTime(DateTime t);

// Reads a local date and time. Accepts d-M-yyyy, yyyy-MM-dd, dd/MM/yyyy,
// two-digit years, a "T" between date and time, and a missing time (midnight).
// Returns nothing when the text is no date.
//
// A from-date must never skip a file, so reading never lands later than the
// user meant: a local time the clock shows twice (the autumn hour) reads as
// the first of the two instants, and one it skips (the spring hour) as the
// moment the clock jumps. A date before the earliest instant the time type
// holds reads as kEarliestDateTime ("everything"), one after its latest as
// kLatestDateTime; never wrapped around into another century.
std::optional<DateTime> parseDateTime(std::string_view text);

}  // namespace zv
