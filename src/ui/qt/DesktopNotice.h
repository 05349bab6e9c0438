#pragma once

#include "ui/RunEndNotice.h"

namespace zv::qt {

// The desktop entry (and icon) name the program is installed under.
inline constexpr const char* kDesktopId = "nl.zandvast.Zandvast";

// Hands a notice to the desktop's notification service
// (org.freedesktop.Notifications) when a session bus is known: from
// DBUS_SESSION_BUS_ADDRESS or $XDG_RUNTIME_DIR/bus. Without one (cron) it does
// nothing. It never waits for an answer and nothing it meets fails the run.
void showDesktopNotice(const RunEndNotice& notice);

}  // namespace zv::qt
