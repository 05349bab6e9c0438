#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/linux/DiskSync.h"
#include "platform/linux/UniqueFd.h"

namespace zv {

// Puts a run's copies on the disk while the run goes on, so that the flush
// at its end waits for the last of them only. A thread of its own flushes the
// file system the copies go to (syncfs) whenever enough was written since it
// last began and it is idle; the run never waits for it. What the flush at
// the end promises is unchanged. An error one of these flushes meets is kept
// for the flush at the end, as the kernel tells an error to one flush only.
class WriteBehind {
  public:
    static constexpr std::uint64_t kBytes = 8 << 20;
    static constexpr std::uint32_t kFiles = 1000;

    explicit WriteBehind(DiskSync& sync) : sync_(sync) {}
    ~WriteBehind();
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;

    // Only while on (a run's walks) does writing start flushes.
    void setOn(bool on) { on_ = on; }
    // A file of `bytes` was written into the folder `dir` (a descriptor).
    void wrote(int dir, std::uint64_t bytes);
    // Waits for a flush under way; returns the first error (an errno value)
    // a flush met since the last call, or 0.
    int takeError();

  private:
    void flushWhenAsked();

    DiskSync& sync_;
    bool on_ = false;
    std::uint64_t bytes_ = 0;
    std::uint32_t files_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    UniqueFd asked_;  // an open file of its own on the file system to flush
    bool busy_ = false;
    bool stopping_ = false;
    int error_ = 0;
    std::thread thread_;
};

}  // namespace zv
