#include <optional>
#include <string>
#include <vector>

#include "app/BackupDisk.h"
#include "app/DateFilterDisplay.h"
#include "app/frmVergelijker.h"
#include "config/Options.h"
#include "config/ValueText.h"
#include "config/VolumeLabel.h"

namespace zv {

namespace {

// Applies a job given as options and runs it. Every refusal is logged and
// closes the window; nothing is asked.
class OptionApplier {
  public:
    OptionApplier(frmVergelijker& w, OptionValues values) : w_(w), v_(std::move(values)) {}

    void run() {
        // assign(1, '0'): GCC 12 at -O3 takes assigning the literal for an overlapping copy.
        if (valueOf(v_, Option::DustbinKind).empty())
            valueOf(v_, Option::DustbinKind).assign(1, '0');
        if (!applyPaths()) return;
        // Only 0, 1 and 2 name a dustbin kind: another number would leave the
        // job without a place for its orphans.
        const std::optional<int> dustbin = ParseWholeNumber(valueOf(v_, Option::DustbinKind));
        if (!dustbin || *dustbin < 0 || *dustbin > 2 ||
            (*dustbin != 0 && w_.job.dustbinPath.empty())) {
            refuse(w_.log.timeText() + " Dustbinpath invalid");
            return;
        }
        if (!valueOf(v_, Option::MostRemovals).empty()) {
            const std::optional<int> most = ParseWholeNumber(valueOf(v_, Option::MostRemovals));
            if (!most || *most < 0) {
                refuse(w_.log.timeText() + " Maxremovals invalid");
                return;
            }
            w_.job.maxRemovals = *most;
        }
        applyDustbinUse(*dustbin);
        applyDateFilter();
        applySync();
        applyVerify();
        applyDustbinKind(*dustbin);
        if (auto on = ParseSwitchValue(valueOf(v_, Option::RemoveEmpty)))
            w_.job.removeEmptyFolders = *on;
        startWhenVolumeMatches();
    }

  private:
    frmVergelijker& w_;
    OptionValues v_;

    void refuse(const std::string& logLine) {
        w_.log.add(logLine);
        w_.JobRefused = true;
        w_.CloseWindow();
    }

    bool applyPaths() {
        w_.ui.Text1[0].text = valueOf(v_, Option::Source);
        w_.job.source = w_.resolveVolumePath(valueOf(v_, Option::Source));
        if (w_.job.source.empty()) {
            refuse(w_.log.timeText() + " Sourcepath invalid");
            return false;
        }
        w_.ui.Text1[2].text = valueOf(v_, Option::Backup);
        w_.job.backup = w_.resolveVolumePath(valueOf(v_, Option::Backup));
        if (w_.job.backup.empty()) {
            refuse(w_.log.timeText() + " Targetpath invalid");
            return false;
        }
        w_.job.dustbinAsWritten = valueOf(v_, Option::DustbinFolder);
        w_.job.dustbinPath = w_.resolveVolumePath(valueOf(v_, Option::DustbinFolder));
        return true;
    }

    void applyDustbinUse(int dustbin) {
        if (dustbin == 0) {
            w_.job.useDustbin = false;
            w_.job.dustbinToTrash = false;
            w_.job.dustbinToFolder = false;
        } else {
            w_.job.useDustbin = true;
        }
    }

    void applyDateFilter() {
        w_.job.fromDate = valueOf(v_, Option::FromDate);
        w_.ui.text2.text = valueOf(v_, Option::FromDate);
        const auto check = ParseWholePart(valueOf(v_, Option::DateFilter));
        if (check && *check >= 0 && *check <= 2) SetCheck1Value(w_, *check);
        if (w_.ui.Check1.value == 0) w_.job.noDateFilter = true;
    }

    void applySync() {
        if (auto on = ParseSwitchValue(valueOf(v_, Option::Synchronise))) w_.job.synchronise = *on;
        if (w_.job.synchronise) {
            w_.ShowArrow2Dark();
            w_.ui.Frame2.toolTip = "synchroniseren (ingeschakeld)";
            w_.ui.imSync.visible = true;
            w_.ui.imNoSync.visible = false;
        } else {
            w_.ShowArrow2Faded();
            w_.ui.Frame2.toolTip = "synchroniseren (uitgeschakeld)";
            w_.ui.imSync.visible = false;
            w_.ui.imNoSync.visible = true;
        }
    }

    void applyVerify() {
        if (auto on = ParseSwitchValue(valueOf(v_, Option::Verify))) w_.job.verify = *on;
        if (w_.job.verify) {
            w_.ShowArrow1Dark();
            return;
        }
        w_.ShowArrow1Red();
        w_.ShowArrow2Faded();
        w_.ui.imSync.visible = false;
        w_.ui.imNoSync.visible = false;
        w_.ui.imNoVfy.visible = true;
        w_.job.synchronise = false;
    }

    void applyDustbinKind(int dustbin) {
        if (dustbin == 1) {
            w_.job.dustbinToTrash = true;
            w_.job.dustbinToFolder = false;
            w_.ui.imPrullenbak.toolTip = "<RECYCLER>";
        } else if (dustbin == 2) {
            w_.job.dustbinToTrash = false;
            w_.job.dustbinToFolder = true;
            w_.ui.imPrullenbak.toolTip = w_.job.dustbinPath;
        }
    }

    // The run starts only on the backup volume the job names (when it names
    // one); it runs to its end before this returns.
    void startWhenVolumeMatches() {
        w_.job.volumeLabel = valueOf(v_, Option::VolumeLabel);
        (void)VolumeLabelOfPath(w_.svc.fs, w_.job.backup, w_.VolumeLabelCurrent);
        if (w_.VolumeLabelCurrent != w_.job.volumeLabel && !w_.job.volumeLabel.empty()) {
            refuse(w_.log.dateText() + " " + w_.log.timeText() + " Error: " + w_.job.volumeLabel +
                   " <> " + w_.VolumeLabelCurrent + "\r\nVolumelabels don't match");
            return;
        }
        w_.ui.visible = false;
        w_.AutoRun = true;
        // One level only, on a disk that is there (app/BackupDisk.h).
        if (const std::string reason = makeBackupFolderUnattended(w_, w_.job.backup);
            !reason.empty()) {
            refuse(w_.log.timeText() + " Targetpath invalid (" + reason + ")");
            return;
        }
        w_.cmdGo_Click();
    }
};

}  // namespace

void frmVergelijker::ApplyCommandLineOptions(const std::vector<std::string>& CmdTokens) {
    std::optional<OptionValues> values = collectOptionValues(CmdTokens);
    if (!values) return;
    std::string& fromDate = valueOf(*values, Option::FromDate);
    fromDate = NormaliseDateText(fromDate);
    OptionApplier(*this, std::move(*values)).run();
}

}  // namespace zv
