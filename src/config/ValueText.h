#pragma once

#include <optional>
#include <string_view>

namespace zv {

// Numbers as the job file and the options hold them: optional spaces around
// the text, an optional sign, digits and an optional decimal point ("." only,
// whatever the user's locale). Anything else does not convert.
std::optional<double> parseNumberText(std::string_view text);

// A whole number ("2", " 2 ", "2.0"); "1.5" and "x" do not convert.
std::optional<int> parseWholeNumber(std::string_view text);

// The whole-number part of a number ("1.7" gives 1).
std::optional<int> parseWholePart(std::string_view text);

// A switch: 0 is false, any other number true.
std::optional<bool> parseSwitchValue(std::string_view text);

}  // namespace zv
