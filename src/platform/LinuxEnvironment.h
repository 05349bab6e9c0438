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

// Reads the start-up facts from the running process.
EnvironmentInfo probeEnvironment(int argc, char** argv);

// The folder for Init.dat, Error.Log and the default job: the executable's
// folder, or, when that is not writable (a system install), the per-user
// data folder.
std::string appFolderFor(const std::string& exeFolder, bool exeFolderWritable, const EnvVars& env);
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
