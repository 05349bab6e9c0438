#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <map>
#include <regex>

#include "platform/Environment.h"
#include "platform/linux/LinuxFileSystem.h"
#include "support/TempDir.h"

namespace zv::test {

using Lines = std::vector<std::string>;

struct ProgramOutcome {
    int exitStatus = -1;
    std::string output;  // standard output, then standard error
    std::string errors;  // standard error alone
};

// How the program is started. By default: a clean environment with a private
// runtime folder and the offscreen platform.
struct Start {
    bool withPlatform = true;       // QT_QPA_PLATFORM=offscreen is set
    bool withRuntimeFolder = true;  // XDG_RUNTIME_DIR is set (cron sets none)
    Lines environment;              // more NAME=VALUE settings
    Lines through;                  // a command that starts the program
};

// The program copied alone into a temporary application folder and started
// as a scheduler starts it: a clean environment without a display, on a
// source tree and a backup folder whose names have spaces and non-ASCII
// letters.
class EndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const std::string& folder : {work, home, backup, app, root / "run"}) makeDirs(folder);
        chmod((root / "run").c_str(), 0700);
        std::filesystem::copy_file(ZV_EXECUTABLE, app + "/zandvast");
        writeFile(source + "/brief.txt", "Beste Jan,");
        writeFile(source + "/foto's/zomer één.jpg", std::string(100000, 'j'));
        writeFile(source + "/diep/in/de/boom.txt", "blad");
    }

    // Without `withPlatform` the program must choose the offscreen platform
    // itself. A program still running after a minute is killed.
    ProgramOutcome run(const Lines& arguments, bool withPlatform = true) const {
        Start how;
        how.withPlatform = withPlatform;
        return start(arguments, how);
    }
    ProgramOutcome start(const Lines& arguments, const Start& how) const {
        std::string command = "cd ";
        command += quoted(workingFolder.empty() ? work : workingFolder);
        command += " && exec env -i PATH=/usr/bin:/bin LC_ALL=C.UTF-8";
        Lines settings{"HOME=" + home};
        const std::string runtime = root / "run";
        if (how.withRuntimeFolder) settings.push_back("XDG_RUNTIME_DIR=" + runtime);
        if (how.withPlatform) settings.push_back("QT_QPA_PLATFORM=offscreen");
        for (const char* name : {"TZ", "ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
            if (const char* value = std::getenv(name))
                settings.push_back(std::string(name) + "=" + value);
        settings.insert(settings.end(), how.environment.begin(), how.environment.end());
        Lines words{"timeout", "-s", "KILL", "60"};
        if (!user.empty()) words.insert(words.end(), {"/usr/sbin/runuser", "-u", user, "--"});
        words.insert(words.end(), how.through.begin(), how.through.end());
        words.push_back(app + "/zandvast");
        words.insert(words.end(), arguments.begin(), arguments.end());
        for (const Lines* part : {&settings, &words})
            for (const std::string& word : *part) (command += ' ') += quoted(word);
        const std::string errorFile = root / "stderr";
        ProgramOutcome outcome;
        FILE* pipe = popen((command + " </dev/null 2>" + quoted(errorFile)).c_str(), "r");
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
            outcome.output.append(buffer, n);
        const int status = pclose(pipe);
        if (WIFEXITED(status)) outcome.exitStatus = WEXITSTATUS(status);
        outcome.errors = readFile(errorFile);
        outcome.output += outcome.errors;
        EXPECT_NE(outcome.exitStatus, 128 + SIGKILL)
            << "the program did not end: " << outcome.output;
        return outcome;
    }
    // Later runs go as `name` (root only), on the test's folders handed over
    // to that user. False where that cannot be done.
    bool runAs(const std::string& name) {
        if (geteuid() != 0 || access("/usr/sbin/runuser", X_OK) != 0) return false;
        const std::string folder = quoted(root.path());
        if (std::system(("chmod 0755 " + folder + " && chown -R " + name + " " + folder).c_str()))
            return false;
        user = name;
        return true;
    }
    // A run that must be refused with status 1, copying nothing.
    Lines refused(const Lines& arguments, bool withPlatform = true) const {
        std::filesystem::remove(app + "/Error.Log");
        const ProgramOutcome outcome = run(arguments, withPlatform);
        EXPECT_EQ(outcome.exitStatus, 1) << outcome.output;
        EXPECT_TRUE(files(backup).empty());
        return errorLines();
    }
    // A job file as the program writes it, for the fixture's trees.
    Lines job(const std::string& date = "19-12-1960 12:58:58",
              const std::string& verify = "1") const {
        // clang-format off
        return {"version =Zandvast v." + version(), "pathsource =" + source,
                "pathdestination =" + backup, "pathrecycler =", "dedato =" + date, "checkdate =1",
                "syncactive =0", "doverify =" + verify, "dustbin =0", "killempty =0",
                "volumelabel =", "-ps " + source + " -pd " + backup};
        // clang-format on
    }
    std::string errorLog() const { return readFile(app + "/Error.Log"); }
    // Error.Log's lines with their leading date and time as "DATE TIME", or
    // a leading time alone as "TIME".
    Lines errorLines() const {
        static const std::regex dateTime(
            "^[0-9]{1,2}-[0-9]{1,2}-[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}");
        static const std::regex time("^[0-9]{2}:[0-9]{2}:[0-9]{2}");
        Lines lines = split(errorLog());
        for (std::string& line : lines)
            line =
                std::regex_replace(std::regex_replace(line, dateTime, "DATE TIME"), time, "TIME");
        return lines;
    }
    bool copied() const { return files(backup) == files(source); }

    static std::string quoted(const std::string& text) {
        std::string word(1, '\'');
        word += std::regex_replace(text, std::regex("'"), "'\\''");
        return word += '\'';
    }
    static bool exists(const std::string& path) {
        return std::filesystem::exists(std::filesystem::symlink_status(path));
    }
    static std::string version() {
        const Version v;
        return std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
               std::to_string(v.revision);
    }
    static std::string crlf(const Lines& lines) {
        std::string text;
        for (const auto& line : lines) text += line + "\r\n";
        return text;
    }
    static Lines split(const std::string& text) {
        Lines lines;
        for (std::size_t start = 0, end; start < text.size(); start = end + 2) {
            end = std::min(text.find("\r\n", start), text.size());
            lines.push_back(text.substr(start, end - start));
        }
        return lines;
    }
    // Files below a folder: relative path -> contents.
    static std::map<std::string, std::string> files(const std::string& folder) {
        std::map<std::string, std::string> out;
        for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
            if (e.is_regular_file())
                out[e.path().string().substr(folder.size())] = readFile(e.path());
        return out;
    }
    static std::string labelOf(const std::string& path) {
        std::string label;
        (void)LinuxFileSystem().volumeName(path, label);
        return label;
    }

    TempDir root;
    std::string user;           // the user the program runs as; empty: this process's
    std::string workingFolder;  // where the program starts; empty: `work`
    std::string app = root / "app", work = root / "work", home = root / "home";
    std::string source = root / "Mijn bestanden", backup = root / "Reserve kopie ß";
};

}  // namespace zv::test
