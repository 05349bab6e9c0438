#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <ctime>

#include "e2e/E2eFixture.h"
#include "platform/PlatformTest.h"
#include "support/TreeCompare.h"

namespace zv::test {
namespace {

// A from-date a second after whatever changed up to now.
std::string secondLater() {
    sleep(2);
    const std::time_t now = std::time(nullptr) - 1;
    char text[32];
    std::strftime(text, sizeof text, "%d-%m-%Y %H:%M:%S", std::localtime(&now));
    return text;
}

// What a restore needs and a plain copy loses: a private folder, another user's file, bits the
// umask would take, user attributes, ACLs (a folder's default too), hard links (one outside),
// holes, a link, folder times.
class FaithfulCopy : public EndToEnd {
  protected:
    void buildTree(int mebibytes, bool withLink) {
        const std::string here = "mkdir -p " + quoted(source) + " && cd " + quoted(source) + " && ";
        ASSERT_TRUE(sh(here + "S=" + std::to_string(mebibytes) +
                       " && mkdir -p prive/dieper deel/acl && chmod 700 prive"
                       " && echo geheim > prive/dagboek.txt && echo foto > deel/foto.txt"
                       " && echo niet van mij > deel/ander.txt && echo twee > deel/een.txt"
                       " && echo open > deel/open.txt && chmod 666 deel/open.txt"
                       " && ln deel/een.txt prive/twee.txt && ln deel/een.txt ../buiten.txt"
                       " && truncate -s ${S}M deel/gaten.bin && chmod 640 deel/gaten.bin && yes d"
                       " | head -c 64K | dd of=deel/gaten.bin bs=64K conv=notrunc status=none"
                       " seek=$((S * 8))"));
        ASSERT_TRUE(!withLink || sh(here + "ln -s ../prive/dagboek.txt 'deel/naar dagboek'"));
        owners = sh(here + "chown -h 1234:2345 deel/ander.txt " +
                    (withLink ? "'deel/naar dagboek'" : ""));
        xattrs =
            setxattr((source + "/deel/foto.txt").c_str(), "user.herkomst", "camera", 6, 0) == 0 &&
            setxattr((source + "/prive").c_str(), "user.map", "x", 1, 0) == 0;
        acls =
            sh(here +
               "setfacl -m u:1234:r deel/foto.txt && setfacl -d -m u:1234:rx deel/acl 2>/dev/null");
        writeFile(source + "/deel/acl/erin.txt", "erft de ACL van de map");
        sh(pastFolderTimes);
    }
    // `from`: a from-date for the date filter, else the filter is off.
    int backUp(const std::string& verify, const std::string& sync = "0",
               const std::string& from = "") const {
        return run({"-ps", source, "-pd", backup, "-vf", verify, "-cd", from.empty() ? "0" : "1",
                    "-dd", from.empty() ? "1-1-2000 00:00:00" : from, "-sy", sync, "-ke", sync,
                    "-db", "0"})
            .exitStatus;
    }

    const std::string pastFolderTimes =
        "find " + quoted(source) + " -type d -exec touch -m -d @1600000000.123456789 {} +";
    bool owners = false, xattrs = false, acls = false;  // what this machine let the tree have
};

// The backup equals cp -a's copy in every mode, also after changes and after orphans went.
TEST_F(FaithfulCopy, TheBackupEqualsCpArchiveInEveryMode) {
    buildTree(64, true);
    // The -vf and -sy values, and whether the source changes after a first run.
    for (const std::string row : {"10", "00", "10 changed", "00 changed", "11"}) {
        SCOPED_TRACE(row);
        const std::string verify = row.substr(0, 1), sync = row.substr(1, 1);
        std::filesystem::remove_all(backup);
        makeDirs(backup);
        if (sync == "1")
            plant(backup, {{"/deel/weg.txt", "weg"}, {"/prive/dieper/oud/weg.txt", "weg"}});
        EXPECT_EQ(backUp(verify, sync), 0) << errorLog();
        if (row.size() > 2) {
            writeFile(source + "/prive/dagboek.txt", "nog geheimer");
            chmod((source + "/deel/ander.txt").c_str(), 0600);
            setxattr((source + "/deel/foto.txt").c_str(), "user.herkomst", "telefoon", 8, 0);
            writeFile(source + "/prive/dieper/nieuw.txt", "nieuw");
            sh(pastFolderTimes);
            EXPECT_EQ(backUp(verify), 0) << errorLog();
        }
        EXPECT_EQ(errorLog(), "");
        std::filesystem::remove_all(root / "cp-a");
        ASSERT_TRUE(sh("cp -a " + quoted(source) + " " + quoted(root / "cp-a")));
        EXPECT_EQ(treeDifferences(root / "cp-a", backup, kCompareAll), Lines{});
    }
}

// As another user: a read-only folder's backup is read-only; later runs add and remove in it.
TEST_F(FaithfulCopy, ReadOnlyFoldersAndFoldersOfAnotherUser) {
    if (!runAs("nobody")) GTEST_SKIP() << "cannot run as another user here";
    const std::string here =
        "cd " + quoted(root.path()) + " && S='Mijn bestanden/alleen lezen' B='Reserve kopie ß' && ";
    // Each step changes the trees as root; then they are the user's again.
    // The change, the -sy value, the from-date (none: no date filter).
    const std::tuple<std::string, std::string, std::string> steps[] = {
        {R"(rm -rf "$S" "$B" && mkdir -p "$S/ro/map" "$B" && echo oud > "$S/oud.txt" &&
            echo m > "$S/ro/map/m.txt" && chmod 500 "$S/ro" "$S")",
         "0", ""},
        {R"(chmod 700 "$S" && echo nieuw > "$S/nieuw.txt" && chmod 500 "$S")", "0", ""},
        {R"(chmod 700 "$S" && rm "$S/oud.txt" && chmod 500 "$S")", "1", ""},
        {R"(mkdir "$B/weg" && echo oud > "$B/weg/oud.txt" && chmod 500 "$B/weg")", "1", ""},
        // The backup lost a folder of a read-only folder that has not changed since the
        // from-date ("now": a second later): that folder is opened only to be written.
        {R"(rm -r "$B/alleen lezen/ro/map")", "1", "now"},
    };
    for (const std::string verify : {"1", "0"}) {
        SCOPED_TRACE(verify);
        for (const auto& [change, sync, from] : steps) {
            ASSERT_TRUE(sh(here + change));
            runAs("nobody");
            ASSERT_TRUE(sh(here + R"(mkdir -p "$S/../van root" && echo r > "$S/../van root/r" &&
                                    chown -R root "$S/../van root")"));
            EXPECT_EQ(backUp(verify, sync, from == "now" ? secondLater() : from), 0)
                << change << errorLog();
        }
        Tree expected = files(source);
        if (verify == "0") {  // a quick run copies by date alone: the lost file is older
            expected.insert({{"/alleen lezen/oud.txt", "oud\n"}, {"/weg/oud.txt", "oud\n"}});
            expected.erase("/alleen lezen/ro/map/m.txt");
        }
        EXPECT_EQ(files(backup), expected);
        EXPECT_EQ(std::filesystem::status(backup + "/alleen lezen").permissions(),
                  std::filesystem::perms(0500));
    }
}

// On a disk that keeps less (FAT, ramfs) the run succeeds; one log line says what was not kept.
TEST_F(FaithfulCopy, OnADiskThatKeepsLessTheRunSucceedsAndSaysOnceWhatItCouldNotKeep) {
    std::filesystem::remove_all(source);  // names FAT can hold whatever its character set
    buildTree(1, false);
    // What each disk loses of what this machine let the tree have.
    const std::string note = "DATE TIME Niet bewaard door het bestandssysteem van de backup: ",
                      attributes = std::string(xattrs ? ", extended attributes" : "") +
                                   (acls ? ", ACL's" : ""),
                      fat = (owners ? ", eigenaar en groep" : "") + attributes +
                            ", harde links, rechten of tijden van mappen";
    // name, kind, format command, the log's line, what the backup keeps
    const std::tuple<std::string, ScratchMount::Kind, std::string, std::string, unsigned> disks[] =
        {
            {"fat", ScratchMount::Image, "mkfs.vfat", note + fat.substr(2), kCompareContent},
            {"ramfs", ScratchMount::Ramfs, "", note + attributes.substr(attributes.empty() ? 0 : 2),
             kCompareAll & ~(kCompareXattrs | kCompareAllocated)},
        };
    int tried = 0;
    for (const auto& [name, kind, format, line, kept] : disks) {
        SCOPED_TRACE(name);
        ScratchMount mount(root / name, kind, format);
        if (!mount.ok()) continue;
        ++tried;
        backup = mount.path() + "/Backup";
        makeDirs(backup);
        for (const char* verify : {"1", "0"}) {
            std::filesystem::remove(app + "/Error.Log");
            EXPECT_EQ(backUp(verify), 0) << errorLog();
            // Written by every WriteLog of the run, never once per file.
            const Lines lines = errorLines();
            EXPECT_TRUE(lines == Lines{line} || lines == Lines(2, line)) << errorLog();
            EXPECT_EQ(treeDifferences(source, backup, kept), Lines{});
        }
    }
    if (tried == 0) GTEST_SKIP() << "this machine mounts neither a FAT image nor a ramfs";
}

}  // namespace
}  // namespace zv::test
