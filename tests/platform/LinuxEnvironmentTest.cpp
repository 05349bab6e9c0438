#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/LinuxEnvironment.h"

namespace zv {
namespace {

const EnvVars kEnv{"/home/u", "", ""};

TEST(LinuxEnvironment, AppFolderIsTheExecutablesFolderWhenWritable) {
    EXPECT_EQ(appFolderFor("/opt/zv", true, kEnv), "/opt/zv");
}

TEST(LinuxEnvironment, ReadOnlyInstallUsesTheUserDataFolder) {
    EXPECT_EQ(appFolderFor("/usr/bin", false, kEnv), "/home/u/.local/share/zandvast");
    EnvVars xdg{"/home/u", "/data/xdg", ""};
    EXPECT_EQ(appFolderFor("/usr/bin", false, xdg), "/data/xdg/zandvast");
    EnvVars relative{"/home/u", "not/absolute", ""};
    EXPECT_EQ(userDataFolder(relative), "/home/u/.local/share/zandvast");
    EXPECT_EQ(appFolderFor("", true, kEnv), "/home/u/.local/share/zandvast");
}

TEST(LinuxEnvironment, DesktopFromUserDirs) {
    const std::string text =
        "# This file is written by xdg-user-dirs-update\n"
        "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
        "XDG_DESKTOP_DIR=\"$HOME/Bureaublad\"\n";
    EXPECT_EQ(desktopFolderFrom(text, kEnv), "/home/u/Bureaublad");
    EXPECT_EQ(desktopFolderFrom("XDG_DESKTOP_DIR=\"/srv/desk top\"\n", kEnv), "/srv/desk top");
    EXPECT_EQ(desktopFolderFrom("XDG_DESKTOP_DIR=\"$HOME\"\n", kEnv), "/home/u");
}

TEST(LinuxEnvironment, DesktopDefaultsToHomeDesktop) {
    EXPECT_EQ(desktopFolderFrom("", kEnv), "/home/u/Desktop");
    EXPECT_EQ(desktopFolderFrom("#XDG_DESKTOP_DIR=\"/x\"\n", kEnv), "/home/u/Desktop");
    EXPECT_EQ(desktopFolderFrom("XDG_DESKTOP_DIR=unquoted\n", kEnv), "/home/u/Desktop");
    EXPECT_EQ(desktopFolderFrom("XDG_DESKTOP_DIR=\"relative\"\n", kEnv), "/home/u/Desktop");
}

TEST(LinuxEnvironment, ConfigFolder) {
    EXPECT_EQ(userConfigFolder(kEnv), "/home/u/.config");
    EXPECT_EQ(userConfigFolder(EnvVars{"/home/u", "", "/cfg"}), "/cfg");
}

TEST(LinuxEnvironment, CommandLineIsTheArgumentsJoinedBySingleSpaces) {
    char a0[] = "zandvast", a1[] = "-if", a2[] = "my init.dat", a3[] = "qu";
    char* argv[] = {a0, a1, a2, a3, nullptr};
    EXPECT_EQ(joinArguments(4, argv), "-if my init.dat qu");
    EXPECT_EQ(joinArguments(1, argv), "");
}

TEST(LinuxEnvironment, ProbeReadsTheRunningProcess) {
    char a0[] = "zandvast", a1[] = "-vf";
    char* argv[] = {a0, a1, nullptr};
    EnvironmentInfo info = probeEnvironment(2, argv);
    EXPECT_EQ(info.commandLine, "-vf");
    char* cwd = getcwd(nullptr, 0);
    EXPECT_EQ(info.workingFolder, cwd);
    free(cwd);
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    EXPECT_EQ(info.computerName, host);
    EXPECT_FALSE(info.appFolder.empty());
    EXPECT_EQ(info.appFolder.front(), '/');
    EXPECT_FALSE(info.desktopPath.empty());
    EXPECT_EQ(info.version.major, ZV_VERSION_MAJOR);
}

}  // namespace
}  // namespace zv
