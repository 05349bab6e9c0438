#pragma once

#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace zv::test {

// The outcome of one run of the program as a separate process.
struct ProgramOutcome {
    int exitStatus = -1;    // -1 when it did not exit by itself
    bool timedOut = false;  // killed after the time limit
    std::string output;     // standard output and standard error
};

// Starts `program` with `arguments` in `workingFolder`, with exactly the
// environment given, and waits at most `limit`; a program that is still
// running then is killed.
ProgramOutcome RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& workingFolder,
                          const std::map<std::string, std::string>& environment,
                          std::chrono::seconds limit = std::chrono::seconds(60));

// Runs a shell command for test set-up; true when it exited with 0.
bool RunCommand(const std::string& command);

}  // namespace zv::test
