#include "config/Options.h"

#include <algorithm>

namespace zv {

namespace {

bool matchesOption(const std::string& piece, const std::string& option) {
    return piece.compare(0, 3, option) == 0 || piece.compare(0, 2, option, 1, 2) == 0;
}

}  // namespace

std::optional<OptionValues> collectOptionValues(const std::vector<std::string>& tokens) {
    OptionValues values;
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        const std::string& piece = tokens[i];
        for (const OptionSpec& spec : kOptions) {
            const std::string name = spec.name;
            if (!matchesOption(piece, name)) continue;
            const std::size_t skip = piece.find(name.substr(1)) + 3;
            if (piece.size() < skip) return std::nullopt;
            valueOf(values, spec.option) = piece.substr(skip);
        }
    }
    return values;
}

std::string optionsUsage() {
    constexpr std::size_t kDescriptionColumn = 15;
    std::string text;
    for (const OptionSpec& spec : kOptions) {
        std::string head = std::string("  ") + spec.name + " " + spec.argument;
        head.resize(kDescriptionColumn, ' ');
        text += head;
        for (const char* c = spec.usage; *c; ++c) {
            text += *c;
            if (*c == '\n') text += std::string(kDescriptionColumn, ' ');
        }
        text += '\n';
    }
    return text;
}

std::string savedOptionLine(const OptionValues& values) {
    std::array<const OptionSpec*, kOptions.size()> order;
    std::transform(kOptions.begin(), kOptions.end(), order.begin(),
                   [](const OptionSpec& spec) { return &spec; });
    std::ranges::sort(order, {}, [](const OptionSpec* spec) { return spec->savedOrder; });
    std::string line;
    for (const OptionSpec* spec : order) {
        const std::string& value = valueOf(values, spec->option);
        if (value.empty() && !spec->savedWhenEmpty) continue;
        if (!line.empty()) line += ' ';
        line += std::string(spec->name) + " " + value;
    }
    return line;
}

}  // namespace zv
