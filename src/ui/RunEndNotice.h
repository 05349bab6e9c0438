#pragma once

#include <optional>
#include <string>

namespace zv {

// What the desktop is told when an unattended run did not end well: nobody
// watched it, and the exit status alone goes unnoticed outside cron mail.
struct RunEndNotice {
    std::string summary;
    std::string body;
};

// The notice for a start that ended with `exitStatus`: one for an unattended
// start that failed, was refused or broke off; none for a clean run or a
// session a user led.
std::optional<RunEndNotice> noticeForRunEnd(const std::string& commandLine, int exitStatus,
                                            const std::string& errorLogPath);

}  // namespace zv
