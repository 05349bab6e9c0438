#include <gtest/gtest.h>

#include "run/NextFromDate.h"

namespace zv::test {
namespace {

DateTime at(long long s, long long ms = 0) {
    return DateTime(std::chrono::seconds(s) + std::chrono::milliseconds(ms));
}

// The saved from-date stays before every failed file, so the next run takes it again, yet
// not before the run's own date, which unseen failures keep; else it is the run's start.
TEST(NextFromDate, StaysBeforeWhatFailed) {
    const struct {
        std::vector<DateTime> failed;
        bool unseen;
        std::optional<DateTime> old, expected;
    } cases[] = {
        {{}, false, at(100), at(1000)},
        {{}, false, std::nullopt, at(1000)},
        {{at(500, 250)}, false, at(100), at(500)},
        {{at(500)}, false, at(100), at(499)},  // a whole second: strictly before it
        {{at(700), at(500, 1), at(900)}, false, at(100), at(500)},
        {{at(100, 500)}, false, at(100), at(100)},  // never before the old date
        {{at(5000)}, false, at(100), at(1000)},     // never after the run's start
        {{at(500)}, false, std::nullopt, at(499)},
        {{at(500)}, true, at(100), at(100)},
        {{}, true, std::nullopt, std::nullopt},  // keep the old text as it is
    };
    for (const auto& c : cases) {
        NextFromDate next;
        for (DateTime d : c.failed) next.failedFile(d);
        if (c.unseen) next.failedUnseen();
        EXPECT_EQ(next.after(at(1000), c.old), c.expected);
        next.reset();
        EXPECT_EQ(next.after(at(1000), c.old), at(1000));
    }
}

}  // namespace
}  // namespace zv::test
