#include "e2e/E2eFixture.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "platform/LinuxFileSystem.h"

namespace zv::test {

namespace fs = std::filesystem;

void EndToEnd::SetUp() {
    app = at("app");
    work = at("work");
    home = at("home");
    makeDirs(app);
    makeDirs(work);
    makeDirs(home);
    makeDirs(at("run"));
    chmod(at("run").c_str(), 0700);
    program = appFile("zandvast");
    fs::copy_file(ZV_EXECUTABLE, program);
}

std::map<std::string, std::string> EndToEnd::environment(bool withPlatform) const {
    std::map<std::string, std::string> env{
        {"PATH", "/usr/local/bin:/usr/bin:/bin"},  {"HOME", home},
        {"XDG_DATA_HOME", home + "/.local/share"}, {"XDG_CONFIG_HOME", home + "/.config"},
        {"XDG_RUNTIME_DIR", root / "run"},         {"LC_ALL", "C.UTF-8"},
    };
    if (withPlatform) env["QT_QPA_PLATFORM"] = "offscreen";
    for (const char* name : {"TZ", "ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
        if (const char* value = std::getenv(name)) env[name] = value;
    }
    return env;
}

ProgramOutcome EndToEnd::run(const std::vector<std::string>& arguments, bool withPlatform) const {
    ProgramOutcome outcome = RunProgram(program, arguments, work, environment(withPlatform));
    EXPECT_FALSE(outcome.timedOut) << "the program did not end: " << outcome.output;
    return outcome;
}

bool EndToEnd::exists(const std::string& path) const {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

std::string EndToEnd::appVersion() {
    const Version v;
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
           std::to_string(v.revision);
}

std::string EndToEnd::crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

std::vector<std::string> EndToEnd::splitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::map<std::string, std::string> EndToEnd::filesBelow(const std::string& folder) {
    std::map<std::string, std::string> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(folder, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file()) {
            files[fs::relative(it->path(), folder).string()] = readFile(it->path().string());
        }
    }
    return files;
}

std::string EndToEnd::volumeLabelOf(const std::string& path) {
    LinuxFileSystem fs;
    std::string label;
    (void)fs.volumeName(path, label);
    return label;
}

bool StartsWithTime(const std::string& line) {
    return std::regex_search(line, std::regex("^[0-9]{2}:[0-9]{2}:[0-9]{2}"));
}

bool StartsWithDateAndTime(const std::string& line) {
    return std::regex_search(
        line, std::regex("^[0-9]{1,2}-[0-9]{1,2}-[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}"));
}

}  // namespace zv::test
