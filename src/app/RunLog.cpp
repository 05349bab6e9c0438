#include <string>

#include "app/frmVergelijker.h"
#include "platform/DateText.h"

namespace zv {

namespace {
constexpr const char* kCrLf = "\r\n";
}

void frmVergelijker::AddToLog(const std::string& LogTextS1_) {
    RunLog += LogTextS1_;
    RunLog += kCrLf;
}

// Appends everything collected since start-up to Error.Log. Failures are
// ignored: the lines stay in RunLog and go out with the next call.
void frmVergelijker::WriteLog() {
    const std::string name = svc.env.appFolder + kSep + "Error.Log";
    (void)svc.fs.createNewFile(name);  // fails harmlessly when it exists
    if (!RunLog.empty()) (void)svc.fs.appendToFile(name, RunLog);
}

std::string frmVergelijker::NowDateText() {
    return formatDate(svc.clock.now());
}

std::string frmVergelijker::NowTimeText() {
    return formatTime(svc.clock.now());
}

std::string frmVergelijker::UserBreakLine() {
    const DateTime now = svc.clock.now();
    return formatDate(now) + " " + formatTime(now) + "   -  user break";
}

std::string frmVergelijker::DiskFullLine() {
    return NowTimeText() + "Disk full";
}

void frmVergelijker::LogFileError(const std::string& path, const FsError& error) {
    ++FilesFailed;
    AddToLog(NowTimeText() + " - " + path);
    AddToLog("Error " + std::to_string(error.number) + ": " + error.description);
}

void frmVergelijker::LogFileRecovered(const std::string& path) {
    AddToLog(NowTimeText() + " - " + path);
    AddToLog("OK, Proceeding ...");
}

}  // namespace zv
