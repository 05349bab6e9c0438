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

// The same answers as a lookup of each name, whether the folder's names were
// read or could not be. A name missing from the names read is always asked of
// the file system: a file made after the reading is found, as is a name that
// a case-blind file system matches; a name that cannot be looked at is
// Unknown, never absent.
TEST_F(FolderPresenceTest, AnswersAsTheLookupDoes) {
    const struct {
        std::size_t expected;
        bool listingFails;
        long listings;
    } cases[] = {{1, false, 0}, {100, false, 1}, {100, true, 1}};
    const struct {
        const char* name;
        Presence presence;
        EntryKind kind;
    } names[] = {{"file.txt", Presence::Present, EntryKind::File},
                 {"toFile", Presence::Present, EntryKind::Symlink},
                 {"toFolder", Presence::Present, EntryKind::Symlink},
                 {"late.txt", Presence::Present, EntryKind::File},
                 {"sub", Presence::Present, EntryKind::Folder},
                 {"absent.txt", Presence::Absent, EntryKind::File},
                 {"hidden.txt", Presence::Unknown, EntryKind::File}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected + (c.listingFails ? 1000 : 0));
        faulty.clearFailures();
        if (c.listingFails) faulty.failOn(FsOp::List, "/f", kErrAccessDenied);
        faulty.failOn(FsOp::Stat, "hidden.txt", kErrAccessDenied);
        const long before = faulty.calls(FsOp::List);
        std::filesystem::remove(at("late.txt"));
        FolderPresence presence(faulty);
        presence.moveTo(dir / "f", c.expected);
        EXPECT_EQ(faulty.calls(FsOp::List) - before, c.listings);

        writeFile(at("late.txt"), "made after the names were read");
        for (const auto& n : names) {
            const PathInfo found = presence.find(n.name, at(n.name));
            EXPECT_EQ(found.presence, n.presence) << n.name;
            if (n.presence == Presence::Present) {
                EXPECT_EQ(found.kind, n.kind) << n.name;
            }
        }
    }
}

}  // namespace
}  // namespace zv::test
