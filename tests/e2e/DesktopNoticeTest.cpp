#include <cstdlib>
#include <sstream>

#include "e2e/E2eFixture.h"

namespace zv::test {
namespace {

// An unattended run that did not end well tells the desktop: here a private
// session bus (dbus-run-session, listening in the runtime folder as a desktop
// session's bus does) with a stand-in notification service that records what
// it is told. Without a session bus the run is the same, and as quiet.
class DesktopNotice : public EndToEnd {
  protected:
    void SetUp() override {
        EndToEnd::SetUp();
        writeFile(busConfig,
                  "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                  "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                  "<busconfig><type>session</type><listen>unix:path=" +
                      busSocket +
                      "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                      "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                      "<allow own=\"*\"/></policy></busconfig>\n");
        if (std::system("dbus-run-session -- true >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "no private session bus: dbus-run-session is missing or fails "
                            "(Debian package dbus)";
    }

    // The program started by the listener on a private bus, through `wrapper`.
    Lines onPrivateBus(const Lines& wrapper = {}) const {
        Lines through{"dbus-run-session", "--config-file=" + busConfig, "--",
                      ZV_NOTIFICATION_LISTENER, noticeFile};
        through.insert(through.end(), wrapper.begin(), wrapper.end());
        return through;
    }
    // The notices the listener recorded; each "app|icon|summary|body|hints".
    Lines notices() const {
        Lines lines;
        std::istringstream text(readFile(noticeFile));
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        return lines;
    }
    // Standard error without the bus daemon's own complaints (it cannot raise
    // its file limit in a container).
    static std::string programErrors(const std::string& errors) {
        std::istringstream text(errors);
        std::string kept;
        for (std::string line; std::getline(text, line);)
            if (!line.starts_with("dbus-daemon[")) kept += line + "\n";
        return kept;
    }

    std::string noticeFile = root / "notices.txt";
    std::string busConfig = root / "bus.conf";
    std::string busSocket = root / "run/bus";
};

TEST_F(DesktopNotice, FailedRefusedAndBrokenOffRunsAreNoticedOnlyWithASessionBus) {
    const std::string log = app + "/Error.Log";
    const Lines good{"-ps", source, "-pd", backup, "-cd", "0", "-vf", "1"};
    const Lines refusedJob{"-ps", source, "-vf", "1"};
    const Lines noSource{"-ps", root / "weg", "-pd", backup, "-cd", "0", "-vf", "1"};
    Start cron;
    cron.withPlatform = false;
    cron.withRuntimeFolder = false;
    Start deadBus;
    const std::string noBus = root / "geen-bus";
    deadBus.environment = {"DBUS_SESSION_BUS_ADDRESS=unix:path=" + noBus};
    struct Case {
        const char* name;
        Lines arguments;
        Lines through;  // empty: no listener
        Start how;
        int status;
        const char* summary;  // nullptr: no notice
    };
    const char* notRun = "Zandvast: backup niet uitgevoerd";
    const Case cases[] = {
        {"clean run", good, onPrivateBus(), {}, 0, nullptr},
        {"refused", refusedJob, onPrivateBus(), {}, 1, notRun},
        {"broken off", noSource, onPrivateBus(), {}, 2, "Zandvast: backup afgebroken"},
        // As under a systemd user session that exports no bus address.
        {"bus only in the runtime folder",
         refusedJob,
         onPrivateBus({"env", "-u", "DBUS_SESSION_BUS_ADDRESS"}),
         {},
         1,
         notRun},
        {"cron, no session", refusedJob, {}, cron, 1, nullptr},
        {"bus gone", noSource, {}, deadBus, 2, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(backup);
        std::filesystem::remove(noticeFile);
        makeDirs(backup);
        Start how = c.how;
        how.through = c.through;
        const ProgramOutcome outcome = start(c.arguments, how);
        EXPECT_EQ(outcome.exitStatus, c.status) << outcome.output;
        EXPECT_EQ(programErrors(outcome.errors), "");
        if (c.through.empty()) continue;
        const Lines received = notices();
        ASSERT_EQ(received.size(), c.summary ? 1u : 0u) << outcome.output;
        if (!c.summary) continue;
        const std::string expected = std::string("Zandvast|nl.zandvast.Zandvast|") + c.summary;
        EXPECT_TRUE(received[0].starts_with(expected + "|")) << received[0];
        EXPECT_TRUE(received[0].ends_with("(afsluitstatus " + std::to_string(c.status) + "). Zie " +
                                          log + ".|desktop-entry=nl.zandvast.Zandvast"))
            << received[0];
    }
}

}  // namespace
}  // namespace zv::test
