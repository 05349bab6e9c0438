#include <unistd.h>

#include "copy/FolderPresence.h"
#include "platform/PlatformTest.h"
#include "support/FaultInjectingFileSystem.h"

namespace zv::test {
namespace {

class FolderPresenceTest : public PlatformTest {
  protected:
    void SetUp() override {
        writeFile(dir / "f/file.txt", "x");
        writeFile(dir / "f/sub/inner.txt", "x");
        link("sub", dir / "f/toFolder");
        link("file.txt", dir / "f/toFile");
    }
    std::string at(const std::string& name) const { return dir / ("f/" + name); }
    FaultInjectingFileSystem faulty{fs};
};

// The same answers as the single queries, whether the folder's names were read
// or could not be. A name missing from the names read is always asked of the
// file system: a file made after the reading is found, as is a name that a
// case-blind file system matches.
TEST_F(FolderPresenceTest, AnswersAsTheSingleQueriesDo) {
    const struct {
        std::size_t expected;
        bool listingFails;
        long listings;
    } cases[] = {{1, false, 0}, {100, false, 1}, {100, true, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected + (c.listingFails ? 1000 : 0));
        faulty.clearFailures();
        if (c.listingFails) faulty.failOn(FsOp::List, "/f", kErrAccessDenied);
        const long before = faulty.calls(FsOp::List);
        std::filesystem::remove(at("late.txt"));
        FolderPresence presence(faulty);
        presence.moveTo(dir / "f", c.expected);
        EXPECT_EQ(faulty.calls(FsOp::List) - before, c.listings);

        writeFile(at("late.txt"), "made after the names were read");
        for (const char* name : {"file.txt", "toFile", "late.txt"}) {
            EXPECT_TRUE(presence.hasFile(name, at(name))) << name;
            EXPECT_TRUE(presence.hasFileOrFolder(name, at(name))) << name;
        }
        for (const char* name : {"sub", "toFolder", "absent.txt"})
            EXPECT_FALSE(presence.hasFile(name, at(name))) << name;
        EXPECT_TRUE(presence.hasFileOrFolder("sub", at("sub")));
        for (const char* name : {"toFolder", "absent.txt"})
            EXPECT_FALSE(presence.hasFileOrFolder(name, at(name))) << name;
    }
}

}  // namespace
}  // namespace zv::test
