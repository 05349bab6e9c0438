#include <dirent.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "copy/CopyFixture.h"

namespace zv::test {
namespace {

// A small tmpfs for one test, unmounted when the object goes.
class SmallTmpfs {
  public:
    explicit SmallTmpfs(const std::string& path) : path_(path) {
        makeDirs(path);
        mounted_ = mount("tmpfs", path.c_str(), "tmpfs", 0, "size=512k") == 0;
        if (!mounted_) why_ = std::strerror(errno);
    }
    ~SmallTmpfs() {
        if (mounted_) umount2(path_.c_str(), MNT_DETACH);
    }
    bool ok() const { return mounted_; }
    const std::string& why() const { return why_; }

  private:
    std::string path_;
    std::string why_;
    bool mounted_ = false;
};

// Fills the file system that holds `folder` up to the last byte.
void fill(const std::string& folder) {
    std::ofstream out(folder + "/filler", std::ios::binary);
    const std::string block(4096, 'f');
    while (out.write(block.data(), static_cast<std::streamsize>(block.size()))) {
    }
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* d = readdir(dir))
            if (std::strcmp(d->d_name, ".") != 0 && std::strcmp(d->d_name, "..") != 0)
                names.push_back(d->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

using DiskFull = CopyFixture;

TEST_F(DiskFull, AFullDiskKeepsTheOldBackupCopyWhole) {
    SmallTmpfs disk(rig.root / "disk");
    if (!disk.ok()) GTEST_SKIP() << "cannot mount a tmpfs here: " << disk.why();
    dst = rig.root / "disk/backup";
    applyJob();
    const std::string oldCopy(100 * 1024, 'A');
    writeFile(D("sub/big.bin"), oldCopy);
    fill(D("sub"));
    newFile(S("sub/big.bin"), std::string(200 * 1024, 'B'));

    checkedCopy();  // the question is answered with Cancel

    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "Schijf vol; verwissel schijf en druk op OK");
    EXPECT_TRUE(w().UserBreak);
    EXPECT_EQ(readFile(D("sub/big.bin")), oldCopy);
    EXPECT_EQ(namesIn(D("sub")), (std::vector<std::string>{"big.bin", "filler"}));
    EXPECT_TRUE(logHas(formatTime(rig.clock.current) + "Disk full"));
    EXPECT_EQ(w().FilesCopied, 0);
}

TEST_F(DiskFull, AnsweringOkSkipsTheFileAndLogsItThenGoesOn) {
    SmallTmpfs disk(rig.root / "disk");
    if (!disk.ok()) GTEST_SKIP() << "cannot mount a tmpfs here: " << disk.why();
    dst = rig.root / "disk/backup";
    applyJob();
    writeFile(D("sub/big.bin"), "old");
    fill(D("sub"));
    newFile(S("sub/big.bin"), std::string(200 * 1024, 'B'));
    rig.dialogs.script(MessageAnswer::Ok);

    checkedCopy();

    EXPECT_FALSE(w().UserBreak);
    EXPECT_EQ(readFile(D("sub/big.bin")), "old");
    EXPECT_TRUE(logHas(formatTime(rig.clock.current) + " - " + S("sub/big.bin")));
    EXPECT_TRUE(logContains("Error 61: "));
    EXPECT_EQ(w().FilesFailed, 1);
}

}  // namespace
}  // namespace zv::test
