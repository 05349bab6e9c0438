#include "copy/WalkSupport.h"

#include <algorithm>
#include <array>

#include "app/frmVergelijker.h"
#include "platform/DateText.h"

namespace zv {

namespace {

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool containsUpper(std::string_view text, std::string_view word) {
    if (word.size() > text.size()) return false;
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < word.size() && upperAscii(text[i + k]) == word[k]) ++k;
        if (k == word.size()) return true;
    }
    return false;
}

}  // namespace

// A from-date at the earliest instant the program holds (a date typed
// centuries back is read as that) means "everything": no file, however old
// its own clamped dates, is then skipped.
FromDateLimit ReadFromDate(const frmVergelijker& w) {
    FromDateLimit limit;
    if (std::optional<DateTime> parsed = parseDateTime(w.job.fromDate)) {
        limit.known = *parsed > kEarliestDateTime;
        limit.value = *parsed;
    }
    return limit;
}

WalkRules WalkRules::Of(const frmVergelijker& w) {
    WalkRules rules;
    rules.from = ReadFromDate(w);
    rules.noDateCheck = w.job.noDateFilter;
    rules.syncActive = w.job.synchronise;
    return rules;
}

bool IsLater(DateTime date, const FromDateLimit& from) {
    if (!from.known || date == DateTime{}) return true;
    return date > from.value;
}

bool IsAtOrAfter(DateTime date, const FromDateLimit& from) {
    if (!from.known || date == DateTime{}) return true;
    return date >= from.value;
}

std::string FolderPath(const std::string& path) {
    std::string s = frmVergelijker::CollapseBackslashes(path);
    while (s.size() > 1 && s.back() == kSep) s.pop_back();
    return s;
}

void JoinPath(std::string& out, const std::string& folder, std::string_view name) {
    out.assign(folder);
    if (out.empty() || out.back() != kSep) out += kSep;
    out += name;
}

bool HasSystemFolderWord(std::string_view path) {
    static constexpr std::array<std::string_view, 3> kWords{"RECYCLER", "RECYCLED",
                                                            "SYSTEM VOLUME INFORMATION"};
    for (std::string_view word : kWords)
        if (containsUpper(path, word)) return true;
    return false;
}

bool IsExcludedSubfolder(const frmVergelijker& w, const Entry& subfolder,
                         const std::string& subfolderPath, const std::string& backupFolderPath) {
    if (w.Roots.isRoot(subfolder.id) || w.Roots.isTrash(subfolder.id)) return true;
    return HasSystemFolderWord(subfolderPath) || HasSystemFolderWord(backupFolderPath);
}

bool backupHoldsSame(const PathInfo& target, const Entry& f) {
    if (target.presence != Presence::Present) return false;
    return target.kind == (f.kind == EntryKind::Symlink ? EntryKind::Symlink : EntryKind::File);
}

void noteFailedCopy(frmVergelijker& w, const Entry& f, const WalkRules& rules) {
    if (rules.noDateCheck || !rules.DatesAreNew(f)) return;
    // A date that could not be read makes the file new on every run.
    if (f.modified == DateTime{} || f.created == DateTime{}) return;
    w.NextFrom.failedFile(std::max(f.modified, f.created));
}

void noteFailedRepair(frmVergelijker& w, const Entry& f) {
    if (f.accessed != DateTime{}) w.NextFrom.failedFile(f.accessed);
}

FsError makeBackupFolder(frmVergelijker& w, const std::string& source, const std::string& path) {
    FileSystem& fs = w.svc.fs;
    FsError made = fs.createFolder(path);
    if (made) {
        w.CreatePath(path);
        const PathInfo info = fs.lookup(path);
        if (info.presence != Presence::Present) return made;
        if (info.kind != EntryKind::Folder)
            return fsFail(kErrAccessDenied, "Not a folder: " + path);
    }
    return fs.keepFolderMetadata(source, path, FolderStage::Filling);
}

void openBackupFolder(frmVergelijker& w, const std::string& source, const std::string& path) {
    if (FsError e = w.svc.fs.keepFolderMetadata(source, path, FolderStage::Reopening))
        reportFolderFailure(w, path, e);
}

void finishBackupFolder(frmVergelijker& w, const std::string& source, const std::string& path) {
    if (FsError e = w.svc.fs.keepFolderMetadata(source, path, FolderStage::Done))
        reportFolderFailure(w, path, e);
}

void reportFolderFailure(frmVergelijker& w, const std::string& path, const FsError& error) {
    w.LogFileError(path, error);
    w.NextFrom.failedUnseen();
}

bool ReportFileFailure(frmVergelijker& w, const std::string& sourcePath, const FsError& pending,
                       GiveUpLine giveUp) {
    if (pending.number == kErrDiskFull && !w.AskChangeDisk()) {
        w.UserBreak = true;
        if (giveUp == GiveUpLine::None) return false;
        w.AddToLog(giveUp == GiveUpLine::UserBreak ? w.UserBreakLine() : w.DiskFullLine());
        w.WriteLog();
        return false;
    }
    w.LogFileError(sourcePath, pending);
    w.CopyErrorFlag = true;
    w.Yield();
    return true;
}

void ReportFileRecovery(frmVergelijker& w, const std::string& sourcePath) {
    if (!w.CopyErrorFlag) return;
    w.LogFileRecovered(sourcePath);
    w.CopyErrorFlag = false;
}

}  // namespace zv
