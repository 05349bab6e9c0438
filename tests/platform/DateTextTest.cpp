#include <gtest/gtest.h>

#include "platform/DateText.h"

namespace zv {
namespace {

DateTime mustParse(std::string_view text) {
    std::optional<DateTime> t = parseDateTime(text);
    EXPECT_TRUE(t.has_value()) << text;
    return t.value_or(DateTime{});
}

TEST(DateText, WritesDayMonthYearAndTwentyFourHourTime) {
    DateTime t = mustParse("19-12-1960 12:58:58");
    EXPECT_EQ(formatDateTime(t), "19-12-1960 12:58:58");
    EXPECT_EQ(formatDate(t), "19-12-1960");
    EXPECT_EQ(formatTime(t), "12:58:58");
}

TEST(DateText, WritesDayAndMonthWithoutLeadingZeroButTimeWithThem) {
    DateTime t = mustParse("1-2-2003 4:05:06");
    EXPECT_EQ(formatDateTime(t), "1-2-2003 04:05:06");
}

TEST(DateText, ReadsAllAcceptedFormsAsTheSameInstant) {
    DateTime expected = mustParse("2-3-2024 13:14:15");
    EXPECT_EQ(mustParse("02-03-2024 13:14:15"), expected);
    EXPECT_EQ(mustParse("2024-03-02 13:14:15"), expected);
    EXPECT_EQ(mustParse("2024-03-02T13:14:15"), expected);
    EXPECT_EQ(mustParse("02/03/2024 13:14:15"), expected);
    EXPECT_EQ(mustParse("2-3-24 13:14:15"), expected);
    EXPECT_EQ(mustParse("  2-3-2024   13:14:15 \r\n"), expected);
}

TEST(DateText, MissingTimeMeansMidnightAndMissingSecondsMeansZero) {
    EXPECT_EQ(formatDateTime(mustParse("2-3-2024")), "2-3-2024 00:00:00");
    EXPECT_EQ(formatDateTime(mustParse("2024-03-02")), "2-3-2024 00:00:00");
    EXPECT_EQ(formatDateTime(mustParse("2-3-2024 7:08")), "2-3-2024 07:08:00");
}

TEST(DateText, TwoDigitYearsPivotAtFifty) {
    EXPECT_EQ(formatDate(mustParse("1-1-00")), "1-1-2000");
    EXPECT_EQ(formatDate(mustParse("1-1-49")), "1-1-2049");
    EXPECT_EQ(formatDate(mustParse("1-1-50")), "1-1-1950");
    EXPECT_EQ(formatDate(mustParse("31/12/99")), "31-12-1999");
}

TEST(DateText, LeapDaysAreCheckedAgainstTheYear) {
    EXPECT_TRUE(parseDateTime("29-2-2024").has_value());
    EXPECT_TRUE(parseDateTime("29-2-2000").has_value());
    EXPECT_FALSE(parseDateTime("29-2-2023").has_value());
    EXPECT_FALSE(parseDateTime("29-2-1900").has_value());
}

TEST(DateText, RejectsGarbageOutOfRangeFieldsAndTrailingJunk) {
    for (const char* text : {"",
                             "   ",
                             "garbage",
                             "12-12",
                             "32-1-2020",
                             "0-1-2020",
                             "1-13-2020",
                             "1-0-2020",
                             "31-4-2020",
                             "1-1-2020 24:00:00",
                             "1-1-2020 12:60",
                             "1-1-2020 12:00:60",
                             "1-1-2020 12:00:00x",
                             "1-1-2020x",
                             "1-1-2020T",
                             "1-1-202",
                             "1-1-20200",
                             "2020-13-01",
                             "2020-1-32",
                             "1-1/2020",
                             "1.1.2020",
                             "1-1-2020 12",
                             "1-1-2020 1:2",
                             "-1-1-2020",
                             "1-1-2020 12:00:00.5",
                             "123-1-2020"}) {
        EXPECT_FALSE(parseDateTime(text).has_value()) << '"' << text << '"';
    }
}

TEST(DateText, RoundTripsWholeSeconds) {
    DateTime t = mustParse("31-10-2021 23:59:59");
    EXPECT_EQ(mustParse(formatDateTime(t)), t);
}

TEST(DateText, FormatDropsFractionsOfASecond) {
    DateTime t = mustParse("5-6-2010 10:11:12") + std::chrono::milliseconds(999);
    EXPECT_EQ(formatTime(t), "10:11:12");
}

TEST(DateText, DatesBeforeTheEpochWork) {
    DateTime t = mustParse("1-1-1901 00:00:01");
    EXPECT_EQ(formatDateTime(t), "1-1-1901 00:00:01");
    EXPECT_EQ(formatTime(t - std::chrono::milliseconds(500)), "00:00:00");
}

}  // namespace
}  // namespace zv
