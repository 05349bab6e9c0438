#pragma once

#include <chrono>
#include <cstdint>

namespace zv {

// An instant, with full sub-second precision. File dates and the from-date are
// compared as instants; text forms are local time (see DateText.h).
using DateTime = std::chrono::sys_time<std::chrono::nanoseconds>;

// A DateTime holds about 1677 to 2262. Dates and file times beyond that are
// read as these fixed ends (whole seconds, UTC), never wrapped around into
// some other date: a from-date in year 1000 must still mean "everything".
inline constexpr DateTime kEarliestDateTime{
    std::chrono::sys_days{std::chrono::year{1678} / std::chrono::January / 1}};
inline constexpr DateTime kLatestDateTime{
    std::chrono::sys_days{std::chrono::year{2262} / std::chrono::January / 1}};

// Seconds since the epoch plus a fraction, held to the ends above.
constexpr DateTime clampedDateTime(std::int64_t secs, std::uint32_t nanos = 0) {
    using std::chrono::seconds;
    constexpr std::int64_t kFirst =
        std::chrono::floor<seconds>(kEarliestDateTime).time_since_epoch().count();
    constexpr std::int64_t kLast =
        std::chrono::floor<seconds>(kLatestDateTime).time_since_epoch().count();
    if (secs < kFirst) return kEarliestDateTime;
    if (secs >= kLast) return kLatestDateTime;
    return DateTime{seconds{secs} + std::chrono::nanoseconds{nanos}};
}

}  // namespace zv
