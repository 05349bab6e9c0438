#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <iostream>

#include "e2e/E2eFixture.h"
#include "platform/PlatformTest.h"
#include "support/TreeCompare.h"

namespace zv::test {
namespace {

// A source tree with what a restore must get back and a plain copy loses: a
// private folder, a file of another user, user attributes, ACLs (a folder's
// default ACL too), two names of one file (a third outside the tree), a file
// with holes, a link, and folder times in the past.
class FaithfulCopy : public EndToEnd {
  protected:
    void buildTree(off_t sparseSize, bool withLink) {
        const std::string tagged = source + "/deel/foto.txt", theirs = source + "/deel/ander.txt";
        makeDirs(source + "/prive/dieper");
        makeDirs(source + "/deel/acl");
        chmod((source + "/prive").c_str(), 0700);
        writeFile(source + "/prive/dagboek.txt", "geheim");
        writeFile(theirs, "niet van mij");
        owners = geteuid() == 0 && chown(theirs.c_str(), 1234, 2345) == 0;
        writeFile(tagged, "foto");
        xattrs = setxattr(tagged.c_str(), "user.herkomst", "camera", 6, 0) == 0 &&
                 setxattr((source + "/prive").c_str(), "user.map", "x", 1, 0) == 0;
        acls = sh("command -v setfacl >/dev/null && setfacl -m u:1234:r " + quoted(tagged) +
                  " && setfacl -d -m u:1234:rx " + quoted(source + "/deel/acl") + " 2>/dev/null");
        writeFile(source + "/deel/acl/erin.txt", "erft de ACL van de map");
        writeFile(source + "/deel/een.txt", "twee namen");
        for (const std::string& name : {source + "/prive/twee.txt", root / "buiten.txt"})
            EXPECT_EQ(::link((source + "/deel/een.txt").c_str(), name.c_str()), 0);
        const int fd = open((source + "/deel/gaten.bin").c_str(), O_WRONLY | O_CREAT, 0640);
        const std::string data(64 * 1024, 'd');
        EXPECT_EQ(ftruncate(fd, sparseSize), 0);
        EXPECT_EQ(pwrite(fd, data.data(), data.size(), sparseSize / 2), ssize_t(data.size()));
        close(fd);
        if (withLink) {
            EXPECT_EQ(symlink("../prive/dagboek.txt", (source + "/deel/naar dagboek").c_str()), 0);
            if (owners) lchown((source + "/deel/naar dagboek").c_str(), 1234, 2345);
        }
        pastFolderTimes();
    }
    void pastFolderTimes() const {
        sh("find " + quoted(source) + " -type d -exec touch -m -d @1600000000.123456789 {} +");
    }
    int backUp(const std::string& verify, const std::string& sync = "0") const {
        return run({"-ps", source, "-pd", backup, "-vf", verify, "-cd", "0", "-dd",
                    "1-1-2000 00:00:00", "-sy", sync, "-ke", sync, "-db", "0"})
            .exitStatus;
    }

    bool owners = false, xattrs = false, acls = false;  // what this machine let the tree have
};

// The backup of the tree compares equal to cp -a's copy of it in every mode:
// the checked copy making the folders (the new-folder copy), the checked copy
// over folders that are there with other permission bits, the quick copy,
// and each once more after files changed (replaced through a temporary file).
TEST_F(FaithfulCopy, TheBackupEqualsCpArchiveInEveryMode) {
    buildTree(64 << 20, true);
    if (!acls) std::cout << "[ NOTE ] no setfacl or ACL support: ACLs not in the tree\n";
    const struct {
        const char* what;
        const char* verify;
        bool foldersThere, change;
        const char* sync = "0";
    } rows[] = {
        {"checked, new folders", "1", false, false},
        {"quick", "0", false, false},
        {"checked, after a change", "1", false, true},
        {"quick, after a change", "0", true, true},
        {"synchronising: an orphan and an empty folder removed", "1", true, false, "1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::filesystem::remove_all(backup);
        makeDirs(backup);
        // Folders that are there, with other permission bits and times that
        // differ from the source's in their fraction of a second only.
        if (row.foldersThere) {
            for (const char* folder : {"/prive/dieper", "/deel/acl", "/diep/in/de"})
                makeDirs(backup + folder);
            sh("cd " + quoted(backup) +
               " && touch -m -d @1600000000 prive prive/dieper deel diep diep/in");
        }
        // Orphans whose removal moves their folders' times.
        if (*row.sync == '1') {
            writeFile(backup + "/deel/weg.txt", "weg");
            writeFile(backup + "/prive/dieper/oud/weg.txt", "weg");
        }
        EXPECT_EQ(backUp(row.verify, row.sync), 0) << errorLog();
        if (row.change) {
            writeFile(source + "/prive/dagboek.txt", "nog geheimer");
            chmod((source + "/deel/ander.txt").c_str(), 0600);
            setxattr((source + "/deel/foto.txt").c_str(), "user.herkomst", "telefoon", 8, 0);
            writeFile(source + "/prive/dieper/nieuw.txt", "nieuw");
            pastFolderTimes();
            EXPECT_EQ(backUp(row.verify), 0) << errorLog();
        }
        EXPECT_EQ(errorLog(), "");
        std::filesystem::remove_all(root / "cp-a");
        ASSERT_TRUE(sh("cp -a " + quoted(source) + " " + quoted(root / "cp-a")));
        EXPECT_EQ(treeDifferences(root / "cp-a", backup, kCompareAll), Lines{});
    }
}

// Runs of a user who is not root (whom no permission bit stops): the backup
// of a read-only folder is read-only, and later runs still add to it and
// remove from it (the quick copy never synchronises); folders of another
// user are used as far as allowed.
TEST_F(FaithfulCopy, ReadOnlyFoldersAndFoldersOfAnotherUser) {
    if (!runAs("nobody")) GTEST_SKIP() << "cannot run as another user here";
    const std::string folder = source + "/alleen lezen";
    const auto readOnly = [&](const std::string& path) {  // once handed to the user
        runAs("nobody");
        chmod(path.c_str(), 0500);
    };
    for (const std::string verify : {"1", "0"}) {
        SCOPED_TRACE(verify);
        std::filesystem::remove_all(backup);
        makeDirs(backup);
        std::filesystem::remove_all(folder);
        writeFile(folder + "/oud.txt", "oud");
        readOnly(folder);
        EXPECT_EQ(backUp(verify), 0) << errorLog();
        chmod(folder.c_str(), 0700);
        writeFile(folder + "/nieuw.txt", "nieuw");
        readOnly(folder);
        EXPECT_EQ(backUp(verify), 0) << errorLog();
        EXPECT_EQ(readFile(backup + "/alleen lezen/nieuw.txt"), "nieuw");
        chmod(folder.c_str(), 0700);
        std::filesystem::remove(folder + "/oud.txt");
        chmod(folder.c_str(), 0500);
        EXPECT_EQ(backUp(verify, "1"), 0) << errorLog();
        EXPECT_EQ(exists(backup + "/alleen lezen/oud.txt"), verify == "0");
        // A read-only folder the source no longer has at all.
        writeFile(backup + "/weg/oud.txt", "oud");
        readOnly(backup + "/weg");
        EXPECT_EQ(backUp(verify, "1"), 0) << errorLog();
        EXPECT_EQ(exists(backup + "/weg"), verify == "0");
        EXPECT_EQ(std::filesystem::status(backup + "/alleen lezen").permissions(),
                  std::filesystem::perms(0500));
        chmod(folder.c_str(), 0700);
    }
    // Folders of another user (root) are read and written where allowed;
    // what may not be set on them is left, quietly.
    const std::string theirs = source + "/van root";
    writeFile(theirs + "/f.txt", "f");
    makeDirs(backup + "/van root");
    runAs("nobody");
    EXPECT_EQ(chown(theirs.c_str(), 0, 0) | chown((backup + "/van root").c_str(), 0, 0), 0);
    chmod((backup + "/van root").c_str(), 0777);
    EXPECT_EQ(backUp("1"), 0) << errorLog();
    EXPECT_EQ(readFile(backup + "/van root/f.txt"), "f");
}

// A backup on a disk that cannot keep everything: a FAT disk (no owners,
// attributes, ACLs, hard links or private folders) and a ramfs (no extended
// attributes). Every file is copied, the run succeeds, and one line in the
// log says what the disk could not keep; the rest is kept.
TEST_F(FaithfulCopy, OnADiskThatKeepsLessTheRunSucceedsAndSaysOnceWhatItCouldNotKeep) {
    std::filesystem::remove_all(source);  // names FAT can hold whatever its character set
    buildTree(1 << 20, false);
    const auto unkept = [](const std::vector<std::pair<bool, std::string>>& parts) {
        std::string text;
        for (const auto& [lost, what] : parts)
            if (lost) text += (text.empty() ? "" : ", ") + what;
        return "DATE TIME Niet bewaard door het bestandssysteem van de backup: " + text;
    };
    const std::string kXattrs = "extended attributes", kAcls = "ACL's";
    const struct {
        const char* name;
        ScratchMount::Kind kind;
        const char* format;
        std::string line;
        unsigned kept;
    } disks[] = {
        {"fat", ScratchMount::Image, "mkfs.vfat",
         unkept({{owners, "eigenaar en groep"},
                 {xattrs, kXattrs},
                 {acls, kAcls},
                 {true, "harde links"},
                 {true, "rechten of tijden van mappen"}}),
         kCompareContent},
        {"ramfs", ScratchMount::Ramfs, "", unkept({{xattrs, kXattrs}, {acls, kAcls}}),
         kCompareAll & ~(kCompareXattrs | kCompareAllocated)},
    };
    int tried = 0;
    for (const auto& disk : disks) {
        SCOPED_TRACE(disk.name);
        ScratchMount mount(root / disk.name, disk.kind, disk.format);
        if (!mount.ok()) continue;
        ++tried;
        backup = mount.path() + "/Backup";
        makeDirs(backup);
        for (const char* verify : {"1", "0"}) {
            std::filesystem::remove(app + "/Error.Log");
            EXPECT_EQ(backUp(verify), 0) << errorLog();
            // Written by every WriteLog of the run (the log keeps its lines),
            // never once per file.
            const Lines lines = errorLines();
            EXPECT_TRUE(lines == Lines{disk.line} || lines == Lines(2, disk.line)) << errorLog();
            EXPECT_EQ(treeDifferences(source, backup, disk.kept), Lines{});
        }
    }
    if (tried == 0) GTEST_SKIP() << "this machine mounts neither a FAT image nor a ramfs";
}

}  // namespace
}  // namespace zv::test
