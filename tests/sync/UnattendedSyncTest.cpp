#include <gtest/gtest.h>

#include "sync/SyncFixture.h"

namespace zv::test {
namespace {

// A whole unattended run from options, through the copy, the synchronisation
// and the empty-folder pass.
class UnattendedSyncTest : public SyncFixture {
  protected:
    void runOptions(const std::string& extra) {
        w().ApplyCommandLineOptions(frmVergelijker::SplitCommandLine("-ps " + src + " -pd " + dst +
                                                                     " -pr " + bin + " " + extra));
    }
};

TEST_F(UnattendedSyncTest, OrphansGoIntoTheDustbinLayout) {
    writeFile(src + "/keep.txt", "k");
    writeFile(src + "/Sub/keep2.txt", "k2");
    writeFile(dst + "/keep.txt", "k");
    writeFile(dst + "/gone.txt", "g");
    writeFile(dst + "/Sub/gone2.txt", "g2");
    writeFile(dst + "/OnlyHere/Deeper/gone3.txt", "g3");
    makeDirs(bin);

    runOptions("-sy 1 -vf 1 -db 2 -cd 0 -ke 1");

    EXPECT_TRUE(w().RunCompleted);
    EXPECT_EQ(readFile(dst + "/Sub/keep2.txt"), "k2");
    EXPECT_EQ(readFile(inBin("gone.txt")), "g");
    EXPECT_EQ(readFile(inBin("Sub/gone2.txt")), "g2");
    EXPECT_EQ(readFile(inBin("OnlyHere/Deeper/gone3.txt")), "g3");
    EXPECT_FALSE(exists(dst + "/gone.txt"));
    EXPECT_FALSE(exists(dst + "/Sub/gone2.txt"));
    EXPECT_FALSE(exists(dst + "/OnlyHere"));  // emptied, then removed by the empty-folder pass
    EXPECT_EQ(w().ItemsRemoved, 3);
}

TEST_F(UnattendedSyncTest, AnEmptySourceLeavesTheBackupWhole) {
    writeFile(dst + "/a.txt", "a");
    writeFile(dst + "/Sub/b.txt", "b");
    makeDirs(bin);

    runOptions("-sy 1 -vf 1 -db 0 -cd 0 -ke 1");

    EXPECT_FALSE(w().RunCompleted);
    EXPECT_EQ(readFile(dst + "/a.txt"), "a");
    EXPECT_EQ(readFile(dst + "/Sub/b.txt"), "b");
    EXPECT_NE(readFile(rig.appFolder() + "/Error.Log").find(" bronmap bestaat niet"),
              std::string::npos);
}

}  // namespace
}  // namespace zv::test
