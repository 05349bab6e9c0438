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

}  // namespace

// Asked for every folder a walk enters, of paths that grow with the depth:
// each place is compared only where an R or an S starts there.
bool hasSystemFolderWord(std::string_view path) {
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c != 'R' && c != 'r' && c != 'S' && c != 's') continue;
        for (std::string_view word : kSystemWords)
            if (sameWord(path.substr(i, word.size()), word)) return true;
    }
    return false;
}

bool isUncountedFolderName(std::string_view name) {
    for (std::string_view word : kSystemWords)
        if (sameWord(name, word)) return true;
    return sameWord(name, "_RESTORE");
}

}  // namespace zv
