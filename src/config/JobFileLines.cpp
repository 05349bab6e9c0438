#include "config/JobFileLines.h"

namespace zv {

namespace {
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
}

JobFileLines::JobFileLines(std::string_view content) {
    if (content.substr(0, kUtf8Bom.size()) == kUtf8Bom) content.remove_prefix(kUtf8Bom.size());
    while (!content.empty()) {
        const auto end = content.find('\n');
        std::string_view text = content.substr(0, end);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        lines_.emplace_back(text);
        if (end == std::string_view::npos) break;
        content.remove_prefix(end + 1);
    }
}

std::optional<std::string> JobFileLines::line(std::size_t number) const {
    if (number == 0 || number > lines_.size()) return std::nullopt;
    return lines_[number - 1];
}

std::string joinCrLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace zv
