#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <map>
#include <regex>

#include "platform/Environment.h"
#include "support/TempDir.h"

namespace zv::test {

using Lines = std::vector<std::string>;
using Tree = std::map<std::string, std::string>;  // relative path -> contents

struct ProgramOutcome {
    int exitStatus = -1;
    std::string out, errors;  // standard output and standard error
};

// The program alone in a temporary app folder, started as a scheduler starts it (a clean
// environment, offscreen, a private runtime folder), on trees named with spaces and non-ASCII.
class EndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const std::string& folder : {work, home, backup, app, root / "run"}) makeDirs(folder);
        chmod((root / "run").c_str(), 0700);
        std::filesystem::copy_file(ZV_EXECUTABLE, app + "/zandvast");
        plant(source, {{"/brief.txt", "Beste Jan,"},
                       {"/foto's/zomer één.jpg", std::string(100000, 'j')},
                       {"/diep/in/de/boom.txt", "blad"}});
    }

    // `through` starts the program (kCron: as cron does); killed after a minute.
    ProgramOutcome run(const Lines& arguments, const Lines& through = {}) const {
        Lines words{"env", "-i", "-C", workingFolder};
        for (const char* name : {"TZ", "ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
            if (const char* value = std::getenv(name))
                words.push_back(std::string(name).append("=").append(value));
        words.insert(words.end(), {"PATH=/usr/bin:/bin", "LC_ALL=C.UTF-8", "HOME=" + home,
                                   "XDG_RUNTIME_DIR=" + root / "run", "QT_QPA_PLATFORM=offscreen",
                                   "timeout", "-s", "KILL", "60"});
        if (!user.empty()) words.insert(words.end(), {"/usr/sbin/runuser", "-u", user, "--"});
        words.insert(words.end(), through.begin(), through.end());
        words.push_back(app + "/zandvast");
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::string command;
        for (const std::string& word : words) command.append(quoted(word)).append(" ");
        const int status = std::system(
            (command + "</dev/null >" + quoted(root / "out") + " 2>" + quoted(root / "errors"))
                .c_str());
        const ProgramOutcome outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                                     readFile(root / "out"), readFile(root / "errors")};
        EXPECT_NE(outcome.exitStatus, 128 + SIGKILL) << "did not end: " << outcome.errors;
        return outcome;
    }
    // Later runs go as `name`, who gets the test's folders; false if not root.
    bool runAs(const std::string& name) {
        if (geteuid() != 0 || access("/usr/sbin/runuser", X_OK) != 0) return false;
        user = name;
        return sh("chmod 0755 " + quoted(root.path()) + " && chown -R " + name + " " +
                  quoted(root.path()));
    }
    // A run refused with status 1, copying nothing: Error.Log's lines.
    Lines refused(const Lines& arguments) const {
        std::filesystem::remove(app + "/Error.Log");
        EXPECT_EQ(run(arguments).exitStatus, 1);
        EXPECT_TRUE(files(backup).empty());
        return errorLines();
    }
    // Error.Log's lines, a leading date and time as "DATE TIME", a time alone as "TIME".
    Lines errorLines() const {
        static const std::regex stamp("^[0-9]{1,2}-[0-9]{1,2}-[0-9]{4} [0-9:]{8}"),
            time("^[0-9]{2}:[0-9]{2}:[0-9]{2}");
        Lines lines = splitLines(errorLog());
        for (std::string& line : lines)
            line = std::regex_replace(std::regex_replace(line, stamp, "DATE TIME"), time, "TIME");
        return lines;
    }
    // The job file the program writes for the fixture's trees, some lines replaced.
    std::string job(const std::map<int, std::string>& replaced = {}) const {
        const std::string version = std::to_string(Version().major) + "." +
                                    std::to_string(Version().minor) + "." +
                                    std::to_string(Version().revision);
        // clang-format off
        Lines lines{"version =Zandvast v." + version, "pathsource =" + source,
                    "pathdestination =" + backup, "pathrecycler =", "dedato =19-12-1960 12:58:58",
                    "checkdate =1", "syncactive =0", "doverify =1", "dustbin =0", "killempty =0",
                    "volumelabel =", "-ps " + source + " -pd " + backup};
        // clang-format on
        for (const auto& [line, text] : replaced) lines[line] = text;
        std::string text;
        for (const auto& line : lines) text += line + "\r\n";
        return text;
    }
    // A checked backup of `from` to `to`, whatever the dates, with `more` options.
    static Lines checked(const std::string& from, const std::string& to, const Lines& more = {}) {
        Lines words{"-ps", from, "-pd", to, "-cd", "0", "-vf", "1"};
        words.insert(words.end(), more.begin(), more.end());
        return words;
    }
    std::string errorLog() const { return readFile(app + "/Error.Log"); }

    static bool sh(const std::string& command) { return std::system(command.c_str()) == 0; }
    static std::string quoted(const std::string& text) {
        // Appended, not added to a temporary: GCC 12 takes that for an overlap (-Wrestrict).
        std::string out(1, '\'');
        return out.append(std::regex_replace(text, std::regex("'"), "'\\''")).append("'");
    }
    static bool exists(const std::string& path) {
        return std::filesystem::exists(std::filesystem::symlink_status(path));
    }
    static void plant(const std::string& folder, const Tree& tree) {
        for (const auto& [path, content] : tree) writeFile(folder + path, content);
    }
    static Tree files(const std::string& folder) {
        Tree out;
        for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
            if (e.is_regular_file())
                out[e.path().string().substr(folder.size())] = readFile(e.path());
        return out;
    }

    const Lines kCron{"env", "-u", "QT_QPA_PLATFORM", "-u", "XDG_RUNTIME_DIR"};  // as cron starts
    TempDir root;
    std::string app = root / "app", work = root / "work", home = root / "home";
    std::string user;                  // the user the program runs as; empty: this process's
    std::string workingFolder = work;  // where the program starts
    std::string source = root / "Mijn bestanden", backup = root / "Reserve kopie ß";
};

}  // namespace zv::test
