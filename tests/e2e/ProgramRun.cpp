#include "e2e/ProgramRun.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

#include "support/TempDir.h"

namespace zv::test {

namespace {

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Waits for the child; kills it when the limit has passed.
void AwaitChild(pid_t child, std::chrono::seconds limit, ProgramOutcome& outcome) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            outcome.timedOut = true;
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (WIFEXITED(status)) outcome.exitStatus = WEXITSTATUS(status);
}

}  // namespace

ProgramOutcome RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& workingFolder,
                          const std::map<std::string, std::string>& environment,
                          std::chrono::seconds limit) {
    ProgramOutcome outcome;
    TempDir scratch;
    const std::string outputPath = scratch / "output";

    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<std::string> envp;
    for (const auto& [name, value] : environment) envp.push_back(name + "=" + value);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());

    pid_t child = 0;
    auto argPointers = Pointers(argv);
    auto envPointers = Pointers(envp);
    const int failed = posix_spawn(&child, program.c_str(), &actions, nullptr, argPointers.data(),
                                   envPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        outcome.output = "could not start " + program;
        return outcome;
    }
    AwaitChild(child, limit, outcome);
    outcome.output = readFile(outputPath);
    return outcome;
}

bool RunCommand(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

}  // namespace zv::test
