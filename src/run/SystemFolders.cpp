#include "run/SystemFolders.h"

#include <strings.h>

#include <array>

namespace zv {

namespace {

constexpr std::array<std::string_view, 3> kSystemWords{"RECYCLER", "RECYCLED",
                                                       "SYSTEM VOLUME INFORMATION"};

// ASCII letters compared without case (the words hold nothing else).
bool sameWord(std::string_view text, std::string_view word) {
    return text.size() == word.size() && strncasecmp(text.data(), word.data(), word.size()) == 0;
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

bool isUnsizedFolderName(std::string_view name) {
    for (std::string_view word : kSystemWords)
        if (sameWord(name, word)) return true;
    return sameWord(name, "_RESTORE");
}

}  // namespace zv
