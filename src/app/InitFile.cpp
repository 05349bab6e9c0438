#include <string>

#include "app/DateFilterDisplay.h"
#include "app/frmVergelijker.h"

namespace zv {

std::string frmVergelijker::ValueAfterEquals(const std::string& line) {
    const auto equals = line.find('=');
    if (equals == std::string::npos) return line;
    return line.substr(equals + 1);
}

// A bare name lies in `folder`; a name with any separator is used as it is.
std::string frmVergelijker::PathInFolder(const std::string& folder, const std::string& name) {
    if (name.find(kSep) != std::string::npos) return name;
    return folder + kSep + name;
}

// The dustbin number of the option line: 1 recycle bin, 2 own folder, 0 none.
int frmVergelijker::DustbinModeCode() {
    if (job.dustbinToTrash || job.dustbinToFolder) job.useDustbin = true;
    if (job.dustbinToTrash) return 1;
    if (job.dustbinToFolder) return 2;
    return job.useDustbin ? 1 : 0;
}

// The job shown when there is no job file yet: the application folder backed
// up into its Backup subfolder, quick mode, no dustbin.
void frmVergelijker::SetDefaultJob() {
    ui.Text1[0].text = svc.env.appFolder;
    ui.Text1[2].text = svc.env.appFolder + kSep + "Backup";
    ui.text2.text = "19-12-1960 12:58:58";
    SetCheck1Value(*this, 1);

    ui.Frame1.toolTip = " backup wordt  NIET  gecontroleerd op ontbrekende mappen ";
    ui.Frame2.toolTip = " synchroniseren (uitgeschakeld) ";
    ShowArrow1Red();

    job.verify = false;
    job.useDustbin = false;

    ui.imSync.visible = false;
    ui.imNoSync.visible = false;
    ui.imSyncPlus.visible = false;
    ui.imPrullenbak.visible = false;
    ui.imNoVfy.visible = true;
    ShowArrow2Faded();
}

}  // namespace zv
