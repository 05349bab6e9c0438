#pragma once

#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/linux/FreedesktopTrash.h"
#include "platform/linux/LinuxFileSystem.h"

namespace zv {

// The services the running Linux system gives the program, built once at
// start-up from the process's arguments and environment. What the window
// toolkit gives (dialogs, event pump, window host) is not here.
struct LinuxPlatform {
    LinuxPlatform(int argc, char** argv);
    LinuxPlatform(const LinuxPlatform&) = delete;  // the trash holds on to `fs`
    LinuxPlatform& operator=(const LinuxPlatform&) = delete;

    EnvironmentInfo env;
    LinuxFileSystem fs;
    SystemClock clock;
    FreedesktopTrash trash;
};

}  // namespace zv
