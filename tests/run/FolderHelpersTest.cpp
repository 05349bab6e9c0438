#include "copy/CopyFixture.h"
#include "run/FolderHelpers.h"

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
}

// The desktop and computer names count as folders (exactly as spelled); a
// file does not; the caller's path comes back collapsed.
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

// Every missing level is made; a file in the way is reported.
TEST_F(FolderHelpersOnDisk, MakeFolderMakesEveryMissingLevelOrSaysItCouldNot) {
    writeFile(D("blocker"), "a file where a folder should go");
    const std::pair<std::string, bool> cases[] = {{D("a/b/c"), true}, {D("blocker/sub"), false}};
    for (const auto& [path, made] : cases) {
        std::string p = path;
        EXPECT_EQ(makeFolder(rig.fs, p) == 0, made) << path;
        EXPECT_EQ(std::filesystem::is_directory(path), made) << path;
    }
}

// The tree size leaves out the system folders of the first level only, and a
// size that cannot be read.
TEST_F(FolderHelpersOnDisk, TreeSizeSkipsFirstLevelSystemFoldersAndUnreadableSizes) {
    writeFile(S("ten.bin"), std::string(10, 'x'));
    for (const char* f :
         {"System Volume Information", "recycler", "_Restore", "RECYCLED", "locked"})
        writeFile(S(std::string(f) + "/big.bin"), std::string(1000, 'x'));
    writeFile(S("sub/Recycled/counted.bin"), std::string(5, 'x'));
    writeFile(S("sub/seven.bin"), std::string(7, 'x'));
    faulty.failOn(FsOp::FolderSize, "locked", kErrAccessDenied);
    EXPECT_EQ(treeSize(faulty, src), 22);
}

}  // namespace
}  // namespace zv::test
