#pragma once

#include <string>

#include "platform/Environment.h"

namespace zv {

// The environment variables the start-up looks at (empty when unset).
struct EnvVars {
    std::string home;
    std::string xdgDataHome;
    std::string xdgConfigHome;
};

// Where the running executable lies.
struct ExecutableSite {
    std::string folder;      // empty when unknown
    bool writable = false;   // the folder, for this user
    bool installed = false;  // the folder is the bin folder the program was installed into
};

// Reads the start-up facts from the running process.
EnvironmentInfo probeEnvironment(int argc, char** argv);

// The folder for Init.dat, Error.Log and the default job. An installed copy
// keeps them in the per-user data folder (also for root, who could write
// into the bin folder); a portable copy keeps them beside itself, unless it
// cannot write there.
std::string appFolderFor(const ExecutableSite& site, const EnvVars& env);
// Creates a folder and its missing parents, with permissions 0700 as the XDG
// folders want them (an installed copy's first start in a fresh home).
void makeFolders(const std::string& path);
// Whether two paths name one existing folder (also through links).
bool sameFolder(const std::string& a, const std::string& b);
// $XDG_DATA_HOME/zandvast, or ~/.local/share/zandvast.
std::string userDataFolder(const EnvVars& env);
// $XDG_CONFIG_HOME, or ~/.config.
std::string userConfigFolder(const EnvVars& env);
// XDG_DESKTOP_DIR from the text of user-dirs.dirs ($HOME expanded), else
// ~/Desktop.
std::string desktopFolderFrom(const std::string& userDirsText, const EnvVars& env);
// argv[1..] joined by single spaces.
std::string joinArguments(int argc, char** argv);

}  // namespace zv
