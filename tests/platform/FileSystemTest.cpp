#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <functional>

#include "PlatformTest.h"
#include "platform/linux/DosAttributes.h"
#include "platform/linux/EntryStat.h"

namespace zv::test {
namespace {

using namespace std::chrono_literals;

// A tree with links (in a loop, a circle, to a folder and a file) and a FIFO, never followed.
class FileSystemTest : public PlatformTest {
  protected:
    void SetUp() override {
        writeFile(dir / "tree/file.txt", "12345");
        writeFile(dir / "tree/sub/inner.txt", "123");
        link("..", dir / "tree/sub/up");
        link("loopB", dir / "tree/loopA");
        link("loopA", dir / "tree/loopB");
        link("sub", dir / "tree/subLink");
        link("file.txt", dir / "tree/fileLink");
        ASSERT_EQ(mkfifo((dir / "tree/pipe").c_str(), 0644), 0);
    }
};

// Every failure carries the program's error number; a FIFO is refused without opening it.
TEST_F(FileSystemTest, FailuresCarryTheProgramsErrorNumbers) {
    Entry entry;
    std::vector<Entry> files, folders;
    std::string text = "stale";
    const std::string missing = dir / "missing", noFolder = dir / "nofolder/x",
                      file = dir / "tree/file.txt", pipe = dir / "tree/pipe";
    writeFile(dir / "readOnly", "x");
    chmod((dir / "readOnly").c_str(), 0444);
    link("readOnly", dir / "toReadOnly");
    const std::pair<FsError, int> cases[] = {
        {fs.readTextFile(missing, text), kErrFileNotFound},
        {fs.writeTextFile(dir / "toReadOnly", "x"), kErrAccessDenied},
        {fs.stat(file + "/below", entry), kErrPathNotFound},
        {fs.deleteFile(dir / "tree/sub", false), kErrFileNotFound},
        {fs.listFolder(missing, files, folders), kErrPathNotFound},
        {fs.writeFileAtomic(noFolder, "x"), kErrPathNotFound},
        {fs.copyFile(missing, dir / "x"), kErrFileNotFound},
        {fs.copyFile(file, ""), kErrInvalidArgument},
        {fs.copyFile(file, std::string("/tmp/x\0y", 8)), kErrInvalidArgument},
        {fs.createFolder(dir / std::string(300, 'n')), kErrInvalidArgument},
        {fs.readTextFile(pipe, text), kErrAccessDenied},
        {fs.writeTextFile(pipe, "x"), kErrAccessDenied},
        {fs.writeFileAtomic(pipe, "x"), kErrAccessDenied},
    };
    EXPECT_FALSE(fs.appendToFile(pipe, "x").ok());
    EXPECT_EQ(text, "");  // nothing stale is left from before a failed read
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].first.number, cases[i].second) << "case " << i;
}

// An atomic write keeps the old file's bits and attributes, follows a link, refuses read-only.
TEST_F(FileSystemTest, AnAtomicWriteKeepsTheOldFilesSettings) {
    writeFile(dir / "Init.dat", "old");
    chmod((dir / "Init.dat").c_str(), 0640);
    ASSERT_TRUE(fs.setAttributes(dir / "Init.dat", kAttrArchive).ok());
    ASSERT_TRUE(fs.writeFileAtomic(dir / "Init.dat", "new").ok());
    EXPECT_EQ(modeOf(dir / "Init.dat"), 0640u);
    EXPECT_EQ(xattrOf(dir / "Init.dat", "user.DOSATTRIB"), "0x20");
    chmod((dir / "Init.dat").c_str(), 0444);
    EXPECT_EQ(fs.writeFileAtomic(dir / "Init.dat", "newer").number, kErrAccessDenied);
    EXPECT_EQ(readFile(dir / "Init.dat"), "new");
    link("tree/file.txt", dir / "Link.dat");
    ASSERT_TRUE(fs.writeFileAtomic(dir / "Link.dat", "via link").ok());
    EXPECT_EQ(readFile(dir / "tree/file.txt"), "via link");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "Link.dat"));
}

// The birth time, else the modification time; a time beyond the type held to its ends.
TEST(EntryStat, BirthTimeOrItsStandInAndTheEnds) {
    Entry b;
    struct statx sx {};
    sx.stx_mask = STATX_BASIC_STATS;
    sx.stx_mtime = {1234567890, 500, 0};
    sx.stx_btime = {42, 0, 0};  // not to be used
    fillEntry(sx, "name", 0, b);
    EXPECT_EQ(b.created.time_since_epoch(), 1234567890s + 500ns);
    EXPECT_EQ(toDateTime({INT64_MIN, 999999999, 0}), kEarliestDateTime);
    EXPECT_EQ(toDateTime({-1, 999999999, 0}), DateTime{} - 1ns);
    EXPECT_EQ(toDateTime({INT64_MAX, 999999999, 0}), kLatestDateTime);
}

// Only "no such file" (or a path below a file) is absent; whatever else is unknown.
TEST_F(FileSystemTest, LookupsTellAbsentFromUnknown) {
    const std::string file = dir / "tree/file.txt";
    const std::pair<std::string, Presence> cases[] = {
        {file, Presence::Present},
        {dir / "none", Presence::Absent},
        {file + "/inside", Presence::Absent},
        {std::string("/tmp\0x", 6), Presence::Unknown},
        {"", Presence::Unknown}};
    EXPECT_FALSE(fs.lookup(file).mountRoot);
    for (const auto& [path, presence] : cases) {
        const PathInfo info = fs.lookup(path);
        EXPECT_EQ(
            std::tuple(info.presence, info.error.ok(), fs.fileExists(path)),
            std::tuple(presence, presence == Presence::Present, presence == Presence::Present))
            << path;
    }
}

// Runs `body` in a child process whose kernel refuses getxattrat, as one before 6.13 does
// (Debian 12's); true when the body returned true there.
bool withoutGetxattrat(const std::function<bool()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        sock_filter filter[] = {BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
                                BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, 464, 0, 1),  // getxattrat
                                BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | ENOSYS),
                                BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW)};
        sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
        if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
            prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
            _exit(2);
        _exit(body() ? 0 : 1);
    }
    int status = -1;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// What a listing gives of each entry: "name:kind:size", "+" where its identity is known, and
// the attributes recorded for it.
std::string listingOf(LinuxFileSystem& fs, const std::string& folder, ListDetail detail) {
    std::vector<Entry> files, folders;
    if (fs.listFolder(folder, files, folders, detail).failed()) return "failed";
    std::string seen;
    for (const Entry& e : files) {
        seen += e.name + ":" + std::to_string(int(e.kind)) + ":" + std::to_string(e.size);
        seen += e.id.known() ? "+" : "-";
        seen += std::to_string(e.attributes & kAttrHidden) + " ";
    }
    for (const Entry& e : folders) seen += e.name + (e.id.known() ? "+ " : "- ");
    return seen;
}

// Every listing gives each entry's kind; only files read by name lack their size and identity;
// recorded attributes come with a full listing only, also where the kernel cannot read them
// relative to the folder.
TEST_F(FileSystemTest, ListingsReadAsMuchOfEachEntryAsAsked) {
    ASSERT_TRUE(fs.setAttributes(dir / "tree/file.txt", kAttrHidden).ok());
    const std::string hidden = std::to_string(kAttrHidden);
    for (const ListDetail detail : {ListDetail::Full, ListDetail::Plain, ListDetail::FileNames}) {
        const std::string seen = listingOf(fs, dir / "tree", detail);
        const bool byName = detail == ListDetail::FileNames;
        const std::string fileRead = detail == ListDetail::Full ? "5+" + hidden : "5+0";
        for (const std::string& entry :
             {std::string("file.txt:0:") + (byName ? "0-0" : fileRead) + " ",
              std::string("pipe:3:0"), std::string("fileLink:2:") + (byName ? "0-0 " : "8+0 "),
              std::string("sub+ ")})
            EXPECT_NE(seen.find(entry), std::string::npos) << entry << " in " << seen;
    }
    const std::string full = listingOf(fs, dir / "tree", ListDetail::Full);
    EXPECT_TRUE(withoutGetxattrat([&] {
        std::uint32_t bits = 0;
        return !readRecordedBitsAt(AT_FDCWD, ".", bits) &&
               listingOf(fs, dir / "tree", ListDetail::Full) == full;
    }));
}

}  // namespace
}  // namespace zv::test
