#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "config/ValueText.h"

namespace zv {
namespace {

TEST(TextRules, NumbersWholeNumbersAndSwitches) {
    struct Case {
        const char* text{};
        std::optional<double> number{};
        std::optional<int> whole{}, wholePart{};
        std::optional<bool> on{};
    };
    const Case cases[] = {
        {" 2 ", 2, 2, 2, true},
        {"0", 0, 0, 0, false},
        {"+3", 3, 3, 3, true},
        {"2.0", 2, 2, 2, true},
        {"1.7", 1.7, {}, 1, true},
        {"-0.5", -0.5, {}, 0, true},
        {"2147483647", 2147483647, 2147483647, 2147483647, true},  // the settings' 32 bits
        {"-2147483648", -2147483648.0, -2147483647 - 1, -2147483647 - 1, true},
        {"2147483648", 2147483648.0, {}, {}, true},
        // Locale commas, exponents and the words strtod takes are no numbers here.
        {"1,5", {}, {}, {}, {}},
        {"inf", {}, {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(std::tuple(parseNumberText(c.text), parseWholeNumber(c.text),
                             parseWholePart(c.text), parseSwitchValue(c.text)),
                  std::tuple(c.number, c.whole, c.wholePart, c.on));
    }
}

}  // namespace
}  // namespace zv
