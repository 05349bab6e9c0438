#include "run/SystemFolders.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

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

// Whether a word may start at `path[i]`: every word starts with an R or an
// S, in either case.
bool startsWord(std::string_view path, std::size_t i) {
    if ((path[i] | 0x21) != 's') return false;  // only R, S, r and s give 's'
    for (std::string_view word : kSystemWords)
        if (sameWord(path.substr(i, word.size()), word)) return true;
    return false;
}

}  // namespace

// Asked for every folder a walk enters, of paths that grow with the depth:
// eight characters at a time are passed over where none is an R or an S (a
// byte of z is zero only where the character is one). No word is shorter
// than eight characters, so none starts in the last few after the blocks.
bool hasSystemFolderWord(std::string_view path) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    static_assert(std::ranges::all_of(kSystemWords, [](auto w) { return w.size() >= 8; }));
    for (std::size_t i = 0; i + 8 <= path.size(); i += 8) {
        std::uint64_t block = 0;
        std::memcpy(&block, path.data() + i, sizeof block);
        const std::uint64_t z = (block | kOnes * 0x21) ^ (kOnes * 's');
        if (((z - kOnes) & ~z & kHighBits) == 0) continue;
        for (std::size_t j = i; j < i + 8; ++j)
            if (startsWord(path, j)) return true;
    }
    return false;
}

bool isUncountedFolderName(std::string_view name) {
    for (std::string_view word : kSystemWords)
        if (sameWord(name, word)) return true;
    return sameWord(name, "_RESTORE");
}

}  // namespace zv
