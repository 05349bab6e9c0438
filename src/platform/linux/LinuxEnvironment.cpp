#include "platform/linux/LinuxEnvironment.h"

#include <limits.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string_view>
#include <vector>

#include "platform/Paths.h"

namespace zv {

namespace {

constexpr const char* kAppName = "zandvast";
// The bin folder of the install prefix the build was configured for.
constexpr const char* kInstallBinFolder = ZV_INSTALL_BINDIR;

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string homeFolder() {
    std::string home = variable("HOME");
    if (!home.empty()) return home;
    std::vector<char> buffer(16384);
    passwd pw{};
    passwd* found = nullptr;
    // On any failure `found` stays null.
    (void)getpwuid_r(getuid(), &pw, buffer.data(), buffer.size(), &found);
    return found ? found->pw_dir : "/";
}

std::string executableFolder() {
    std::vector<char> buffer(PATH_MAX + 1);
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return {};
    return parentOfPath(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
}

std::string currentFolder() {
    std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);
    return cwd ? cwd.get() : "";
}

std::string hostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (in) text << in.rdbuf();
    return text.str();
}

// An XDG variable counts only when it holds an absolute path.
bool usable(const std::string& xdgValue) {
    return isAbsolutePath(xdgValue);
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// The value of XDG_DESKTOP_DIR="..." on one line, or nothing.
bool desktopValue(std::string_view line, std::string& value) {
    line = trimmed(line);
    constexpr std::string_view kKey = "XDG_DESKTOP_DIR=";
    if (!line.starts_with(kKey)) return false;
    line.remove_prefix(kKey.size());
    if (line.size() < 2 || line.front() != '"' || line.back() != '"') return false;
    value.assign(line.substr(1, line.size() - 2));
    return true;
}

std::string expandHome(const std::string& value, const std::string& home) {
    if (value == "$HOME") return home;
    if (value.starts_with("$HOME/")) return home + value.substr(5);
    return value;
}

std::string homeOf(const EnvVars& env) {
    return env.home.empty() ? "/" : env.home;
}

}  // namespace

std::string userDataFolder(const EnvVars& env) {
    std::string base = usable(env.xdgDataHome) ? env.xdgDataHome : homeOf(env) + "/.local/share";
    return normalisedAbsolute(base + "/" + kAppName, "/");
}

std::string userConfigFolder(const EnvVars& env) {
    std::string base = usable(env.xdgConfigHome) ? env.xdgConfigHome : homeOf(env) + "/.config";
    return normalisedAbsolute(base, "/");
}

std::string appFolderFor(const ExecutableSite& site, const EnvVars& env) {
    if (!site.folder.empty() && site.writable && !site.installed) return site.folder;
    return userDataFolder(env);
}

void makeFolders(const std::string& path) {
    std::string parent = parentOfPath(path);
    if (!parent.empty() && parent != path) {
        struct stat st;
        if (::stat(parent.c_str(), &st) != 0) makeFolders(parent);
    }
    mkdir(path.c_str(), 0700);
}

bool sameFolder(const std::string& a, const std::string& b) {
    struct stat first, second;
    if (a.empty() || b.empty() || ::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0)
        return false;
    return S_ISDIR(first.st_mode) && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::string desktopFolderFrom(const std::string& userDirsText, const EnvVars& env) {
    std::string found;
    std::istringstream lines(userDirsText);
    for (std::string line; std::getline(lines, line);) {
        std::string value;
        if (!line.starts_with("#") && desktopValue(line, value)) found = value;
    }
    std::string home = homeOf(env);
    std::string desktop = found.empty() ? home + "/Desktop" : expandHome(found, home);
    return isAbsolutePath(desktop) ? normalisedAbsolute(desktop, "/") : home + "/Desktop";
}

std::string joinArguments(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

EnvironmentInfo probeEnvironment(int argc, char** argv) {
    EnvVars env{homeFolder(), variable("XDG_DATA_HOME"), variable("XDG_CONFIG_HOME")};
    EnvironmentInfo info;
    ExecutableSite site{executableFolder()};
    site.writable = !site.folder.empty() && access(site.folder.c_str(), W_OK) == 0;
    site.installed = sameFolder(site.folder, kInstallBinFolder);
    info.appFolder = appFolderFor(site, env);
    makeFolders(info.appFolder);  // nothing to do where it exists
    info.commandLine = joinArguments(argc, argv);
    std::string userDirs = readWholeFile(userConfigFolder(env) + "/user-dirs.dirs");
    info.desktopPath = desktopFolderFrom(userDirs, env);
    info.outputIsTerminal = isatty(STDOUT_FILENO) == 1;
    info.computerName = hostName();
    info.workingFolder = currentFolder();
    return info;
}

}  // namespace zv
