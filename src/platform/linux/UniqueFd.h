#pragma once

#include <unistd.h>

#include <utility>

namespace zv {

// Owns a file descriptor and closes it when it goes.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    // Closes now; returns 0 or the errno of a failed close (which can report
    // a write that did not reach the disk).
    int close() {
        if (fd_ < 0) return 0;
        int rc = ::close(std::exchange(fd_, -1));
        return rc == 0 ? 0 : errno;
    }
    void reset() { (void)close(); }

  private:
    int fd_ = -1;
};

}  // namespace zv
