#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "e2e/ProgramRun.h"
#include "platform/DateText.h"
#include "platform/Environment.h"
#include "support/TempDir.h"

namespace zv::test {

// The program copied alone into a temporary application folder, run as a
// process with a clean environment on temporary trees.
class EndToEnd : public ::testing::Test {
  protected:
    TempDir root;
    std::string app, work, home, program;

    void SetUp() override;

    // The environment of a scheduled start: no display, offscreen unless
    // `withPlatform` is false (then the program must choose it itself).
    std::map<std::string, std::string> environment(bool withPlatform = true) const;
    ProgramOutcome run(const std::vector<std::string>& arguments, bool withPlatform = true) const;

    std::string at(const std::string& relative) const { return root / relative; }
    std::string appFile(const std::string& name) const { return app + "/" + name; }
    std::string errorLog() const { return readFile(appFile("Error.Log")); }
    bool exists(const std::string& path) const;

    static std::string appVersion();
    static std::string crlf(const std::vector<std::string>& lines);
    static std::vector<std::string> splitCrLf(const std::string& text);
    // Files below a folder: relative path -> contents.
    static std::map<std::string, std::string> filesBelow(const std::string& folder);
    // The volume name of the file system that holds a path.
    static std::string volumeLabelOf(const std::string& path);
};

// "HH:MM:SS" at the start of a log line.
bool StartsWithTime(const std::string& line);
// "d-M-yyyy HH:MM:SS" at the start of a log line.
bool StartsWithDateAndTime(const std::string& line);

}  // namespace zv::test
