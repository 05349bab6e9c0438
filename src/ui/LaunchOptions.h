#pragma once

#include <string>

#include "platform/Environment.h"

namespace zv {

class AppWindow;

// What the two arguments that are taken before anything else ask for.
enum class LaunchRequest { Run, PrintVersion, PrintHelp };
LaunchRequest requestOf(const std::string& commandLine);

// "Zandvast v.MAJOR.MINOR.REVISION"
std::string versionLine(const Version& version);
std::string usageText();

// Whether the command line starts a job that runs by itself ("-if" or options).
bool isUnattendedStart(const std::string& commandLine);

// How to reach a screen. An explicit platform choice is always honoured;
// without any display an unattended start draws off screen, and an
// interactive one cannot start.
enum class DisplayChoice { AsConfigured, Offscreen, NoDisplay };
struct DisplayEnvironment {
    bool platformSet = false;  // QT_QPA_PLATFORM
    bool x11 = false;          // DISPLAY
    bool wayland = false;      // WAYLAND_DISPLAY
};
DisplayChoice chooseDisplay(const std::string& commandLine, const DisplayEnvironment& env);

// Whether QT_QPA_PLATFORM names a platform nobody sees (offscreen, minimal;
// options after ':' and fallbacks after ';' aside). Qt's own warnings there
// would only end up in a scheduler's mail.
bool isUnseenPlatform(const std::string& platformVariable);

// A start that left the window open although nobody can see it (no screen,
// the offscreen platform) would wait for ever. This logs why the window is
// closed, writes Error.Log and marks the start as one that ran nothing.
void giveUpUnseenWindow(AppWindow& w);

}  // namespace zv
