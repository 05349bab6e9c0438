#include "app/frmVergelijker.h"

#include <string>

#include "config/VersionText.h"
#include "config/VolumePaths.h"

namespace zv {

frmVergelijker::frmVergelijker(Services services)
    : svc(std::move(services)),
      log(svc.clock, svc.fs, svc.env.appFolder + kSep + "Error.Log", counts),
      progress(*this),
      run{svc.fs, svc.trash, svc.pump, svc.dialogs, job,     counts,       progress,
          log,    userBreak, roots,    nextFrom,    AutoRun, ComputerName, DesktopName} {
    const Version& v = svc.env.version;
    AppVersionText = programVersion(v);
    ui.caption = windowCaption(v);
}

std::string frmVergelijker::resolveVolumePath(const std::string& path) {
    return zv::resolveVolumePath(svc.fs, DriveList, svc.env.workingFolder, path);
}

void frmVergelijker::CloseWindow() {
    ui.closed = true;
    ui.visible = false;
    Form_Unload();
}

void frmVergelijker::Form_Unload() {
    userBreak = true;
}

}  // namespace zv
