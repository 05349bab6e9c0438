#pragma once

#include <string>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "run/RunCounters.h"

namespace zv {

// The lines a run collects for Error.Log, CR LF after each, written out
// (appended) by `write`.
class RunLog {
  public:
    RunLog(Clock& clock, FileSystem& fs, std::string logFile, RunCounters& counts)
        : clock_(clock), fs_(fs), logFile_(std::move(logFile)), counts_(counts) {}

    void add(const std::string& line);
    // Appends everything collected since start-up to the log file. Failures
    // are ignored: the lines stay and go out with the next call.
    void write();
    const std::string& text() const { return text_; }

    std::string dateText() const;
    std::string timeText() const;
    // "<date> <time>   -  user break"
    std::string userBreakLine() const;
    // "<time>Disk full"
    std::string diskFullLine() const;
    // A file or folder that could not be handled, counted as failed:
    // "<time> - <path>" then "Error <n>: <description>".
    void fileError(const std::string& path, const FsError& error);
    // "<time> - <path>" then "OK, Proceeding ..." after a failure.
    void fileRecovered(const std::string& path);

  private:
    Clock& clock_;
    FileSystem& fs_;
    std::string logFile_;
    RunCounters& counts_;
    std::string text_;
};

}  // namespace zv
