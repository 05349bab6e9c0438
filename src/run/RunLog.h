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
    // Appends the lines collected since the last write that succeeded to the
    // log file, each line once. A failed write keeps them for the next call.
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
    std::size_t written_ = 0;  // how much of text_ the log file has
};

}  // namespace zv
