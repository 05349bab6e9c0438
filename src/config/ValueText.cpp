#include "config/ValueText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace zv {

namespace {

std::string_view trimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Sign, digits, optional point and digits; at least one digit in all.
bool looksLikeNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    return digits > 0 && i == text.size();
}

// A value that fits the window's 32-bit settings.
std::optional<int> toInt(double value) {
    if (!(value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max())) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

}  // namespace

std::optional<double> parseNumberText(std::string_view text) {
    text = trimSpaces(text);
    if (!looksLikeNumber(text)) return std::nullopt;
    if (text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> parseWholeNumber(std::string_view text) {
    const auto value = parseNumberText(text);
    if (!value || std::trunc(*value) != *value) return std::nullopt;
    return toInt(*value);
}

std::optional<int> parseWholePart(std::string_view text) {
    const auto value = parseNumberText(text);
    if (!value) return std::nullopt;
    return toInt(std::trunc(*value));
}

std::optional<bool> parseSwitchValue(std::string_view text) {
    const auto value = parseNumberText(text);
    if (!value) return std::nullopt;
    return *value != 0;
}

}  // namespace zv
