#include <gtest/gtest.h>

#include "app/frmVergelijker.h"
#include "platform/DateText.h"

namespace zv {
namespace {

std::string Normalise(const std::string& text) {
    return frmVergelijker::NormaliseDateText(text);
}

std::string DateOnly(const std::string& text) {
    const auto when = parseDateTime(text);
    EXPECT_TRUE(when.has_value()) << text;
    return when ? formatDateTime(*when) : std::string{};
}

TEST(NormaliseDateText, TheProgramsOwnFormStaysAsItIs) {
    EXPECT_EQ(Normalise("19-12-1960 12:58:58"), "19-12-1960 12:58:58");
}

TEST(NormaliseDateText, OtherReadableFormsComeOutInTheProgramsForm) {
    EXPECT_EQ(Normalise("2026-03-07T10:11:12"), "7-3-2026 10:11:12");
    EXPECT_EQ(Normalise("07/03/2026 10:11:12"), "7-3-2026 10:11:12");
}

TEST(NormaliseDateText, WeekdayFormKeepsOnlyTheDate) {
    const std::string text = "Mon 19-12-1960, 12:58:58";
    ASSERT_GE(text.size(), 22u);
    EXPECT_EQ(Normalise(text), DateOnly("19-12-1960"));
    EXPECT_EQ(Normalise("maandag 19-12-1960, 12:58:58"), DateOnly("19-12-1960"));
}

TEST(NormaliseDateText, LongTextWithCommaButNoSpaceKeepsWhatStandsBeforeTheComma) {
    EXPECT_EQ(Normalise("19-12-1960,12:58:58,extra"), DateOnly("19-12-1960"));
}

TEST(NormaliseDateText, NoDateGivesEmptyText) {
    EXPECT_EQ(Normalise(""), "");
    EXPECT_EQ(Normalise("gisteren"), "");
    EXPECT_EQ(Normalise("32-13-2026 99:99:99"), "");
    EXPECT_EQ(Normalise("Mon gisteren, en vandaag ook"), "");
}

}  // namespace
}  // namespace zv
