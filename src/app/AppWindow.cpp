#include "app/AppWindow.h"

#include <string>

#include "config/VersionText.h"
#include "config/VolumePaths.h"

namespace zv {

AppWindow::AppWindow(Services services)
    : svc(std::move(services)),
      log(svc.clock, svc.fs, svc.env.appFolder + kSep + "Error.Log", counts),
      progress(*this),
      run{svc.fs,       svc.trash,   svc.pump,  svc.dialogs, job,      counts,
          progress,     log,         userBreak, roots,       nextFrom, unattended,
          computerName, desktopName, newFiles,  filePaths} {
    const Version& v = svc.env.version;
    versionText = programVersion(v);
    ui.caption = windowCaption(v);
}

std::string AppWindow::resolveVolumePath(const std::string& path) {
    return zv::resolveVolumePath(svc.fs, driveList, svc.env.workingFolder, path);
}

void AppWindow::closeWindow() {
    ui.closed = true;
    ui.visible = false;
    unload();
}

void AppWindow::unload() {
    userBreak = true;
}

}  // namespace zv
