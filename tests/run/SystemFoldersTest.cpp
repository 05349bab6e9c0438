#include <gtest/gtest.h>

#include "run/SystemFolders.h"

namespace zv::test {
namespace {

// A word counts at any place of a path and in any case, also across two blocks of eight
// characters; a near miss never does.
TEST(SystemFolders, AWordCountsAtAnyPlaceOfAPath) {
    const std::pair<const char*, bool> words[] = {
        {"RECYCLER", true},  {"recycled", true},  {"System Volume Information", true},
        {"rECYCLEd", true},  {"RECYCLE", false},  {"SYSTEM VOLUME INFO", false},
        {"/Reports", false}, {"RECYCLES", false}, {"\xc3\xa9SySt\xc3\xa9m", false}};
    for (const auto& [word, counts] : words)
        for (std::size_t at = 0; at <= 17; ++at) {
            const std::string path = std::string(at, 'x') + "/" + word;
            EXPECT_EQ(hasSystemFolderWord(path), counts) << path;
            EXPECT_EQ(hasSystemFolderWord(path + "/more/below"), counts) << path;
        }
}

}  // namespace
}  // namespace zv::test
