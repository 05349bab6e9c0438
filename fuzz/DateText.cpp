// The from-date as text: what is read, written and read again is the same
// instant. Eight bytes are also taken as an instant (little-endian seconds
// since 1970) that is written and read back: it must come back as that
// instant or, in the hour the clock shows twice in autumn, at most an hour
// earlier; never later, for a later from-date would skip files.
#include "platform/DateText.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "Scratch.h"

namespace {

using namespace std::chrono;
using zv::DateTime;

// The whole years a DateTime holds (nanoseconds since 1970: about 1677 to 2262).
constexpr std::int64_t kFirst =
    sys_seconds{sys_days{year{1678} / 1 / 1}}.time_since_epoch().count();
constexpr std::int64_t kLast = sys_seconds{sys_days{year{2262} / 1 / 1}}.time_since_epoch().count();

std::string shown(std::optional<DateTime> t) {
    if (!t) return "no date";
    return zv::formatDateTime(*t) + " (" + std::to_string(t->time_since_epoch().count()) + " ns)";
}

void textReadsBack(const std::string& text) {
    const std::optional<DateTime> first = zv::parseDateTime(text);
    if (!first) return;
    const std::string written = zv::formatDateTime(*first);
    const std::optional<DateTime> again = zv::parseDateTime(written);
    if (!again || *again != *first)
        zv::fuzz::broken("\"" + text + "\" reads as " + shown(first) + ", is written as \"" +
                         written + "\" and reads back as " + shown(again));
}

void instantReadsBack(std::uint64_t raw) {
    // Instants beyond those years are folded into them; those within stay.
    const std::uint64_t span = static_cast<std::uint64_t>(kLast - kFirst);
    const std::int64_t secs =
        kFirst + static_cast<std::int64_t>((raw - static_cast<std::uint64_t>(kFirst)) % span);
    const DateTime instant{seconds{secs}};
    const std::string written = zv::formatDateTime(instant);
    const std::optional<DateTime> back = zv::parseDateTime(written);
    if (!back || *back > instant || *back < instant - hours{1})
        zv::fuzz::broken(std::to_string(secs) + " s is written as \"" + written +
                         "\" and reads back as " + shown(back));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A zone with summer time: the repeated and the skipped hour.
    setenv("TZ", "Europe/Amsterdam", 1);
    tzset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 256) return 0;
    textReadsBack(zv::fuzz::textOf(data, size));
    if (size == sizeof(std::uint64_t)) {
        std::uint64_t raw = 0;
        for (std::size_t i = 0; i < size; ++i) raw |= std::uint64_t{data[i]} << (8 * i);
        instantReadsBack(raw);
    }
    return 0;
}
