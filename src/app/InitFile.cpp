#include <string>

#include "app/AppWindow.h"
#include "app/DateFilterDisplay.h"
#include "ui/ModeDisplay.h"

namespace zv {

std::string AppWindow::valueAfterEquals(const std::string& line) {
    const auto equals = line.find('=');
    if (equals == std::string::npos) return line;
    return line.substr(equals + 1);
}

// A bare name lies in `folder`; a name with any separator is used as it is.
std::string AppWindow::pathInFolder(const std::string& folder, const std::string& name) {
    if (name.find(kSep) != std::string::npos) return name;
    return folder + kSep + name;
}

// The dustbin number of the option line: 1 recycle bin, 2 own folder, 0 none.
int AppWindow::dustbinModeCode() {
    if (job.dustbinToTrash || job.dustbinToFolder) job.useDustbin = true;
    if (job.dustbinToTrash) return 1;
    if (job.dustbinToFolder) return 2;
    return job.useDustbin ? 1 : 0;
}

// The job shown when there is no job file yet: the application folder backed
// up into its Backup subfolder, quick mode, no dustbin.
void AppWindow::setDefaultJob() {
    ui.sourceBox.text = svc.env.appFolder;
    ui.backupBox.text = svc.env.appFolder + kSep + "Backup";
    ui.fromDateBox.text = "19-12-1960 12:58:58";
    setDateFilterValue(*this, 1);

    showMode(*this, JobMode::NoCheck);
    job.verify = false;
    job.useDustbin = false;
}

}  // namespace zv
