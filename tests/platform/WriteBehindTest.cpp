#include <fcntl.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "PlatformTest.h"
#include "platform/linux/LinuxFileSystem.h"
#include "platform/linux/WriteBehind.h"

namespace zv::test {
namespace {

using WriteBehindTest = PlatformTest;

// Counts the file-system flushes (from any thread) and fails the first `failing` of them.
class CountingSync final : public DiskSync {
  public:
    explicit CountingSync(int failing) : failing_(failing) {}
    int flushFileSystem(int fd) override {
        return ++calls <= failing_ ? EIO : DiskSync::flushFileSystem(fd);
    }
    std::atomic<int> calls{0};

  private:
    const int failing_;
};

// Enough written, in bytes or in files, starts a flush on a thread of its own while a run walks;
// the error it met is told once, to the flush at the end, which waits for it.
TEST_F(WriteBehindTest, EnoughWrittenIsFlushedBehindTheRunAndItsErrorIsKept) {
    const UniqueFd folder(open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const struct {
        bool on;
        std::uint32_t files;
        std::uint64_t bytes;  // the first file's
        int flushes;
    } cases[] = {{true, 1, WriteBehind::kBytes, 1},
                 {true, 1, WriteBehind::kBytes - 1, 0},
                 {true, WriteBehind::kFiles, 0, 1},
                 {true, WriteBehind::kFiles - 1, 0, 0},
                 {false, WriteBehind::kFiles, 1u << 30, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.files);
        CountingSync sync(1);
        WriteBehind behind(sync);
        behind.setOn(c.on);
        for (std::uint32_t i = 0; i < c.files; ++i)
            behind.wrote(folder.get(), i == 0 ? c.bytes : 0);
        EXPECT_EQ(behind.takeError(), c.flushes == 1 ? EIO : 0);
        EXPECT_EQ(sync.calls, c.flushes);
        EXPECT_EQ(behind.takeError(), 0);
    }
    // The thread takes a second flush once the first is done.
    CountingSync twice(0);
    WriteBehind behind(twice);
    behind.setOn(true);
    for (int i = 0; i < 2; ++i) {
        behind.wrote(folder.get(), WriteBehind::kBytes);
        EXPECT_EQ(behind.takeError(), 0);
    }
    EXPECT_EQ(twice.calls, 2);
    // The run's own flush at the end succeeds, and still fails the run.
    CountingSync sync(1);
    LinuxFileSystem fs(MountSources{}, sync);
    writeFile(dir / "large", std::string(WriteBehind::kBytes, 'l'));
    fs.holdFolders(true);
    ASSERT_TRUE(fs.copyFile(dir / "large", dir / "copy").ok());
    fs.holdFolders(false);
    EXPECT_TRUE(fs.flushVolume(dir.path()).failed());
    EXPECT_EQ(sync.calls, 2);
    EXPECT_TRUE(fs.flushVolume(dir.path()).ok());
}

}  // namespace
}  // namespace zv::test
