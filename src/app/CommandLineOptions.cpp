#include <optional>
#include <string>
#include <vector>

#include "app/AppWindow.h"
#include "app/BackupDisk.h"
#include "app/DateFilterDisplay.h"
#include "config/Options.h"
#include "config/ValueText.h"
#include "config/VolumeLabel.h"

namespace zv {

namespace {

// Applies a job given as options and runs it. Every refusal is logged and
// closes the window; nothing is asked.
class OptionApplier {
  public:
    OptionApplier(AppWindow& w, OptionValues values) : w_(w), v_(std::move(values)) {}

    void run() {
        // assign(1, '0'): GCC 12 at -O3 takes assigning the literal for an overlapping copy.
        if (valueOf(v_, Option::DustbinKind).empty())
            valueOf(v_, Option::DustbinKind).assign(1, '0');
        if (!applyPaths()) return;
        // Only 0, 1 and 2 name a dustbin kind: another number would leave the
        // job without a place for its orphans.
        const std::optional<int> dustbin = parseWholeNumber(valueOf(v_, Option::DustbinKind));
        if (!dustbin || *dustbin < 0 || *dustbin > 2 ||
            (*dustbin != 0 && w_.job.dustbinPath.empty())) {
            refuse(w_.log.timeText() + " Dustbinpath invalid");
            return;
        }
        if (!valueOf(v_, Option::MostRemovals).empty()) {
            const std::optional<int> most = parseWholeNumber(valueOf(v_, Option::MostRemovals));
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
        if (auto on = parseSwitchValue(valueOf(v_, Option::RemoveEmpty)))
            w_.job.removeEmptyFolders = *on;
        startWhenVolumeMatches();
    }

  private:
    AppWindow& w_;
    OptionValues v_;

    void refuse(const std::string& logLine) {
        w_.log.add(logLine);
        w_.jobRefused = true;
        w_.closeWindow();
    }

    bool applyPaths() {
        w_.ui.sourceBox.text = valueOf(v_, Option::Source);
        w_.job.source = w_.resolveVolumePath(valueOf(v_, Option::Source));
        if (w_.job.source.empty()) {
            refuse(w_.log.timeText() + " Sourcepath invalid");
            return false;
        }
        w_.ui.backupBox.text = valueOf(v_, Option::Backup);
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
        w_.ui.fromDateBox.text = valueOf(v_, Option::FromDate);
        const auto check = parseWholePart(valueOf(v_, Option::DateFilter));
        if (check && *check >= 0 && *check <= 2) setDateFilterValue(w_, *check);
        if (w_.ui.dateFilterBox.value == 0) w_.job.noDateFilter = true;
    }

    void applySync() {
        if (auto on = parseSwitchValue(valueOf(v_, Option::Synchronise))) w_.job.synchronise = *on;
        if (w_.job.synchronise) {
            w_.showSyncArrowDark();
            w_.ui.syncArrow.toolTip = "synchroniseren (ingeschakeld)";
            w_.ui.syncPicture.visible = true;
            w_.ui.noSyncPicture.visible = false;
        } else {
            w_.showSyncArrowFaded();
            w_.ui.syncArrow.toolTip = "synchroniseren (uitgeschakeld)";
            w_.ui.syncPicture.visible = false;
            w_.ui.noSyncPicture.visible = true;
        }
    }

    void applyVerify() {
        if (auto on = parseSwitchValue(valueOf(v_, Option::Verify))) w_.job.verify = *on;
        if (w_.job.verify) {
            w_.showVerifyArrowDark();
            return;
        }
        w_.showVerifyArrowRed();
        w_.showSyncArrowFaded();
        w_.ui.syncPicture.visible = false;
        w_.ui.noSyncPicture.visible = false;
        w_.ui.noCheckPicture.visible = true;
        w_.job.synchronise = false;
    }

    void applyDustbinKind(int dustbin) {
        if (dustbin == 1) {
            w_.job.dustbinToTrash = true;
            w_.job.dustbinToFolder = false;
            w_.ui.dustbinPicture.toolTip = "<RECYCLER>";
        } else if (dustbin == 2) {
            w_.job.dustbinToTrash = false;
            w_.job.dustbinToFolder = true;
            w_.ui.dustbinPicture.toolTip = w_.job.dustbinPath;
        }
    }

    // The run starts only on the backup volume the job names (when it names
    // one); it runs to its end before this returns.
    void startWhenVolumeMatches() {
        w_.job.volumeLabel = valueOf(v_, Option::VolumeLabel);
        (void)volumeLabelOfPath(w_.svc.fs, w_.job.backup, w_.currentVolumeLabel);
        if (w_.currentVolumeLabel != w_.job.volumeLabel && !w_.job.volumeLabel.empty()) {
            refuse(w_.log.dateText() + " " + w_.log.timeText() + " Error: " + w_.job.volumeLabel +
                   " <> " + w_.currentVolumeLabel + "\r\nVolumelabels don't match");
            return;
        }
        w_.ui.visible = false;
        w_.unattended = true;
        // One level only, on a disk that is there (app/BackupDisk.h).
        if (const std::string reason = makeBackupFolderUnattended(w_, w_.job.backup);
            !reason.empty()) {
            refuse(w_.log.timeText() + " Targetpath invalid (" + reason + ")");
            return;
        }
        w_.goClicked();
    }
};

}  // namespace

void AppWindow::applyCommandLineOptions(const std::vector<std::string>& CmdTokens) {
    std::optional<OptionValues> values = collectOptionValues(CmdTokens);
    if (!values) return;
    std::string& fromDate = valueOf(*values, Option::FromDate);
    fromDate = normaliseDateText(fromDate);
    OptionApplier(*this, std::move(*values)).run();
}

}  // namespace zv
