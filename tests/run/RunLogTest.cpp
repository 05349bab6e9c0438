#include <gtest/gtest.h>

#include "run/RunLog.h"
#include "support/TestRig.h"

namespace zv::test {
namespace {

// Error.Log gets each line once, however often the log is written out (a
// run writes it at a break, after saving its job and at its end); the run's
// own record keeps them all.
TEST(RunLog, EachLineReachesTheLogFileOnce) {
    TestRig rig;
    RunCounters counts;
    const std::string file = rig.appFolder() + "/Error.Log";
    RunLog log(rig.clock, rig.fs, file, counts);
    for (const std::string step : {"", "a", "", "", "b", ""}) {
        if (step.empty()) log.write();
        if (!step.empty()) log.add(step);
    }
    EXPECT_EQ(readFile(file) + "|" + log.text(), "a\r\nb\r\n|a\r\nb\r\n");
}

}  // namespace
}  // namespace zv::test
