#include <string>
#include <vector>

#include "app/AppWindow.h"
#include "platform/DateText.h"

namespace zv {

namespace {

// Positions of the hyphens that follow a space: each marks the start of a
// piece.
std::vector<std::size_t> pieceHyphens(const std::string& text) {
    std::vector<std::size_t> hyphens;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == ' ' && text[i + 1] == '-') hyphens.push_back(i + 1);
    }
    return hyphens;
}

}  // namespace

// Cuts the argument text at every space that is followed by a hyphen. Element
// 0 names the form ("InitFile" or "NoInitFile"); the first piece keeps its
// hyphen, later pieces lose it. No quoting: a path holding " -" is cut too.
std::vector<std::string> AppWindow::splitCommandLine(const std::string& text) {
    const std::vector<std::size_t> hyphens = pieceHyphens(text);
    std::vector<std::string> tokens{"NoInitFile"};
    tokens.push_back(hyphens.empty() ? std::string{} : text.substr(0, hyphens.front() - 1));
    if (tokens[1].rfind("-if", 0) == 0 || tokens[1].empty()) tokens[0] = "InitFile";
    for (std::size_t j = 1; j < hyphens.size(); ++j) {
        const std::size_t from = hyphens[j - 1] + 1;
        tokens.push_back(text.substr(from, hyphens[j] - 1 - from));
    }
    if (!hyphens.empty()) tokens.push_back(text.substr(hyphens.back() + 1));
    if (tokens[1].empty()) tokens[1] = text;
    return tokens;
}

void AppWindow::showRunWindow() {
    ui.visible = true;
    ui.folderPicker.visible = false;
}

// A from-date given on the command line, in the program's own date-time form.
// A long text with a comma ("Mon 19-12-1960, 12:58:58") keeps only what
// stands between its first space and its first comma. Empty when it is no
// date.
std::string AppWindow::normaliseDateText(const std::string& text) {
    std::string date = text;
    if (text.size() >= 22 && text.find(',') != std::string::npos) {
        const auto space = text.find(' ');
        const std::string rest = space == std::string::npos ? text : text.substr(space + 1);
        date = rest.substr(0, rest.find(','));
    }
    const auto when = parseDateTime(date);
    return when ? formatDateTime(*when) : std::string{};
}

}  // namespace zv
