#include "platform/linux/LinuxPlatform.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/linux/LinuxEnvironment.h"

namespace zv {

namespace {

std::string envText(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

LinuxPlatform::LinuxPlatform(int argc, char** argv)
    : env(probeEnvironment(argc, argv)),
      trash(fs, envText("HOME"), envText("XDG_DATA_HOME"), getuid()) {}

}  // namespace zv
