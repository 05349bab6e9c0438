#include <algorithm>
#include <optional>
#include <string>

#include "app/AppWindow.h"
#include "app/BackupDisk.h"
#include "app/DateFilterDisplay.h"
#include "config/JobFileLines.h"
#include "config/ValueText.h"
#include "config/VersionText.h"
#include "config/VolumeLabel.h"
#include "config/WorkingFolderPath.h"
#include "platform/DateText.h"
#include "sync/FolderMarking.h"

namespace zv {

namespace {

// A line the file does not have: the step that needs it fails.
constexpr int kErrPastEnd = 62;
// A value outside what the setting takes (a check box value of 3).
constexpr int kErrBadValue = kErrInvalidArgument;
constexpr const char* kCrLf = "\r\n";
// The lines the reader takes values from; line 12 repeats the job as options.
constexpr std::size_t kValueLines = 11;
constexpr std::size_t kDustbinLine = 9;
constexpr std::size_t kVolumeLine = 11;

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

enum class Flow { Go, Stop };

// Reads one job file into the window, step by step. A step that fails
// changes nothing it was to set and leaves its error pending; the few checks
// below act on that pending error.
class InitFileReader {
  public:
    explicit InitFileReader(AppWindow& w) : w_(w) {}

    int run() {
        takeCommandLine();
        if (open() == Flow::Stop) return result_;
        if (readVersion() == Flow::Stop) return result_;
        if (readSource() == Flow::Stop) return result_;
        if (readBackup() == Flow::Stop) return result_;
        readDustbinFolder();
        if (readFromDate() == Flow::Stop) return result_;
        if (readDateFilter() == Flow::Stop) return result_;
        if (readSync() == Flow::Stop) return result_;
        readVerify();
        if (readDustbinKind() == Flow::Stop) return result_;
        readKillEmpty();
        readVolume();
        readRemovalLimit();
        if (w_.unattended) w_.goClicked();
        return result_;
    }

  private:
    AppWindow& w_;
    FsError pending_;
    int result_ = 0;
    std::string shownPath_;  // the job file as messages name it
    JobFileLines lines_;

    std::string stamp() { return w_.log.dateText() + " " + w_.log.timeText(); }
    void refuse(const std::string& logLine) {
        w_.log.add(logLine);
        result_ = 1;
        w_.jobRefused = true;
    }
    void fail(int number, const char* what) { pending_ = fsFail(number, what); }

    // The value of a line, or nothing (and a pending error) when it is missing.
    std::optional<std::string> value(std::size_t number) {
        auto line = lines_.line(number);
        if (!line) {
            fail(kErrPastEnd, "Input past end of file");
            return std::nullopt;
        }
        return AppWindow::valueAfterEquals(*line);
    }

    std::optional<bool> switchValue(std::size_t number) {
        auto text = value(number);
        if (!text) return std::nullopt;
        auto on = parseSwitchValue(*text);
        if (!on) fail(kErrTypeMismatch, "Type mismatch");
        return on;
    }

    void showBadFolderBox(const char* label, const std::string& r) {
        w_.svc.dialogs.messageBox("Initialisatiebestand: " + quoted(shownPath_) +
                                      " verwijst naar een ongeldige map." + kCrLf + kCrLf + label +
                                      quoted(r) + kCrLf +
                                      "bestaat niet of is momenteel niet toegankelijk.",
                                  MessageStyle::Ok);
    }

    void showPath(int index, const std::string& r, const std::string& resolved) {
        w_.ui.pathBox(index).text = r;
        w_.ui.pathBox(index).toolTip = resolved;
    }

    // "-if FILE" on the command line: an unattended run of that file.
    void takeCommandLine() {
        if (!contains(w_.commandToken, "-if")) return;
        if (contains(w_.commandOption, "qu")) {
            w_.ui.visible = false;
        } else {
            w_.showRunWindow();
        }
        w_.unattended = true;
        // "-if NAME": the name follows the option and its space.
        w_.jobFileName = w_.commandToken.substr(std::min<std::size_t>(4, w_.commandToken.size()));
    }

    Flow open() {
        shownPath_ = AppWindow::pathInFolder(w_.svc.env.appFolder, w_.jobFileName);
        const std::string& working = w_.svc.env.workingFolder;
        const std::string inAppFolder = inWorkingFolder(working, shownPath_);
        const std::string asGiven = inWorkingFolder(working, w_.jobFileName);
        std::string found;
        if (w_.svc.fs.fileExists(inAppFolder)) {
            found = inAppFolder;
        } else if (!w_.commandToken.empty() && !w_.jobFileName.empty() &&
                   w_.svc.fs.fileExists(asGiven)) {
            found = asGiven;
        } else if (!w_.commandToken.empty()) {
            refuse(stamp() + " Error: " + quoted(shownPath_) + " - initfile not found");
            return Flow::Stop;
        } else {
            w_.setDefaultJob();
            return Flow::Stop;
        }
        std::string content;
        pending_ = w_.svc.fs.readTextFile(found, content);
        lines_ = JobFileLines(content);
        // (A version line with one is refused as another version.)
        for (std::size_t number = 2; number <= kValueLines; ++number) {
            const std::optional<std::string> line = lines_.line(number);
            if (line && line->find('\0') != std::string::npos) return refuseFaultyLine(number);
        }
        return Flow::Go;
    }

    // A line no job can hold (a NUL byte, a dustbin kind that does not
    // exist): the job is not used at all. The box counts the lines after
    // the version line, as its dustbin-line form "in regel 8" does.
    Flow refuseFaultyLine(std::size_t number) {
        const std::string where = "in regel " + std::to_string(number - 1);
        w_.svc.dialogs.messageBox(
            "Initialisatiebestand: " + quoted(shownPath_) + " bevat een fout" + kCrLf + where,
            MessageStyle::Ok);
        refuse(stamp() + " Error: " + quoted(shownPath_) + " bevat een fout " + where);
        return Flow::Stop;
    }

    Flow readVersion() {
        auto text = value(1);
        if (!text) return Flow::Go;
        const std::size_t prefixLength = std::string(kVersionPrefix).size();
        const std::string fileVersion = text->substr(std::min(prefixLength, text->size()));
        const Version& v = w_.svc.env.version;
        const std::string appVersion = versionNumber(v);
        if (fileVersion == appVersion) return Flow::Go;
        if (w_.unattended) {
            w_.log.add("Versienummers van applicatie (" + appVersion +
                       ") en initialisatiebestand (" + fileVersion + ") komen niet overeen.");
            w_.log.write();
            w_.userBreak = true;
            w_.jobRefused = true;
            return Flow::Stop;
        }
        w_.svc.dialogs.messageBox("Versienummers van applicatie (" + appVersion + ")" + kCrLf +
                                      "en initialisatiebestand (" + fileVersion +
                                      ") komen niet overeen.",
                                  MessageStyle::OkExclamation);
        return Flow::Go;
    }

    Flow readSource() {
        Flow flow = Flow::Go;
        if (auto r = value(2)) {
            w_.job.source = w_.resolveVolumePath(*r);
            if (leadsToFolder(w_.svc.fs, w_.svc.env.workingFolder, w_.job.source)) {
                showPath(0, *r, w_.job.source);
            } else if (w_.unattended) {
                refuse(stamp() + " Error: " + quoted(*r) + " bronmap bestaat niet");
                flow = Flow::Stop;
            } else {
                w_.ui.sourceBox.text = *r;
                showBadFolderBox("Bronmap: ", *r);
            }
        }
        pending_ = {};
        return flow;
    }

    Flow readBackup() {
        auto r = value(3);
        if (!r) return Flow::Go;
        w_.job.backup = w_.resolveVolumePath(*r);
        if (w_.job.backup.empty()) {
            refuse(stamp() + " Error: " + *r + " - kan pad niet maken");
            return Flow::Stop;
        }
        if (leadsToFolder(w_.svc.fs, w_.svc.env.workingFolder, w_.job.backup)) {
            showPath(2, *r, w_.job.backup);
        } else if (w_.unattended) {
            // One level only, on a disk that is there: never a whole path on
            // the system disk for a backup disk that is not plugged in. The
            // volume the job names (line 11) tells where the disk should be.
            pending_ = {};
            showPath(2, *r, w_.job.backup);
            if (auto line = lines_.line(kVolumeLine))
                w_.job.volumeLabel = AppWindow::valueAfterEquals(*line);
            if (const std::string reason = makeBackupFolderUnattended(w_, w_.job.backup);
                !reason.empty()) {
                refuse(stamp() + " Error: " + *r + " - kan pad niet maken (" + reason + ")");
                return Flow::Stop;
            }
        } else {
            showPath(2, *r, w_.job.backup);
            showBadFolderBox("Doelmap: ", *r);
        }
        return Flow::Go;
    }

    void readDustbinFolder() {
        auto r = value(4);
        if (!r) return;
        w_.job.dustbinAsWritten = *r;
        w_.job.dustbinPath = w_.resolveVolumePath(*r);
        if (leadsToFolder(w_.svc.fs, w_.svc.env.workingFolder, w_.job.dustbinPath)) {
            w_.ui.dustbinPicture.toolTip = w_.job.dustbinPath;
        } else if (w_.job.dustbinPath.empty()) {
            w_.ui.dustbinPicture.toolTip = "<RECYCLER>";
        } else if (w_.unattended) {
            createDustbinFolder(*r);
        } else if (!r->empty()) {
            showBadFolderBox("Pad prullenbak: ", *r);
        }
    }

    // Only a folder that really came into being is reported as created.
    void createDustbinFolder(const std::string& r) {
        const FsError created = w_.svc.fs.createFolder(w_.job.dustbinPath);
        if (created.failed()) {
            pending_ = created;
            w_.log.add(stamp() + " Error: " + quoted(r) + " - kan pad niet maken");
        } else {
            markDustbinFolder(w_.svc.fs, w_.job.dustbinPath);
            w_.log.add(stamp() + " Error: " + quoted(r) + " path dustbin didn't exist, created");
        }
        w_.log.write();
    }

    Flow readFromDate() {
        pending_ = {};
        if (auto text = value(5)) {
            if (auto when = parseDateTime(*text)) {
                w_.job.fromDate = formatDateTime(*when);
            } else {
                fail(kErrTypeMismatch, "Type mismatch");
            }
        }
        w_.ui.fromDateBox.text = w_.job.fromDate;
        if (pending_.failed() && w_.unattended) {
            refuse(stamp() + " Error: wrong date-format");
            return Flow::Stop;
        }
        return Flow::Go;
    }

    Flow readDateFilter() {
        if (auto text = value(6)) {
            const auto number = parseWholePart(*text);
            if (!number) {
                fail(kErrTypeMismatch, "Type mismatch");
            } else if (*number < 0 || *number > 2) {
                fail(kErrBadValue, "Invalid property value");
            } else {
                setDateFilterValue(w_, *number);
            }
        }
        showDateFilterState(w_);
        if (pending_.failed() && w_.unattended) {
            refuse(w_.log.timeText() + " An error has occurred");
            return Flow::Stop;
        }
        return Flow::Go;
    }

    // Line 12 repeats the job as options; only "-mx", written last and only
    // when set, lives nowhere else.
    void readRemovalLimit() {
        const std::optional<std::string> line = lines_.line(kValueLines + 1);
        if (!line) return;
        const std::size_t at = line->rfind(" -mx ");
        if (at == std::string::npos) return;
        const std::optional<int> most = parseWholeNumber(line->substr(at + 5));
        if (most && *most >= 0) w_.job.maxRemovals = *most;
    }

    Flow readSync() {
        if (auto on = switchValue(7)) w_.job.synchronise = *on;
        if (pending_.failed() && w_.unattended) {
            refuse(w_.log.timeText() + " - An error has occurred");
            return Flow::Stop;
        }
        if (w_.job.synchronise) {
            w_.showSyncArrowDark();
            w_.ui.syncArrow.toolTip = " synchroniseren (ingeschakeld) ";
            w_.ui.syncPicture.visible = true;
            w_.ui.noSyncPicture.visible = false;
        } else {
            w_.showSyncArrowFaded();
            w_.ui.syncArrow.toolTip = " synchroniseren (uitgeschakeld) ";
            w_.ui.syncPicture.visible = false;
            w_.ui.noSyncPicture.visible = true;
        }
        return Flow::Go;
    }

    void readVerify() {
        if (auto on = switchValue(8)) w_.job.verify = *on;
        if (w_.job.verify) {
            w_.showVerifyArrowDark();
            w_.ui.verifyArrow.toolTip = " backup wordt gecontroleerd op ontbrekende mappen ";
            return;
        }
        w_.showVerifyArrowRed();
        w_.showSyncArrowFaded();
        w_.ui.verifyArrow.toolTip = " backup wordt  NIET  gecontroleerd op ontbrekende mappen ";
        w_.ui.syncArrow.toolTip = " synchroniseren (uitgeschakeld) ";
        w_.ui.syncPicture.visible = false;
        w_.ui.noSyncPicture.visible = false;
        w_.ui.noCheckPicture.visible = true;
        w_.job.synchronise = false;
    }

    // Only 0, 1 and 2 name a dustbin kind: any other value would leave the
    // job without a place for its orphans, so it is refused.
    Flow readDustbinKind() {
        std::optional<int> kind;
        if (auto text = value(kDustbinLine)) {
            kind = parseWholeNumber(*text);
            if (!kind || *kind < 0 || *kind > 2) return refuseFaultyLine(kDustbinLine);
        }
        if (pending_.number == kErrTypeMismatch) {
            w_.svc.dialogs.messageBox("Initialisatiebestand: " + quoted(shownPath_) +
                                          " bevat een fout" + kCrLf + "in regel 8",
                                      MessageStyle::Ok);
        }
        if (kind) applyDustbinKind(*kind);
        if (w_.job.useDustbin && w_.job.synchronise) showSyncWithDustbin();
        return Flow::Go;
    }

    void applyDustbinKind(int kind) {
        if (kind == 1) {
            w_.job.dustbinToTrash = true;
            w_.job.dustbinToFolder = false;
            w_.ui.dustbinPicture.toolTip = "<RECYCLER>";
        } else if (kind == 2) {
            w_.job.dustbinToTrash = false;
            w_.job.dustbinToFolder = true;
            w_.ui.dustbinPicture.toolTip = w_.job.dustbinPath;
        }
        w_.job.useDustbin = kind != 0;
    }

    void showSyncWithDustbin() {
        w_.showSyncArrowDark();
        w_.showVerifyArrowDark();
        w_.ui.syncArrow.toolTip = " synchroniseren + prullenbak (ingeschakeld) ";
        w_.ui.syncPicture.visible = false;
        w_.ui.syncDustbinPicture.visible = true;
        w_.ui.dustbinPicture.visible = true;
        w_.ui.noCheckPicture.visible = false;
        w_.job.synchronise = true;
        w_.job.verify = true;
        w_.job.useDustbin = true;
    }

    void readKillEmpty() {
        if (auto on = switchValue(10)) w_.job.removeEmptyFolders = *on;
    }

    // With "cf 1" a changed backup volume is put to the user before the run.
    void readVolume() {
        if (auto text = value(kVolumeLine)) w_.job.volumeLabel = *text;
        (void)volumeLabelOfPath(w_.svc.fs, w_.job.backup, w_.currentVolumeLabel);
        if (!contains(w_.commandOption, "cf 1")) return;
        if (w_.currentVolumeLabel == w_.job.volumeLabel || w_.job.backup.empty()) return;
        const MessageAnswer answer = w_.svc.dialogs.messageBox(
            "HUIDIG backupvolume:  " + w_.currentVolumeLabel + kCrLf +
                "Was:  " + w_.job.volumeLabel + kCrLf + kCrLf + "DOORGAAN ?",
            MessageStyle::YesNo);
        if (answer == MessageAnswer::No) {
            w_.jobRefused = true;
            w_.closeWindow();
        }
    }
};

}  // namespace

int AppWindow::readJobFile() {
    return InitFileReader(*this).run();
}

}  // namespace zv
