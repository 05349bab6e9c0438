// The platform's pure text rules: dates, paths, error numbers, the automatic
// answers and the environment's folders.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/AutomaticDialogs.h"
#include "platform/DateText.h"
#include "platform/ErrorMapping.h"
#include "platform/LinuxEnvironment.h"
#include "platform/LinuxFileSystem.h"
#include "platform/PathText.h"
#include "support/TempDir.h"

namespace zv {
namespace {

using namespace std::chrono_literals;

TEST(DateText, ReadsEveryAcceptedFormAndWritesDayMonthYear) {
    // Accepted text -> how it is written back.
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"19-12-1960 12:58:58", "19-12-1960 12:58:58"}, {"1-2-2003 4:05:06", "1-2-2003 04:05:06"},
        {"02-03-2024 13:14:15", "2-3-2024 13:14:15"},   {"2024-03-02T13:14:15", "2-3-2024 13:14:15"},
        {"02/03/2024 13:14:15", "2-3-2024 13:14:15"},   {"2-3-24 13:14:15", "2-3-2024 13:14:15"},
        {" 2-3-2024  13:14:15\r\n", "2-3-2024 13:14:15"}, {"2024-03-02", "2-3-2024 00:00:00"},
        {"2-3-2024 7:08", "2-3-2024 07:08:00"},         {"1-1-49", "1-1-2049 00:00:00"},
        {"31/12/50", "31-12-1950 00:00:00"},            {"29-2-2000", "29-2-2000 00:00:00"},
        {"1-1-1901 00:00:01", "1-1-1901 00:00:01"}};
    // clang-format on
    for (const auto& [text, written] : cases) {
        const std::optional<DateTime> t = parseDateTime(text);
        ASSERT_TRUE(t.has_value()) << '"' << text << '"';
        EXPECT_EQ(formatDate(*t) + " " + formatTime(*t), written) << text;
        EXPECT_EQ(formatDateTime(*t), written) << text;
        EXPECT_EQ(parseDateTime(written), t) << text;  // the same instant
    }
    // Fractions of a second are dropped, also before the epoch.
    EXPECT_EQ(formatTime(*parseDateTime("5-6-2010 10:11:12") + 999ms), "10:11:12");
    EXPECT_EQ(formatTime(*parseDateTime("1-1-1901 00:00:01") - 500ms), "00:00:00");
    // Bad dates, then bad times and trailing junk.
    for (const char* text : {"", "   ", "garbage", "12-12", "32-1-2020", "0-1-2020", "1-13-2020",
                             "31-4-2020", "29-2-2023", "29-2-1900", "2020-13-01", "1-1/2020",
                             "1.1.2020", "-1-1-2020", "123-1-2020", "1-1-202", "1-1-20200"})
        EXPECT_FALSE(parseDateTime(text).has_value()) << '"' << text << '"';
    for (const char* text : {"1-1-2020 24:00:00", "1-1-2020 12:60", "1-1-2020 12:00:00x",
                             "1-1-2020T", "1-1-2020 12", "1-1-2020 1:2", "1-1-2020 12:00:00.5"})
        EXPECT_FALSE(parseDateTime(text).has_value()) << '"' << text << '"';
}

TEST(PathText, SplitsTextually) {
    // clang-format off
    const std::pair<const char*, const char*> parents[] = {
        {"/a/b", "/a"}, {"/a", "/"}, {"/", ""}, {"", ""}, {"DISK/x", "DISK"}, {"DISK", ""},
        {"/a/b/", "/a"}, {"/a//b", "/a"}, {"//", ""}, {"/m/MY DISK/B", "/m/MY DISK"}};
    // clang-format on
    for (const auto& [path, parent] : parents) EXPECT_EQ(parentOfPath(path), parent) << path;
    EXPECT_EQ(normalisedAbsolute("x/../y/./z", "/home/u"), "/home/u/y/z");
    EXPECT_EQ(normalisedAbsolute("/../a//b/", "/cwd"), "/a/b");
    EXPECT_TRUE(pathIsWithin("/mnt", "/mnt/"));
    EXPECT_FALSE(pathIsWithin("/mntx", "/mnt"));
    EXPECT_TRUE(pathIsWithin("/anything", "/"));
    EXPECT_FALSE(pathIsWithin("relative", "/"));
    // The service makes a relative path absolute against the current folder.
    char* cwd = getcwd(nullptr, 0);
    EXPECT_EQ(LinuxFileSystem().absolutePath("sub/./x/.."), normalisedAbsolute("sub", cwd));
    free(cwd);
}

TEST(ErrorMapping, SystemErrorsBecomeTheProgramsNumbers) {
    EXPECT_EQ(errorNumberFor(ENOENT, PathRole::File), kErrFileNotFound);
    EXPECT_EQ(errorNumberFor(ENOENT, PathRole::Folder), kErrPathNotFound);
    EXPECT_EQ(errorNumberFor(ENOTDIR, PathRole::File), kErrPathNotFound);
    for (int err : {EACCES, EPERM, EROFS, EBUSY, ETXTBSY})
        EXPECT_EQ(errorNumberFor(err, PathRole::File), kErrAccessDenied) << err;
    for (int err : {ENOSPC, EDQUOT, EFBIG})
        EXPECT_EQ(errorNumberFor(err, PathRole::File), kErrDiskFull) << err;
    for (int err : {EINVAL, ENAMETOOLONG})
        EXPECT_EQ(errorNumberFor(err, PathRole::Folder), kErrInvalidArgument) << err;
    for (int err : {EIO, ELOOP})
        EXPECT_EQ(errorNumberFor(err, PathRole::File), kErrObjectNotAvailable) << err;
    EXPECT_EQ(errnoError(ENOENT, "/some/where", PathRole::File).description,
              "No such file or directory: /some/where");
}

TEST(AutomaticDialogs, AnswersOkOrTheSafeChoiceAndLogsIt) {
    std::vector<std::string> lines;
    AutomaticDialogs dialogs{[&](const std::string& line) { lines.push_back(line); }};
    EXPECT_EQ(dialogs.messageBox("Klaar", MessageStyle::Ok), MessageAnswer::Ok);
    EXPECT_EQ(dialogs.messageBox("Let op", MessageStyle::OkExclamation), MessageAnswer::Ok);
    EXPECT_EQ(dialogs.messageBox("Schijf vol", MessageStyle::OkCancel), MessageAnswer::Cancel);
    EXPECT_EQ(dialogs.messageBox("een\r\ntwee\ndrie\rvier", MessageStyle::YesNo),
              MessageAnswer::No);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Automatisch beantwoord: \"Klaar\" -> OK",
                         "Automatisch beantwoord: \"Let op\" -> OK",
                         "Automatisch beantwoord: \"Schijf vol\" -> Annuleren",
                         "Automatisch beantwoord: \"een / twee / drie / vier\" -> Nee"}));
    EXPECT_EQ(AutomaticDialogs(nullptr).messageBox("x", MessageStyle::YesNo), MessageAnswer::No);
}

TEST(LinuxEnvironment, FoldersAndCommandLine) {
    const EnvVars env{"/home/u", "", ""};
    const std::string userData = "/home/u/.local/share/zandvast";
    // A portable copy keeps its files beside itself where it can write; an
    // installed one always in the user's data folder, also for root.
    struct Case {
        const char* folder;
        bool writable;
        bool installed;
        const char* xdgDataHome;
        const char* appFolder;
    };
    const Case cases[] = {{"/opt/zv", true, false, "", "/opt/zv"},
                          {"/opt/zv", false, false, "", userData.c_str()},
                          {"/usr/bin", true, true, "", userData.c_str()},
                          {"/usr/bin", false, true, "", userData.c_str()},
                          {"/usr/bin", true, true, "/xdg", "/xdg/zandvast"},
                          {"/usr/bin", false, false, "relative", userData.c_str()},
                          {"", true, false, "", userData.c_str()}};
    for (const Case& c : cases) {
        const ExecutableSite site{c.folder, c.writable, c.installed};
        SCOPED_TRACE(site.folder + (c.writable ? " writable" : "") +
                     (c.installed ? " installed" : "") + " " + c.xdgDataHome);
        EXPECT_EQ(appFolderFor(site, {"/home/u", c.xdgDataHome, ""}), c.appFolder);
    }
    EXPECT_EQ(desktopFolderFrom(
                  "# xdg\nXDG_DOCUMENTS_DIR=\"$HOME/D\"\nXDG_DESKTOP_DIR=\"$HOME/Bureau\"\n", env),
              "/home/u/Bureau");
    for (const char* unusable : {"", "#XDG_DESKTOP_DIR=\"/x\"\n", "XDG_DESKTOP_DIR=unquoted\n",
                                 "XDG_DESKTOP_DIR=\"relative\"\n"})
        EXPECT_EQ(desktopFolderFrom(unusable, env), "/home/u/Desktop") << unusable;
    char a0[] = "zandvast", a1[] = "-if", a2[] = "my init.dat", a3[] = "qu";
    char* argv[] = {a0, a1, a2, a3, nullptr};
    EXPECT_EQ(joinArguments(4, argv), "-if my init.dat qu");
    EXPECT_EQ(joinArguments(1, argv), "");
}

// The installed copy is told by its folder: the install's bin folder, also
// when either path goes through a link.
TEST(LinuxEnvironment, SameFolderMeansTheSameFolderOnDisk) {
    test::TempDir dir;
    test::makeDirs(dir / "usr/bin");
    test::makeDirs(dir / "opt/bin");
    test::writeFile(dir / "usr/bin/zandvast", "");
    ASSERT_EQ(symlink("usr/bin", (dir / "bin").c_str()), 0);
    const std::string bin = dir / "usr/bin";
    const std::pair<std::string, bool> cases[] = {{bin, true},
                                                  {dir / "bin", true},
                                                  {dir / "usr/./bin/", true},
                                                  {dir / "opt/bin", false},
                                                  {dir / "usr", false},
                                                  {dir / "usr/bin/zandvast", false},
                                                  {dir / "gone", false},
                                                  {"", false}};
    for (const auto& [other, same] : cases) {
        EXPECT_EQ(sameFolder(other, bin), same) << other;
        EXPECT_EQ(sameFolder(bin, other), same) << other;
    }
    EXPECT_FALSE(sameFolder("", ""));
}

// An installed copy's first start in a fresh home makes the whole data
// folder path; folders already there are left as they are.
TEST(LinuxEnvironment, MakeFoldersMakesTheMissingParents) {
    test::TempDir dir;
    test::makeDirs(dir / "home");
    chmod((dir / "home").c_str(), 0755);
    for (const std::string& path : {dir / "home/.local/share/zandvast", dir / "home"}) {
        makeFolders(path);
        EXPECT_TRUE(sameFolder(path, path)) << path;
    }
    for (const char* made : {"home/.local", "home/.local/share", "home/.local/share/zandvast"}) {
        struct stat st {};
        ASSERT_EQ(::stat((dir / made).c_str(), &st), 0) << made;
        EXPECT_EQ(st.st_mode & 0777, 0700u) << made;
    }
    struct stat home {};
    ::stat((dir / "home").c_str(), &home);
    EXPECT_EQ(home.st_mode & 0777, 0755u);
}

}  // namespace
}  // namespace zv
