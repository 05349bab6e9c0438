#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <set>

#include "e2e/E2eFixture.h"
#include "platform/PlatformTest.h"
#include "support/TreeCompare.h"

namespace zv::test {
namespace {

constexpr uid_t kOtherUser = 1234;
constexpr gid_t kOtherGroup = 2345;

// What this machine let the test tree have.
struct Built {
    bool owners = false;
    bool xattrs = false;
    bool acls = false;
};

// A tree with what a restore must get back and a plain copy loses: a private
// folder, a file of another user, user attributes, ACLs (a folder's default
// ACL too), two names of one file (a third outside the tree), a file with
// holes, a link, and folder times in the past.
class FaithfulCopy : public EndToEnd {
  protected:
    Built buildTree(const std::string& top, off_t sparseSize, bool withLink) {
        Built built;
        makeDirs(top + "/prive/dieper");
        makeDirs(top + "/deel/acl");
        chmod((top + "/prive").c_str(), 0700);
        writeFile(top + "/prive/dagboek.txt", "geheim");
        writeFile(top + "/deel/van een ander.txt", "niet van mij");
        built.owners = geteuid() == 0 && chown((top + "/deel/van een ander.txt").c_str(),
                                               kOtherUser, kOtherGroup) == 0;
        const std::string tagged = top + "/deel/foto.txt";
        writeFile(tagged, "foto");
        built.xattrs = setxattr(tagged.c_str(), "user.herkomst", "camera", 6, 0) == 0 &&
                       setxattr((top + "/prive").c_str(), "user.map", "x", 1, 0) == 0;
        built.acls = std::system(("command -v setfacl >/dev/null && setfacl -m u:1234:r " +
                                  quoted(tagged) + " && setfacl -d -m u:1234:rx " +
                                  quoted(top + "/deel/acl") + " 2>/dev/null")
                                     .c_str()) == 0;
        writeFile(top + "/deel/acl/erin.txt", "erft de ACL van de map");
        writeFile(top + "/deel/een.txt", "twee namen");
        EXPECT_EQ(::link((top + "/deel/een.txt").c_str(), (top + "/prive/twee.txt").c_str()), 0);
        std::filesystem::remove(root / "buiten.txt");
        EXPECT_EQ(::link((top + "/deel/een.txt").c_str(), (root / "buiten.txt").c_str()), 0);
        const int fd = open((top + "/deel/gaten.bin").c_str(), O_WRONLY | O_CREAT, 0640);
        EXPECT_EQ(ftruncate(fd, sparseSize), 0);
        const std::string data(64 * 1024, 'd');
        EXPECT_EQ(pwrite(fd, data.data(), data.size(), sparseSize / 2), ssize_t(data.size()));
        close(fd);
        if (withLink) {
            EXPECT_EQ(symlink("../prive/dagboek.txt", (top + "/deel/naar dagboek").c_str()), 0);
            if (built.owners) lchown((top + "/deel/naar dagboek").c_str(), kOtherUser, kOtherGroup);
        }
        pastFolderTimes(top);
        return built;
    }
    // Every folder dated in the past, deepest first.
    static void pastFolderTimes(const std::string& top) {
        std::vector<std::string> folders{top};
        for (const auto& e : std::filesystem::recursive_directory_iterator(top))
            if (e.is_directory() && !e.is_symlink()) folders.push_back(e.path());
        std::ranges::sort(folders, std::greater<>());
        for (const std::string& f : folders) {
            const timespec times[2] = {{1'600'000'000, 0}, {1'600'000'000, 123'456'789}};
            utimensat(AT_FDCWD, f.c_str(), times, AT_SYMLINK_NOFOLLOW);
        }
    }
    // cp -a's copy of the source, made afresh.
    std::string reference() const {
        const std::string ref = root / "cp-a";
        std::filesystem::remove_all(ref);
        makeDirs(ref);
        EXPECT_EQ(std::system(("cp -a " + quoted(source + "/.") + " " + quoted(ref)).c_str()), 0);
        return ref;
    }
    ProgramOutcome backUp(const std::string& verify, const char* sync = "0") const {
        return run({"-ps", source, "-pd", backup, "-vf", verify, "-cd", "0", "-dd",
                    "1-1-2000 00:00:00", "-sy", sync, "-ke", sync, "-db", "0"});
    }
};

// The backup of the tree compares equal to cp -a's copy of it in every mode:
// the checked copy making the folders (the new-folder copy), the checked copy
// over folders that are there with other permission bits, the quick copy,
// and each once more after files changed (replaced through a temporary file).
TEST_F(FaithfulCopy, TheBackupEqualsCpArchiveInEveryMode) {
    const Built built = buildTree(source, 64 << 20, true);
    if (!built.acls) std::cout << "[ NOTE ] no setfacl or ACL support: ACLs not in the tree\n";
    struct Row {
        const char* what;
        const char* verify;
        bool foldersThere;
        bool change;
        const char* sync = "0";
    };
    const Row rows[] = {
        {"checked, new folders", "1", false, false},
        {"quick", "0", false, false},
        {"checked, after a change", "1", false, true},
        {"quick, after a change", "0", true, true},
        {"synchronising: an orphan and an empty folder removed", "1", true, false, "1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::filesystem::remove_all(backup);
        makeDirs(backup);
        // Folders that are there, with other permission bits and times that
        // differ from the source's in their fraction of a second only.
        if (row.foldersThere) {
            for (const char* folder : {"/prive/dieper", "/deel/acl", "/diep/in/de"})
                makeDirs(backup + folder);
            for (const char* folder : {"/prive", "/prive/dieper", "/deel", "/diep", "/diep/in"}) {
                const timespec times[2] = {{1'600'000'000, 0}, {1'600'000'000, 0}};
                utimensat(AT_FDCWD, (backup + folder).c_str(), times, 0);
            }
        }
        // Orphans whose removal moves their folders' times.
        if (*row.sync == '1') {
            writeFile(backup + "/deel/weg.txt", "weg");
            writeFile(backup + "/prive/dieper/oud/weg.txt", "weg");
        }
        ProgramOutcome outcome = backUp(row.verify, row.sync);
        EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
        if (row.change) {
            writeFile(source + "/prive/dagboek.txt", "nog geheimer");
            chmod((source + "/deel/van een ander.txt").c_str(), 0600);
            if (built.xattrs)
                setxattr((source + "/deel/foto.txt").c_str(), "user.herkomst", "telefoon", 8, 0);
            writeFile(source + "/prive/dieper/nieuw.txt", "nieuw");
            pastFolderTimes(source);
            outcome = backUp(row.verify);
            EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
        }
        EXPECT_EQ(errorLog(), "");
        const std::vector<std::string> none;
        EXPECT_EQ(treeDifferences(reference(), backup, kCompareAll), none);
    }
}

// Runs of a user who is not root (whom no permission bit stops): the backup
// of a read-only folder is read-only, and later runs still add to it and
// remove from it; folders of another user are used as far as allowed.
TEST_F(FaithfulCopy, ReadOnlyFoldersAndFoldersOfAnotherUser) {
    if (!runAs("nobody")) GTEST_SKIP() << "cannot run as another user here";
    for (const char* verify : {"1", "0"}) {
        SCOPED_TRACE(verify);
        const std::string folder = source + "/alleen lezen";
        std::filesystem::remove_all(backup);
        makeDirs(backup);
        std::filesystem::remove_all(folder);
        writeFile(folder + "/oud.txt", "oud");
        runAs("nobody");
        chmod(folder.c_str(), 0500);
        EXPECT_EQ(backUp(verify).exitStatus, 0) << errorLog();
        chmod(folder.c_str(), 0700);
        writeFile(folder + "/nieuw.txt", "nieuw");
        runAs("nobody");
        chmod(folder.c_str(), 0500);
        EXPECT_EQ(backUp(verify).exitStatus, 0) << errorLog();
        EXPECT_EQ(readFile(backup + "/alleen lezen/nieuw.txt"), "nieuw");
        chmod(folder.c_str(), 0700);
        std::filesystem::remove(folder + "/oud.txt");
        chmod(folder.c_str(), 0500);
        EXPECT_EQ(backUp(verify, "1").exitStatus, 0) << errorLog();
        // (The quick copy never synchronises.)
        EXPECT_EQ(std::filesystem::exists(backup + "/alleen lezen/oud.txt"), *verify == '0');
        // A read-only folder the source no longer has at all.
        writeFile(backup + "/weg/oud.txt", "oud");
        runAs("nobody");
        chmod((backup + "/weg").c_str(), 0500);
        EXPECT_EQ(backUp(verify, "1").exitStatus, 0) << errorLog();
        EXPECT_EQ(std::filesystem::exists(backup + "/weg"), *verify == '0');
        struct stat st {};
        EXPECT_EQ(stat((backup + "/alleen lezen").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0500u);
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
    EXPECT_EQ(backUp("1").exitStatus, 0) << errorLog();
    EXPECT_EQ(readFile(backup + "/van root/f.txt"), "f");
}

// A backup on a disk that cannot keep everything: a FAT disk (no owners,
// attributes, ACLs, hard links or private folders) and a ramfs (no extended
// attributes). Every file is copied, the run succeeds, and one line in the
// log says what the disk could not keep; the rest is kept.
TEST_F(FaithfulCopy, OnADiskThatKeepsLessTheRunSucceedsAndSaysOnceWhatItCouldNotKeep) {
    std::filesystem::remove_all(source);  // names FAT can hold whatever its character set
    const Built built = buildTree(source, 1 << 20, false);
    const auto named = [](const std::vector<std::pair<bool, const char*>>& parts) {
        std::string text;
        for (const auto& [lost, what] : parts)
            if (lost) text += (text.empty() ? "" : ", ") + std::string(what);
        return "DATE TIME Niet bewaard door het bestandssysteem van de backup: " + text;
    };
    const struct {
        const char* name;
        ScratchMount::Kind kind;
        const char* format;
        std::string line;
        unsigned kept;
    } disks[] = {
        {"fat", ScratchMount::Image, "mkfs.vfat",
         named({{built.owners, "eigenaar en groep"},
                {built.xattrs, "extended attributes"},
                {built.acls, "ACL's"},
                {true, "harde links"},
                {true, "rechten of tijden van mappen"}}),
         kCompareContent},
        {"ramfs", ScratchMount::Ramfs, "",
         named({{built.xattrs, "extended attributes"}, {built.acls, "ACL's"}}),
         kCompareContent | kCompareModes | kCompareOwners | kCompareTimes | kCompareLinks},
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
            const ProgramOutcome outcome = backUp(verify);
            EXPECT_EQ(outcome.exitStatus, 0) << outcome.output;
            // Written by every WriteLog of the run (the log keeps its lines),
            // never once per file.
            const Lines lines = errorLines();
            EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()),
                      std::set<std::string>{disk.line});
            EXPECT_LE(lines.size(), 2u);
            EXPECT_EQ(treeDifferences(source, backup, disk.kept), std::vector<std::string>{});
        }
    }
    if (tried == 0) GTEST_SKIP() << "this machine mounts neither a FAT image nor a ramfs";
}

}  // namespace
}  // namespace zv::test
