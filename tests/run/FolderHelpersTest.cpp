#include "copy/CopyFixture.h"
#include "run/FolderHelpers.h"
#include "run/SystemFolders.h"

namespace zv::test {
namespace {

using FolderHelpersOnDisk = CopyFixture;

TEST(FolderHelpers, CollapsesDoubledSeparatorsButKeepsALeadingPair) {
    const std::pair<const char*, const char*> cases[] = {{"////x", "//x"},
                                                         {"/a//b///c", "/a/b/c"},
                                                         {"//server/share//x", "//server/share/x"},
                                                         {"/home/user/data", "/home/user/data"},
                                                         {"", ""}};
    for (const auto& [in, out] : cases) EXPECT_EQ(collapsedSeparators(in), out);
    // A doubled separator at every place of a long path, and none.
    const std::string path = "/ab/cde/f/ghij/k/lm/nop/q/rs/tuvw/x/y/z";
    EXPECT_EQ(collapsedSeparators(path), path);
    for (std::size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1))
        EXPECT_EQ(collapsedSeparators(path.substr(0, at) + "/" + path.substr(at)), path) << at;
    EXPECT_EQ(collapsedSeparators(path + "//"), path + "/");
}

// A system folder's word counts at any place of a path and in any case, also across two
// blocks of eight characters and in the last; a near miss never does.
TEST(SystemFolders, AWordCountsAtAnyPlaceOfAPath) {
    for (std::size_t at = 0; at <= 17; ++at)
        for (const auto& [word, counts] : {std::pair{"rECYCLEd", true},
                                           {"RECYCLER", true},
                                           {"System Volume Information", true},
                                           {"RECYCLE", false},
                                           {"/Reports", false}})
            EXPECT_EQ(hasSystemFolderWord(std::string(at, 'x') + "/" + word), counts) << at << word;
}

// The desktop and computer names, exactly as spelled, count as folders.
TEST_F(FolderHelpersOnDisk, FolderExistsOrVirtual) {
    writeFile(S("file"), "x");
    const std::pair<std::string, bool> cases[] = {
        {"Bureaublad", true}, {"werkstation", true}, {"bureaublad", false},
        {S("file"), false},   {S("nothing"), false}, {rig.root.path() + "//src", true}};
    for (const auto& [path, there] : cases) {
        std::string p = path;
        EXPECT_EQ(folderExistsOrVirtual(rig.fs, p, "werkstation", "Bureaublad"), there) << path;
        EXPECT_EQ(p, path.find("//") == std::string::npos ? path : src);  // collapsed
    }
}

TEST_F(FolderHelpersOnDisk, MakeFolderMakesEveryMissingLevelOrSaysItCouldNot) {
    writeFile(D("blocker"), "a file where a folder should go");
    std::string deep = D("a/b/c"), blocked = D("blocker/sub");
    EXPECT_TRUE(makeFolder(rig.fs, deep) == 0 && std::filesystem::is_directory(deep));
    EXPECT_NE(makeFolder(rig.fs, blocked), 0);
}

// The first level's system folders and unreadable trees are left out.
TEST_F(FolderHelpersOnDisk, TreeFileCountSkipsFirstLevelSystemFoldersAndUnreadableTrees) {
    writeFile(S("ten.bin"), std::string(10, 'x'));
    for (const char* f :
         {"System Volume Information", "recycler", "_Restore", "RECYCLED", "locked"})
        writeFile(S(std::string(f) + "/big.bin"), std::string(1000, 'x'));
    writeFile(S("sub/Recycled/counted.bin"), std::string(5, 'x'));
    writeFile(S("sub/seven.bin"), std::string(7, 'x'));
    faulty.failOn(FsOp::CountFiles, "locked", kErrAccessDenied);
    EXPECT_EQ(treeFileCount(faulty, src), 3u);
}

}  // namespace
}  // namespace zv::test
