#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Environment.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "platform/Trash.h"

namespace zv {

// Opens the windows that the plain models cannot open themselves.
class WindowHost {
  public:
    virtual ~WindowHost() = default;
    // Shows the dustbin dialog modally; returns when it has closed.
    virtual void showDustbinDialog() = 0;
};

// Everything the logic reaches the outside world through.
struct Services {
    FileSystem& fs;
    Dialogs& dialogs;
    Clock& clock;
    EventPump& pump;
    Trash& trash;
    WindowHost& host;
    EnvironmentInfo env;
};

}  // namespace zv
