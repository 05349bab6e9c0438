#include "platform/linux/WriteBehind.h"

#include <fcntl.h>

#include <system_error>
#include <utility>

namespace zv {

WriteBehind::~WriteBehind() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void WriteBehind::wrote(int dir, std::uint64_t bytes) {
    if (!on_) return;
    bytes_ += bytes;
    ++files_;
    if ((bytes_ < kBytes && files_ < kFiles) || dir == AT_FDCWD) return;
    const std::lock_guard lock(mutex_);
    if (busy_) return;
    // Its own open file: an error is told to the file a flush was asked through.
    UniqueFd fd(openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid()) return;  // the flush at the end still comes
    if (!thread_.joinable()) {
        try {
            thread_ = std::thread([this] { flushWhenAsked(); });
        } catch (const std::system_error&) {
            return;  // no thread to spare: the flush at the end does it all
        }
    }
    bytes_ = 0;
    files_ = 0;
    asked_ = std::move(fd);
    busy_ = true;
    changed_.notify_all();
}

int WriteBehind::takeError() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !busy_; });
    return std::exchange(error_, 0);
}

void WriteBehind::flushWhenAsked() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stopping_ || asked_.valid(); });
        if (!asked_.valid()) return;
        const UniqueFd fd = std::move(asked_);
        lock.unlock();
        const int err = sync_.flushFileSystem(fd.get());
        lock.lock();
        if (error_ == 0) error_ = err;
        busy_ = false;
        changed_.notify_all();
    }
}

}  // namespace zv
