#include "support/TestRig.h"

namespace zv::test {

TestRig::TestRig() {
    makeDirs(appFolder());
    clock.current = SystemClock().now();
    rebuildWindow(fs);
}

void TestRig::rebuildWindow(FileSystem& other) {
    EnvironmentInfo env;
    env.appFolder = appFolder();
    env.desktopPath = root / "Desktop";
    env.computerName = "testhost";
    env.workingFolder = root.path();
    window = std::make_unique<AppWindow>(Services{other, dialogs, clock, pump, trash, host, env});
}

std::vector<std::string> TestRig::logLines() const {
    std::vector<std::string> lines;
    const std::string& log = window->log.text();
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find("\r\n", start);
        if (end == std::string::npos) end = log.size();
        lines.push_back(log.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

RunContext TestRig::walkContext() {
    progress = RecordingProgress{};
    const RunContext& r = window->run;
    return RunContext{r.fs,       r.trash,      r.pump,         r.dialogs,    r.job,
                      r.counts,   progress,     r.log,          r.userBreak,  r.roots,
                      r.nextFrom, r.unattended, r.computerName, r.desktopName};
}

}  // namespace zv::test
