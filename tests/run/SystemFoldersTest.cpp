#include <gtest/gtest.h>

#include <string>

#include "run/SystemFolders.h"

namespace zv::test {
namespace {

// A word counts at any place of a path, in any case, also where it starts
// in one block of eight characters and ends in the next, or in the last
// few; a near miss never does.
TEST(SystemFolders, AWordCountsAtAnyPlaceOfAPath) {
    const std::pair<const char*, bool> words[] = {
        {"RECYCLER", true}, {"recycled", true},  {"System Volume Information", true},
        {"ReCyClEr", true}, {"RECYCLE", false},  {"SYSTEM VOLUME INFO", false},
        {"rECYCLEd", true}, {"RECYCLES", false}, {"Systeem Volume Information", false}};
    for (const auto& [word, counts] : words)
        for (std::size_t at = 0; at <= 17; ++at) {
            const std::string path = std::string(at, 'x') + "/" + word;
            EXPECT_EQ(hasSystemFolderWord(path), counts) << path;
            EXPECT_EQ(hasSystemFolderWord(path + "/more/below"), counts) << path;
        }
    EXPECT_FALSE(hasSystemFolderWord("/srv/rs/Sr/sss/rrr/Reports/Settings"));
    EXPECT_FALSE(hasSystemFolderWord("/ré\xc3\xa9/\xd2\x92\xd3\x93"));
}

}  // namespace
}  // namespace zv::test
