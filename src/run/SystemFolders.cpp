#include "run/SystemFolders.h"

#include <array>

namespace zv {

namespace {

constexpr std::array<std::string_view, 3> kSystemWords{"RECYCLER", "RECYCLED",
                                                       "SYSTEM VOLUME INFORMATION"};

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalsUpper(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) return false;
    for (std::size_t k = 0; k < word.size(); ++k)
        if (upperAscii(text[k]) != word[k]) return false;
    return true;
}

bool containsUpper(std::string_view text, std::string_view word) {
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i)
        if (equalsUpper(text.substr(i, word.size()), word)) return true;
    return false;
}

}  // namespace

bool hasSystemFolderWord(std::string_view path) {
    for (std::string_view word : kSystemWords)
        if (containsUpper(path, word)) return true;
    return false;
}

bool isUnsizedFolderName(std::string_view name) {
    for (std::string_view word : kSystemWords)
        if (equalsUpper(name, word)) return true;
    return equalsUpper(name, "_RESTORE");
}

}  // namespace zv
