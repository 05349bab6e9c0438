#include <gtest/gtest.h>

#include "run/RunLog.h"
#include "support/TestRig.h"

namespace zv::test {
namespace {

// Error.Log gets each line once, however often a run writes the log out (at a
// break, after saving its job, at its end); its own record keeps them all.
TEST(RunLog, EachLineReachesTheLogFileOnce) {
    TestRig rig;
    RunCounters counts;
    const std::string file = rig.appFolder() + "/Error.Log";
    RunLog log(rig.clock, rig.fs, file, counts);
    for (const std::string step : {"", "a", "", "", "b", ""})
        step.empty() ? log.write() : log.add(step);
    EXPECT_EQ(readFile(file) + "|" + log.text(), "a\r\nb\r\n|a\r\nb\r\n");
}

}  // namespace
}  // namespace zv::test
