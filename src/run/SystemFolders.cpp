#include "run/SystemFolders.h"

#include <algorithm>
#include <array>

namespace zv {

namespace {

constexpr std::array<std::string_view, 3> kSystemWords{"RECYCLER", "RECYCLED",
                                                       "SYSTEM VOLUME INFORMATION"};

// The words (capitals) against any case of their ASCII letters, whatever the
// locale: a Turkish one would not take "i" for "I".
bool sameWord(std::string_view text, std::string_view word) {
    const auto upper = [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    };
    return std::ranges::equal(text, word, {}, upper);
}

bool containsWord(std::string_view text, std::string_view word) {
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i)
        if (sameWord(text.substr(i, word.size()), word)) return true;
    return false;
}

}  // namespace

bool hasSystemFolderWord(std::string_view path) {
    for (std::string_view word : kSystemWords)
        if (containsWord(path, word)) return true;
    return false;
}

bool isUncountedFolderName(std::string_view name) {
    for (std::string_view word : kSystemWords)
        if (sameWord(name, word)) return true;
    return sameWord(name, "_RESTORE");
}

}  // namespace zv
