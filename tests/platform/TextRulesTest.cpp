#include <cerrno>
#include <optional>

#include "PlatformTest.h"
#include "platform/AutomaticDialogs.h"
#include "platform/DateText.h"
#include "platform/Paths.h"
#include "platform/TempName.h"
#include "platform/linux/ErrorMapping.h"
#include "platform/linux/LinuxEnvironment.h"

namespace zv {
namespace {

using namespace std::chrono_literals;

DateTime utc(int year, unsigned month, unsigned day, std::chrono::seconds time = 0s) {
    return std::chrono::sys_days{std::chrono::year{year} / month / day} + time;
}

TEST(DateText, ReadsEveryAcceptedFormAndWritesDayMonthYear) {
    // Accepted text -> how it is written back (the same instant).
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"19-12-1960 12:58:58", "19-12-1960 12:58:58"}, {"1-2-2003 4:05:06", "1-2-2003 04:05:06"},
        {"02-03-2024 13:14:15", "2-3-2024 13:14:15"},   {"2024-03-02", "2-3-2024 00:00:00"},
        {" 2-3-2024  13:14:15\r\n", "2-3-2024 13:14:15"}, {"2-3-2024 7:08", "2-3-2024 07:08:00"},
        {"1-1-49", "1-1-2049 00:00:00"},                {"31/12/50", "31-12-1950 00:00:00"},
        {"29-2-2000", "29-2-2000 00:00:00"},            {"1-1-1901 00:00:01", "1-1-1901 00:00:01"}};
    // clang-format on
    for (const auto& [text, written] : cases) {
        const std::optional<DateTime> t = parseDateTime(text);
        ASSERT_TRUE(t.has_value()) << '"' << text << '"';
        EXPECT_EQ(formatDate(*t) + " " + formatTime(*t) + "|" + formatDateTime(*t),
                  written + std::string("|") + written);
        EXPECT_EQ(parseDateTime(written), t) << text;
    }
    // clang-format off
    const char* const bad[] = {
        "", "garbage", "12-12", "32-1-2020", "0-1-2020", "1-13-2020", "31-4-2020", "29-2-2023",
        "29-2-1900", "2020-13-01", "1-1/2020", "123-1-2020", "1-1-202", "1-1-20200", "1-1-2020T",
        "1-1-2020 24:00:00", "1-1-2020 12:60", "1-1-2020 12:00:00x", "1-1-2020 12", "1-1-2020 1:2",
        "1-1-2020 12:00:00.5"};
    // clang-format on
    for (const char* text : bad) EXPECT_EQ(parseDateTime(text), std::nullopt) << '"' << text << '"';
}

// A from-date read back never lies later than the one written (no changed file
// skipped); beyond the time type it is held to its ends, never wrapped around.
TEST(DateText, RepeatedSkippedAndOutOfRangeTimesReadAsTheEarliestMoment) {
    const char* const ams = "Europe/Amsterdam";
    // Zone, local time -> the instant.
    const std::tuple<const char*, const char*, DateTime> cases[] = {
        // Autumn: 02:00-02:59 is summer time first. Spring: 02:00-02:59 never happens.
        {ams, "27-10-2024 02:59:59", utc(2024, 10, 27, 59min + 59s)},
        {ams, "27-10-2024 03:00:00", utc(2024, 10, 27, 2h)},
        {ams, "31-3-2024 02:00:00", utc(2024, 3, 31, 1h)},
        {ams, "31-3-2024 02:59:59", utc(2024, 3, 31, 1h)},
        {ams, "31-3-2024 01:59:59", utc(2024, 3, 31, 59min + 59s)},
        {"America/New_York", "10-3-2024 02:30:00", utc(2024, 3, 10, 7h)},  // west of Greenwich
        {"UTC", "31-12-1677 23:59:59", kEarliestDateTime},
        {"UTC", "1-1-1678 00:00:01", kEarliestDateTime + 1s},
        {"UTC", "31-12-2261 23:59:59", kLatestDateTime - 1s},
        {"UTC", "1-1-2262 00:00:01", kLatestDateTime},
        {ams, "1-1-1000", kEarliestDateTime},
        {"Pacific/Kiritimati", "31-12-9999 23:59:59", kLatestDateTime}};
    for (const auto& [name, text, expected] : cases)
        if (access(("/usr/share/zoneinfo/" + std::string(name)).c_str(), R_OK) != 0)
            GTEST_SKIP() << name << " is not installed";
    for (const auto& [name, text, expected] : cases) {
        setenv("TZ", name, 1);
        tzset();
        EXPECT_EQ(parseDateTime(text), expected) << name << " " << text;
    }
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(formatDateTime(kEarliestDateTime) + " " + formatIsoDateTime(kLatestDateTime),
              "1-1-1678 00:00:00 2262-01-01T00:00:00");
    unsetenv("TZ");
    tzset();
}

TEST(Paths, WithinAndBelowAtTheirBoundaries) {
    // Path, folder -> within (at or below), strictly below, the part below.
    const std::tuple<const char*, const char*, bool, bool, std::optional<std::string>> below[] = {
        {"/mnt/x/y", "/mnt", true, true, "x/y"},
        {"/mnt/x", "/mnt/", true, true, "x"},
        {"/mnt", "/mnt/", true, false, std::nullopt},
        {"/mnt/", "/mnt/", true, false, ""},
        {"/mnt/", "/mnt", true, true, ""},
        {"/mnt", "/mnt", true, false, std::nullopt},
        {"/mntx", "/mnt", false, false, std::nullopt},
        {"/mn", "/mnt", false, false, std::nullopt},
        {"/anything", "/", true, true, "anything"},
        {"relative", "/", false, false, std::nullopt},
        {"/a", "", true, false, std::nullopt}};
    for (const auto& [path, folder, within, lies, rest] : below) {
        SCOPED_TRACE(std::string(path) + " in " + folder);
        EXPECT_EQ(std::make_pair(pathIsWithin(path, folder), pathLiesBelow(path, folder)),
                  std::make_pair(within, lies));
        EXPECT_EQ(relativeTo(path, folder), rest);
    }
    for (const auto& [path, parent] : {std::pair{"a//b", "a"}, {"/a//b/", "/a"}, {"//a", "/"}})
        EXPECT_EQ(parentOfPath(path), parent) << path;
    EXPECT_EQ(normalisedFolder("/a//b//"), "/a/b");
}

TEST(TempName, ThePrefixAndSixteenLowercaseHexDigits) {
    for (const char* no :
         {".zv-tmp-0123456789ABCDEF", ".zv-tmp-0123456789abcdef0", "x.zv-tmp-0123456789abcde",
          ".zv-tmp-0123456789abcdeg", ".zv-tmp-0123456789abcde/", ".zv-tmp-:123456789abcdef"})
        EXPECT_FALSE(isTempName(no)) << no;
}

TEST(ErrorMapping, SystemErrorsBecomeTheProgramsNumbers) {
    const std::pair<std::vector<int>, int> files[] = {
        {{ENOTDIR}, kErrPathNotFound},
        {{EACCES, EPERM, EROFS, EBUSY, ETXTBSY}, kErrAccessDenied},
        {{ENOSPC, EDQUOT, EFBIG}, kErrDiskFull},
        {{EINVAL, ENAMETOOLONG}, kErrInvalidArgument},
        {{EIO, ELOOP}, kErrObjectNotAvailable}};
    for (const auto& [errs, number] : files)
        for (int err : errs) EXPECT_EQ(errorNumberFor(err, PathRole::File), number) << err;
    EXPECT_EQ(errnoError(ENOENT, "/some/where", PathRole::File).description,
              "No such file or directory: /some/where");
}

TEST(AutomaticDialogs, AnswersTheSafeChoiceAndLogsIt) {
    std::vector<std::string> lines;
    AutomaticDialogs dialogs{[&](const std::string& line) { lines.push_back(line); }};
    EXPECT_EQ(dialogs.messageBox("Schijf\r\nvol\rof\nniet\r", MessageStyle::OkCancel),
              MessageAnswer::Cancel);
    EXPECT_EQ(AutomaticDialogs(nullptr).messageBox("x", MessageStyle::Ok), MessageAnswer::Ok);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Automatisch beantwoord: \"Schijf / vol / of / niet / \" -> Annuleren"}));
}

// A portable copy keeps its files beside itself where it can write; an installed one never.
TEST(LinuxEnvironment, AppAndDesktopFolders) {
    const char* const userData = "/home/u/.local/share/zandvast";
    const std::tuple<const char*, bool, bool, const char*, const char*> cases[] = {
        {"/opt/zv", true, false, "", "/opt/zv"},
        {"/opt/zv", false, false, "", userData},
        {"/usr/bin", true, true, "", userData},
        {"/usr/bin", true, true, "/xdg", "/xdg/zandvast"},
        {"/usr/bin", false, false, "relative", userData},
        {"", true, false, "", userData}};
    for (const auto& [folder, writable, installed, xdgDataHome, appFolder] : cases)
        EXPECT_EQ(appFolderFor({folder, writable, installed}, {"/home/u", xdgDataHome, ""}),
                  appFolder)
            << folder << writable << installed << xdgDataHome;
    // The desktop from user-dirs.dirs as an editor may leave it: blanks around a line, CR LF;
    // the last line counts, an empty value meaning the default.
    EXPECT_EQ(desktopFolderFrom(" \tXDG_DESKTOP_DIR=\"$HOME/Bureau\"\t \r\n", {"/home/u", "", ""}),
              "/home/u/Bureau");
    EXPECT_EQ(desktopFolderFrom("XDG_DESKTOP_DIR=\"/b\"\nXDG_DESKTOP_DIR=\"\"", {"/h", "", ""}),
              "/h/Desktop");
}

// The install's bin folder, also through a link; a fresh data folder path is made 0700.
TEST(LinuxEnvironment, FoldersOnDisk) {
    test::TempDir dir;
    test::writeFile(dir / "usr/bin/zandvast", "");
    test::makeDirs(dir / "opt/bin");
    ASSERT_EQ(symlink("usr/bin", (dir / "bin").c_str()), 0);
    const std::string bin = dir / "usr/bin";
    const std::pair<std::string, bool> cases[] = {{dir / "bin", true},
                                                  {dir / "opt/bin", false},
                                                  {dir / "usr/bin/zandvast", false},
                                                  {dir / "gone", false},
                                                  {"", false}};
    for (const auto& [other, same] : cases)
        EXPECT_EQ(std::make_pair(sameFolder(other, bin), sameFolder(bin, other)),
                  std::make_pair(same, same))
            << other;
    test::makeDirs(dir / "home");
    chmod((dir / "home").c_str(), 0755);
    for (const std::string& path : {dir / "home/.local/share/zandvast", dir / "home"})
        makeFolders(path);
    for (const char* made : {"home/.local", "home/.local/share", "home/.local/share/zandvast"})
        EXPECT_EQ(test::modeOf(dir / made), 0700u) << made;
    EXPECT_EQ(test::modeOf(dir / "home"), 0755u);
}

}  // namespace
}  // namespace zv
