#include "e2e/E2eFixture.h"

namespace zv::test {
namespace {

using DesktopNotice = EndToEnd;

// An unattended run that did not end well tells the desktop: here on a
// private session bus (dbus-run-session, listening in the runtime folder as a
// desktop session's bus does) with a stand-in notification service that
// records what it is told. Without a session bus the run is the same, and as
// quiet.
TEST_F(DesktopNotice, FailedRefusedAndBrokenOffRunsAreNoticedOnlyWithASessionBus) {
    if (!sh("dbus-run-session -- true >/dev/null 2>&1"))
        GTEST_SKIP() << "no private session bus: dbus-run-session is missing or fails";
    const std::string config = root / "bus.conf", notices = root / "notices.txt";
    writeFile(config, "<busconfig><type>session</type><listen>unix:path=" + root / "run/bus" +
                          "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                          "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
                          "<allow own=\"*\"/></policy></busconfig>\n");
    const Lines bus{"dbus-run-session", "--config-file=" + config, "--", ZV_NOTIFICATION_LISTENER,
                    notices},
        good{"-ps", source, "-pd", backup, "-cd", "0", "-vf", "1"},
        refusedJob{"-ps", source, "-vf", "1"},
        noSource{"-ps", root / "weg", "-pd", backup, "-cd", "0", "-vf", "1"};
    Lines noAddress = bus;
    noAddress.insert(noAddress.end(), {"env", "-u", "DBUS_SESSION_BUS_ADDRESS"});
    const std::string notRun = "niet uitgevoerd", deadBus = "unix:path=" + root / "geen-bus";
    const struct {
        const char* name;
        Lines arguments;
        Start how;
        int status;
        std::string summary;  // empty: no notice
    } cases[] = {
        {"clean run", good, {.through = bus}, 0, ""},
        {"refused", refusedJob, {.through = bus}, 1, notRun},
        {"broken off", noSource, {.through = bus}, 2, "afgebroken"},
        // As under a systemd user session that exports no bus address.
        {"bus only in the runtime folder", refusedJob, {.through = noAddress}, 1, notRun},
        {"cron, no session", refusedJob, {false, false}, 1, ""},
        {"bus gone", noSource, {.environment = {"DBUS_SESSION_BUS_ADDRESS=" + deadBus}}, 2, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(backup);
        std::filesystem::remove(notices);
        makeDirs(backup);
        const ProgramOutcome outcome = run(c.arguments, c.how);
        EXPECT_EQ(outcome.exitStatus, c.status) << outcome.errors;
        // Nothing but the bus daemon's own complaints (it cannot raise its
        // file limit in a container) reaches standard error.
        EXPECT_EQ(std::regex_replace(outcome.errors, std::regex("dbus-daemon\\[.*\n"), ""), "");
        // "app|icon|summary|body|hints", the body from its exit status on.
        Lines received = split(readFile(notices), "\n"), expected;
        for (std::string& notice : received)
            notice = std::regex_replace(notice, std::regex("\\|[^|]*\\(afsluitstatus"),
                                        "|(afsluitstatus");
        if (!c.summary.empty())
            expected.push_back("Zandvast|nl.zandvast.Zandvast|Zandvast: backup " + c.summary +
                               "|(afsluitstatus " + std::to_string(c.status) + "). Zie " + app +
                               "/Error.Log.|desktop-entry=nl.zandvast.Zandvast");
        EXPECT_EQ(received, expected);
    }
}

}  // namespace
}  // namespace zv::test
