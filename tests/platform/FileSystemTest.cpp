#include <chrono>

#include "PlatformTest.h"
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
        EXPECT_EQ(std::pair(info.presence, info.error.ok()),
                  std::pair(presence, presence == Presence::Present))
            << path;
    }
}

// Every listing gives each entry's kind; only files read by name lack their size and identity.
TEST_F(FileSystemTest, ListingsReadAsMuchOfEachEntryAsAsked) {
    for (const ListDetail detail : {ListDetail::Full, ListDetail::Plain, ListDetail::FileNames}) {
        std::vector<Entry> files, folders;
        ASSERT_TRUE(fs.listFolder(dir / "tree", files, folders, detail).ok());
        std::string seen;
        for (const Entry& e : files) {
            seen += e.name + ":" + std::to_string(int(e.kind)) + ":" + std::to_string(e.size);
            seen += e.id.known() ? "+ " : "- ";
        }
        for (const Entry& e : folders) seen += e.name + (e.id.known() ? "+ " : "- ");
        const bool byName = detail == ListDetail::FileNames;
        for (const std::string& entry :
             {std::string("file.txt:0:") + (byName ? "0- " : "5+ "), std::string("pipe:3:0"),
              std::string("fileLink:2:") + (byName ? "0- " : "8+ "), std::string("sub+ ")})
            EXPECT_NE(seen.find(entry), std::string::npos) << entry << " in " << seen;
    }
}

}  // namespace
}  // namespace zv::test
