// The platform's pure text rules: dates, paths, error numbers, the automatic
// answers and the environment's folders.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <numeric>
#include <optional>
#include <string>

#include "PlatformTest.h"
#include "platform/AutomaticDialogs.h"
#include "platform/DateText.h"
#include "platform/Paths.h"
#include "platform/TempName.h"
#include "platform/linux/ErrorMapping.h"
#include "platform/linux/LinuxEnvironment.h"
#include "platform/linux/LinuxFileSystem.h"

namespace zv {
namespace {

using namespace std::chrono_literals;

// Puts the process in a time zone for one test, and back when it goes.
// `installed` is false where the zone is missing: its name would mean UTC.
class ZoneForTest {
  public:
    explicit ZoneForTest(const std::string& zone)
        : installed(access(("/usr/share/zoneinfo/" + zone).c_str(), R_OK) == 0) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        setenv("TZ", zone.c_str(), 1);
        tzset();
    }
    ~ZoneForTest() {
        old_ ? setenv("TZ", old_->c_str(), 1) : unsetenv("TZ");
        tzset();
    }
    ZoneForTest(const ZoneForTest&) = delete;
    ZoneForTest& operator=(const ZoneForTest&) = delete;
    const bool installed;

  private:
    std::optional<std::string> old_;
};

std::chrono::sys_seconds utc(int year, unsigned month, unsigned day,
                             std::chrono::seconds time = 0s) {
    return std::chrono::sys_days{std::chrono::year{year} / month / day} + time;
}

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
    const DateTime t = *parseDateTime("5-6-2010 10:11:12");
    EXPECT_EQ(formatTime(t + 999ms), "10:11:12");
    EXPECT_EQ(formatIsoDateTime(t + 999ms), "2010-06-05T10:11:12");
    EXPECT_EQ(secondsOfLocalDay(t + 999ms), 10 * 3600 + 11 * 60 + 12);
    EXPECT_EQ(formatTime(*parseDateTime("1-1-1901 00:00:01") - 500ms), "00:00:00");
    EXPECT_EQ(secondsOfLocalDay(*parseDateTime("1-1-1901 00:00:01") - 1001ms), 86399);
    // Bad dates, bad times and trailing junk.
    // clang-format off
    const char* const bad[] = {
        "", "   ", "garbage", "12-12", "32-1-2020", "0-1-2020", "1-13-2020", "31-4-2020",
        "29-2-2023", "29-2-1900", "2020-13-01", "1-1/2020", "1.1.2020", "-1-1-2020", "123-1-2020",
        "012-1-2020", "1-1-202", "1-1-20200", "1-1-2020 24:00:00", "1-1-2020 12:60",
        "1-1-2020 12:00:00x", "1-1-2020T", "1-1-2020 12", "1-1-2020 1:2", "1-1-2020 12:00:00.5"};
    // clang-format on
    for (const char* text : bad)
        EXPECT_FALSE(parseDateTime(text).has_value()) << '"' << text << '"';
}

// A from-date too old for the time type means "everything": it is read as the
// earliest instant, never wrapped around into another century.
TEST(DateText, DatesBeyondTheTimeTypeAreHeldToItsEnds) {
    {
        ZoneForTest zone("UTC");
        // clang-format off
        const std::pair<const char*, DateTime> cases[] = {
            {"1-1-0001", kEarliestDateTime},            {"31-12-1677 23:59:59", kEarliestDateTime},
            {"1-1-1678 00:00:01", kEarliestDateTime + 1s}, {"31-12-2261 23:59:59", kLatestDateTime - 1s},
            {"1-1-2262 00:00:01", kLatestDateTime},     {"31-12-9999 23:59:59", kLatestDateTime}};
        // clang-format on
        for (const auto& [text, expected] : cases) EXPECT_EQ(parseDateTime(text), expected) << text;
        EXPECT_EQ(formatDateTime(kEarliestDateTime), "1-1-1678 00:00:00");
        EXPECT_EQ(formatIsoDateTime(kLatestDateTime), "2262-01-01T00:00:00");
    }
    // In any zone the ends, written out, read back as themselves.
    for (const char* name : {"Europe/Amsterdam", "Pacific/Kiritimati", "Pacific/Pago_Pago"}) {
        ZoneForTest zone(name);
        if (!zone.installed) continue;
        EXPECT_EQ(parseDateTime("1-1-1000"), kEarliestDateTime) << name;
        EXPECT_EQ(parseDateTime("31-12-9999 23:59:59"), kLatestDateTime) << name;
        for (DateTime end : {kEarliestDateTime, kLatestDateTime})
            EXPECT_EQ(parseDateTime(formatDateTime(end)), end) << name << formatDateTime(end);
    }
}

// A local time the clock shows twice reads as its first moment, one it skips
// as the moment the clock jumps: a from-date read back never lies later than
// the one written, so no file changed in between is skipped.
TEST(DateText, RepeatedAndSkippedLocalTimesReadAsTheEarliestMoment) {
    const char* const ams = "Europe/Amsterdam";
    const struct {
        const char *zone, *text;
        DateTime expected;
    } cases[] = {// The autumn hour, 02:00-02:59, is summer time first, then winter time.
                 {ams, "27-10-2024 02:59:59", utc(2024, 10, 27, 59min + 59s)},
                 {ams, "27-10-2024 03:00:00", utc(2024, 10, 27, 2h)},
                 // The spring gap: 02:00-02:59 never happens.
                 {ams, "31-3-2024 02:00:00", utc(2024, 3, 31, 1h)},
                 {ams, "31-3-2024 02:59:59", utc(2024, 3, 31, 1h)},
                 {ams, "31-3-2024 01:59:59", utc(2024, 3, 31, 59min + 59s)},
                 // Moscow went from +4 to +3 without summer time in 2014, and to +4 in
                 // 2011.
                 {"Europe/Moscow", "26-10-2014 01:30:00", utc(2014, 10, 25, 21h + 30min)},
                 {"Europe/Moscow", "27-3-2011 02:30:00", utc(2011, 3, 26, 23h)},
                 // West of Greenwich the instants lie after the local time read as UTC.
                 {"America/New_York", "10-3-2024 02:30:00", utc(2024, 3, 10, 7h)},
                 {"America/New_York", "3-11-2024 01:30:00", utc(2024, 11, 3, 5h + 30min)},
                 // Lord Howe Island moves its clock by half an hour.
                 {"Australia/Lord_Howe", "6-10-2024 02:15:00", utc(2024, 10, 5, 15h + 30min)},
                 {"UTC", "27-10-2024 02:30:00", utc(2024, 10, 27, 2h + 30min)}};
    for (const auto& c : cases) {
        ZoneForTest zone(c.zone);
        if (!zone.installed) GTEST_SKIP() << c.zone << " is not installed";
        EXPECT_EQ(parseDateTime(c.text), c.expected) << c.zone << " " << c.text;
    }
}

// Writing a date and reading it back never moves it later, and earlier only by
// the hour the clock shows twice; the text stays the same. The instants are
// visited out of order: the C library remembers its last zone offset.
TEST(DateText, WritingAndReadingBackNeverMovesADateLater) {
    const struct {
        std::chrono::sys_seconds from;
        std::chrono::seconds step;
        long count;
        std::chrono::seconds mostEarlier;
    } sweeps[] = {
        // a year of every change back and forth, then the zone's history
        {utc(2024, 1, 1), 997s, 31630, 1h},
        {std::chrono::floor<std::chrono::seconds>(kEarliestDateTime), 11 * 24h + 3607s, 19300, 2h}};
    constexpr long kStride = 7919;
    for (const char* name : {"Europe/Amsterdam", "Europe/Moscow", "Australia/Lord_Howe"}) {
        ZoneForTest zone(name);
        if (!zone.installed) GTEST_SKIP() << name << " is not installed";
        for (const auto& s : sweeps) {
            ASSERT_EQ(std::gcd(kStride, s.count), 1);  // every instant once
            for (long i = 0; i < s.count; ++i) {
                // Summed in seconds: the offset alone would not fit in nanoseconds.
                const DateTime t = s.from + (i * kStride % s.count) * s.step;
                const std::string text = formatDateTime(t);
                const std::optional<DateTime> back = parseDateTime(text);
                if (back && *back <= t && t - *back <= s.mostEarlier &&
                    formatDateTime(*back) == text)
                    continue;
                ADD_FAILURE() << name << " " << text << " read back as "
                              << (back ? formatDateTime(*back) : "nothing");
                break;
            }
        }
    }
}

TEST(Paths, TextualOperations) {
    // Path -> parent, last component, root, collapsed, normal folder.
    struct Case {
        const char *path, *parent, *last, *root, *collapsed, *folder;
    };
    // clang-format off
    const Case cases[] = {
        {"/a/b", "/a", "b", "/", "/a/b", "/a/b"},  {"/a//b/", "/a", "b", "/", "/a/b/", "/a/b"},
        {"/a", "/", "a", "/", "/a", "/a"},         {"/", "", "", "/", "/", "/"},
        {"//", "", "", "/", "//", "/"},            {"///srv//x", "///srv", "x", "/", "//srv/x", "//srv/x"},
        {"", "", "", "", "", ""},                  {"DISK/x", "DISK", "x", "DISK", "DISK/x", "DISK/x"},
        {"DISK", "", "DISK", "DISK", "DISK", "DISK"}, {"a//b//", "a", "b", "a", "a/b/", "a/b"}};
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(parentOfPath(c.path), c.parent) << c.path;
        EXPECT_EQ(lastComponent(c.path), c.last) << c.path;
        EXPECT_EQ(rootOf(c.path), c.root) << c.path;
        EXPECT_EQ(collapsedSeparators(c.path), c.collapsed) << c.path;
        EXPECT_EQ(normalisedFolder(c.path), c.folder) << c.path;
        EXPECT_EQ(isAbsolutePath(c.path), c.root == std::string("/")) << c.path;
    }
    EXPECT_EQ(joinPath("/a", "b"), "/a/b");
    EXPECT_EQ(joinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(joinPath("", "b"), "/b");
    EXPECT_EQ(normalisedAbsolute("x/../y/./z", "/home/u"), "/home/u/y/z");
    EXPECT_EQ(normalisedAbsolute("/../a//b/", "/cwd"), "/a/b");
    // Path, folder -> within (at or below), strictly below, the part below.
    struct Below {
        const char *path, *folder;
        bool within, below;
        std::optional<std::string> rest;
    };
    const Below below[] = {{"/mnt/x/y", "/mnt", true, true, "x/y"},
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
    for (const Below& b : below) {
        EXPECT_EQ(pathIsWithin(b.path, b.folder), b.within) << b.path << " " << b.folder;
        EXPECT_EQ(pathLiesBelow(b.path, b.folder), b.below) << b.path << " " << b.folder;
        EXPECT_EQ(relativeTo(b.path, b.folder), b.rest) << b.path << " " << b.folder;
    }
    // The service makes a relative path absolute against the current folder.
    char* cwd = getcwd(nullptr, 0);
    EXPECT_EQ(LinuxFileSystem().absolutePath("sub/./x/.."), normalisedAbsolute("sub", cwd));
    free(cwd);
}

TEST(TempName, ThePrefixAndSixteenLowercaseHexDigits) {
    EXPECT_TRUE(isTempName(".zv-tmp-0123456789abcdef"));
    for (const char* no :
         {".zv-tmp-0123456789ABCDEF", ".zv-tmp-0123456789abcde", ".zv-tmp-0123456789abcdef0",
          "x.zv-tmp-0123456789abcde", ".zv-tmp-0123456789abcdeg", ""})
        EXPECT_FALSE(isTempName(no)) << no;
}

TEST(ErrorMapping, SystemErrorsBecomeTheProgramsNumbers) {
    const std::pair<std::vector<int>, int> files[] = {
        {{ENOENT}, kErrFileNotFound},
        {{ENOTDIR}, kErrPathNotFound},
        {{EACCES, EPERM, EROFS, EBUSY, ETXTBSY}, kErrAccessDenied},
        {{ENOSPC, EDQUOT, EFBIG}, kErrDiskFull},
        {{EINVAL, ENAMETOOLONG}, kErrInvalidArgument},
        {{EIO, ELOOP}, kErrObjectNotAvailable}};
    for (const auto& [errs, number] : files)
        for (int err : errs) EXPECT_EQ(errorNumberFor(err, PathRole::File), number) << err;
    EXPECT_EQ(errorNumberFor(ENOENT, PathRole::Folder), kErrPathNotFound);
    EXPECT_EQ(errorNumberFor(EINVAL, PathRole::Folder), kErrInvalidArgument);
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
    const char* const userData = "/home/u/.local/share/zandvast";
    // A portable copy keeps its files beside itself where it can write; an
    // installed one always in the user's data folder, also for root.
    const struct {
        const char* folder;
        bool writable, installed;
        const char *xdgDataHome, *appFolder;
    } cases[] = {{"/opt/zv", true, false, "", "/opt/zv"},
                 {"/opt/zv", false, false, "", userData},
                 {"/usr/bin", true, true, "", userData},
                 {"/usr/bin", true, true, "/xdg", "/xdg/zandvast"},
                 {"/usr/bin", false, false, "relative", userData},
                 {"", true, false, "", userData}};
    for (const auto& c : cases) {
        const ExecutableSite site{c.folder, c.writable, c.installed};
        EXPECT_EQ(appFolderFor(site, {"/home/u", c.xdgDataHome, ""}), c.appFolder)
            << c.folder << c.writable << c.installed << c.xdgDataHome;
    }
    EXPECT_EQ(desktopFolderFrom("# "
                                "xdg\nXDG_DOCUMENTS_DIR=\"$HOME/"
                                "D\"\nXDG_DESKTOP_DIR=\"$HOME/Bureau\"\n",
                                env),
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
// when either path goes through a link. A first start in a fresh home makes
// the whole data folder path (0700, as XDG wants); folders already there stay.
TEST(LinuxEnvironment, FoldersOnDisk) {
    test::TempDir dir;
    test::writeFile(dir / "usr/bin/zandvast", "");
    test::makeDirs(dir / "opt/bin");
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
