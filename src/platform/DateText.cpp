#include "platform/DateText.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>

namespace zv {

namespace {

using std::chrono::floor;
using std::chrono::seconds;

// Two-digit years: 00-49 are read as 2000-2049, 50-99 as 1950-1999.
constexpr int kTwoDigitPivot = 50;

// Zone offsets stay well within a day, so every instant a local time can
// stand for lies within a day of that local time read as UTC.
constexpr std::time_t kDay = 24 * 60 * 60;

std::tm localTm(std::time_t secs) {
    std::tm tm{};
    localtime_r(&secs, &tm);
    return tm;
}

std::tm toLocal(DateTime t) {
    return localTm(static_cast<std::time_t>(floor<seconds>(t).time_since_epoch().count()));
}

std::string dateText(const std::tm& tm) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d-%d-%d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900);
    return buf;
}

std::string timeText(const std::tm& tm) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

// A small cursor over the text being read.
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ == text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    bool take(char c) {
        if (peek() != c) return false;
        ++pos_;
        return true;
    }
    // Reads between minDigits and maxDigits decimal digits; `count` receives
    // how many were read.
    bool number(int minDigits, int maxDigits, int& value, int& count) {
        value = 0;
        count = 0;
        while (count < maxDigits && !atEnd() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            value = value * 10 + (text_[pos_] - '0');
            ++pos_;
            ++count;
        }
        return count >= minDigits;
    }
    bool number(int minDigits, int maxDigits, int& value) {
        int count = 0;
        return number(minDigits, maxDigits, value, count);
    }
    void skipSpaces() {
        while (peek() == ' ') ++pos_;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// A local date and time; compared field by field, year first.
struct Fields {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    auto operator<=>(const Fields&) const = default;
};

int expandYear(int year, int digits) {
    if (digits != 2) return year;
    return year < kTwoDigitPivot ? 2000 + year : 1900 + year;
}

// d-M-yyyy, d/M/yyyy (also with two-digit years) or yyyy-MM-dd, yyyy/MM/dd.
bool readDate(Reader& r, Fields& f) {
    int first = 0, firstDigits = 0;
    if (!r.number(1, 4, first, firstDigits) || firstDigits == 3) return false;
    char sep = r.peek();
    if (sep != '-' && sep != '/') return false;
    r.take(sep);
    if (!r.number(1, 2, f.month) || !r.take(sep)) return false;
    if (firstDigits == 4) {
        f.year = first;
        return r.number(1, 2, f.day);
    }
    int yearDigits = 0;
    if (!r.number(2, 4, f.year, yearDigits) || yearDigits == 3) return false;
    f.day = first;
    f.year = expandYear(f.year, yearDigits);
    return true;
}

// H:mm or H:mm:ss, 24-hour.
bool readTime(Reader& r, Fields& f) {
    if (!r.number(1, 2, f.hour) || !r.take(':') || !r.number(2, 2, f.minute)) return false;
    if (r.take(':')) return r.number(2, 2, f.second);
    return true;
}

bool isLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : kDays[month - 1];
}

bool inRange(const Fields& f) {
    if (f.year < 1 || f.month < 1 || f.month > 12) return false;
    if (f.day < 1 || f.day > daysInMonth(f.year, f.month)) return false;
    return f.hour <= 23 && f.minute <= 59 && f.second <= 59;
}

std::string_view trimmed(std::string_view text) {
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<Fields> readFields(std::string_view text) {
    Reader r(trimmed(text));
    Fields f;
    if (!readDate(r, f)) return std::nullopt;
    if (!r.atEnd()) {
        if (!r.take('T')) {
            if (r.peek() != ' ') return std::nullopt;
            r.skipSpaces();
        }
        if (!readTime(r, f)) return std::nullopt;
    }
    if (!r.atEnd() || !inRange(f)) return std::nullopt;
    return f;
}

// What the local clock shows at an instant.
Fields localFields(std::time_t secs) {
    const std::tm tm = localTm(secs);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

// The fields read as if they were UTC, in seconds since the epoch.
std::time_t asUtc(const Fields& f) {
    using namespace std::chrono;
    const sys_seconds s = sys_days{year{f.year} / f.month / f.day} + hours{f.hour} +
                          minutes{f.minute} + seconds{f.second};
    return s.time_since_epoch().count();
}

// The instants that may show the fields: the fields as UTC less the zone
// offset in force a day before, at and a day after them, earliest first.
std::array<std::time_t, 3> candidates(const Fields& f) {
    const std::time_t guess = asUtc(f);
    std::array<std::time_t, 3> out{};
    const std::time_t probes[] = {guess - kDay, guess, guess + kDay};
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = guess - localTm(probes[i]).tm_gmtoff;
    std::sort(out.begin(), out.end());
    return out;
}

// The first instant in [from, to] whose local time is not before the fields.
std::time_t firstNotBefore(const Fields& f, std::time_t from, std::time_t to) {
    while (from < to) {
        const std::time_t mid = from + (to - from) / 2;
        if (localFields(mid) < f)
            from = mid + 1;
        else
            to = mid;
    }
    return from;
}

// The earliest instant the local clock shows the fields; for a time the
// clock skips, the moment it jumps past it. Not mktime: for the repeated
// autumn hour its answer depends on what it was asked before.
std::time_t localToUtc(const Fields& f) {
    const std::array<std::time_t, 3> found = candidates(f);
    for (std::time_t t : found)
        if (localFields(t) == f) return t;
    return firstNotBefore(f, found.front(), found.back());
}

}  // namespace

std::string formatDate(DateTime t) {
    return dateText(toLocal(t));
}

std::string formatTime(DateTime t) {
    return timeText(toLocal(t));
}

std::string formatDateTime(DateTime t) {
    std::tm tm = toLocal(t);
    return dateText(tm) + " " + timeText(tm);
}

std::string formatIsoDateTime(DateTime t) {
    const std::tm tm = toLocal(t);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &tm);
    return text;
}

std::optional<DateTime> parseDateTime(std::string_view text) {
    const std::optional<Fields> f = readFields(text);
    if (!f) return std::nullopt;
    return clampedDateTime(localToUtc(*f));
}

}  // namespace zv
