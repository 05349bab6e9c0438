#include <fcntl.h>

#include <filesystem>
#include <vector>

#include "PlatformTest.h"
#include "platform/linux/FolderHandles.h"

namespace zv::test {
namespace {

using FolderHandlesTest = PlatformTest;

// Makes `file` through the handles; false where it could not.
bool makeThrough(FolderHandles& handles, const std::string& file) {
    const PathAt at = handles.at(file);
    UniqueFd fd(openat(at.dir, at.name, O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    return fd.valid();
}

// A walk back up a chain deeper than the held folders reaches each folder it went down
// through: by ".." from a held subfolder while that leads to the same folder (even after the
// chain's top was renamed), by its path where the subfolder has been moved elsewhere.
TEST_F(FolderHandlesTest, TheWayBackUpLeadsToTheFoldersOnTheWayDown) {
    std::vector<std::string> chain;
    std::string path = dir / "top";
    for (int i = 0; i < 12; ++i) chain.push_back(path += "/d" + std::to_string(i));
    makeDirs(chain.back());
    FolderHandles handles;
    handles.hold(true);
    for (const std::string& folder : chain) ASSERT_TRUE(makeThrough(handles, folder + "/down"));
    // A NUL byte would make a call act on another file: refused in a held folder (where only the
    // name is read) and in a new one, which is not opened by what precedes the byte.
    PathAt at;
    for (const char* tail : {"/f\0x", "\0x/f"})
        EXPECT_EQ(handles.place(chain.back() + std::string(tail, 4), at).number,
                  kErrInvalidArgument);

    std::filesystem::rename(chain[4], dir / "moved");  // held: its ".." is now `dir`
    ASSERT_TRUE(makeThrough(handles, chain[3] + "/up"));
    EXPECT_TRUE(std::filesystem::exists(chain[3] + "/up") && !std::filesystem::exists(dir / "up"));

    std::filesystem::rename(dir / "top", dir / "renamed");
    for (int i : {2, 1}) ASSERT_TRUE(makeThrough(handles, chain[i] + "/up"));
    for (const char* up : {"renamed/d0/d1/up", "renamed/d0/d1/d2/up"})
        EXPECT_TRUE(std::filesystem::exists(dir / up)) << up;

    handles.forget();  // what it knew of the folders goes too: only paths are left
    EXPECT_FALSE(makeThrough(handles, chain[0] + "/up"));
}

}  // namespace
}  // namespace zv::test
