#include "run/RunLog.h"

#include <string>

#include "platform/DateText.h"

namespace zv {

namespace {
constexpr const char* kCrLf = "\r\n";
}

void RunLog::add(const std::string& line) {
    text_ += line;
    text_ += kCrLf;
}

void RunLog::write() {
    (void)fs_.createNewFile(logFile_);  // fails harmlessly when it exists
    if (written_ == text_.size()) return;
    if (fs_.appendToFile(logFile_, text_.substr(written_)).ok()) written_ = text_.size();
}

std::string RunLog::dateText() const {
    return formatDate(clock_.now());
}

std::string RunLog::timeText() const {
    return formatTime(clock_.now());
}

std::string RunLog::userBreakLine() const {
    const DateTime now = clock_.now();
    return formatDate(now) + " " + formatTime(now) + "   -  user break";
}

std::string RunLog::diskFullLine() const {
    return timeText() + "Disk full";
}

void RunLog::fileError(const std::string& path, const FsError& error) {
    ++counts_.failed;
    add(timeText() + " - " + path);
    add("Error " + std::to_string(error.number) + ": " + error.description);
}

void RunLog::fileRecovered(const std::string& path) {
    add(timeText() + " - " + path);
    add("OK, Proceeding ...");
}

}  // namespace zv
