#pragma once

#include <string>

#include "platform/Environment.h"

namespace zv {

// "1.0.0"
inline std::string versionNumber(const Version& v) {
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
           std::to_string(v.revision);
}

// "Zandvast v.1.0.0": the job file's version line, the caption's version and
// what --version prints.
inline constexpr const char* kVersionPrefix = "Zandvast v.";
inline std::string programVersion(const Version& v) {
    return kVersionPrefix + versionNumber(v);
}

// The window's caption while no run is under way.
inline std::string windowCaption(const Version& v) {
    return "Zandvast & Backup Tool v." + versionNumber(v);
}

}  // namespace zv
