#pragma once

#include <cstdint>

namespace zv {

// The number of files in some folder trees, being worked out beside the caller.
// Dropping it abandons the work (without waiting for the whole of it).
class PendingCount {
  public:
    virtual ~PendingCount() = default;
    // The total is known; never waits.
    virtual bool ready() = 0;
    // Waits for the total.
    virtual std::uint64_t total() = 0;
};

// A total that was known at once.
class KnownCount final : public PendingCount {
  public:
    explicit KnownCount(std::uint64_t count) : count_(count) {}
    bool ready() override { return true; }
    std::uint64_t total() override { return count_; }

  private:
    std::uint64_t count_;
};

}  // namespace zv
