#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/BackupDisk.h"
#include "app/DateFilterDisplay.h"
#include "app/frmVergelijker.h"
#include "config/ValueText.h"
#include "config/VolumeLabel.h"

namespace zv {

namespace {

// The options in the order every piece is tested against them. "-ke" is the
// kill-empty switch that line 12 of a saved job carries, "-mx" the most files
// a synchronisation may remove.
enum Option { kPs, kPd, kPr, kDd, kCd, kSy, kVf, kDb, kVl, kKe, kMx, kOptionCount };
constexpr std::array<const char*, kOptionCount> kOptionNames = {
    "-ps", "-pd", "-pr", "-dd", "-cd", "-sy", "-vf", "-db", "-vl", "-ke", "-mx"};

using OptionValues = std::array<std::string, kOptionCount>;

// A piece is an option when it begins with the option ("-ps") or with its two
// letters ("ps"); its value starts after the letters and one more character.
bool MatchesOption(const std::string& piece, const std::string& option) {
    return piece.compare(0, 3, option) == 0 || piece.compare(0, 2, option, 1, 2) == 0;
}

// Nothing when a piece holds the option letters but no room for a value: the
// parser then stops without applying any option.
std::optional<OptionValues> CollectValues(const std::vector<std::string>& tokens) {
    OptionValues values;
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        const std::string& piece = tokens[i];
        for (int option = 0; option < kOptionCount; ++option) {
            const std::string name = kOptionNames[static_cast<std::size_t>(option)];
            if (!MatchesOption(piece, name)) continue;
            const std::size_t skip = piece.find(name.substr(1)) + 3;
            if (piece.size() < skip) return std::nullopt;
            std::string value = piece.substr(skip);
            if (option == kDd) value = frmVergelijker::NormaliseDateText(value);
            values[static_cast<std::size_t>(option)] = value;
        }
    }
    return values;
}

// Applies a job given as options and runs it. Every refusal is logged and
// closes the window; nothing is asked.
class OptionApplier {
  public:
    OptionApplier(frmVergelijker& w, OptionValues values) : w_(w), v_(std::move(values)) {}

    void run() {
        // assign(1, '0'): GCC 12 at -O3 takes assigning the literal for an overlapping copy.
        if (v_[kDb].empty()) v_[kDb].assign(1, '0');
        if (!applyPaths()) return;
        // Only 0, 1 and 2 name a dustbin kind: another number would leave the
        // job without a place for its orphans.
        const std::optional<int> dustbin = ParseWholeNumber(v_[kDb]);
        if (!dustbin || *dustbin < 0 || *dustbin > 2 ||
            (*dustbin != 0 && w_.job.dustbinPath.empty())) {
            refuse(w_.log.timeText() + " Dustbinpath invalid");
            return;
        }
        if (!v_[kMx].empty()) {
            const std::optional<int> most = ParseWholeNumber(v_[kMx]);
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
        if (auto on = ParseSwitchValue(v_[kKe])) w_.job.removeEmptyFolders = *on;
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
        w_.ui.Text1[0].text = v_[kPs];
        w_.job.source = w_.resolveVolumePath(v_[kPs]);
        if (w_.job.source.empty()) {
            refuse(w_.log.timeText() + " Sourcepath invalid");
            return false;
        }
        w_.ui.Text1[2].text = v_[kPd];
        w_.job.backup = w_.resolveVolumePath(v_[kPd]);
        if (w_.job.backup.empty()) {
            refuse(w_.log.timeText() + " Targetpath invalid");
            return false;
        }
        w_.job.dustbinAsWritten = v_[kPr];
        w_.job.dustbinPath = w_.resolveVolumePath(v_[kPr]);
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
        w_.job.fromDate = v_[kDd];
        w_.ui.text2.text = v_[kDd];
        const auto check = ParseWholePart(v_[kCd]);
        if (check && *check >= 0 && *check <= 2) SetCheck1Value(w_, *check);
        if (w_.ui.Check1.value == 0) w_.job.noDateFilter = true;
    }

    void applySync() {
        if (auto on = ParseSwitchValue(v_[kSy])) w_.job.synchronise = *on;
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
        if (auto on = ParseSwitchValue(v_[kVf])) w_.job.verify = *on;
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
        w_.job.volumeLabel = v_[kVl];
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
    std::optional<OptionValues> values = CollectValues(CmdTokens);
    if (!values) return;
    OptionApplier(*this, std::move(*values)).run();
}

}  // namespace zv
