#pragma once

#include <string>

namespace zv {

struct Version {
    int major = ZV_VERSION_MAJOR;
    int minor = ZV_VERSION_MINOR;
    int revision = ZV_VERSION_PATCH;
};

// What the program learns about its surroundings once at start-up.
struct EnvironmentInfo {
    std::string appFolder;  // where Init.dat and Error.Log live
    Version version;
    std::string commandLine;        // argv[1..] joined by single spaces
    std::string desktopPath;        // the user's desktop folder
    std::string computerName;       // the computer's display name
    std::string workingFolder;      // the current folder at start-up
    bool outputIsTerminal = false;  // standard output is a terminal (not cron, not a pipe)
};

}  // namespace zv
