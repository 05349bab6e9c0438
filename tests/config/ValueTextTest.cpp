#include <gtest/gtest.h>

#include "config/ValueText.h"

namespace zv {
namespace {

TEST(ValueText, NumbersWithSpacesSignsAndPoints) {
    EXPECT_EQ(ParseNumberText("1"), 1.0);
    EXPECT_EQ(ParseNumberText(" 2 "), 2.0);
    EXPECT_EQ(ParseNumberText("-3"), -3.0);
    EXPECT_EQ(ParseNumberText("+4"), 4.0);
    EXPECT_EQ(ParseNumberText("1.5"), 1.5);
    EXPECT_EQ(ParseNumberText(".5"), 0.5);
}

TEST(ValueText, TextThatIsNoNumberDoesNotConvert) {
    EXPECT_FALSE(ParseNumberText(""));
    EXPECT_FALSE(ParseNumberText("   "));
    EXPECT_FALSE(ParseNumberText("x"));
    EXPECT_FALSE(ParseNumberText("1x"));
    EXPECT_FALSE(ParseNumberText("1,5"));
    EXPECT_FALSE(ParseNumberText("1 2"));
    EXPECT_FALSE(ParseNumberText("-"));
    EXPECT_FALSE(ParseNumberText("."));
    EXPECT_FALSE(ParseNumberText("1e5"));
    EXPECT_FALSE(ParseNumberText("inf"));
    EXPECT_FALSE(ParseNumberText("nan"));
}

TEST(ValueText, WholeNumbersRefuseFractionsAndHugeValues) {
    EXPECT_EQ(ParseWholeNumber("2"), 2);
    EXPECT_EQ(ParseWholeNumber("2.0"), 2);
    EXPECT_EQ(ParseWholeNumber(" 0 "), 0);
    EXPECT_FALSE(ParseWholeNumber("1.5"));
    EXPECT_FALSE(ParseWholeNumber("abc"));
    EXPECT_FALSE(ParseWholeNumber("99999999999999999999"));
}

TEST(ValueText, WholePartDropsTheFraction) {
    EXPECT_EQ(ParseWholePart("1.7"), 1);
    EXPECT_EQ(ParseWholePart("2"), 2);
    EXPECT_EQ(ParseWholePart("-0.5"), 0);
    EXPECT_FALSE(ParseWholePart("one"));
}

TEST(ValueText, SwitchesAreZeroOrAnyOtherNumber) {
    EXPECT_EQ(ParseSwitchValue("0"), false);
    EXPECT_EQ(ParseSwitchValue("1"), true);
    EXPECT_EQ(ParseSwitchValue("-1"), true);
    EXPECT_EQ(ParseSwitchValue("7"), true);
    EXPECT_FALSE(ParseSwitchValue(""));
    EXPECT_FALSE(ParseSwitchValue("ja"));
}

}  // namespace
}  // namespace zv
