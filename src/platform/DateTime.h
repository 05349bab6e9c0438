#pragma once

#include <chrono>

namespace zv {

// An instant, with full sub-second precision. File dates and the from-date are
// compared as instants; text forms are local time (see DateText.h).
using DateTime = std::chrono::sys_time<std::chrono::nanoseconds>;

}  // namespace zv
